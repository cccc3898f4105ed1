package org.varnoth.decoding;

import java.io.IOException;
import java.util.Objects;
import javax.imageio.stream.ImageInputStreamImpl;

/**
 * An image input stream whose bulk reads keep the stream's contract in one
 * place: a closed stream throws, the range is checked, the bit offset is
 * reset, and a read of nothing reads nothing; {@link #readAtLeastOne} reads
 * the rest. It is never finalized.
 */
abstract class ReadingImageInput extends ImageInputStreamImpl {
  /**
   * None: the decoder closes every stream it opens. An empty finalizer keeps
   * the JVM from queueing each stream for finalization, which would keep it,
   * and whatever it refers to, alive through a collection or more after its
   * last use.
   */
  @Override
  @SuppressWarnings({"deprecation", "removal"})
  protected final void finalize() {}

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
