package org.varnoth.decoding;

import static java.nio.charset.StandardCharsets.US_ASCII;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.awt.Transparency;
import java.awt.color.ColorSpace;
import java.awt.color.ICC_ColorSpace;
import java.awt.color.ICC_Profile;
import java.awt.image.BufferedImage;
import java.awt.image.ComponentColorModel;
import java.awt.image.DataBuffer;
import java.awt.image.Raster;
import java.awt.image.WritableRaster;
import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Map;
import java.util.Random;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.stream.IntStream;
import java.util.stream.Stream;
import java.util.zip.CRC32;
import java.util.zip.DeflaterOutputStream;
import javax.imageio.IIOImage;
import javax.imageio.ImageIO;
import javax.imageio.ImageTypeSpecifier;
import javax.imageio.ImageWriteParam;
import javax.imageio.ImageWriter;
import javax.imageio.plugins.tiff.BaselineTIFFTagSet;
import javax.imageio.plugins.tiff.TIFFDirectory;
import javax.imageio.plugins.tiff.TIFFField;
import javax.imageio.plugins.tiff.TIFFTag;
import javax.imageio.stream.ImageOutputStream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.MethodSource;
import org.varnoth.GreyImages;

/**
 * One row per kind of image file: what the default decoder hands out for it,
 * or the reason it refuses it, the same for the file and for its bytes.
 *
 * <p>Most files are made here. The committed ones, under
 * {@code src/test/resources/org/varnoth/decoding/}, were made with Debian's
 * tools: {@code cmyk-profile.icc} is a 4 KB ICC v2 CMYK printer profile
 * written by a short script (an A2B0 lut8 of 2 grid points per ink, each
 * corner holding the CIE Lab of the sRGB colour (1-C)(1-K), (1-M)(1-K),
 * (1-Y)(1-K)); {@code cmyk-with-profile.jpg} is
 * {@code convert -size 16x16 xc:'cmyk(20%,40%,60%,30%)' -profile cmyk-profile.icc -quality 95}
 * (ImageMagick 6); the WebP files are {@link #pattern()}, written as PNG by
 * ImageIO, then {@code cwebp -lossless -exact} and {@code cwebp -q 90};
 * {@code grey16-predictor.tif} is {@link #grey16()}, written as PNG by
 * ImageIO, then {@code convert -define tiff:predictor=2 -compress zip}.
 */
class ImageDecoderTest {
  private static final String FIXTURES = "/org/varnoth/decoding/";

  /** A kind of file: how to make it, and what decoding it must give. */
  private record Row(String kind, FileBytes file, Outcome outcome) {
    @Override
    public String toString() {
      return kind;
    }
  }

  @FunctionalInterface
  private interface FileBytes {
    byte[] make() throws IOException;
  }

  @FunctionalInterface
  private interface Attempt {
    DecodedImage decode() throws IOException;
  }

  @FunctionalInterface
  private interface Outcome {
    void check(Attempt attempt, byte[] file) throws IOException;
  }

  @FunctionalInterface
  private interface ImageCheck {
    void check(DecodedImage decoded, byte[] file) throws IOException;
  }

