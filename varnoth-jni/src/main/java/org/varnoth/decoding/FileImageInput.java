package org.varnoth.decoding;

import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.channels.FileChannel;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;

/**
 * An image input stream over a file that reads it through one buffer of
 * {@link #BUFFER_SIZE} bytes: only the parts a reader asks for are read, and
 * the many small reads of header parsers cost no system call each.
 */
final class FileImageInput extends ReadingImageInput {
  static final int BUFFER_SIZE = 64 * 1024;

  private final FileChannel channel;
  /**
   * Null once closed: the JDK readers' own streams, which are finalized, may
   * keep this one reachable a while longer.
   */
  private byte[] buffer = new byte[BUFFER_SIZE];
  /** The file position of {@code buffer[0]}. */
  private long bufferStart;
  /** How many bytes of {@code buffer} hold the file's bytes from {@code bufferStart}. */
  private int bufferLength;

  FileImageInput(Path file) throws IOException {
    channel = FileChannel.open(file, StandardOpenOption.READ);
  }

  @Override
  public int read() throws IOException {
    checkClosed();
    bitOffset = 0;
    if (!buffered(streamPos) && !fill(streamPos)) {
      return -1;
    }
    return buffer[(int) (streamPos++ - bufferStart)] & 0xff;
  }

  @Override
  int readAtLeastOne(byte[] b, int off, int len) throws IOException {
    if (!buffered(streamPos)) {
      if (len >= BUFFER_SIZE) {
        return readDirect(b, off, len);
      }
      if (!fill(streamPos)) {
        return -1;
      }
    }
    int start = (int) (streamPos - bufferStart);
    int n = Math.min(len, bufferLength - start);
    System.arraycopy(buffer, start, b, off, n);
    streamPos += n;
    return n;
  }

  @Override
  public long length() {
    try {
      return channel.size();
    } catch (IOException e) {
      return -1;
    }
  }

  @Override
  public void close() throws IOException {
    super.close();
    buffer = null;
    channel.close();
  }

  private boolean buffered(long position) {
    return position >= bufferStart && position < bufferStart + bufferLength;
  }

  /** Fills the buffer from {@code position}; false at the end of the file. */
  private boolean fill(long position) throws IOException {
    bufferStart = position;
    bufferLength = 0;
    int n = channel.read(ByteBuffer.wrap(buffer), position);
    if (n <= 0) {
      return false;
    }
    bufferLength = n;
    return true;
  }

  private int readDirect(byte[] b, int off, int len) throws IOException {
    int n = channel.read(ByteBuffer.wrap(b, off, len), streamPos);
    if (n <= 0) {
      return -1;
    }
    streamPos += n;
    return n;
  }
}
