package org.varnoth.decoding;

import java.io.IOException;

/**
 * An image input stream over an array that lets go of the array when closed.
 *
 * <p>The JDK's PNG reader reads the image data through streams of its own
 * that refer to this one and are finalized, so this stream outlives its last
 * use until the finalizer thread has run: the array it held would be copied
 * from collection to collection with it, a file's worth of bytes for every
 * image decoded. A closed stream holds none.
 */
final class BytesImageInput extends ReadingImageInput {
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
  int readAtLeastOne(byte[] b, int off, int len) throws IOException {
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
