package org.varnoth.bench;

import Varnoth.Varnoth;
import java.awt.image.BufferedImage;
import java.util.Random;
import java.util.concurrent.TimeUnit;
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
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;

/**
 * The friendly API against the bare processing chain on the same 128 x 128
 * pixels of random levels: {@code chain} is the natives' one call, the peer
 * the ratios are taken against; {@code analyzeRows} analyses the grey rows,
 * {@code analyzeImage} a {@link BufferedImage} of the given type (8-bit grey,
 * 16-bit grey, packed RGB), grey conversion and crop included.
 */
@BenchmarkMode(Mode.AverageTime)
@OutputTimeUnit(TimeUnit.MICROSECONDS)
@Warmup(iterations = 3, time = 1)
@Measurement(iterations = 5, time = 1)
@Fork(1)
@State(Scope.Thread)
public class Analyzer {
  @Param({"byte_gray", "ushort_gray", "int_rgb"})
  String type;

  final SpectrumAnalyzer analyzer = SpectrumAnalyzer.create();
  BufferedImage image;
  double[][] rows;
  double[] ps = new double[65];
  double[][] ft = new double[128][128];
  double[][] wd = new double[128][128];

  /** An image of random levels, different for each thread, and its grey rows. */
  @Setup
  public void setUp() {
    Random random = new Random(Thread.currentThread().getId());
    image = new BufferedImage(128, 128, imageType());
    rows = new double[128][128];
    for (int y = 0; y < 128; y++) {
      for (int x = 0; x < 128; x++) {
        int v = random.nextInt(256);
        image.getRaster().setPixel(x, y, pixel(v));
        rows[y][x] = v;
      }
    }
  }

  private int imageType() {
    return switch (type) {
      case "byte_gray" -> BufferedImage.TYPE_BYTE_GRAY;
      case "ushort_gray" -> BufferedImage.TYPE_USHORT_GRAY;
      case "int_rgb" -> BufferedImage.TYPE_INT_RGB;
      default -> throw new IllegalArgumentException("unknown image type " + type);
    };
  }

  // Equal bands for RGB, so that every type's grey is v (up to rounding).
  private int[] pixel(int v) {
    return type.equals("int_rgb") ? new int[] {v, v, v} : new int[] {v};
  }

  @Benchmark
  public double chain() {
    return Varnoth.f_PSD_Processing(rows, ps, ft, wd);
  }

  @Benchmark
  public SpectrumResult analyzeRows() {
    return analyzer.analyze(rows);
  }

  @Benchmark
  public SpectrumResult analyzeImage() {
    return analyzer.analyze(image);
  }
}
