package org.varnoth.cli;

import java.io.IOException;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileSystemException;
import java.nio.file.FileSystemLoopException;
import java.nio.file.NoSuchFileException;
import java.nio.file.NotDirectoryException;
import java.util.Locale;

/** Why a file could not be read or written, in words. */
final class Reasons {
  private Reasons() {}

  /**
   * The reason of an I/O failure: the operating system's, in words, for the
   * file system's failures (whose message is often only the path), the
   * message otherwise.
   */
  static String of(IOException e) {
    if (e instanceof NoSuchFileException) {
      return "no such file";
    }
    if (e instanceof AccessDeniedException) {
      return "permission denied";
    }
    if (e instanceof FileSystemLoopException) {
      return "symbolic link loop";
    }
    if (e instanceof NotDirectoryException) {
      return "not a folder";
    }
    if (e instanceof FileSystemException fs && fs.getReason() != null) {
      String reason = fs.getReason();
      return reason.isEmpty() ? reason
          : reason.substring(0, 1).toLowerCase(Locale.ROOT) + reason.substring(1);
    }
    String message = e.getMessage();
    return message == null || message.isBlank() ? e.getClass().getSimpleName() : message;
  }
}
