package org.varnoth.cli;

import java.io.BufferedOutputStream;
import java.io.Closeable;
import java.io.IOException;
import java.io.OutputStream;
import java.nio.channels.Channels;
import java.nio.channels.FileChannel;
import java.nio.file.AtomicMoveNotSupportedException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
import java.security.SecureRandom;

/**
 * The files the tool writes, whole or not at all: each is written to a
 * hidden temporary file in its target's folder ({@code .varnoth-RANDOM.part})
 * and moved over the target, in one rename, only once it is complete. A run
 * that fails or is killed leaves the target as it was (the old file, or
 * none); a killed one may leave its {@code .part} file behind. A target that
 * is a symbolic link is written where the link leads; one that is not a
 * regular file (a device such as {@code /dev/stdout}, a pipe) is written
 * straight into, as it cannot be replaced.
 */
final class OutputFiles {
  private static final SecureRandom RANDOM = new SecureRandom();

  private OutputFiles() {}

  /** What writes a file's bytes. */
  @FunctionalInterface
  interface Body {
    void writeTo(OutputStream out) throws IOException;
  }

  /**
   * Writes a whole file: its folder is made when missing, the body writes
   * the temporary file, which then replaces the target.
   */
  static void write(Path target, Body body) throws IOException {
    try (Pending pending = Pending.open(target)) {
      body.writeTo(pending.stream());
      pending.commit();
    }
  }

  /**
   * A file being written: {@link #commit()} puts it in place; closing it
   * without a commit deletes what was written.
   */
  static final class Pending implements Closeable {
    private final Path target;
    /** The file written before the rename, or null when the target is written into. */
    private final Path temporary;
    private final FileChannel channel;
    private final OutputStream stream;
    private boolean committed;

    private Pending(Path target, Path temporary, FileChannel channel) {
      this.target = target;
      this.temporary = temporary;
      this.channel = channel;
      this.stream = new BufferedOutputStream(Channels.newOutputStream(channel), 1 << 16);
    }

    /** Starts writing a file in place of {@code target}, making its folder when missing. */
    static Pending open(Path target) throws IOException {
      Path real = target;
      if (Files.isSymbolicLink(target)) {
        try {
          real = target.toRealPath();
        } catch (IOException e) {
          // A link to no path (/dev/stdout leads to a pipe) or to none yet.
          return new Pending(target, null, FileChannel.open(target, StandardOpenOption.WRITE,
              StandardOpenOption.CREATE));
        }
      }
      if (Files.exists(real) && !Files.isRegularFile(real)) {
        return new Pending(real, null, FileChannel.open(real, StandardOpenOption.WRITE));
      }
      Path folder = real.toAbsolutePath().getParent();
      Files.createDirectories(folder);
      // A new file of the folder's usual permissions (a temporary file's
      // would be the owner's alone), its name short whatever the target's.
      Path temporary = folder.resolve(".varnoth-"
          + Long.toUnsignedString(RANDOM.nextLong(), 36) + ".part");
      return new Pending(real, temporary, FileChannel.open(temporary, StandardOpenOption.WRITE,
          StandardOpenOption.CREATE_NEW));
    }

    OutputStream stream() {
      return stream;
    }

    /** Flushes the file to the disk and moves it over the target. */
    void commit() throws IOException {
      stream.flush();
      if (temporary == null) {
        stream.close();
        committed = true;
        return;
      }
      channel.force(true);
      stream.close();
      try {
        Files.move(temporary, target, StandardCopyOption.ATOMIC_MOVE,
            StandardCopyOption.REPLACE_EXISTING);
      } catch (AtomicMoveNotSupportedException e) {
        Files.move(temporary, target, StandardCopyOption.REPLACE_EXISTING);
      }
      committed = true;
    }

    @Override
    public void close() throws IOException {
      if (!committed) {
        try {
          stream.close();
        } finally {
          if (temporary != null) {
            Files.deleteIfExists(temporary);
          }
        }
      }
    }
  }
}
