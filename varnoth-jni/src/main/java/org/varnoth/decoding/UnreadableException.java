package org.varnoth.decoding;

import java.io.IOException;

/** A reader's failure to read a file, which another reader may read: "cannot be read: " and why. */
final class UnreadableException extends IOException {
  private static final long serialVersionUID = 1L;

  UnreadableException(String reason) {
    super("cannot be read: " + reason);
  }

  /** The failure of a reader, its reason in words taken from its exception. */
  UnreadableException(Exception cause) {
    super("cannot be read: " + Reasons.of(cause), cause);
  }
}
