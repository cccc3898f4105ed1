package org.varnoth.bench;

import java.awt.image.BufferedImage;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.util.Random;
import java.util.concurrent.TimeUnit;
import javax.imageio.ImageIO;
import org.openjdk.jmh.annotations.Benchmark;
import org.openjdk.jmh.annotations.BenchmarkMode;
import org.openjdk.jmh.annotations.Fork;
import org.openjdk.jmh.annotations.Measurement;
import org.openjdk.jmh.annotations.Mode;
import org.openjdk.jmh.annotations.OutputTimeUnit;
import org.openjdk.jmh.annotations.Param;
import org.openjdk.jmh.annotations.Scope;
import org.openjdk.jmh.annotations.Setup;
import org.openjdk.jmh.annotations.State;
import org.openjdk.jmh.annotations.Warmup;
import org.varnoth.ImageDecoding;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;

/**
 * What one image file costs a batch job (the tool, a Spark executor): its
 * decoding from PNG bytes, its analysis once decoded (the centre 128 x 128
 * crop), and both, for 8-bit grey images of random levels, 128 x 128 and
 * 1024 x 1024.
 */
@BenchmarkMode(Mode.AverageTime)
@OutputTimeUnit(TimeUnit.MICROSECONDS)
@Warmup(iterations = 3, time = 1)
@Measurement(iterations = 5, time = 1)
@Fork(1)
@State(Scope.Thread)
public class ImageFiles {
  @Param({"128", "1024"})
  int side;

  byte[] png;
  BufferedImage decoded;
  SpectrumAnalyzer analyzer = SpectrumAnalyzer.create();

  /** The PNG bytes, different for each thread. */
  @Setup
  public void setUp() throws IOException {
    Random random = new Random(Thread.currentThread().getId());
    BufferedImage img = new BufferedImage(side, side, BufferedImage.TYPE_BYTE_GRAY);
    for (int y = 0; y < side; y++) {
      for (int x = 0; x < side; x++) {
        img.getRaster().setSample(x, y, 0, random.nextInt(256));
      }
    }
    ByteArrayOutputStream out = new ByteArrayOutputStream();
    ImageIO.write(img, "png", out);
    png = out.toByteArray();
    decoded = ImageDecoding.decode(png);
  }

  @Benchmark
  public BufferedImage decode() throws IOException {
    return ImageDecoding.decode(png);
  }

  @Benchmark
  public SpectrumResult analyze() {
    return analyzer.analyze(decoded);
  }

  @Benchmark
  public SpectrumResult decodeAndAnalyze() throws IOException {
    return analyzer.analyze(ImageDecoding.decode(png));
  }
}