  static Stream<Row> rows() {
    Stream<Row> kinds =
        Stream.of(
            refused("empty file", () -> new byte[0], IOException.class, "empty file"),
            refused(
                "text file",
                () -> "A line of text, not an image.\n".repeat(50).getBytes(US_ASCII),
                IOException.class,
                ImageDecoder.NOT_AN_IMAGE),
            refused(
                "truncated JPEG",
                () -> {
                  byte[] whole = jpeg(noise(64, 64, 1));
                  return Arrays.copyOf(whole, whole.length / 2);
                },
                IOException.class,
                "damaged: "),
            // Its image data is four bytes of nothing: decoding any pixel
            // would fail with "cannot be read".
            refused(
                "PNG header of 40000 x 40000 pixels",
                () -> pngHeaderOnly(40000, 40000),
                ImageTooLargeException.class,
                "40000 x 40000 pixels, above the limit of "
                    + ImageDecoder.create().maxPixels()
                    + " pixels"),
            decoded("CMYK JPEG with an ICC profile", fixture("cmyk-with-profile.jpg"),
                ImageDecoderTest::hasTheLumaOfTheProfilesSrgb),
            decoded("16-bit RGB PNG", () -> png(rgb16()), ImageDecoderTest::asImageIoReadsIt),
            decoded("float TIFF with NaN and infinity", () -> jdkTiff(floatGrey(), false),
                ImageDecoderTest::keepsTheFloatSamples),
            decoded("16-bit TIFF in linear RGB, its ICC profile embedded",
                () -> jdkTiff(linearRgb16(), true), ImageDecoderTest::isIn16BitSrgb),
            decoded("8-bit RGB PNG in linear RGB, its ICC profile in an iCCP chunk",
                ImageDecoderTest::linearRgbPng, ImageDecoderTest::isInSrgb),
            // The JDK's TIFF reader refuses 16-bit samples with a predictor:
            // the next reader reads them.
            decoded("16-bit TIFF with a horizontal predictor", fixture("grey16-predictor.tif"),
                (d, file) ->
                    assertArrayEquals(
                        samples(grey16().getRaster()), samples(d.image().getRaster()))),
            decoded("lossless WebP", fixture("pattern-lossless.webp"),
                (d, file) -> assertArrayEquals(GreyImages.of(pattern()), GreyImages.of(d.image()))),
            decoded("lossy WebP", fixture("pattern-lossy.webp"),
                (d, file) -> assertNear(GreyImages.of(pattern()), GreyImages.of(d.image()), 6.0)),
            decoded("GIF of 3 frames", ImageDecoderTest::gifOfThreeFrames,
                (d, file) -> {
                  assertEquals(List.of("first of 3 frames used"), d.notes());
                  assertNear(GreyImages.of(greyRamp(0)), GreyImages.of(d.image()), 1e-9);
                }));
    return Stream.concat(
        Stream.concat(kinds, IntStream.rangeClosed(2, 8).mapToObj(ImageDecoderTest::orientedJpeg)),
        Stream.of(orientedPng(6)));
  }

  @ParameterizedTest(name = "{0}")
  @MethodSource("rows")
  void decodesOrRefusesEachKindOfFile(Row row, @TempDir Path dir) throws IOException {
    byte[] bytes = row.file().make();
    Path file = Files.write(dir.resolve("image"), bytes);
    ImageDecoder decoder = ImageDecoder.create();
    row.outcome().check(() -> decoder.decode(file), bytes);
    row.outcome().check(() -> decoder.decode(bytes), bytes);
  }

  @Test
  void threadsSharingABudgetOfOneImageAllDecode() throws Exception {
    BufferedImage source = noiseGrey(64, 64);
    byte[] png = png(source);
    // One decoded image and its grey levels take 64 x 64 x (1 + 8) bytes, 36 KiB:
    // the budget holds one at a time, so each thread waits for the others to close theirs.
    ImageDecoder decoder =
        ImageDecoder.builder().memoryBudget(40 * 1024).maxPixels(64 * 64).build();
    ExecutorService threads = Executors.newFixedThreadPool(4);
    try {
      List<Future<double[][]>> greys = new ArrayList<>();
      for (int i = 0; i < 12; i++) {
        greys.add(
            threads.submit(
                () -> {
                  try (DecodedImage decoded = decoder.decode(png)) {
                    return GreyImages.of(decoded.image());
                  }
                }));
      }
      for (Future<double[][]> grey : greys) {
        // The wait only ends a test that would otherwise hang on a share never given back.
        assertArrayEquals(GreyImages.of(source), grey.get(2, TimeUnit.MINUTES));
      }
    } finally {
      threads.shutdownNow();
    }
  }

  // ---- outcomes

