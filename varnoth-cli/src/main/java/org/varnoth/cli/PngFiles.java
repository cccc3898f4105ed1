package org.varnoth.cli;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import javax.imageio.ImageIO;

/** The PNG files the tool writes: charts, maps and synthetic images. */
final class PngFiles {
  private PngFiles() {}

  /** Writes an image as PNG, making the file's folder first when it is missing. */
  static void write(BufferedImage image, Path file) throws IOException {
    Path parent = file.toAbsolutePath().getParent();
    if (parent != null) {
      Files.createDirectories(parent);
    }
    ImageIO.write(image, "png", file.toFile());
  }
}
