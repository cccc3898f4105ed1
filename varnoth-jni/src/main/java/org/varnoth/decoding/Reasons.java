package org.varnoth.decoding;

import java.io.EOFException;
import java.util.ArrayList;
import java.util.List;
import java.util.zip.DataFormatException;
import java.util.zip.ZipException;

/** The reason, in words, that a decoder's exception gives for refusing a file. */
final class Reasons {
  private Reasons() {}

  /**
   * The exception's message followed by its cause's when that says more, e.g.
   * "Error reading PNG image data: Unexpected end of ZLIB input stream"; for
   * an exception without any message, a description of its kind.
   */
  static String of(Throwable e) {
    List<String> messages = new ArrayList<>();
    for (Throwable t = e; t != null && messages.size() < 2; t = t.getCause()) {
      String message = t.getMessage() == null ? "" : trimmed(t.getMessage());
      if (!message.isEmpty() && !messages.contains(message)) {
        messages.add(message);
      }
    }
    return messages.isEmpty() ? describe(e) : String.join(": ", messages);
  }

  /** The message without surrounding blanks and the colons that announced a cause. */
  private static String trimmed(String message) {
    String m = message.strip();
    while (m.endsWith(":")) {
      m = m.substring(0, m.length() - 1).strip();
    }
    return m;
  }

  private static String describe(Throwable e) {
    for (Throwable t = e; t != null; t = t.getCause()) {
      if (t instanceof EOFException) {
        return "the file ends before its image data does";
      }
      if (t instanceof ZipException || t instanceof DataFormatException) {
        return "its compressed data is invalid";
      }
      if (t instanceof IndexOutOfBoundsException || t instanceof NegativeArraySizeException) {
        return "a size or position in the file is out of range";
      }
      if (t instanceof ArithmeticException) {
        return "a value in the file is out of range";
      }
    }
    return "the decoder stopped without giving a reason";
  }
}
