package org.varnoth.cli;

import java.awt.image.BufferedImage;
import java.awt.image.WritableRaster;
import java.io.IOException;
import java.nio.file.Path;
import java.util.concurrent.Callable;
import org.varnoth.SyntheticImages;
import picocli.CommandLine;
import picocli.CommandLine.Command;
import picocli.CommandLine.Option;
import picocli.CommandLine.Parameters;

/** {@code varnoth synth}: a deterministic 16-bit grey PNG whose power falls as 1/f^beta. */
@Command(name = "synth", mixinStandardHelpOptions = true,
    description = {"Writes a 16-bit grey PNG whose power spectrum falls as 1/f^BETA, the same "
        + "for the same options on every machine.",
        "Its mean grey level (32768) is ring 0 of the profile: analyze --remove-mean "
            + "recovers a slope near -BETA."})
final class SynthCommand implements Callable<Integer> {
  @CommandLine.Spec CommandLine.Model.CommandSpec spec;

  @Option(names = "--beta", required = true, paramLabel = "B",
      description = "The exponent: power ~ 1/f^B.")
  double beta;

  @Option(names = "--seed", paramLabel = "S", description = "Seed of the noise (default 1).")
  long seed = 1;

  @Option(names = "--size", paramLabel = "N",
      description = "Side in pixels, a power of two from 128 to 4096 (default 256).")
  int size = 256;

  @Parameters(paramLabel = "OUT.png", description = "The file to write.")
  Path out;

  @Override
  public Integer call() throws IOException {
    if (size < 128 || size > 4096 || Integer.bitCount(size) != 1) {
      throw new CommandLine.ParameterException(spec.commandLine(),
          "--size must be a power of two from 128 to 4096, got " + size);
    }
    if (!Double.isFinite(beta)) {
      throw new CommandLine.ParameterException(spec.commandLine(),
          "--beta must be a finite number, got " + beta);
    }
    int[][] grey = PowerLawImage.grey16(SyntheticImages.powerLaw(size, beta, seed));
    BufferedImage image = new BufferedImage(size, size, BufferedImage.TYPE_USHORT_GRAY);
    WritableRaster raster = image.getRaster();
    for (int y = 0; y < size; y++) {
      raster.setSamples(0, y, size, 1, 0, grey[y]);
    }
    PngFiles.write(image, out);
    spec.commandLine().getOut().println(out);
    return 0;
  }
}