  private static Row refused(
      String kind, FileBytes file, Class<? extends IOException> type, String messageStart) {
    return new Row(
        kind,
        file,
        (attempt, bytes) -> {
          IOException e = assertThrows(type, attempt::decode);
          assertTrue(
              e.getMessage().startsWith(messageStart),
              () -> "message \"" + e.getMessage() + "\", not starting \"" + messageStart + "\"");
        });
  }

  private static Row decoded(String kind, FileBytes file, ImageCheck check) {
    return new Row(
        kind,
        file,
        (attempt, bytes) -> {
          try (DecodedImage decoded = attempt.decode()) {
            check.check(decoded, bytes);
          }
        });
  }

  /**
   * The grey of the CMYK patch is the luma of its sRGB colour through the
   * embedded profile (about 149), not the luma of the ink samples as if they
   * were red, green and blue (92, or 162 for Adobe's inverted samples).
   */
  private static void hasTheLumaOfTheProfilesSrgb(DecodedImage decoded, byte[] file)
      throws IOException {
    ICC_ColorSpace cmyk = new ICC_ColorSpace(ICC_Profile.getInstance(resource("cmyk-profile.icc")));
    float[] rgb = cmyk.toRGB(new float[] {0.2f, 0.4f, 0.6f, 0.3f});
    double luma = 0.299 * (255.0 * rgb[0]) + 0.587 * (255.0 * rgb[1]) + 0.114 * (255.0 * rgb[2]);
    for (double[] row : GreyImages.of(decoded.image())) {
      for (double grey : row) {
        assertEquals(luma, grey, 2.0);
      }
    }
    assertEquals(List.of("colours converted from CMYK to sRGB"), decoded.notes());
  }

  private static void asImageIoReadsIt(DecodedImage decoded, byte[] file) throws IOException {
    BufferedImage read = ImageIO.read(new ByteArrayInputStream(file));
    assertArrayEquals(samples(rgb16().getRaster()), samples(decoded.image().getRaster()));
    assertArrayEquals(GreyImages.of(read), GreyImages.of(decoded.image()));
    assertEquals(List.of(), decoded.notes());
  }

  private static void keepsTheFloatSamples(DecodedImage decoded, byte[] file) {
    Raster written = floatGrey().getRaster();
    Raster raster = decoded.image().getRaster();
    assertEquals(1, raster.getNumBands());
    // Compared as bits: NaN is NaN, infinity is infinity.
    assertArrayEquals(
        written.getSamples(0, 0, 5, 4, 0, new float[20]),
        raster.getSamples(0, 0, 5, 4, 0, new float[20]));
    assertTrue(Double.isNaN(GreyImages.of(decoded.image())[2][1]));
  }

  /** Each linear sample v becomes 65535 times the sRGB encoding of v / 65535, to 16 bits. */
  private static void isIn16BitSrgb(DecodedImage decoded, byte[] file) {
    assertEquals(DataBuffer.TYPE_USHORT, decoded.image().getRaster().getDataBuffer().getDataType());
    // 16 in 65535: well within one step of an 8-bit conversion (257).
    assertSrgbEncodingOf(linearRgb16().getRaster(), 65535.0, decoded, 16.0);
  }

  /** Each linear sample becomes its sRGB encoding: the JDK's PNG reader alone ignores iCCP. */
  private static void isInSrgb(DecodedImage decoded, byte[] file) {
    assertSrgbEncodingOf(linearRgb8().getRaster(), 255.0, decoded, 2.0);
  }

  /** The decoded image in sRGB: each linear sample's encoding, within a tolerance, and the note. */
  private static void assertSrgbEncodingOf(Raster linear, double full, DecodedImage decoded,
      double tolerance) {
    Raster raster = decoded.image().getRaster();
    assertTrue(decoded.image().getColorModel().getColorSpace().isCS_sRGB());
    for (int y = 0; y < linear.getHeight(); y++) {
      for (int x = 0; x < linear.getWidth(); x++) {
        for (int band = 0; band < 3; band++) {
          double srgb = srgbEncoded(linear.getSample(x, y, band) / full);
          assertEquals(full * srgb, raster.getSample(x, y, band), tolerance,
              "at " + x + ", " + y);
        }
      }
    }
    assertEquals(
        List.of("colours converted from an RGB colour profile other than sRGB to sRGB"),
        decoded.notes());
  }

