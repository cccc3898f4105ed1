package org.varnoth;

import com.twelvemonkeys.imageio.color.ColorProfiles;
import java.awt.Transparency;
import java.awt.color.ColorSpace;
import java.awt.color.ICC_ColorSpace;
import java.awt.image.BufferedImage;
import java.awt.image.ColorConvertOp;
import java.awt.image.ColorModel;
import java.awt.image.ComponentColorModel;
import java.awt.image.DataBuffer;
import java.awt.image.IndexColorModel;
import java.io.IOException;
import java.util.Optional;

/**
 * Images as {@link GreyImages} reads them faithfully: one colour band (grey,
 * its samples as they are), a palette (whose entries Java holds in sRGB), or
 * colours in sRGB. A colour image in any other colour space is converted to
 * sRGB, keeping the precision of its samples: 8 bits stay 8 bits, more
 * become 16-bit sRGB, floating point becomes float sRGB.
 */
final class SrgbColours {
  private SrgbColours() {}

  /** Whether the image is handed out as it is. */
  static boolean isGreyOrSrgb(ColorModel cm) {
    return cm instanceof IndexColorModel
        || cm.getNumColorComponents() == 1
        || isSrgb(cm.getColorSpace());
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

  private static boolean isSrgb(ColorSpace cs) {
    return cs.isCS_sRGB()
        || (cs instanceof ICC_ColorSpace
            && ColorProfiles.isCS_sRGB(((ICC_ColorSpace) cs).getProfile()));
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
