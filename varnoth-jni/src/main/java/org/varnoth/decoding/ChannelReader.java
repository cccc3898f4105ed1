package org.varnoth.decoding;

import com.drew.lang.BufferBoundsException;
import com.drew.lang.RandomAccessReader;
import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.channels.FileChannel;

/**
 * A file read at any position through its channel, for metadata-extractor's
 * TIFF reader: only the bytes it asks for are read, and the file is named by
 * its {@link java.nio.file.Path}, whose bytes may be no valid string.
 */
final class ChannelReader extends RandomAccessReader {
  private final FileChannel channel;
  private final long length;

  ChannelReader(FileChannel channel) throws IOException {
    this.channel = channel;
    this.length = channel.size();
  }

  @Override
  public int toUnshiftedOffset(int localOffset) {
    return localOffset;
  }

  @Override
  public byte getByte(int index) throws IOException {
    return getBytes(index, 1)[0];
  }

  @Override
  public byte[] getBytes(int index, int count) throws IOException {
    validateIndex(index, count);
    ByteBuffer buffer = ByteBuffer.allocate(count);
    while (buffer.hasRemaining()) {
      if (channel.read(buffer, index + (long) buffer.position()) < 0) {
        throw new BufferBoundsException(index, count, length);
      }
    }
    return buffer.array();
  }

  @Override
  protected void validateIndex(int index, int count) throws IOException {
    if (!isValidIndex(index, count)) {
      throw new BufferBoundsException(index, count, length);
    }
  }

  @Override
  protected boolean isValidIndex(int index, int count) {
    return count >= 0 && index >= 0 && (long) index + count <= length;
  }

  @Override
  public long getLength() {
    return length;
  }
}
