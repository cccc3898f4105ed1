package org.varnoth;

import java.util.List;
import java.util.Locale;

/**
 * The platform names of the jar's native libraries: {@code OS-ARCH} from the
 * JVM's {@code os.name} and {@code os.arch}, normalised so that the many
 * spellings of one platform meet (a 64-bit x86 JVM says {@code amd64} on
 * Linux and Windows, {@code x86_64} on macOS; a 32-bit one {@code x86} or
 * {@code i386}).
 */
final class Platform {
  /** The platforms whose libraries the build can put into the jar. */
  static final List<String> BUILT =
      List.of("linux-x86_64", "linux-aarch64", "windows-x86", "windows-x86_64");

  private Platform() {}

  /** {@code linux}, {@code windows}, {@code macos}, or the name as it stands. */
  static String os(String osName) {
    String n = osName.toLowerCase(Locale.ROOT).replaceAll("[^a-z0-9]", "");
    if (n.startsWith("windows")) {
      return "windows";
    }
    if (n.startsWith("linux")) {
      return "linux";
    }
    if (n.startsWith("mac") || n.startsWith("darwin")) {
      return "macos";
    }
    return n;
  }

  /** {@code x86_64}, {@code x86}, {@code aarch64}, {@code arm}, or the name as it stands. */
  static String arch(String osArch) {
    String a = osArch.toLowerCase(Locale.ROOT).replaceAll("[^a-z0-9_]", "");
    switch (a) {
      case "amd64":
      case "x86_64":
      case "x8664":
      case "x64":
      case "em64t":
        return "x86_64";
      case "x86":
      case "i386":
      case "i486":
      case "i586":
      case "i686":
      case "ia32":
      case "x86_32":
        return "x86";
      case "aarch64":
      case "arm64":
        return "aarch64";
      default:
        return a.startsWith("arm") ? "arm" : a;
    }
  }

  /** This JVM's platform, for instance {@code linux-x86_64}. */
  static String current() {
    return os(System.getProperty("os.name", "")) + "-" + arch(System.getProperty("os.arch", ""));
  }

  /**
   * A library's file name on a platform: {@code libVarnoth_JNI.so},
   * {@code Varnoth_Spectra.dll}.
   */
  static String libraryFileName(String platform, String library) {
    if (platform.startsWith("windows-")) {
      return library + ".dll";
    }
    if (platform.startsWith("macos-")) {
      return "lib" + library + ".dylib";
    }
    return "lib" + library + ".so";
  }

  /** The resource path of a platform's library in the jar. */
  static String resourcePath(String platform, String library) {
    return "/Varnoth/native/" + platform + "/" + libraryFileName(platform, library);
  }
}
