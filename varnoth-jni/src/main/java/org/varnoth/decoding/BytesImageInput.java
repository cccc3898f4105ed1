package org.varnoth.decoding;

import java.io.IOException;
import java.util.Objects;
import javax.imageio.stream.ImageInputStreamImpl;

/**
 * An image input stream over an array that lets go of the array when closed.
 *
 * <p>Every {@link ImageInputStreamImpl} has a finalizer, so a stream outlives
 * its last use until the finalizer thread has run: the array it holds would be
 * copied from collection to collection with it, a file's worth of bytes for
 * every image decoded. A closed stream holds none.
 */
final class BytesImageInput extends ImageInputStreamImpl {
  private byte[] bytes;

  BytesImageInput(byte[] bytes) {
    this.bytes = bytes;
  }

  @Override
  public int read() throws IOException {
    checkClosed();
    bitOffset = 0;
    return streamPos < bytes.length ? bytes[(int) streamPos++] & 0xff : -1;
  }

  @Override
  public int read(byte[] b, int off, int len) throws IOException {
    checkClosed();
    Objects.checkFromIndexSize(off, len, b.length);
    bitOffset = 0;
    if (len == 0) {
      return 0;
    }
    if (streamPos >= bytes.length) {
      return -1;
    }
    int n = (int) Math.min(len, bytes.length - streamPos);
    System.arraycopy(bytes, (int) streamPos, b, off, n);
    streamPos += n;
    return n;
  }

  @Override
  public long length() {
    return bytes == null ? -1 : bytes.length;
  }

  @Override
  public void close() throws IOException {
    super.close();
    bytes = null;
  }
}
