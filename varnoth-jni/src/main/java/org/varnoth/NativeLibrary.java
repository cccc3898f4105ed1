package org.varnoth;

import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.io.UncheckedIOException;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.FileAttribute;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Optional;
import java.util.Properties;

/**
 * Loads the native libraries once per class loader, each on its own when it
 * is first needed: Varnoth_JNI, the natives of {@link Varnoth.Varnoth}, whose
 * static initialiser calls {@link #load()}; and Varnoth_Spectra, the natives
 * of windows of any power-of-two side that the analyser uses, loaded by the
 * package's own {@code loadSpectra()}. Both take the same steps and checks.
 *
 * <p>The places tried, in this order:
 *
 * <ol>
 *   <li>the file named by the system property {@value #LIBRARY_PROPERTY} (a
 *       relative path is taken from the working directory); Varnoth_Spectra is
 *       taken from the same directory under its platform's file name
 *       ({@code libVarnoth_Spectra.so}, {@code Varnoth_Spectra.dll}), whatever
 *       the named file is called. When the property is set, it is the only
 *       place tried: a library named on purpose is never silently replaced by
 *       another;
 *   <li>the library for this platform inside the jar, at
 *       {@code /Varnoth/native/OS-ARCH/} (for instance
 *       {@code linux-x86_64/libVarnoth_JNI.so} and
 *       {@code linux-x86_64/libVarnoth_Spectra.so}; the jar carries
 *       {@code linux-x86_64}, {@code linux-aarch64}, {@code windows-x86} and
 *       {@code windows-x86_64}), copied to a new, uniquely named
 *       file readable by this user only in the directory named by
 *       {@value #TMPDIR_PROPERTY} (default {@code java.io.tmpdir}), compared
 *       with the resource, and loaded from there. On Linux the copy is deleted
 *       as soon as it is loaded; elsewhere it is deleted when the JVM exits, or
 *       by the next JVM that starts when the loaded file could not be deleted;
 *   <li>the directories of {@code java.library.path}, as
 *       {@code System.loadLibrary("Varnoth_JNI")} (or
 *       {@code "Varnoth_Spectra"}) searches them.
 * </ol>
 *
 * <p>Before a file is loaded, the version tag that the build wrote into it is
 * compared with the version of these classes; a library of another version is
 * refused. When no place succeeds, one {@link UnsatisfiedLinkError} names the
 * library, the platform, every place tried and why each failed, and the
 * properties that can mend it; every later call for that library throws the
 * same message again.
 *
 * <p>This class is safe for use by multiple concurrent threads.
 */
public final class NativeLibrary {
  /** The system property that names the native library file to load. */
  public static final String LIBRARY_PROPERTY = "varnoth.library";
  /** The system property that names the directory where the jar's library is extracted. */
  public static final String TMPDIR_PROPERTY = "varnoth.tmpdir";
  /** The name of Varnoth_JNI, as {@code System.loadLibrary} takes it. */
  public static final String LIBRARY_NAME = "Varnoth_JNI";
  /** The name of the library of the natives of windows of any power-of-two side. */
  static final String SPECTRA_NAME = "Varnoth_Spectra";

  private static final String COPY_PREFIX = "varnoth-jni-";
  private static final String LOCK_SUFFIX = ".lck";

  private static final Loader JNI = new Loader(LIBRARY_NAME);
  private static final Loader SPECTRA = new Loader(SPECTRA_NAME);

  private NativeLibrary() {}

  /**
   * Loads Varnoth_JNI, unless it is loaded already.
   *
   * @throws UnsatisfiedLinkError when no place gave a loadable library of this
   *     version; the message says what was tried and how to mend it
   */
  public static void load() {
    JNI.load();
  }

  /**
   * Loads Varnoth_Spectra, unless it is loaded already: the same places in the
   * same order as {@link #load()}, with the same checks; with
   * {@value #LIBRARY_PROPERTY} set, the file beside the one it names. It needs
   * no Varnoth_JNI loaded, nor does it load it.
   *
   * @throws UnsatisfiedLinkError when no place gave a loadable library of this
   *     version; the message says what was tried and how to mend it
   */
  static void loadSpectra() {
    SPECTRA.load();
  }

  /**
   * Where Varnoth_JNI was loaded from.
   *
   * @return a description of the place, for instance the file named by
   *     {@value #LIBRARY_PROPERTY} or the jar's resource and the copy that was
   *     loaded; empty when the library is not loaded
   */
  public static Optional<String> loadedFrom() {
    return JNI.loadedFrom();
  }

  /**
   * Where Varnoth_Spectra, the library the analyser runs on, was loaded from.
   *
   * @return a description of the place, as {@link #loadedFrom()} gives it;
   *     empty when the library is not loaded
   */
  public static Optional<String> spectraLoadedFrom() {
    return SPECTRA.loadedFrom();
  }

