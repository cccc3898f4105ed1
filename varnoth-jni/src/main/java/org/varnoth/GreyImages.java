package org.varnoth;

import java.awt.image.BandedSampleModel;
import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.ComponentSampleModel;
import java.awt.image.DataBuffer;
import java.awt.image.IndexColorModel;
import java.awt.image.PixelInterleavedSampleModel;
import java.awt.image.Raster;
import java.awt.image.SampleModel;
import java.awt.image.SinglePixelPackedSampleModel;
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

  /**
   * The grey levels of the side x side square of an image whose top-left
   * pixel is (left, top), the values of {@link #of(BufferedImage)}, in a new
   * flat array row by row: pixel (left + c, top + r) at {@code side * r + c}
   * of {@code out}, which is returned.
   */
  static double[] square(BufferedImage image, int left, int top, int side, double[] out) {
    ColorModel cm = image.getColorModel();
    if (cm instanceof IndexColorModel) {
      return flat(of(image.getSubimage(left, top, side, side)), side, out);
    }
    return square(image.getRaster(), cm.getNumColorComponents() >= 3 ? 3 : 1, left, top, side,
        out);
  }

  /**
   * Whether an image's pixels are single bytes that are their own grey
   * levels (a grey image without a palette); then {@link #levels} reads
   * its squares.
   */
  static boolean hasByteLevels(BufferedImage image) {
    return !(image.getColorModel() instanceof IndexColorModel)
        && hasByteLevels(image.getRaster());
  }

  /**
   * Whether a raster's pixels are single bytes of one band, the JDK's
   * component sample models' (then {@link #levels} reads its squares).
   */
  static boolean hasByteLevels(Raster raster) {
    SampleModel sm = raster.getSampleModel();
    return isComponentModel(sm) && sm.getDataType() == DataBuffer.TYPE_BYTE
        && sm.getNumBands() == 1;
  }

  /** Whether a sample model is one of the JDK's component sample models. */
  private static boolean isComponentModel(SampleModel sm) {
    Class<?> kind = sm.getClass();
    return kind == PixelInterleavedSampleModel.class || kind == BandedSampleModel.class
        || kind == ComponentSampleModel.class;
  }

  /**
   * The bytes of the side x side square of a raster that {@link #hasByteLevels}
   * whose top-left sample is (left, top) from the raster's minimum corner,
   * row by row in {@code out}, which is returned: each is the grey level
   * {@code b & 0xff} that {@link #of(Raster)} gives.
   */
  static byte[] levels(Raster raster, int left, int top, int side, byte[] out) {
    return (byte[]) raster.getDataElements(raster.getMinX() + left, raster.getMinY() + top,
        side, side, out);
  }

  /**
   * The grey levels of the side x side square of a raster whose top-left
   * sample is (left, top) from the raster's minimum corner, the values of
   * {@link #of(Raster)}, row by row in {@code out}, which is returned.
   */
  static double[] square(Raster raster, int left, int top, int side, double[] out) {
    return square(raster, raster.getNumBands() >= 3 ? 3 : 1, left, top, side, out);
  }

  // The integer samples of the JDK's component and packed sample models
  // (grey, interleaved or banded bytes and shorts, packed RGB) are read from
  // the data buffer as their sample model reads them, one byte grey row as a
  // row copy; any other raster goes through of(Raster).
  private static double[] square(Raster raster, int colourBands, int left, int top, int side,
      double[] out) {
    SampleModel sm = raster.getSampleModel();
    boolean integral = hasIntegerSamples(raster);
    boolean components = isComponentModel(sm);
    boolean packed = sm.getClass() == SinglePixelPackedSampleModel.class;
    if (!integral || !(components || packed)) {
      return flat(ofBands(raster.createChild(raster.getMinX() + left, raster.getMinY() + top,
          side, side, 0, 0, null), colourBands), side, out);
    }
    int x0 = raster.getMinX() + left - raster.getSampleModelTranslateX();
    int y0 = raster.getMinY() + top - raster.getSampleModelTranslateY();
    if (packed) {
      return packed((SinglePixelPackedSampleModel) sm, raster.getDataBuffer(), colourBands, x0,
          y0, side, out);
    }
    if (hasByteLevels(raster)) {
      // One row copy per row for the JDK's byte rasters.
      return unsignedBytes(levels(raster, left, top, side, null), out);
    }
    return components((ComponentSampleModel) sm, raster.getDataBuffer(), colourBands, x0, y0,
        side, out);
  }

  // Sample (x, y, b) is element y * scanline + x * pixelStride + bandOffset[b]
  // of bank bankIndex[b], as the data buffer reads it (bytes and unsigned
  // shorts from 0, shorts signed).
  private static double[] components(ComponentSampleModel sm, DataBuffer db, int colourBands,
      int x0, int y0, int side, double[] out) {
    int[] bank = sm.getBankIndices();
    int[] offset = sm.getBandOffsets();
    int scanline = sm.getScanlineStride();
    int stride = sm.getPixelStride();
    for (int r = 0; r < side; r++) {
      int base = (y0 + r) * scanline + x0 * stride;
      for (int c = 0; c < side; c++) {
        int i = base + c * stride;
        out[side * r + c] = colourBands == 1 ? db.getElem(bank[0], i + offset[0])
            : grey(db.getElem(bank[0], i + offset[0]), db.getElem(bank[1], i + offset[1]),
                db.getElem(bank[2], i + offset[2]));
      }
    }
    return out;
  }

  // Sample (x, y, b) is (element y * scanline + x & mask[b]) >>> shift[b].
  private static double[] packed(SinglePixelPackedSampleModel sm, DataBuffer db, int colourBands,
      int x0, int y0, int side, double[] out) {
    int[] mask = sm.getBitMasks();
    int[] shift = sm.getBitOffsets();
    int scanline = sm.getScanlineStride();
    for (int r = 0; r < side; r++) {
      int base = (y0 + r) * scanline + x0;
      for (int c = 0; c < side; c++) {
        int v = db.getElem(base + c);
        out[side * r + c] = colourBands == 1 ? (v & mask[0]) >>> shift[0]
            : grey((v & mask[0]) >>> shift[0], (v & mask[1]) >>> shift[1],
                (v & mask[2]) >>> shift[2]);
      }
    }
    return out;
  }

  /** Whether a raster's samples are integers, whose grey levels are all finite. */
  static boolean hasIntegerSamples(Raster raster) {
    int type = raster.getSampleModel().getDataType();
    return type == DataBuffer.TYPE_BYTE || type == DataBuffer.TYPE_USHORT
        || type == DataBuffer.TYPE_SHORT || type == DataBuffer.TYPE_INT;
  }

  private static double[] unsignedBytes(byte[] b, double[] out) {
    for (int i = 0; i < b.length; i++) {
      out[i] = b[i] & 0xff;
    }
    return out;
  }

  private static double[] flat(double[][] rows, int side, double[] out) {
    for (int r = 0; r < side; r++) {
      System.arraycopy(rows[r], 0, out, side * r, side);
    }
    return out;
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
