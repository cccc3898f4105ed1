package org.varnoth.imagej;

import ij.ImagePlus;
import ij.gui.Roi;
import java.awt.Rectangle;

/**
 * What of an image is measured: the whole image, as the tool measures a file
 * of it; or, with an area selection, the largest square centred in the
 * selection's bounds (clipped to the image): side {@code s = min(width,
 * height)}, top-left corner at {@code (x + (width - s) / 2, y + (height - s)
 * / 2)} in integer division. The analyser's window is then taken from that
 * square as from an image of its size; the pixels of the square outside the
 * selection's shape are measured too, since a spectrum needs the whole square.
 */
final class MeasuredArea {
  private MeasuredArea() {}

  /**
   * The rectangle of an image that is measured.
   *
   * @param imp the image, with or without a selection
   * @return the whole image, or the square of its area selection
   */
  static Rectangle of(ImagePlus imp) {
    Rectangle image = new Rectangle(imp.getWidth(), imp.getHeight());
    Roi roi = imp.getRoi();
    if (roi == null || !roi.isArea()) {
      return image;
    }
    Rectangle b = roi.getBounds().intersection(image);
    int s = Math.max(0, Math.min(b.width, b.height));
    return new Rectangle(b.x + (b.width - s) / 2, b.y + (b.height - s) / 2, s, s);
  }
}
