package org.varnoth.decoding;

import com.drew.imaging.ImageProcessingException;
import com.drew.metadata.Metadata;
import com.drew.metadata.exif.ExifIFD0Directory;
import java.awt.color.ColorSpace;
import java.awt.image.BufferedImage;
import java.io.IOException;
import java.io.InputStream;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileSystemException;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.nio.file.attribute.BasicFileAttributes;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Locale;
import java.util.Objects;
import java.util.Optional;
import java.util.OptionalInt;
import java.util.OptionalLong;
import javax.imageio.ImageReader;
import javax.imageio.spi.ImageReaderSpi;
import javax.imageio.stream.ImageInputStream;

/**
 * Decodes image files (PNG, JPEG, BMP, GIF, TIFF, WebP, WBMP) into images that
 * {@link org.varnoth.GreyImages} turns into grey levels as the file means them, within
 * limits that keep a batch of files, decoded on any number of threads, inside
 * the Java heap.
 *
 * <p>For each file the decoder
 *
 * <ol>
 *   <li>finds the format from the first bytes (not from the name), reading no
 *       more of the file than its readers ask for;
 *   <li>reads the first frame's width and height from its header and refuses
 *       an image of more than {@link #maxPixels()} pixels with an
 *       {@link ImageTooLargeException}, before decoding any pixel;
 *   <li>takes from its memory budget, waiting while other threads hold it,
 *       the bytes that the decoded image and its grey levels take (pixels
 *       times the bytes of one pixel of the decoded raster plus 8 for a
 *       double grey level, and the bytes of an sRGB copy where the colours
 *       are converted); the {@link DecodedImage} holds them until it is
 *       closed. An image that needs more than the whole budget is refused;
 *   <li>decodes the first frame, failing the file on any warning of the
 *       reader (the warnings that only say how it handled colours, such as
 *       a CMYK JPEG without an ICC profile, become notes instead); a reader
 *       that cannot read the file at all gives way to the next reader of the
 *       format, if there is one;
 *   <li>converts colours that are neither grey nor sRGB to sRGB: CMYK, YCCK
 *       and the ICC profiles embedded in JPEG, TIFF, PNG (iCCP) and WebP
 *       files; grey samples, floating-point ones included, stay as stored;
 *   <li>applies the EXIF orientation of a JPEG, TIFF, PNG or WebP file.
 * </ol>
 *
 * <p>Every refusal is an {@link IOException} whose message gives one reason in
 * words: {@code "empty file"}; {@code "not an image file of a known format
 * (PNG, JPEG, BMP, GIF, TIFF, WebP)"}; {@code "W x H pixels, above the limit
 * of N pixels"}; {@code "W x H pixels need about M MiB to decode, more than
 * the memory budget of B MiB"}; {@code "damaged: "} and the reader's warning
 * (a truncated JPEG, say), or the reason its metadata cannot be read;
 * {@code "cannot be read: "} and the reader's reason; {@code "cannot be
 * converted to grey: "} and why; {@code "out of memory decoding W x H pixels:
 * give Java more memory (-Xmx) or decode fewer images at once"}; and for a
 * path, {@code "no such file"}, {@code "permission denied"}, {@code "a
 * directory, not a file"} or {@code "cannot be opened: "} and why.
 *
 * <p>A decoder is immutable and may be shared by any number of threads; its
 * memory budget is shared by all of them, so the images of a batch decode
 * the same whatever the number of threads.
 */
public final class ImageDecoder {
  /** The largest default pixel limit: 2<sup>28</sup>, about 16384 x 16384. */
  static final long MAX_DEFAULT_PIXELS = 1L << 28;

  /**
   * The bytes per pixel that the default pixel limit allows for: a decoded
   * raster of 4 bytes a pixel (8-bit RGBA or CMYK) and 8 for its grey level.
   */
  static final int DEFAULT_BYTES_PER_PIXEL = 4 + 8;

  static final String NOT_AN_IMAGE =
      "not an image file of a known format (PNG, JPEG, BMP, GIF, TIFF, WebP)";

  private static final long MIB = 1024 * 1024;
  private static final int EXIF_CHUNK = PngChunks.type("eXIf");

  private final long maxPixels;
  private final MemoryBudget budget;

  private ImageDecoder(long maxPixels, MemoryBudget budget) {
    this.maxPixels = maxPixels;
    this.budget = budget;
  }

