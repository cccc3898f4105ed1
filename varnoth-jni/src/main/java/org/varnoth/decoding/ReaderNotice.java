package org.varnoth.decoding;

import java.util.Optional;

/**
 * The warnings of a reader that say how it handled colours, not that the file
 * is damaged. Every other warning fails the file. Each is recognised by the
 * start of the TwelveMonkeys JPEG reader's message.
 */
enum ReaderNotice {
  /** It reads a printer profile's colours as a display profile's: the colours are as meant. */
  PERCEPTUAL_PROFILE("ICC profile is Perceptual, ignoring, treating as Display class", ""),
  GENERIC_CMYK_PROFILE(
      "No embedded ICC color profile, defaulting to",
      "CMYK colours converted with a generic CMYK profile, as the file embeds none:"
          + " colours may differ from those meant"),
  NO_CMYK_PROFILE(
      "No embedded ICC color profile, will convert using inaccurate",
      "CMYK colours converted by a formula, as the file embeds no colour profile:"
          + " colours may differ from those meant");

  private final String warningStart;
  private final String note;

  ReaderNotice(String warningStart, String note) {
    this.warningStart = warningStart;
    this.note = note;
  }

  /** The notice that a warning is, or empty for a warning of damage. */
  static Optional<ReaderNotice> of(String warning) {
    for (ReaderNotice notice : values()) {
      if (warning.startsWith(notice.warningStart)) {
        return Optional.of(notice);
      }
    }
    return Optional.empty();
  }

  /** What a user must know of it; empty when nothing. */
  Optional<String> note() {
    return note.isEmpty() ? Optional.empty() : Optional.of(note);
  }
}