  private static double srgbEncoded(double linear) {
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * Math.pow(linear, 1 / 2.4) - 0.055;
  }

  // ---- EXIF orientation

  private static final Map<Integer, String> TURNS =
      Map.of(
          2, "mirrored left to right",
          3, "rotated 180 degrees",
          4, "mirrored top to bottom",
          5, "mirrored about the diagonal from the top left",
          6, "rotated 90 degrees clockwise",
          7, "mirrored about the diagonal from the top right",
          8, "rotated 90 degrees counter-clockwise");

  private static Row orientedJpeg(int orientation) {
    byte[] stored = jpeg(noise(24, 16, 2));
    return oriented("JPEG", stored, () -> withExifOrientation(stored, orientation), orientation);
  }

  private static Row orientedPng(int orientation) {
    byte[] stored;
    try {
      stored = png(noise(24, 16, 2));
    } catch (IOException e) {
      throw new IllegalStateException(e);
    }
    return oriented("PNG", stored, () -> withExifChunk(stored, orientation), orientation);
  }

  private static Row oriented(String format, byte[] stored, FileBytes file, int orientation) {
    return decoded(
        format + " of EXIF orientation " + orientation,
        file,
        (decoded, bytes) -> {
          assertEquals(
              List.of(
                  "EXIF orientation " + orientation + " applied ("
                      + TURNS.get(orientation) + ")"),
              decoded.notes());
          try (DecodedImage plain = ImageDecoder.create().decode(stored)) {
            assertShownAsMeant(orientation, plain.image().getRaster(), decoded.image().getRaster());
          }
        });
  }

  /**
   * Each pixel (x, y) of the image shown comes from the stored pixel that the
   * EXIF orientation names, e.g. for 6 ("row 0 is the right-hand side, column
   * 0 the top") from (y, h - 1 - x).
   */
  private static void assertShownAsMeant(int orientation, Raster stored, Raster shown) {
    int w = stored.getWidth();
    int h = stored.getHeight();
    boolean turned = orientation >= 5;
    assertEquals(turned ? h : w, shown.getWidth());
    assertEquals(turned ? w : h, shown.getHeight());
    for (int y = 0; y < shown.getHeight(); y++) {
      for (int x = 0; x < shown.getWidth(); x++) {
        int[] from =
            switch (orientation) {
              case 2 -> new int[] {w - 1 - x, y};
              case 3 -> new int[] {w - 1 - x, h - 1 - y};
              case 4 -> new int[] {x, h - 1 - y};
              case 5 -> new int[] {y, x};
              case 6 -> new int[] {y, h - 1 - x};
              case 7 -> new int[] {w - 1 - y, h - 1 - x};
              default -> new int[] {w - 1 - y, x};
            };
        assertArrayEquals(
            stored.getPixel(from[0], from[1], (int[]) null),
            shown.getPixel(x, y, (int[]) null),
            "orientation " + orientation + " at " + x + ", " + y);
      }
    }
  }

  /** The JPEG with an EXIF APP1 segment holding only tag 0x0112, after its JFIF APP0. */
  private static byte[] withExifOrientation(byte[] jpeg, int orientation) throws IOException {
    ByteArrayOutputStream tiff = new ByteArrayOutputStream();
    tiff.writeBytes("Exif\0\0".getBytes(US_ASCII));
    tiff.writeBytes(exifOrientation(orientation));
    int afterApp0 = 4 + (((jpeg[4] & 0xff) << 8) | (jpeg[5] & 0xff));
    ByteArrayOutputStream file = new ByteArrayOutputStream();
    file.write(jpeg, 0, afterApp0);
    file.write(new byte[] {(byte) 0xff, (byte) 0xe1});
    new DataOutputStream(file).writeShort(2 + tiff.size());
    tiff.writeTo(file);
    file.write(jpeg, afterApp0, jpeg.length - afterApp0);
    return file.toByteArray();
  }

