package org.varnoth.cli;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.BasicFileAttributes;
import java.util.HashSet;
import java.util.List;
import java.util.Set;

/**
 * The checks of a run's outputs before any input is read: an output must not
 * be one of the inputs, however it is spelled (the same path, a hard link, a
 * symbolic link), nor another output, must not be a folder, and must lie in a
 * folder that can be written (or made); an existing output that is not a
 * regular file (a device, a pipe) must be writable itself.
 */
final class OutputChecks {
  private final List<Path> inputFiles;
  /** The identities of the input files that exist; found at the first output checked. */
  private Set<Object> inputs;
  private final Set<Path> outputs = new HashSet<>();

  /** The checks against these input files (those that exist). */
  OutputChecks(List<Path> inputFiles) {
    this.inputFiles = inputFiles;
  }

  private Set<Object> inputs() {
    if (inputs == null) {
      inputs = new HashSet<>();
      for (Path p : inputFiles) {
        Object key = identity(p);
        if (key != null) {
          inputs.add(key);
        }
      }
    }
    return inputs;
  }

  /** Checks an output file named by an option; null names none. */
  void check(String option, Path output) throws AnalyzeCommand.UsageProblem {
    if (output == null) {
      return;
    }
    String named = option + " " + DisplayNames.plain(output);
    if (Files.isDirectory(output)) {
      throw new AnalyzeCommand.UsageProblem(named + " is a folder, not a file");
    }
    Object key = identity(output);
    if (key != null && inputs().contains(key)) {
      throw new AnalyzeCommand.UsageProblem(named + " is one of the input files");
    }
    if (!outputs.add(output.toAbsolutePath().normalize())) {
      throw new AnalyzeCommand.UsageProblem(named + " is named for another output too");
    }
    if (Files.isSymbolicLink(output) && !Files.exists(output)) {
      return;  // a link to no path (/dev/stdout): opening it tells
    }
    if (Files.exists(output) && !Files.isRegularFile(output)) {
      if (!Files.isWritable(output)) {
        throw new AnalyzeCommand.UsageProblem("cannot write " + named + ": permission denied");
      }
      return;
    }
    checkWritable(named, output.toAbsolutePath().getParent());
  }

  /** Checks a folder that outputs go into. */
  void checkFolder(String option, Path folder) throws AnalyzeCommand.UsageProblem {
    String named = option + " " + DisplayNames.plain(folder);
    if (Files.exists(folder) && !Files.isDirectory(folder)) {
      throw new AnalyzeCommand.UsageProblem(named + " is a file, not a folder");
    }
    checkWritable(named, folder.toAbsolutePath());
  }

  // The folder, or the nearest folder above it that exists (the rest is made
  // when the file is written), must be writable.
  private static void checkWritable(String named, Path folder)
      throws AnalyzeCommand.UsageProblem {
    Path existing = folder;
    while (existing != null && !Files.exists(existing)) {
      existing = existing.getParent();
    }
    if (existing == null || !Files.isDirectory(existing)) {
      throw new AnalyzeCommand.UsageProblem("cannot write " + named + ": "
          + (existing == null ? "no such folder" : DisplayNames.plain(existing)
              + " is not a folder"));
    }
    if (!Files.isWritable(existing)) {
      throw new AnalyzeCommand.UsageProblem("cannot write " + named + ": permission denied");
    }
  }

  // What identifies a file whatever names it: the file system's key (device
  // and inode), or its real path; null when it does not exist.
  private static Object identity(Path p) {
    try {
      Object key = Files.readAttributes(p, BasicFileAttributes.class).fileKey();
      return key != null ? key : p.toRealPath();
    } catch (IOException e) {
      return null;
    }
  }
}
