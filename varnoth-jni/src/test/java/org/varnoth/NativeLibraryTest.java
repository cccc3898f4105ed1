package org.varnoth;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import Varnoth.ChildJvm;
import Varnoth.ChildMain;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/**
 * Where the loader finds the library, in fresh JVMs: the property, the jar, the
 * library path, in that order; the version check; concurrent extraction; the
 * message when nothing works.
 */
class NativeLibraryTest {
  private static final String LIB =
      Platform.libraryFileName(Platform.current(), NativeLibrary.LIBRARY_NAME);

  @TempDir static Path tmp;
  private static Path library;
  private static String fullClasspath;
  private static String classpathWithoutNatives;

  /** Copies of the jar's two libraries, and the classes without the natives. */
  @BeforeAll
  static void setUp() throws IOException {
    Path dir = Files.createDirectories(tmp.resolve("lib"));
    library = dir.resolve(LIB);
    for (String name : List.of(NativeLibrary.LIBRARY_NAME, NativeLibrary.SPECTRA_NAME)) {
      try (InputStream in = NativeLibrary.class.getResourceAsStream(
          Platform.resourcePath(Platform.current(), name))) {
        Files.copy(in, dir.resolve(Platform.libraryFileName(Platform.current(), name)));
      }
    }
    fullClasspath = ChildJvm.classpath();
    Path classes = ChildJvm.location(NativeLibrary.class);
    Path stripped = tmp.resolve("classes-without-natives");
    try (Stream<Path> files = Files.walk(classes)) {
      for (Path f : (Iterable<Path>) files::iterator) {
        Path rel = classes.relativize(f);
        if (!rel.startsWith(Path.of("Varnoth", "native"))) {
          Files.copy(f, stripped.resolve(rel.toString()));
        }
      }
    }
    classpathWithoutNatives = stripped + File.pathSeparator + ChildJvm.location(ChildMain.class);
  }

  private static String load(String classpath, String... options) throws Exception {
    return ChildJvm.run(classpath, List.of(options), "load");
  }

  /** Varnoth_Spectra too, from the property's directory: the only place tried. */
  @Test
  void thePropertyComesFirstAndMayBeRelative() throws Exception {
    Path relative = Path.of("").toAbsolutePath().relativize(library);
    String out = load(fullClasspath, "-D" + NativeLibrary.LIBRARY_PROPERTY + "=" + relative,
        "-Djava.library.path=" + library.getParent());
    assertTrue(out.contains("dummy0=0.0\nloaded from the file named by -Dvarnoth.library: "
        + library + "\n"), out);
    assertTrue(out.contains("\nspectrum ring 0=1.0\n"), out);
  }

  @Test
  void theJarComesBeforeTheLibraryPath() throws Exception {
    String out = load(fullClasspath, "-Djava.library.path=" + library.getParent());
    assertTrue(out.contains("loaded from the jar's resource /Varnoth/native/"
        + Platform.current() + "/" + LIB + ", copied to "), out);
  }

  @Test
  void theLibraryPathComesLast() throws Exception {
    String out = load(classpathWithoutNatives, "-Djava.library.path=" + library.getParent());
    assertTrue(out.contains("loaded from java.library.path: " + library + "\n"), out);
  }

  @Test
  void aBogusPropertyIsTheOnlyPlaceTriedAndSaysWhy() throws Exception {
    Path missing = tmp.resolve("no/such/" + LIB);
    String out = load(fullClasspath, "-D" + NativeLibrary.LIBRARY_PROPERTY + "=" + missing);
    assertTrue(out.startsWith("UnsatisfiedLinkError: Varnoth_JNI " + NativeLibrary.version()
        + " could not be loaded on " + Platform.current() + " (os.name \""), out);
    assertTrue(out.contains("\n  1. the file named by -Dvarnoth.library: " + missing
        + ": no such file\nTo mend it: -Dvarnoth.library=FILE"), out);
    assertTrue(out.contains("-Dvarnoth.tmpdir=DIR") && out.contains("-Djava.library.path"), out);
  }

  @Test
  void nothingAnywhereListsEveryPlaceTried() throws Exception {
    String out = load(classpathWithoutNatives, "-Djava.library.path=");
    assertTrue(out.contains("\n  1. the jar's resource /Varnoth/native/" + Platform.current() + "/"
        + LIB + ": not in the jar, which carries libraries for no platform\n  2. "
        + "java.library.path: no " + LIB + " in it (it is empty)\n"), out);
  }

  @Test
  void anUnsupportedPlatformIsToldWhichPlatformsTheJarCarries() throws Exception {
    String out = load(fullClasspath, "-Dos.arch=riscv64", "-Djava.library.path=");
    List<String> carried = new ArrayList<>();
    for (String p : Platform.BUILT) {
      if (NativeLibrary.class.getResource(
          Platform.resourcePath(p, NativeLibrary.LIBRARY_NAME)) != null) {
        carried.add(p);
      }
    }
    assertTrue(carried.contains("linux-x86_64"), carried.toString());
    String riscv = Platform.os(System.getProperty("os.name")) + "-riscv64";
    assertTrue(out.contains("could not be loaded on " + riscv + " (os.name \""), out);
    assertTrue(out.contains("\n  1. the jar's resource /Varnoth/native/" + riscv + "/"
        + Platform.libraryFileName(riscv, NativeLibrary.LIBRARY_NAME)
        + ": not in the jar, which carries libraries for " + String.join(", ", carried) + "\n"),
        out);
  }