  /** A big-endian TIFF structure whose one directory holds only tag 0x0112, the orientation. */
  private static byte[] exifOrientation(int orientation) throws IOException {
    ByteArrayOutputStream tiff = new ByteArrayOutputStream();
    DataOutputStream out = new DataOutputStream(tiff);
    out.writeBytes("MM");
    out.writeShort(42);
    out.writeInt(8); // the first directory follows the header
    out.writeShort(1); // one entry
    out.writeShort(0x0112);
    out.writeShort(3); // SHORT
    out.writeInt(1);
    out.writeShort(orientation);
    out.writeShort(0);
    out.writeInt(0); // no next directory
    return tiff.toByteArray();
  }

  /** The PNG with an eXIf chunk holding only the orientation, after its IHDR chunk. */
  private static byte[] withExifChunk(byte[] png, int orientation) throws IOException {
    int afterIhdr = 8 + 12 + 13;
    ByteArrayOutputStream file = new ByteArrayOutputStream();
    file.write(png, 0, afterIhdr);
    pngChunk(file, "eXIf", exifOrientation(orientation));
    file.write(png, afterIhdr, png.length - afterIhdr);
    return file.toByteArray();
  }


  // ---- files

  private static FileBytes fixture(String name) {
    return () -> resource(name);
  }

  private static byte[] resource(String name) throws IOException {
    try (InputStream in = ImageDecoderTest.class.getResourceAsStream(FIXTURES + name)) {
      if (in == null) {
        throw new IOException("missing test resource " + FIXTURES + name);
      }
      return in.readAllBytes();
    }
  }

