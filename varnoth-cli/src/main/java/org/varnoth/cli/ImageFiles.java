package org.varnoth.cli;

import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.stream.Stream;
import org.varnoth.ImageDecoding;

/** The image files that command-line arguments name: files as given, folders walked. */
final class ImageFiles {
  private ImageFiles() {}

  /**
   * Each argument in order: a file as it is (whatever its name), a folder as
   * the image files under it, by extension, in sorted path order.
   */
  static List<Path> expand(List<Path> arguments) {
    List<Path> files = new ArrayList<>();
    for (Path a : arguments) {
      if (Files.isDirectory(a)) {
        try (Stream<Path> walk = Files.walk(a)) {
          walk.filter(Files::isRegularFile).filter(ImageFiles::hasImageExtension).sorted()
              .forEach(files::add);
        } catch (IOException e) {
          throw new UncheckedIOException(e);
        }
      } else {
        files.add(a);
      }
    }
    return files;
  }

  static boolean hasImageExtension(Path p) {
    return ImageDecoding.hasImageExtension(p.getFileName().toString());
  }
}