  /**
   * Every library the jar carries is of this version and built for its
   * directory's platform: the machine field of its ELF or PE header. Each
   * platform carries both libraries or neither.
   */
  @Test
  void everyCarriedLibraryIsOfThisVersionAndItsPlatformsMachine() throws Exception {
    Map<String, Integer> machine = Map.of("linux-x86_64", 0x3E, "linux-aarch64", 0xB7,
        "windows-x86", 0x14C, "windows-x86_64", 0x8664);
    List<String> names = List.of(NativeLibrary.LIBRARY_NAME, NativeLibrary.SPECTRA_NAME);
    int carried = 0;
    for (String p : Platform.BUILT) {
      int found = 0;
      for (String name : names) {
        try (InputStream in = NativeLibrary.class.getResourceAsStream(
            Platform.resourcePath(p, name))) {
          if (in == null) {
            continue;
          }
          found++;
          byte[] bytes = in.readAllBytes();
          String what = p + "/" + name;
          assertEquals(NativeLibrary.version(), LibraryVersion.find(bytes).orElse("none"), what);
          ByteBuffer b = ByteBuffer.wrap(bytes).order(ByteOrder.LITTLE_ENDIAN);
          int header = p.startsWith("windows-")
              ? b.getShort(b.getInt(0x3C) + 4) & 0xFFFF  // PE signature, then Machine
              : b.getShort(18) & 0xFFFF;                 // ELF e_machine
          assertEquals(machine.get(p), header, what);
        }
      }
      assertTrue(found == 0 || found == names.size(), p + " carries " + found + " libraries");
      carried += found;
    }
    assertTrue(carried >= 2, "the jar carries no library");
  }

  @Test
  void aLibraryOfAnotherVersionIsRefusedBeforeLoading() throws Exception {
    byte[] bytes = Files.readAllBytes(library);
    String version = LibraryVersion.find(bytes).orElseThrow();
    assertEquals(NativeLibrary.version(), version);
    String other = version.replaceAll("[0-9]", "9").equals(version)
        ? version.replaceAll("[0-9]", "8") : version.replaceAll("[0-9]", "9");
    byte[] tag = (LibraryVersion.TAG + version).getBytes(StandardCharsets.US_ASCII);
    byte[] otherTag = (LibraryVersion.TAG + other).getBytes(StandardCharsets.US_ASCII);
    int at = new String(bytes, StandardCharsets.ISO_8859_1)
        .indexOf(new String(tag, StandardCharsets.ISO_8859_1));
    System.arraycopy(otherTag, 0, bytes, at, otherTag.length);
    Path patched = Files.write(tmp.resolve("patched-" + LIB), bytes);
    assertEquals(other, LibraryVersion.of(patched).orElseThrow());

    String out = load(fullClasspath, "-D" + NativeLibrary.LIBRARY_PROPERTY + "=" + patched);
    assertTrue(out.contains(patched + ": it is Varnoth_JNI version " + other
        + ", but these classes are version " + version + "\n"), out);
  }

  @Test
  void twoJvmsExtractAtOnceAndLeaveNoCopies() throws Exception {
    Path dir = Files.createDirectories(tmp.resolve("extract"));
    // A copy left by a JVM that ended without deleting it: no lock beside it.
    Path stale = Files.write(dir.resolve("varnoth-jni-0.0.1-12345-" + LIB), new byte[] {1});
    String option = "-D" + NativeLibrary.TMPDIR_PROPERTY + "=" + dir;
    Process a = ChildJvm.start(fullClasspath, List.of(option), "load");
    Process b = ChildJvm.start(fullClasspath, List.of(option), "load");
    String outA = ChildJvm.output(a);
    String outB = ChildJvm.output(b);
    for (String out : List.of(outA, outB)) {
      assertTrue(out.contains("loaded from the jar's resource ") && out.contains(
          ", copied to " + dir + File.separator + "varnoth-jni-" + NativeLibrary.version()), out);
    }
    assertNotEquals(copyName(outA), copyName(outB));
    assertTrue(!Files.exists(stale), "stale copy removed");
    if (Platform.current().startsWith("linux-")) {
      try (Stream<Path> left = Files.list(dir)) {
        assertEquals(List.of(), left.toList(), "copies deleted once loaded");
      }
    }
  }

  private static String copyName(String out) {
    int at = out.indexOf(", copied to ");
    return out.substring(at, out.indexOf('\n', at));
  }

  @ParameterizedTest
  @CsvSource({
    "Linux, amd64, linux-x86_64",
    "Linux, x86_64, linux-x86_64",
    "Linux, aarch64, linux-aarch64",
    "Windows 10, x86, windows-x86",
    "Windows Server 2022, amd64, windows-x86_64",
    "Windows XP, i686, windows-x86",
    "Mac OS X, x86_64, macos-x86_64",
    "Mac OS X, arm64, macos-aarch64",
    "FreeBSD, amd64, freebsd-x86_64",
  })
  void platformNamesAreNormalised(String osName, String osArch, String platform) {
    assertEquals(platform, Platform.os(osName) + "-" + Platform.arch(osArch));
  }
}
