package org.varnoth;

import java.awt.image.BufferedImage;
import java.io.ByteArrayInputStream;
import java.io.IOException;
import java.util.Locale;
import java.util.Objects;
import java.util.Set;
import javax.imageio.ImageIO;
import javax.imageio.stream.MemoryCacheImageInputStream;

/**
 * Image files as the analyser takes them: decoded by {@code javax.imageio},
 * with one reason, in words, for every file it refuses. The command-line tool
 * and the Spark transformation decode through this class, so that the same
 * file gives the same image, or the same reason, everywhere.
 */
public final class ImageDecoding {
  /** The file name extensions (lower case) of the formats that javax.imageio reads. */
  public static final Set<String> FILE_EXTENSIONS =
      Set.of("png", "jpg", "jpeg", "bmp", "gif", "tif", "tiff", "wbmp");

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
   * Decodes the bytes of an image file.
   *
   * @param bytes the whole file
   * @return the image
   * @throws IOException whose message says why the bytes give no image:
   *     {@code "not an image that javax.imageio reads (PNG, JPEG, BMP, GIF, TIFF)"},
   *     or {@code "cannot be read: "} and the decoder's reason
   * @throws NullPointerException if {@code bytes} is null
   */
  public static BufferedImage decode(byte[] bytes) throws IOException {
    Objects.requireNonNull(bytes, "bytes is null");
    BufferedImage image;
    try {
      // Held in memory: javax.imageio would otherwise copy the stream to a
      // cache file in java.io.tmpdir first.
      image = ImageIO.read(new MemoryCacheImageInputStream(new ByteArrayInputStream(bytes)));
    } catch (IOException | RuntimeException e) {
      // Decoders of damaged files throw runtime exceptions too (an index out
      // of bounds in a truncated palette, say): both are a file refused.
      throw new IOException("cannot be read: " + e.getMessage(), e);
    }
    if (image == null) {
      throw new IOException("not an image that javax.imageio reads (PNG, JPEG, BMP, GIF, TIFF)");
    }
    return image;
  }
}
