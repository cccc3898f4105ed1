package org.varnoth.decoding;

import com.twelvemonkeys.imageio.color.ColorProfiles;
import java.awt.Transparency;
import java.awt.color.ColorSpace;
import java.awt.color.ICC_ColorSpace;
import java.awt.color.ICC_Profile;
import java.awt.image.BufferedImage;
import java.awt.image.ColorConvertOp;
import java.awt.image.ColorModel;
import java.awt.image.ComponentColorModel;
import java.awt.image.DataBuffer;
import java.awt.image.IndexColorModel;
import java.awt.image.WritableRaster;
import java.io.IOException;
import java.util.Collections;
import java.util.Map;
import java.util.WeakHashMap;
import java.util.Optional;

/**
 * Images as {@link org.varnoth.GreyImages} reads them faithfully: one colour band (grey,
 * its samples as they are), a palette (whose entries Java holds in sRGB), or
 * colours in sRGB. A colour image in any other colour space is converted to
 * sRGB, keeping the precision of its samples: 8 bits stay 8 bits, more
 * become 16-bit sRGB, floating point becomes float sRGB.
 *
 * <p>An ICC profile counts as sRGB when it maps every colour of an 8-bit grid
 * to sRGB within one level of itself: the many sRGB profiles that files embed
 * (each vendor writes its own) then leave the samples as they are, where a
 * conversion would only add rounding.
 */
final class SrgbColours {
  private SrgbColours() {}

  /** The levels of each colour of the grid that decides whether a profile is sRGB. */
  private static final int GRID_STEP = 17;

  private static final int GRID_LEVELS = 255 / GRID_STEP + 1;

  /**
   * Whether each profile maps the grid onto itself, held while the profile is
   * in use (a decoded image asks more than once of the same profile object).
   */
  private static final Map<ICC_Profile, Boolean> GRID_VERDICTS =
      Collections.synchronizedMap(new WeakHashMap<>());

  /** Whether the image is handed out as it is. */
  static boolean isGreyOrSrgb(ColorModel cm) {
    return cm instanceof IndexColorModel
        || cm.getNumColorComponents() == 1
        || isSrgb(cm.getColorSpace());
  }

  /** Whether the colour space is sRGB, or an ICC profile that gives the same colours. */
  static boolean isSrgb(ColorSpace cs) {
    if (cs.isCS_sRGB()) {
      return true;
    }
    if (!(cs instanceof ICC_ColorSpace) || cs.getType() != ColorSpace.TYPE_RGB) {
      return false;
    }
    ICC_ColorSpace icc = (ICC_ColorSpace) cs;
    return ColorProfiles.isCS_sRGB(icc.getProfile())
        || GRID_VERDICTS.computeIfAbsent(icc.getProfile(), profile -> mapsGridOntoItself(icc));
  }

  /**
   * An image whose samples are those of {@code image} and whose colours are
   * in the profile's colour space: a palette becomes three bands of 8 bits.
   *
   * @param image an image of three colour bands or a palette, whose colour
   *     space the reader did not know
   */
  static BufferedImage inColourSpace(BufferedImage image, ICC_ColorSpace cs) {
    ColorModel cm = image.getColorModel();
    if (cm instanceof IndexColorModel) {
      return paletteInColourSpace(image, (IndexColorModel) cm, cs);
    }
    ComponentColorModel labelled =
        new ComponentColorModel(
            cs, cm.hasAlpha(), cm.isAlphaPremultiplied(), cm.getTransparency(),
            cm.getTransferType());
    return new BufferedImage(labelled, image.getRaster(), cm.isAlphaPremultiplied(), null);
  }

  private static BufferedImage paletteInColourSpace(
      BufferedImage image, IndexColorModel palette, ICC_ColorSpace cs) {
    ComponentColorModel cm =
        new ComponentColorModel(cs, false, false, Transparency.OPAQUE, DataBuffer.TYPE_BYTE);
    int w = image.getWidth();
    int h = image.getHeight();
    WritableRaster rgb = cm.createCompatibleWritableRaster(w, h);
    int[] index = new int[w];
    int[] row = new int[3 * w];
    for (int y = 0; y < h; y++) {
      image.getRaster().getSamples(0, y, w, 1, 0, index);
      for (int x = 0; x < w; x++) {
        row[3 * x] = palette.getRed(index[x]);
        row[3 * x + 1] = palette.getGreen(index[x]);
        row[3 * x + 2] = palette.getBlue(index[x]);
      }
      rgb.setPixels(0, y, w, 1, row);
    }
    return new BufferedImage(cm, rgb, false, null);
  }

