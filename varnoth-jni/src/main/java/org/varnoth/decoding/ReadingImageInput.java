package org.varnoth.decoding;

import java.io.IOException;
import java.util.Objects;
import javax.imageio.stream.ImageInputStreamImpl;

/**
 * An image input stream whose bulk reads keep the stream's contract in one
 * place: a closed stream throws, the range is checked, the bit offset is
 * reset, and a read of nothing reads nothing; {@link #readAtLeastOne} reads
 * the rest.
 */
abstract class ReadingImageInput extends ImageInputStreamImpl {
  @Override
  public final int read(byte[] b, int off, int len) throws IOException {
    checkClosed();
    Objects.checkFromIndexSize(off, len, b.length);
    bitOffset = 0;
    return len == 0 ? 0 : readAtLeastOne(b, off, len);
  }

  /**
   * Reads up to {@code len} bytes, at least one, from {@code streamPos} into
   * {@code b[off..]} and advances {@code streamPos}; -1 at the end.
   */
  abstract int readAtLeastOne(byte[] b, int off, int len) throws IOException;
}
