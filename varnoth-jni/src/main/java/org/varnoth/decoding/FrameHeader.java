package org.varnoth.decoding;

import java.awt.color.ColorSpace;
import java.awt.color.ICC_ColorSpace;
import java.awt.color.ICC_Profile;
import java.awt.image.ColorModel;
import java.awt.image.DataBuffer;
import java.awt.image.IndexColorModel;
import java.awt.image.MultiPixelPackedSampleModel;
import java.awt.image.SampleModel;
import java.awt.image.SinglePixelPackedSampleModel;
import java.io.IOException;
import java.util.Iterator;
import java.util.Optional;
import javax.imageio.ImageReader;
import javax.imageio.ImageTypeSpecifier;
import javax.imageio.stream.ImageInputStream;

/**
 * What the header of a file's first frame says, read before any pixel is
 * decoded: its size, the type of image to decode it into, and the colour
 * space its colours are stored in.
 *
 * @param width the width in pixels
 * @param height the height in pixels
 * @param decodeType the type of image that the reader decodes into (its first)
 * @param storedColourSpace the colour space of the stored pixels, where the reader tells it
 * @param embeddedProfile the colour space of a PNG's ICC profile, which its
 *     reader does not apply, when its colours are RGB other than sRGB
 */
record FrameHeader(
    int width,
    int height,
    ImageTypeSpecifier decodeType,
    Optional<ColorSpace> storedColourSpace,
    Optional<ICC_ColorSpace> embeddedProfile) {

  /**
   * Reads the header of the first frame; refuses it above the pixel limit
   * before anything else is read.
   */
  static FrameHeader read(ImageReader reader, ImageSource source, long maxPixels)
      throws IOException {
    int width;
    int height;
    ImageTypeSpecifier offered;
    Optional<ImageTypeSpecifier> stored;
    try {
      width = reader.getWidth(0);
      height = reader.getHeight(0);
      if ((long) width * height > maxPixels) {
        throw new ImageTooLargeException(width, height, maxPixels);
      }
      offered = firstImageType(reader);
      stored = storedImageType(reader);
    } catch (ImageTooLargeException e) {
      throw e;
    } catch (IOException | RuntimeException e) {
      throw new UnreadableException(e);
    }
    Optional<ICC_ColorSpace> profile =
        ImageFormat.of(reader) == ImageFormat.PNG ? pngProfile(source, offered) : Optional.empty();
    return new FrameHeader(
        width,
        height,
        offered,
        stored.map(s -> s.getColorModel().getColorSpace()),
        profile);
  }

  long pixels() {
    return (long) width * height;
  }

  String describe() {
    return width + " x " + height + " pixels";
  }

  boolean hasFloatSamples() {
    int dataType = decodeType.getSampleModel().getDataType();
    return dataType == DataBuffer.TYPE_FLOAT || dataType == DataBuffer.TYPE_DOUBLE;
  }

  /**
   * The bytes of the decoded raster, of the copies made to convert its
   * colours to sRGB, and of its grey levels (8 a pixel).
   */
  long estimatedBytes() {
    ColorModel cm = decodeType.getColorModel();
    double rasterBytes = bitsPerPixel(decodeType.getSampleModel()) / 8.0;
    double copyBytes;
    if (embeddedProfile.isPresent() && cm instanceof IndexColorModel) {
      copyBytes = 3 + 3; // the palette's colours in the profile, then in sRGB
    } else if (embeddedProfile.isPresent() || !SrgbColours.isGreyOrSrgb(cm)) {
      copyBytes = rasterBytes;
    } else {
      copyBytes = 0;
    }
    return (long) Math.ceil(pixels() * (rasterBytes + copyBytes + Double.BYTES));
  }

  private static double bitsPerPixel(SampleModel sm) {
    if (sm instanceof MultiPixelPackedSampleModel) {
      return ((MultiPixelPackedSampleModel) sm).getPixelBitStride();
    }
    int elementBits = DataBuffer.getDataTypeSize(sm.getDataType());
    if (sm instanceof SinglePixelPackedSampleModel) {
      return elementBits;
    }
    return (double) sm.getNumDataElements() * elementBits;
  }

  private static ImageTypeSpecifier firstImageType(ImageReader reader) throws IOException {
    Iterator<ImageTypeSpecifier> types = reader.getImageTypes(0);
    if (types == null || !types.hasNext()) {
      throw new IOException("its reader offers no type of image to decode it into");
    }
    return types.next();
  }

  /** The type of the pixels as stored, where the reader tells it; only a note depends on it. */
  private static Optional<ImageTypeSpecifier> storedImageType(ImageReader reader) {
    try {
      return Optional.ofNullable(reader.getRawImageType(0));
    } catch (IOException | RuntimeException e) {
      return Optional.empty();
    }
  }

  /** The colour space of a colour PNG's ICC profile, when that is not sRGB. */
  private static Optional<ICC_ColorSpace> pngProfile(ImageSource source, ImageTypeSpecifier offered)
      throws IOException {
    ColorModel cm = offered.getColorModel();
    if (!(cm instanceof IndexColorModel) && cm.getNumColorComponents() != 3) {
      return Optional.empty(); // a grey PNG: its samples are handed out as they are
    }
    Optional<byte[]> bytes;
    try (ImageInputStream png = source.openImageStream()) {
      bytes = PngColourProfile.read(png);
    }
    if (bytes.isEmpty()) {
      return Optional.empty();
    }
    ICC_ColorSpace cs;
    try {
      cs = new ICC_ColorSpace(ICC_Profile.getInstance(bytes.get()));
    } catch (RuntimeException e) {
      throw new IOException(
          "cannot be converted to grey: its ICC profile is invalid (" + Reasons.of(e) + ")", e);
    }
    if (cs.getType() != ColorSpace.TYPE_RGB || SrgbColours.isSrgb(cs)) {
      return Optional.empty();
    }
    return Optional.of(cs);
  }
}
