package org.varnoth.decoding;

import java.awt.image.BufferedImage;
import java.awt.image.Raster;
import java.awt.image.WritableRaster;
import java.lang.reflect.Array;
import java.util.Optional;

/**
 * The EXIF orientations (tag 0x0112) and the turn or mirror that shows each
 * as the camera meant it.
 *
 * <p>Each is applied row by row: source row {@code y} of an image {@code h}
 * rows high becomes line {@code y}, or line {@code h - 1 - y} when the lines
 * are mirrored; the line is a row of the result, or a column when transposed;
 * its pixels run in the source's order, or reversed. Pixels are moved whole,
 * never resampled.
 */
enum ExifOrientation {
  NORMAL(1, false, false, false, ""),
  MIRRORED_LEFT_TO_RIGHT(2, false, false, true, "mirrored left to right"),
  ROTATED_180(3, false, true, true, "rotated 180 degrees"),
  MIRRORED_TOP_TO_BOTTOM(4, false, true, false, "mirrored top to bottom"),
  TRANSPOSED(5, true, false, false, "mirrored about the diagonal from the top left"),
  ROTATED_90_CLOCKWISE(6, true, true, false, "rotated 90 degrees clockwise"),
  TRANSVERSED(7, true, true, true, "mirrored about the diagonal from the top right"),
  ROTATED_90_COUNTER_CLOCKWISE(8, true, false, true, "rotated 90 degrees counter-clockwise");

  private final int tagValue;
  private final boolean transposed;
  private final boolean linesMirrored;
  private final boolean pixelsReversed;
  private final String turn;

  ExifOrientation(
      int tagValue,
      boolean transposed,
      boolean linesMirrored,
      boolean pixelsReversed,
      String turn) {
    this.tagValue = tagValue;
    this.transposed = transposed;
    this.linesMirrored = linesMirrored;
    this.pixelsReversed = pixelsReversed;
    this.turn = turn;
  }

  /** The orientation whose tag value this is; empty for values outside 1 to 8. */
  static Optional<ExifOrientation> ofTagValue(int tagValue) {
    for (ExifOrientation o : values()) {
      if (o.tagValue == tagValue) {
        return Optional.of(o);
      }
    }
    return Optional.empty();
  }

  /** The note for a user, e.g. "EXIF orientation 6 applied (rotated 90 degrees clockwise)". */
  String note() {
    return "EXIF orientation " + tagValue + " applied (" + turn + ")";
  }

  /** The image as it is meant to be seen: a new image, or this one for {@link #NORMAL}. */
  BufferedImage apply(BufferedImage image) {
    if (this == NORMAL) {
      return image;
    }
    Raster source = image.getRaster();
    int w = source.getWidth();
    int h = source.getHeight();
    WritableRaster target =
        transposed
            ? source.createCompatibleWritableRaster(h, w)
            : source.createCompatibleWritableRaster(w, h);
    int elementsPerPixel = source.getNumDataElements();
    Object row = null;
    for (int y = 0; y < h; y++) {
      row = source.getDataElements(source.getMinX(), source.getMinY() + y, w, 1, row);
      if (pixelsReversed) {
        reversePixels(row, w, elementsPerPixel);
      }
      int line = linesMirrored ? h - 1 - y : y;
      if (transposed) {
        target.setDataElements(line, 0, 1, w, row);
      } else {
        target.setDataElements(0, line, w, 1, row);
      }
    }
    return new BufferedImage(
        image.getColorModel(), target, image.isAlphaPremultiplied(), null);
  }

  /** Reverses the order of {@code pixels} groups of {@code elements} data elements each. */
  private static void reversePixels(Object row, int pixels, int elements) {
    Object held = Array.newInstance(row.getClass().getComponentType(), elements);
    for (int left = 0, right = pixels - 1; left < right; left++, right--) {
      System.arraycopy(row, left * elements, held, 0, elements);
      System.arraycopy(row, right * elements, row, left * elements, elements);
      System.arraycopy(held, 0, row, right * elements, elements);
    }
  }
}