  /**
   * The version of these classes, which the native library must carry.
   *
   * @return the version, for instance {@code 0.2.0}
   */
  public static String version() {
    return ClassesVersion.VALUE;
  }

  /** The classes' version, read once from the resource that the build writes. */
  private static final class ClassesVersion {
    static final String VALUE = read();

    private static String read() {
      try (InputStream in = NativeLibrary.class.getResourceAsStream("version.properties")) {
        if (in == null) {
          return "unknown";
        }
        Properties p = new Properties();
        p.load(in);
        return p.getProperty("version", "unknown");
      } catch (IOException e) {
        throw new UncheckedIOException(e);
      }
    }
  }

  /**
   * The steps for one library and their outcome: where it was loaded from, or
   * why it could not be.
   */
  private static final class Loader {
    private final String name;
    private String loadedFrom;
    private String failure;

    Loader(String name) {
      this.name = name;
    }

    synchronized void load() {
      if (loadedFrom != null) {
        return;
      }
      if (failure == null) {
        List<String> attempts = new ArrayList<>();
        loadedFrom = tryAll(attempts);
        if (loadedFrom == null) {
          failure = failureMessage(attempts);
        }
      }
      if (failure != null) {
        throw new UnsatisfiedLinkError(failure);
      }
    }

    synchronized Optional<String> loadedFrom() {
      return Optional.ofNullable(loadedFrom);
    }

    // The file name of this library on a platform.
    private String fileName(String platform) {
      return Platform.libraryFileName(platform, name);
    }

    // Returns the description of the place loaded from, or null after adding
    // one line per failed place to attempts.
    private String tryAll(List<String> attempts) {
      String named = System.getProperty(LIBRARY_PROPERTY);
      if (named != null && !named.isEmpty()) {
        Path file = Path.of(named).toAbsolutePath().normalize();
        String place;
        if (name.equals(LIBRARY_NAME)) {
          place = "the file named by -D" + LIBRARY_PROPERTY + ": " + file;
        } else {
          file = file.resolveSibling(fileName(Platform.current())).toAbsolutePath();
          place = "the file beside the one named by -D" + LIBRARY_PROPERTY + ": " + file;
        }
        return tryFile(file, place, attempts) ? place : null;
      }
      String fromJar = tryJar(attempts);
      if (fromJar != null) {
        return fromJar;
      }
      return tryLibraryPath(attempts);
    }

    private boolean tryFile(Path file, String place, List<String> attempts) {
      if (!Files.isRegularFile(file)) {
        attempts.add(place + ": no such file");
        return false;
      }
      String why = refusal(file);
      if (why == null) {
        try {
          System.load(file.toString());
          return true;
        } catch (UnsatisfiedLinkError e) {
          why = "the JVM could not load it: " + e.getMessage();
        }
      }
      attempts.add(place + ": " + why);
      return false;
    }

    // Why a library file is refused before it is loaded, or null.
    private String refusal(Path file) {
      Optional<String> found;
      try {
        found = LibraryVersion.of(file);
      } catch (IOException e) {
        return "cannot read it: " + e;
      }
      if (found.isEmpty()) {
        return "it carries no " + name + " version (not a " + name + " library, or one built "
            + "before versions were recorded); these classes are version " + version();
      }
      if (!found.get().equals(version())) {
        return "it is " + name + " version " + found.get() + ", but these classes are version "
            + version();
      }
      return null;
    }

    private String tryJar(List<String> attempts) {
      String platform = Platform.current();
      String resource = Platform.resourcePath(platform, name);
      String place = "the jar's resource " + resource;
      if (NativeLibrary.class.getResource(resource) == null) {
        attempts.add(place + ": not in the jar, which carries libraries for "
            + String.join(", ", carriedPlatforms()));
        return null;
      }
      Path dir = extractionDirectory();
      Path lock;
      Path copy;
      try {
        Files.createDirectories(dir);
        deleteStaleCopies(dir);
        lock = Files.createTempFile(dir, COPY_PREFIX + version() + "-", LOCK_SUFFIX);
        String stem = lock.getFileName().toString();
        stem = stem.substring(0, stem.length() - LOCK_SUFFIX.length());
        copy = dir.resolve(stem + "-" + fileName(platform));
        extract(resource, copy);
      } catch (IOException | RuntimeException e) {
        attempts.add(place + ": could not copy it into " + dir + ": " + e);
        return null;
      }
      place = place + ", copied to " + copy;
      boolean loaded = tryFile(copy, place, attempts);
      if (Platform.os(System.getProperty("os.name", "")).equals("linux")) {
        // A loaded library stays mapped after its file is deleted.
        deleteQuietly(copy);
        deleteQuietly(lock);
      } else {
        // Deleted in reverse order: the copy (which Windows refuses while it is
        // loaded), then its lock, so the next JVM knows the copy is stale.
        lock.toFile().deleteOnExit();
        copy.toFile().deleteOnExit();
        if (!loaded) {
          deleteQuietly(copy);
          deleteQuietly(lock);
        }
      }
      return loaded ? place : null;
    }

