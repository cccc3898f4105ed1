package org.varnoth.cli;

import java.io.IOException;
import java.nio.file.FileVisitOption;
import java.nio.file.FileVisitResult;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.SimpleFileVisitor;
import java.nio.file.attribute.BasicFileAttributes;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.EnumSet;
import java.util.List;
import org.varnoth.ImageDecoding;

/**
 * The image files that command-line arguments name: files as given, folders
 * walked. Symbolic links are followed (a folder named through one too); a
 * link that leads back into its own folder is reported once, as is a file
 * or folder that cannot be listed, and the walk goes on.
 */
final class ImageFiles {
  private ImageFiles() {}

  /** One input of a batch. */
  sealed interface Input permits ImageFile, Unlisted {
    Path path();
  }

  /** A file to analyse. */
  record ImageFile(Path path) implements Input {}

  /** A path under a folder that could not be listed, and why. */
  record Unlisted(Path path, String reason) implements Input {}

  /**
   * Each argument in order: a file as it is (whatever its name), a folder as
   * the image files under it (by extension) and the paths under it that could
   * not be listed, in sorted path order.
   */
  static List<Input> expand(List<Path> arguments) {
    List<Input> inputs = new ArrayList<>();
    for (Path a : arguments) {
      if (Files.isDirectory(a)) {
        inputs.addAll(walk(a));
      } else {
        inputs.add(new ImageFile(a));
      }
    }
    return inputs;
  }

  private static List<Input> walk(Path folder) {
    List<Input> found = new ArrayList<>();
    try {
      Files.walkFileTree(folder, EnumSet.of(FileVisitOption.FOLLOW_LINKS), Integer.MAX_VALUE,
          new SimpleFileVisitor<>() {
            @Override
            public FileVisitResult visitFile(Path file, BasicFileAttributes attrs) {
              // A dangling link is seen as the link itself: it is named, and fails.
              if ((attrs.isRegularFile() || attrs.isSymbolicLink()) && hasImageExtension(file)) {
                found.add(new ImageFile(file));
              }
              return FileVisitResult.CONTINUE;
            }

            @Override
            public FileVisitResult visitFileFailed(Path file, IOException e) {
              found.add(new Unlisted(file, Reasons.of(e)));
              return FileVisitResult.CONTINUE;
            }
          });
    } catch (IOException e) {
      found.add(new Unlisted(folder, Reasons.of(e)));
    }
    found.sort(Comparator.comparing(Input::path));
    return found;
  }

  static boolean hasImageExtension(Path p) {
    return ImageDecoding.hasImageExtension(p.getFileName().toString());
  }
}
