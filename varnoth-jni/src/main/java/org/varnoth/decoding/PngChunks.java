package org.varnoth.decoding;

import java.io.EOFException;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import javax.imageio.stream.ImageInputStream;

/**
 * The chunks of a PNG file: after its 8-byte signature, each chunk is a
 * 4-byte length, a 4-byte type, that many bytes of data and a 4-byte CRC,
 * up to the IEND chunk.
 */
final class PngChunks {
  static final int SIGNATURE_BYTES = 8;
  static final int IDAT = type("IDAT");
  static final int IEND = type("IEND");

  private PngChunks() {}

  /** A chunk type's four ASCII letters as the big-endian number the file holds. */
  static int type(String name) {
    byte[] b = name.getBytes(StandardCharsets.US_ASCII);
    return (b[0] & 0xff) << 24 | (b[1] & 0xff) << 16 | (b[2] & 0xff) << 8 | (b[3] & 0xff);
  }

  /**
   * Whether the chunks can be followed to IEND, each within the file, and
   * none of them is of the given type: false when one is, and false when the
   * chunks cannot be followed (what they hold is then for a reader to judge).
   */
  static boolean surelyWithout(ImageInputStream png, int type) throws IOException {
    long fileLength = png.length();
    png.seek(SIGNATURE_BYTES);
    try {
      while (true) {
        long dataLength = png.readUnsignedInt();
        int found = png.readInt();
        if (found == type) {
          return false;
        }
        if (found == IEND) {
          return true;
        }
        long next = png.getStreamPosition() + dataLength + 4; // the data and its CRC
        if (fileLength >= 0 && next > fileLength) {
          return false;
        }
        png.seek(next);
      }
    } catch (EOFException e) {
      return false;
    }
  }
}