  /** A PNG signature, header and end around four bytes of image data that decode to nothing. */
  private static byte[] pngHeaderOnly(int width, int height) throws IOException {
    ByteArrayOutputStream file = new ByteArrayOutputStream();
    file.write(new byte[] {(byte) 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'});
    ByteArrayOutputStream ihdr = new ByteArrayOutputStream();
    DataOutputStream header = new DataOutputStream(ihdr);
    header.writeInt(width);
    header.writeInt(height);
    header.write(new byte[] {8, 0, 0, 0, 0}); // 8-bit grey, deflate, no filter, no interlace
    pngChunk(file, "IHDR", ihdr.toByteArray());
    pngChunk(file, "IDAT", new byte[4]);
    pngChunk(file, "IEND", new byte[0]);
    return file.toByteArray();
  }

  private static void pngChunk(ByteArrayOutputStream file, String type, byte[] data)
      throws IOException {
    DataOutputStream out = new DataOutputStream(file);
    out.writeInt(data.length);
    CRC32 crc = new CRC32();
    crc.update(type.getBytes(US_ASCII));
    crc.update(data);
    out.writeBytes(type);
    out.write(data);
    out.writeInt((int) crc.getValue());
  }

  /** {@link #linearRgb8()} as a PNG whose iCCP chunk, after IHDR, holds a linear RGB profile. */
  private static byte[] linearRgbPng() throws IOException {
    byte[] png = png(linearRgb8());
    ByteArrayOutputStream iccp = new ByteArrayOutputStream();
    iccp.writeBytes("linear RGB\0\0".getBytes(US_ASCII)); // name, end of name, deflate
    try (DeflaterOutputStream deflated = new DeflaterOutputStream(iccp)) {
      deflated.write(((ICC_ColorSpace) ColorSpace.getInstance(ColorSpace.CS_LINEAR_RGB))
          .getProfile().getData());
    }
    int afterIhdr = 8 + 4 + 4 + 13 + 4;
    ByteArrayOutputStream file = new ByteArrayOutputStream();
    file.write(png, 0, afterIhdr);
    pngChunk(file, "iCCP", iccp.toByteArray());
    file.write(png, afterIhdr, png.length - afterIhdr);
    return file.toByteArray();
  }

  private static byte[] png(BufferedImage image) throws IOException {
    ByteArrayOutputStream out = new ByteArrayOutputStream();
    assertTrue(ImageIO.write(image, "png", out));
    return out.toByteArray();
  }

  private static byte[] jpeg(BufferedImage image) {
    try {
      ByteArrayOutputStream out = new ByteArrayOutputStream();
      assertTrue(ImageIO.write(image, "jpeg", out));
      return out.toByteArray();
    } catch (IOException e) {
      throw new IllegalStateException(e);
    }
  }

  /**
   * A TIFF written by the JDK's own writer, which writes float samples; with
   * the ICC profile of the image's colour space in tag 34675 if asked.
   */
  private static byte[] jdkTiff(BufferedImage image, boolean withProfile) throws IOException {
    ImageWriter writer = null;
    for (var it = ImageIO.getImageWritersByFormatName("tiff"); it.hasNext(); ) {
      ImageWriter candidate = it.next();
      if (candidate.getClass().getModule() == ImageIO.class.getModule()) {
        writer = candidate;
      }
    }
    assertTrue(writer != null, "the JDK has a TIFF writer");
    ImageWriteParam param = writer.getDefaultWriteParam();
    TIFFDirectory tags =
        TIFFDirectory.createFromMetadata(
            writer.getDefaultImageMetadata(new ImageTypeSpecifier(image), param));
    if (withProfile) {
      byte[] profile =
          ((ICC_ColorSpace) image.getColorModel().getColorSpace()).getProfile().getData();
      tags.addTIFFField(
          new TIFFField(
              BaselineTIFFTagSet.getInstance().getTag(BaselineTIFFTagSet.TAG_ICC_PROFILE),
              TIFFTag.TIFF_UNDEFINED,
              profile.length,
              profile));
    }
    ByteArrayOutputStream out = new ByteArrayOutputStream();
    try (ImageOutputStream stream = ImageIO.createImageOutputStream(out)) {
      writer.setOutput(stream);
      writer.write(null, new IIOImage(image, null, tags.getAsMetadata()), param);
    } finally {
      writer.dispose();
    }
    return out.toByteArray();
  }

  private static byte[] gifOfThreeFrames() throws IOException {
    ImageWriter writer = ImageIO.getImageWritersByFormatName("gif").next();
    ByteArrayOutputStream out = new ByteArrayOutputStream();
    try (ImageOutputStream stream = ImageIO.createImageOutputStream(out)) {
      writer.setOutput(stream);
      writer.prepareWriteSequence(null);
      for (int frame = 0; frame < 3; frame++) {
        writer.writeToSequence(new IIOImage(greyRamp(100 * frame), null, null), null);
      }
      writer.endWriteSequence();
    } finally {
      writer.dispose();
    }
    return out.toByteArray();
  }

  // ---- images

  private static BufferedImage noise(int w, int h, long seed) {
    Random random = new Random(seed);
    BufferedImage image = new BufferedImage(w, h, BufferedImage.TYPE_3BYTE_BGR);
    for (int y = 0; y < h; y++) {
      for (int x = 0; x < w; x++) {
        image.setRGB(x, y, random.nextInt(1 << 24));
      }
    }
    return image;
  }

  private static BufferedImage noiseGrey(int w, int h) {
    Random random = new Random(3);
    BufferedImage image = new BufferedImage(w, h, BufferedImage.TYPE_BYTE_GRAY);
    for (int y = 0; y < h; y++) {
      for (int x = 0; x < w; x++) {
        image.getRaster().setSample(x, y, 0, random.nextInt(256));
      }
    }
    return image;
  }

  private static BufferedImage greyRamp(int offset) {
    BufferedImage image = new BufferedImage(8, 6, BufferedImage.TYPE_BYTE_GRAY);
    for (int y = 0; y < 6; y++) {
      for (int x = 0; x < 8; x++) {
        image.getRaster().setSample(x, y, 0, offset + 10 * x + y);
      }
    }
    return image;
  }

  /** The picture of the WebP files: red 8x, green 10y, blue 4(x + y). */
  private static BufferedImage pattern() {
    BufferedImage image = new BufferedImage(32, 24, BufferedImage.TYPE_INT_RGB);
    for (int y = 0; y < 24; y++) {
      for (int x = 0; x < 32; x++) {
        image.setRGB(x, y, (8 * x) << 16 | (10 * y) << 8 | 4 * (x + y));
      }
    }
    return image;
  }

  private static BufferedImage rgb16() {
    ComponentColorModel cm =
        new ComponentColorModel(
            ColorSpace.getInstance(ColorSpace.CS_sRGB), false, false, Transparency.OPAQUE,
            DataBuffer.TYPE_USHORT);
    WritableRaster raster = cm.createCompatibleWritableRaster(20, 10);
    Random random = new Random(4);
    for (int y = 0; y < 10; y++) {
      for (int x = 0; x < 20; x++) {
        for (int band = 0; band < 3; band++) {
          raster.setSample(x, y, band, random.nextInt(65536));
        }
      }
    }
    return new BufferedImage(cm, raster, false, null);
  }

  private static BufferedImage floatGrey() {
    ComponentColorModel cm =
        new ComponentColorModel(
            ColorSpace.getInstance(ColorSpace.CS_GRAY), false, false, Transparency.OPAQUE,
            DataBuffer.TYPE_FLOAT);
    WritableRaster raster = cm.createCompatibleWritableRaster(5, 4);
    for (int y = 0; y < 4; y++) {
      for (int x = 0; x < 5; x++) {
        raster.setSample(x, y, 0, 0.5f * x - 1.25f * y);
      }
    }
    raster.setSample(1, 2, 0, Float.NaN);
    raster.setSample(3, 1, 0, Float.POSITIVE_INFINITY);
    return new BufferedImage(cm, raster, false, null);
  }

  private static BufferedImage grey16() {
    BufferedImage image = new BufferedImage(12, 8, BufferedImage.TYPE_USHORT_GRAY);
    for (int y = 0; y < 8; y++) {
      for (int x = 0; x < 12; x++) {
        image.getRaster().setSample(x, y, 0, 5000 * x + 300 * y + x * y % 7);
      }
    }
    return image;
  }

  /** Its samples are meant as linear RGB; written as PNG they are taken for sRGB. */
  private static BufferedImage linearRgb8() {
    BufferedImage image = new BufferedImage(6, 4, BufferedImage.TYPE_INT_RGB);
    for (int y = 0; y < 4; y++) {
      for (int x = 0; x < 6; x++) {
        image.setRGB(x, y, (40 + 30 * x) << 16 | (120 + 20 * y) << 8 | (200 - 10 * x));
      }
    }
    return image;
  }

  private static BufferedImage linearRgb16() {
    ComponentColorModel cm =
        new ComponentColorModel(
            ColorSpace.getInstance(ColorSpace.CS_LINEAR_RGB), false, false, Transparency.OPAQUE,
            DataBuffer.TYPE_USHORT);
    WritableRaster raster = cm.createCompatibleWritableRaster(6, 3);
    for (int y = 0; y < 3; y++) {
      for (int x = 0; x < 6; x++) {
        raster.setPixel(x, y, new int[] {3000 + 9000 * x, 20000 + 15000 * y, 40000 - 5000 * x});
      }
    }
    return new BufferedImage(cm, raster, false, null);
  }

  private static int[] samples(Raster raster) {
    return raster.getPixels(0, 0, raster.getWidth(), raster.getHeight(), (int[]) null);
  }

  private static void assertNear(double[][] expected, double[][] actual, double tolerance) {
    assertEquals(expected.length, actual.length);
    for (int y = 0; y < expected.length; y++) {
      assertEquals(expected[y].length, actual[y].length);
      for (int x = 0; x < expected[y].length; x++) {
        assertEquals(expected[y][x], actual[y][x], tolerance, "at " + x + ", " + y);
      }
    }
  }
}