    private String tryLibraryPath(List<String> attempts) {
      String path = System.getProperty("java.library.path", "");
      String file = System.mapLibraryName(name);
      List<String> dirs = new ArrayList<>();
      for (String d : path.split(File.pathSeparator)) {
        if (!d.isEmpty()) {
          dirs.add(d);
        }
      }
      for (String d : dirs) {
        Path candidate = Path.of(d, file).toAbsolutePath().normalize();
        if (Files.isRegularFile(candidate)) {
          String place = "java.library.path: " + candidate;
          return tryFile(candidate, place, attempts) ? place : null;
        }
      }
      attempts.add("java.library.path: no " + file + " in "
          + (dirs.isEmpty() ? "it (it is empty)" : String.join(File.pathSeparator, dirs)));
      return null;
    }

    private List<String> carriedPlatforms() {
      List<String> carried = new ArrayList<>();
      for (String p : Platform.BUILT) {
        if (NativeLibrary.class.getResource(Platform.resourcePath(p, name)) != null) {
          carried.add(p);
        }
      }
      if (carried.isEmpty()) {
        carried.add("no platform");
      }
      return carried;
    }

    private String failureMessage(List<String> attempts) {
      StringBuilder m = new StringBuilder();
      m.append(name).append(' ').append(version()).append(" could not be loaded on ")
          .append(Platform.current()).append(" (os.name \"").append(System.getProperty("os.name"))
          .append("\", os.arch \"").append(System.getProperty("os.arch"))
          .append("\"). Tried:");
      for (int i = 0; i < attempts.size(); i++) {
        m.append("\n  ").append(i + 1).append(". ").append(attempts.get(i));
      }
      m.append("\nTo mend it: -D").append(LIBRARY_PROPERTY).append("=FILE names a ");
      if (name.equals(LIBRARY_NAME)) {
        m.append("library file to load");
      } else {
        m.append(LIBRARY_NAME).append(" library file, and ").append(System.mapLibraryName(name))
            .append(" is loaded from its directory");
      }
      m.append("; -D").append(TMPDIR_PROPERTY)
          .append("=DIR names a writable directory, not mounted noexec, for the copy of the"
              + " jar's library; or put ")
          .append(System.mapLibraryName(name)).append(" of version ").append(version())
          .append(" in a directory of -Djava.library.path.");
      return m.toString();
    }
  }

  private static Path extractionDirectory() {
    String dir = System.getProperty(TMPDIR_PROPERTY);
    if (dir == null || dir.isEmpty()) {
      dir = System.getProperty("java.io.tmpdir");
    }
    return Path.of(dir).toAbsolutePath().normalize();
  }

  // Copies the resource to a new file readable by this user only, then
  // compares the file with the resource byte for byte.
  private static void extract(String resource, Path copy) throws IOException {
    Files.createFile(copy, ownerOnly(copy));
    try (InputStream in = NativeLibrary.class.getResourceAsStream(resource);
        OutputStream out = Files.newOutputStream(copy, StandardOpenOption.WRITE)) {
      in.transferTo(out);
    }
    byte[] expected;
    try (InputStream in = NativeLibrary.class.getResourceAsStream(resource)) {
      expected = in.readAllBytes();
    }
    if (!Arrays.equals(expected, Files.readAllBytes(copy))) {
      throw new IOException("the copy differs from the resource");
    }
  }

  private static FileAttribute<?>[] ownerOnly(Path file) {
    if (file.getFileSystem().supportedFileAttributeViews().contains("posix")) {
      return new FileAttribute<?>[] {
        PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rwx------"))
      };
    }
    return new FileAttribute<?>[0];
  }

  // Copies whose lock file is gone belong to JVMs that have ended.
  private static void deleteStaleCopies(Path dir) throws IOException {
    try (DirectoryStream<Path> entries = Files.newDirectoryStream(dir, COPY_PREFIX + "*")) {
      for (Path entry : entries) {
        String name = entry.getFileName().toString();
        int dash = name.lastIndexOf('-');
        if (name.endsWith(LOCK_SUFFIX) || dash <= 0) {
          continue;
        }
        if (!Files.exists(dir.resolve(name.substring(0, dash) + LOCK_SUFFIX))) {
          deleteQuietly(entry);
        }
      }
    }
  }

  private static void deleteQuietly(Path file) {
    try {
      Files.deleteIfExists(file);
    } catch (IOException | SecurityException e) {
      // Left for the next start, which deletes copies without a lock.
    }
  }
}