  /** Whether the profile takes every colour of the grid to sRGB within one level. */
  private static boolean mapsGridOntoItself(ICC_ColorSpace cs) {
    ComponentColorModel cm =
        new ComponentColorModel(cs, false, false, Transparency.OPAQUE, DataBuffer.TYPE_BYTE);
    int colours = GRID_LEVELS * GRID_LEVELS * GRID_LEVELS;
    WritableRaster grid = cm.createCompatibleWritableRaster(colours, 1);
    for (int i = 0; i < colours; i++) {
      grid.setPixel(i, 0, new int[] {
        GRID_STEP * (i / (GRID_LEVELS * GRID_LEVELS)),
        GRID_STEP * (i / GRID_LEVELS % GRID_LEVELS),
        GRID_STEP * (i % GRID_LEVELS)
      });
    }
    BufferedImage srgb = new BufferedImage(colours, 1, BufferedImage.TYPE_3BYTE_BGR);
    try {
      new ColorConvertOp(null).filter(new BufferedImage(cm, grid, false, null), srgb);
    } catch (RuntimeException e) {
      return false; // a profile that does not convert is not sRGB; converting will say why
    }
    int[] before = grid.getPixels(0, 0, colours, 1, (int[]) null);
    int[] after = srgb.getRaster().getPixels(0, 0, colours, 1, (int[]) null);
    for (int i = 0; i < before.length; i++) {
      if (Math.abs(before[i] - after[i]) > 1) {
        return false;
      }
    }
    return true;
  }

  /** The name of a colour space that is neither grey nor sRGB, for a note. */
  static String describe(ColorSpace cs) {
    switch (cs.getType()) {
      case ColorSpace.TYPE_CMYK:
        return "CMYK";
      case ColorSpace.TYPE_RGB:
        return "an RGB colour profile other than sRGB";
      case ColorSpace.TYPE_Lab:
        return "CIE Lab";
      case ColorSpace.TYPE_XYZ:
        return "CIE XYZ";
      default:
        return "a colour space of " + cs.getNumComponents() + " components";
    }
  }

  /**
   * The image, or its conversion to sRGB when its colours are in another colour space.
   *
   * @return the converted image, or empty when it is grey, indexed or sRGB already
   * @throws IOException {@code "cannot be converted to grey: "} and why
   */
  static Optional<BufferedImage> convertedToSrgb(BufferedImage image) throws IOException {
    ColorModel cm = image.getColorModel();
    if (isGreyOrSrgb(cm)) {
      return Optional.empty();
    }
    ComponentColorModel srgb =
        new ComponentColorModel(
            ColorSpace.getInstance(ColorSpace.CS_sRGB),
            false,
            false,
            Transparency.OPAQUE,
            srgbTransferType(cm));
    BufferedImage target =
        new BufferedImage(
            srgb,
            srgb.createCompatibleWritableRaster(image.getWidth(), image.getHeight()),
            false,
            null);
    try {
      new ColorConvertOp(null).filter(image, target);
    } catch (RuntimeException e) {
      // CMMException, ProfileDataException, IllegalArgumentException and the like.
      throw new IOException(
          "cannot be converted to grey: its colours, in "
              + describe(cm.getColorSpace())
              + ", do not convert to sRGB ("
              + Reasons.of(e)
              + ")",
          e);
    }
    return Optional.of(target);
  }

  /**
   * The sample type of the sRGB copy: floating point stays floating point;
   * integer colours of up to 8 bits become bytes, wider ones 16 bits.
   */
  private static int srgbTransferType(ColorModel cm) {
    int type = cm.getTransferType();
    if (type == DataBuffer.TYPE_FLOAT || type == DataBuffer.TYPE_DOUBLE) {
      return DataBuffer.TYPE_FLOAT;
    }
    int widest = 0;
    for (int bits : cm.getComponentSize()) {
      widest = Math.max(widest, bits);
    }
    return widest <= 8 ? DataBuffer.TYPE_BYTE : DataBuffer.TYPE_USHORT;
  }
}
