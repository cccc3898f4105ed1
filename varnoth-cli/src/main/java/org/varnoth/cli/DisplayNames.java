package org.varnoth.cli;

import java.io.ByteArrayOutputStream;
import java.net.URI;
import java.nio.ByteBuffer;
import java.nio.CharBuffer;
import java.nio.charset.CharsetDecoder;
import java.nio.charset.CoderResult;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;

/**
 * File names as the tool prints them: every name a folder can hold, shown
 * without ambiguity. A backslash shows as {@code \\}, and each byte of a
 * name that is not UTF-8 (Latin-1 bytes, say) as {@code \xHH}; in plain
 * output, control characters (a newline in a name) show as {@code \n},
 * {@code \t}, {@code \r}, {@code \xHH} as well, so that one result is one
 * line.
 */
final class DisplayNames {
  private DisplayNames() {}

  /**
   * The name with backslashes and undecodable bytes escaped; control
   * characters as they are (JSON and CSV quote them).
   */
  static String of(Path path) {
    String s = path.toString();
    return s.indexOf('\uFFFD') < 0 ? s.replace("\\", "\\\\") : fromBytes(path);
  }

  /** The name for a plain line: control characters escaped as well. */
  static String plain(Path path) {
    return plain(of(path));
  }

  /** A name from {@link #of(Path)} with its control characters escaped too. */
  static String plain(String s) {
    StringBuilder b = new StringBuilder(s.length());
    for (int i = 0; i < s.length(); i++) {
      char c = s.charAt(i);
      switch (c) {
        case '\n' -> b.append("\\n");
        case '\t' -> b.append("\\t");
        case '\r' -> b.append("\\r");
        default -> {
          if (c < 0x20 || c == 0x7f) {
            b.append(String.format("\\x%02x", (int) c));
          } else {
            b.append(c);
          }
        }
      }
    }
    return b.toString();
  }

  // A path that was decoded with replacement characters: its bytes, name by
  // name, as its file URI spells them (percent-encoded), decoded again as
  // UTF-8 with the other bytes escaped.
  private static String fromBytes(Path path) {
    StringBuilder b = new StringBuilder();
    if (path.getRoot() != null) {
      b.append(path.getRoot());
    }
    for (int i = 0; i < path.getNameCount(); i++) {
      if (i > 0) {
        b.append(path.getFileSystem().getSeparator());
      }
      b.append(decode(uriBytes(uriName(path.getName(i)))));
    }
    return b.toString();
  }

  /**
   * The last name of a path as a file URI spells it: its bytes, those that
   * are not plain ASCII percent-encoded ({@code caf%E9.png}).
   */
  static String uriName(Path path) {
    String uri = path.toAbsolutePath().toUri().getRawPath();
    if (uri.endsWith("/")) {
      uri = uri.substring(0, uri.length() - 1);
    }
    return uri.substring(uri.lastIndexOf('/') + 1);
  }

  /** A file name from its URI spelling (see {@link #uriName}), with the same bytes. */
  static Path fromUriName(String uriName) {
    return Path.of(URI.create("file:///" + uriName)).getFileName();
  }

  private static byte[] uriBytes(String last) {
    ByteArrayOutputStream bytes = new ByteArrayOutputStream();
    for (int i = 0; i < last.length(); i++) {
      if (last.charAt(i) == '%') {
        bytes.write(Integer.parseInt(last.substring(i + 1, i + 3), 16));
        i += 2;
      } else {
        bytes.write(last.charAt(i));
      }
    }
    return bytes.toByteArray();
  }

  // UTF-8 where the bytes are UTF-8; each other byte as \xHH.
  private static String decode(byte[] bytes) {
    CharsetDecoder utf8 = StandardCharsets.UTF_8.newDecoder()
        .onMalformedInput(CodingErrorAction.REPORT)
        .onUnmappableCharacter(CodingErrorAction.REPORT);
    ByteBuffer in = ByteBuffer.wrap(bytes);
    CharBuffer out = CharBuffer.allocate(bytes.length);
    StringBuilder b = new StringBuilder();
    while (true) {
      CoderResult r = utf8.decode(in, out, true);
      b.append(out.flip().toString().replace("\\", "\\\\"));
      out.clear();
      if (!r.isError()) {
        return b.toString();
      }
      for (int k = 0; k < r.length(); k++) {
        b.append(String.format("\\x%02x", in.get() & 0xff));
      }
    }
  }
}
