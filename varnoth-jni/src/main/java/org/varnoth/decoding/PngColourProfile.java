package org.varnoth.decoding;

import java.io.ByteArrayOutputStream;
import java.io.EOFException;
import java.io.IOException;
import java.util.Optional;
import java.util.zip.DataFormatException;
import java.util.zip.Inflater;
import javax.imageio.stream.ImageInputStream;

/**
 * The ICC profile in a PNG file's iCCP chunk, which the JDK's PNG reader does
 * not apply. The chunks before the image data are walked; no pixel is read.
 */
final class PngColourProfile {
  private static final int ICCP = PngChunks.type("iCCP");
  /** Far above any real profile (a few KB to a few hundred): a bound on a damaged chunk. */
  private static final int MAX_PROFILE_BYTES = 16 << 20;

  private PngColourProfile() {}

  /**
   * The bytes of the embedded profile, or empty when there is none.
   *
   * @throws IOException {@code "cannot be converted to grey: "} and why, for a
   *     chunk whose profile cannot be inflated
   */
  static Optional<byte[]> read(ImageInputStream png) throws IOException {
    png.seek(PngChunks.SIGNATURE_BYTES);
    try {
      while (true) {
        long length = png.readUnsignedInt();
        int type = png.readInt();
        if (type == PngChunks.IDAT || type == PngChunks.IEND) {
          return Optional.empty();
        }
        if (type == ICCP) {
          return Optional.of(profileOf(chunkData(png, length)));
        }
        png.seek(png.getStreamPosition() + length + 4); // the data and its CRC
      }
    } catch (EOFException e) {
      return Optional.empty(); // no image data: the reader has said so already
    }
  }

  private static byte[] chunkData(ImageInputStream png, long length) throws IOException {
    if (length > MAX_PROFILE_BYTES) {
      throw unusable("its iCCP chunk of " + length + " bytes is larger than any colour profile");
    }
    byte[] data = new byte[(int) length];
    png.readFully(data);
    return data;
  }

  /** The profile in iCCP data: a name, a zero byte, the compression method (0), deflated bytes. */
  private static byte[] profileOf(byte[] chunk) throws IOException {
    int nameEnd = 0;
    while (nameEnd < chunk.length && chunk[nameEnd] != 0) {
      nameEnd++;
    }
    if (nameEnd + 2 > chunk.length || chunk[nameEnd + 1] != 0) {
      throw unusable("its iCCP chunk is malformed");
    }
    Inflater inflater = new Inflater();
    try {
      inflater.setInput(chunk, nameEnd + 2, chunk.length - nameEnd - 2);
      ByteArrayOutputStream profile = new ByteArrayOutputStream();
      byte[] buffer = new byte[8192];
      while (!inflater.finished()) {
        int n = inflater.inflate(buffer);
        if (n == 0 && (inflater.needsInput() || inflater.needsDictionary())) {
          throw unusable("its iCCP chunk ends before its profile does");
        }
        profile.write(buffer, 0, n);
        if (profile.size() > MAX_PROFILE_BYTES) {
          throw unusable("its iCCP chunk inflates beyond any colour profile");
        }
      }
      return profile.toByteArray();
    } catch (DataFormatException e) {
      throw unusable("its iCCP chunk's compressed data is invalid");
    } finally {
      inflater.end();
    }
  }

  private static IOException unusable(String why) {
    return new IOException("cannot be converted to grey: " + why);
  }
}
