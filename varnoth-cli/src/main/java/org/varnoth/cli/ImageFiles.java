package org.varnoth.cli;

import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import java.util.Set;
import java.util.stream.Stream;

/** The image files that command-line arguments name: files as given, folders walked. */
final class ImageFiles {
  /** The extensions of the formats that javax.imageio reads. */
  static final Set<String> EXTENSIONS =
      Set.of("png", "jpg", "jpeg", "bmp", "gif", "tif", "tiff", "wbmp");

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
    String name = p.getFileName().toString();
    int dot = name.lastIndexOf('.');
    return dot > 0 && EXTENSIONS.contains(name.substring(dot + 1).toLowerCase(Locale.ROOT));
  }
}
