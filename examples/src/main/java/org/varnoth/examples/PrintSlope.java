package org.varnoth.examples;

import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import javax.imageio.ImageIO;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;

/** Prints the spectral slope of each image file named on the command line. */
public final class PrintSlope {
  private PrintSlope() {}

  public static void main(String[] args) throws IOException {
    SpectrumAnalyzer analyzer = SpectrumAnalyzer.create();
    for (String name : args) {
      BufferedImage image = ImageIO.read(new File(name));
      if (image == null) {
        throw new IOException(name + ": not an image that javax.imageio reads");
      }
      SpectrumResult r = analyzer.analyze(image);
      System.out.printf("%s: slope %.4f, intercept %.4f, %d points%n", name, r.slope(),
          r.intercept(), r.points());
    }
  }
}
