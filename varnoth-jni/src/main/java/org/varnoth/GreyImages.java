package org.varnoth;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.IndexColorModel;
import java.awt.image.Raster;
import java.util.Objects;

/**
 * Grey levels of images, as {@code double[height][width]} arrays whose outer
 * index is the row:
 *
 * <ul>
 *   <li>one colour band: the sample value as it stands (an 8-bit image gives 0
 *       to 255, a 16-bit one 0 to 65535; nothing is scaled);
 *   <li>three or more colour bands: {@code 0.299 R + 0.587 G + 0.114 B},
 *       evaluated in double from left to right on the raw samples of the
 *       first three bands; alpha is ignored;
 *   <li>indexed colour: the same weighted sum of the palette entry's red, green
 *       and blue.
 * </ul>
 *
 * <p>A {@link Raster} has no colour model: one or two bands are read as grey
 * (the second as alpha), three or more as red, green, blue (and alpha).
 */
public final class GreyImages {
  private GreyImages() {}

  /**
   * The grey levels of an image.
   *
   * @param image the image
   * @return a new array of {@code image.getHeight()} rows of
   *     {@code image.getWidth()} values
   * @throws NullPointerException if {@code image} is null
   */
  public static double[][] of(BufferedImage image) {
    Objects.requireNonNull(image, "image is null");
    ColorModel cm = image.getColorModel();
    Raster raster = image.getRaster();
    if (cm instanceof IndexColorModel) {
      return ofPalette(raster, (IndexColorModel) cm);
    }
    return ofBands(raster, cm.getNumColorComponents() >= 3 ? 3 : 1);
  }

  /**
   * The grey levels of a raster.
   *
   * @param raster the raster
   * @return a new array of {@code raster.getHeight()} rows of
   *     {@code raster.getWidth()} values
   * @throws NullPointerException if {@code raster} is null
   */
  public static double[][] of(Raster raster) {
    Objects.requireNonNull(raster, "raster is null");
    return ofBands(raster, raster.getNumBands() >= 3 ? 3 : 1);
  }

  static double grey(double r, double g, double b) {
    return 0.299 * r + 0.587 * g + 0.114 * b;
  }

  private static double[][] ofBands(Raster raster, int colourBands) {
    int w = raster.getWidth();
    int h = raster.getHeight();
    int x0 = raster.getMinX();
    int y0 = raster.getMinY();
    double[][] out = new double[h][];
    if (colourBands == 1) {
      for (int y = 0; y < h; y++) {
        out[y] = raster.getSamples(x0, y0 + y, w, 1, 0, new double[w]);
      }
      return out;
    }
    double[] r = new double[w];
    double[] g = new double[w];
    double[] b = new double[w];
    for (int y = 0; y < h; y++) {
      raster.getSamples(x0, y0 + y, w, 1, 0, r);
      raster.getSamples(x0, y0 + y, w, 1, 1, g);
      raster.getSamples(x0, y0 + y, w, 1, 2, b);
      double[] row = new double[w];
      for (int x = 0; x < w; x++) {
        row[x] = grey(r[x], g[x], b[x]);
      }
      out[y] = row;
    }
    return out;
  }

  private static double[][] ofPalette(Raster raster, IndexColorModel cm) {
    double[] palette = new double[cm.getMapSize()];
    for (int i = 0; i < palette.length; i++) {
      palette[i] = grey(cm.getRed(i), cm.getGreen(i), cm.getBlue(i));
    }
    int w = raster.getWidth();
    int h = raster.getHeight();
    int[] index = new int[w];
    double[][] out = new double[h][w];
    for (int y = 0; y < h; y++) {
      raster.getSamples(raster.getMinX(), raster.getMinY() + y, w, 1, 0, index);
      for (int x = 0; x < w; x++) {
        out[y][x] = palette[index[x]];
      }
    }
    return out;
  }
}
