package org.varnoth.cli;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.nio.file.Path;
import javax.imageio.ImageIO;

/** The PNG files the tool writes: charts, maps and synthetic images, each whole or not at all. */
final class PngFiles {
  private PngFiles() {}

  /** Writes an image as PNG (see {@link OutputFiles}), making the file's folder when missing. */
  static void write(BufferedImage image, Path file) throws IOException {
    OutputFiles.write(file, out -> {
      if (!ImageIO.write(image, "png", out)) {
        throw new IOException("no PNG writer");
      }
    });
  }
}