  /**
   * A decoder with the default limits: a memory budget of half the heap
   * ({@code Runtime.getRuntime().maxMemory() / 2}), and a pixel limit of that
   * budget divided by 12 bytes (4 of an 8-bit RGBA pixel and 8 of its grey
   * level), at most 2<sup>28</sup> (268435456) pixels. A 6 GiB heap thus
   * takes images of up to 268435456 pixels, a 1 GiB heap of up to 44739242.
   *
   * @return a new decoder, with a budget of its own
   */
  public static ImageDecoder create() {
    return builder().build();
  }
  /**
   * The decoder with the default limits that this JVM shares: one memory
   * budget for every caller that decodes through it (the library's
   * {@code ImageDecoding}, the tasks of a Spark executor), made on first use.
   *
   * @return the shared decoder
   */
  public static ImageDecoder shared() {
    return Shared.INSTANCE;
  }

  /** Made on first use, so that the heap its limits derive from is the JVM's as it runs. */
  private static final class Shared {
    static final ImageDecoder INSTANCE = create();
  }


  /**
   * A builder of a decoder whose limits start as those of {@link #create()}.
   *
   * @return a new builder
   */
  public static Builder builder() {
    return new Builder();
  }

  /**
   * The largest number of pixels (width times height of the first frame) that it decodes.
   *
   * @return the pixel limit
   */
  public long maxPixels() {
    return maxPixels;
  }

  /**
   * The bytes that the images decoded by all threads, and not yet closed, may take together.
   *
   * @return the memory budget in bytes (a whole number of KiB)
   */
  public long memoryBudget() {
    return budget.bytes();
  }

  /**
   * Decodes an image file, reading only the parts of it that the reader asks
   * for; a regular file of at most 64 KiB is read whole, once.
   *
   * @param file the file
   * @return the decoded image, which holds a share of the memory budget until closed
   * @throws ImageTooLargeException if its first frame has more than {@link #maxPixels()} pixels
   * @throws java.io.InterruptedIOException if the thread is interrupted while it waits for memory
   * @throws IOException if it gives no image; the message says why (see the class comment)
   * @throws NullPointerException if {@code file} is null
   */
  public DecodedImage decode(Path file) throws IOException {
    Objects.requireNonNull(file, "file is null");
    try {
      return decode(sourceOf(file));
    } catch (NoSuchFileException e) {
      throw new IOException("no such file", e);
    } catch (AccessDeniedException e) {
      throw new IOException("permission denied", e);
    } catch (FileSystemException e) {
      throw new IOException("cannot be opened: " + Reasons.of(e), e);
    }
  }

  // A regular file that fits in one buffer of FileImageInput is read whole,
  // once, and decoded from memory: the readers' probe, the reader and the
  // metadata would otherwise open it three times and fill a buffer each.
  private static ImageSource sourceOf(Path file) throws IOException {
    BasicFileAttributes attributes = Files.readAttributes(file, BasicFileAttributes.class);
    if (attributes.isDirectory()) {
      throw new IOException("a directory, not a file");
    }
    if (attributes.isRegularFile() && attributes.size() <= FileImageInput.BUFFER_SIZE) {
      try (InputStream in = Files.newInputStream(file)) {
        byte[] bytes = new byte[(int) attributes.size()];
        int n = in.readNBytes(bytes, 0, bytes.length);
        if (in.read() < 0) {  // not grown since its size was read
          return new ImageSource.BytesSource(n == bytes.length ? bytes : Arrays.copyOf(bytes, n));
        }
      }
    }
    return new ImageSource.FileSource(file);
  }

  /**
   * Decodes the bytes of an image file, without copying them.
   *
   * @param bytes the whole file, unchanged while it is decoded
   * @return the decoded image, which holds a share of the memory budget until closed
   * @throws ImageTooLargeException if its first frame has more than {@link #maxPixels()} pixels
   * @throws java.io.InterruptedIOException if the thread is interrupted while it waits for memory
   * @throws IOException if they give no image; the message says why (see the class comment)
   * @throws NullPointerException if {@code bytes} is null
   */
  public DecodedImage decode(byte[] bytes) throws IOException {
    Objects.requireNonNull(bytes, "bytes is null");
    return decode(new ImageSource.BytesSource(bytes));
  }

  private DecodedImage decode(ImageSource source) throws IOException {
    if (source.length() == 0) {
      throw new IOException("empty file");
    }
    List<ImageReaderSpi> providers;
    try (ImageInputStream input = source.openImageStream()) {
      providers = ImageReaders.providersFor(input);
    }
    if (providers.isEmpty()) {
      throw new IOException(NOT_AN_IMAGE);
    }
    // The first reader's reason is the one given when no reader can read the file.
    Optional<UnreadableException> firstReason = Optional.empty();
    for (ImageReaderSpi provider : providers) {
      try (ImageInputStream input = source.openImageStream()) {
        return decode(source, provider, input);
      } catch (UnreadableException e) {
        firstReason = firstReason.or(() -> Optional.of(e));
      }
    }
    throw firstReason.get();
  }

