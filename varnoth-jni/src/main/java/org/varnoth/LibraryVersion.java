package org.varnoth;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Optional;

/**
 * The version tag that the build writes into the native library's read-only
 * data: the bytes {@value #TAG} followed by the version and a NUL. It is read
 * from the file before the file is loaded, so a library of another version is
 * refused without running any of its code, and it adds no symbol to the
 * library.
 */
final class LibraryVersion {
  static final String TAG = "Varnoth_JNI library version ";
  private static final byte[] TAG_BYTES = TAG.getBytes(StandardCharsets.US_ASCII);
  private static final int MAX_VERSION_LENGTH = 64;

  private LibraryVersion() {}

  /** The version that the library file carries, or empty when it carries no tag. */
  static Optional<String> of(Path library) throws IOException {
    return find(Files.readAllBytes(library));
  }

  static Optional<String> find(byte[] bytes) {
    int at = indexOf(bytes, TAG_BYTES);
    if (at < 0) {
      return Optional.empty();
    }
    int start = at + TAG_BYTES.length;
    int end = start;
    while (end < bytes.length && end - start < MAX_VERSION_LENGTH && bytes[end] > 0x20
        && bytes[end] < 0x7f) {
      end++;
    }
    if (end == start || end >= bytes.length || bytes[end] != 0) {
      return Optional.empty();
    }
    return Optional.of(new String(bytes, start, end - start, StandardCharsets.US_ASCII));
  }

  private static int indexOf(byte[] haystack, byte[] needle) {
    outer:
    for (int i = 0; i + needle.length <= haystack.length; i++) {
      for (int j = 0; j < needle.length; j++) {
        if (haystack[i + j] != needle[j]) {
          continue outer;
        }
      }
      return i;
    }
    return -1;
  }
}
