package org.varnoth;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.util.Locale;
import java.util.Objects;
import java.util.Set;
import org.varnoth.decoding.DecodedImage;
import org.varnoth.decoding.ImageDecoder;

/**
 * Image files as the analyser takes them: decoded by one {@link ImageDecoder}
 * with the default limits, shared by all threads of the JVM, with one reason,
 * in words, for every file it refuses. The command-line tool and the Spark
 * transformation decode through this class or an {@link ImageDecoder}, so
 * that the same file gives the same image, or the same reason, everywhere.
 */
public final class ImageDecoding {
  /** The file name extensions (lower case) of the formats that {@link ImageDecoder} reads. */
  public static final Set<String> FILE_EXTENSIONS =
      Set.of("png", "jpg", "jpeg", "bmp", "gif", "tif", "tiff", "wbmp", "webp");

  private ImageDecoding() {}

  /**
   * Whether a file name ends in one of {@link #FILE_EXTENSIONS}, in any case.
   *
   * @param fileName the name, without its folder
   * @return true for names such as {@code a.png} and {@code B.TIFF}
   */
  public static boolean hasImageExtension(String fileName) {
    int dot = fileName.lastIndexOf('.');
    return dot > 0
        && FILE_EXTENSIONS.contains(fileName.substring(dot + 1).toLowerCase(Locale.ROOT));
  }

  /**
   * Decodes the bytes of an image file with the JVM's shared default decoder
   * ({@link ImageDecoder#create()}'s limits). The image's share of the memory
   * budget is given back before it is returned; its notes are not kept.
   *
   * @param bytes the whole file
   * @return the image: the first frame, EXIF orientation applied, grey or sRGB
   * @throws org.varnoth.decoding.ImageTooLargeException if it has more pixels than the default limit
   * @throws IOException whose message says why the bytes give no image, as
   *     listed in {@link ImageDecoder}: {@code "empty file"},
   *     {@code "not an image file of a known format (PNG, JPEG, BMP, GIF, TIFF, WebP)"},
   *     {@code "damaged: "} or {@code "cannot be read: "} and the reader's reason, and others
   * @throws NullPointerException if {@code bytes} is null
   */
  public static BufferedImage decode(byte[] bytes) throws IOException {
    Objects.requireNonNull(bytes, "bytes is null");
    try (DecodedImage decoded = ImageDecoder.shared().decode(bytes)) {
      return decoded.image();
    }
  }
}