  private DecodedImage decode(ImageSource source, ImageReaderSpi provider, ImageInputStream input)
      throws IOException {
    ImageReader reader = provider.createReaderInstance();
    try {
      List<String> warnings = new ArrayList<>();
      reader.addIIOReadWarningListener((r, warning) -> warnings.add(warning));
      // Metadata is ignored as ImageIO.read ignores it, so that pixels decode as they did.
      reader.setInput(input, false, true);
      FrameHeader header = FrameHeader.read(reader, source, maxPixels);
      if (ImageReaders.clampsFloatSamples(provider) && header.hasFloatSamples()) {
        throw new UnreadableException("its reader would clamp its floating-point samples");
      }
      return decodeWithinBudget(source, reader, header, warnings);
    } finally {
      reader.dispose();
    }
  }

  private DecodedImage decodeWithinBudget(
      ImageSource source, ImageReader reader, FrameHeader header, List<String> warnings)
      throws IOException {
    long bytes = header.estimatedBytes();
    if (!budget.holds(bytes)) {
      throw new IOException(
          header.describe() + " need about " + mebibytes(bytes)
              + " to decode, more than the memory budget of " + mebibytes(budget.bytes()));
    }
    MemoryBudget.Share share = budget.acquire(bytes, header.describe());
    try {
      List<String> notes = new ArrayList<>();
      BufferedImage image = decodeFrame(source, reader, header, warnings, notes);
      return new DecodedImage(image, notes, share);
    } catch (IOException | RuntimeException | Error e) {
      share.release();
      throw e;
    }
  }

  private static BufferedImage decodeFrame(
      ImageSource source,
      ImageReader reader,
      FrameHeader header,
      List<String> warnings,
      List<String> notes)
      throws IOException {
    try {
      BufferedImage image = readFirstFrame(reader, header);
      noticesOrDamage(warnings, notes);
      if (header.embeddedProfile().isPresent()) {
        image = SrgbColours.inColourSpace(image, header.embeddedProfile().get());
      }
      ImageFormat format = ImageFormat.of(reader);
      framesNote(reader, format).ifPresent(notes::add);
      image = inSrgb(image, header, notes);
      return oriented(image, exifOrientation(source, format), notes);
    } catch (OutOfMemoryError e) {
      throw outOfMemory(header, e);
    }
  }

  private static IOException outOfMemory(FrameHeader header, Throwable e) {
    return new IOException(
        "out of memory decoding " + header.describe()
            + ": give Java more memory (-Xmx) or decode fewer images at once",
        e);
  }

  /** Whether a reader's exception wraps an OutOfMemoryError (the JDK's PNG reader wraps it). */
  private static boolean causedByOutOfMemory(Throwable e) {
    for (Throwable t = e; t != null; t = t.getCause()) {
      if (t instanceof OutOfMemoryError) {
        return true;
      }
    }
    return false;
  }

  /**
   * Adds the notes of the warnings that are notices; fails with the first
   * warning that is not.
   */
  private static void noticesOrDamage(List<String> warnings, List<String> notes)
      throws IOException {
    for (String warning : warnings) {
      Optional<ReaderNotice> notice = ReaderNotice.of(warning);
      if (notice.isEmpty()) {
        throw new IOException("damaged: " + warning);
      }
      notice.get().note().ifPresent(notes::add);
    }
  }

  private static BufferedImage readFirstFrame(ImageReader reader, FrameHeader header)
      throws IOException {
    try {
      return reader.read(0, reader.getDefaultReadParam());
    } catch (IOException | RuntimeException e) {
      throw causedByOutOfMemory(e) ? outOfMemory(header, e) : new UnreadableException(e);
    }
  }

  /** "first of N frames used", where the reader counts the frames without decoding them. */
  private static Optional<String> framesNote(ImageReader reader, ImageFormat format) {
    if (!format.countsFramesCheaply()) {
      return Optional.empty();
    }
    try {
      int frames = reader.getNumImages(true);
      return frames > 1 ? Optional.of("first of " + frames + " frames used") : Optional.empty();
    } catch (IOException | RuntimeException e) {
      return Optional.empty(); // the count is unknown; the first frame decoded whole
    }
  }

