package org.varnoth.imagej;

import ij.process.ColorProcessor;
import ij.process.ImageProcessor;
import java.awt.Rectangle;
import java.awt.image.DataBufferInt;
import java.awt.image.Raster;
import org.varnoth.GreyImages;

/**
 * The grey levels of a rectangle of an ImageJ plane, as the analyser takes
 * them ({@code double[rows][columns]}, outer index the row). 8-, 16- and
 * 32-bit planes give their pixel values as {@link ImageProcessor#getPixelValue}
 * reads them, through the image's value calibration where it has one (the
 * LUT only colours the display). RGB planes are converted by the library's
 * own rule ({@link GreyImages}), so they give the same grey levels, to the
 * bit, as the same pixels read from a file by the tool.
 */
final class GreyLevels {
  private static final int[] RGB_MASKS = {0xff0000, 0x00ff00, 0x0000ff};

  private GreyLevels() {}

  /**
   * The grey levels of a rectangle of a plane.
   *
   * @param ip the plane, as the image's stack gives it (with its value calibration)
   * @param r the rectangle, inside the plane
   * @return a new array of {@code r.height} rows of {@code r.width} values
   */
  static double[][] of(ImageProcessor ip, Rectangle r) {
    if (ip instanceof ColorProcessor) {
      return GreyImages.of(rgbRaster((ColorProcessor) ip)
          .createChild(r.x, r.y, r.width, r.height, 0, 0, null));
    }
    double[][] grey = new double[r.height][r.width];
    for (int y = 0; y < r.height; y++) {
      for (int x = 0; x < r.width; x++) {
        grey[y][x] = ip.getPixelValue(r.x + x, r.y + y);
      }
    }
    return grey;
  }

  // The plane's packed 0xRRGGBB pixels as red, green and blue bands, not copied.
  private static Raster rgbRaster(ColorProcessor cp) {
    int[] pixels = (int[]) cp.getPixels();
    return Raster.createPackedRaster(new DataBufferInt(pixels, pixels.length), cp.getWidth(),
        cp.getHeight(), cp.getWidth(), RGB_MASKS, null);
  }
}