  private static BufferedImage inSrgb(BufferedImage image, FrameHeader header, List<String> notes)
      throws IOException {
    ColorSpace decoded = image.getColorModel().getColorSpace();
    Optional<BufferedImage> converted = SrgbColours.convertedToSrgb(image);
    if (converted.isPresent()) {
      notes.add("colours converted from " + SrgbColours.describe(decoded) + " to sRGB");
      return converted.get();
    }
    // The JPEG and WebP readers convert CMYK, YCCK and ICC profiles to sRGB themselves.
    header
        .storedColourSpace()
        .filter(
            stored ->
                stored.getNumComponents() > 1
                    && !SrgbColours.isSrgb(stored)
                    && SrgbColours.isSrgb(decoded))
        .ifPresent(
            stored ->
                notes.add("colours converted from " + SrgbColours.describe(stored) + " to sRGB"));
    return image;
  }

  private static BufferedImage oriented(
      BufferedImage image, OptionalInt tagValue, List<String> notes) {
    if (tagValue.isEmpty()) {
      return image;
    }
    Optional<ExifOrientation> orientation = ExifOrientation.ofTagValue(tagValue.getAsInt());
    if (orientation.isEmpty()) {
      notes.add("EXIF orientation " + tagValue.getAsInt() + " ignored: not a value from 1 to 8");
      return image;
    }
    if (orientation.get() == ExifOrientation.NORMAL) {
      return image;
    }
    notes.add(orientation.get().note());
    return orientation.get().apply(image);
  }

  /** The value of tag 0x0112 in the file's first image directory, if it has one. */
  private static OptionalInt exifOrientation(ImageSource source, ImageFormat format)
      throws IOException {
    if (!format.carriesExif() || format == ImageFormat.PNG && withoutExifChunk(source)) {
      return OptionalInt.empty();
    }
    Metadata metadata;
    try {
      metadata = source.readMetadata(format);
    } catch (ImageProcessingException | IOException | RuntimeException e) {
      throw new IOException("damaged: its metadata cannot be read (" + Reasons.of(e) + ")", e);
    }
    ExifIFD0Directory ifd0 = metadata.getFirstDirectoryOfType(ExifIFD0Directory.class);
    if (ifd0 == null) {
      return OptionalInt.empty();
    }
    Integer value = ifd0.getInteger(ExifIFD0Directory.TAG_ORIENTATION);
    return value == null ? OptionalInt.empty() : OptionalInt.of(value);
  }

  // metadata-extractor reads a PNG's EXIF from its eXIf chunk alone: a file
  // whose chunks can be followed to their end without one has none to read.
  private static boolean withoutExifChunk(ImageSource source) {
    try (ImageInputStream png = source.openImageStream()) {
      return PngChunks.surelyWithout(png, EXIF_CHUNK);
    } catch (IOException e) {
      return false; // metadata-extractor says why
    }
  }

  private static String mebibytes(long bytes) {
    return String.format(Locale.ROOT, "%.1f MiB", bytes / (double) MIB);
  }

  /**
   * Sets the limits of a decoder. A limit not set is the default of
   * {@link ImageDecoder#create()}; the default pixel limit follows the memory
   * budget set here.
   */
  public static final class Builder {
    private OptionalLong maxPixels = OptionalLong.empty();
    private OptionalLong memoryBudget = OptionalLong.empty();

    private Builder() {}

    /**
     * Sets the largest number of pixels (width times height) decoded.
     *
     * @param pixels at least 1
     * @return this builder
     * @throws IllegalArgumentException if {@code pixels} is below 1
     */
    public Builder maxPixels(long pixels) {
      if (pixels < 1) {
        throw new IllegalArgumentException("maxPixels must be at least 1, not " + pixels);
      }
      maxPixels = OptionalLong.of(pixels);
      return this;
    }

    /**
     * Sets the bytes that the images decoded by all threads, and not yet
     * closed, may take together; it is counted in whole KiB.
     *
     * @param bytes at least 1024
     * @return this builder
     * @throws IllegalArgumentException if {@code bytes} is below 1024
     */
    public Builder memoryBudget(long bytes) {
      if (bytes < 1024) {
        throw new IllegalArgumentException(
            "memoryBudget must be at least 1024 bytes, not " + bytes);
      }
      memoryBudget = OptionalLong.of(bytes);
      return this;
    }

    /**
     * A decoder with these limits and a memory budget of its own.
     *
     * @return a new decoder
     */
    public ImageDecoder build() {
      long budgetBytes = memoryBudget.orElse(Runtime.getRuntime().maxMemory() / 2);
      long pixels =
          maxPixels.orElse(
              Math.max(1, Math.min(MAX_DEFAULT_PIXELS, budgetBytes / DEFAULT_BYTES_PER_PIXEL)));
      return new ImageDecoder(pixels, new MemoryBudget(budgetBytes));
    }
  }
}
