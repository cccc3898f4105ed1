package org.varnoth.bench;

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
 * One window of each side from Java, as a user calls it: the analyser's
 * crop of a grey image exactly the window's size, its one native call
 * (spectrum and profile) and the line of the whole profile on the natives'
 * axis, beside window_bench's native chain of the same side.
 */
@BenchmarkMode(Mode.AverageTime)
@OutputTimeUnit(TimeUnit.MICROSECONDS)
@Warmup(iterations = 3, time = 2)
@Measurement(iterations = 5, time = 2)
@Fork(1)
@State(Scope.Thread)
public class Windows {
  @Param({"256", "1024", "4096"})
  int side;

  double[][] image;
  SpectrumAnalyzer analyzer;

  /** Grey levels 0 to 255 from a fixed seed. */
  @Setup
  public void setUp() {
    Random random = new Random(7);
    image = new double[side][side];
    for (double[] row : image) {
      for (int c = 0; c < side; c++) {
        row[c] = random.nextInt(256);
      }
    }
    analyzer = SpectrumAnalyzer.builder().side(side).build();
  }

  @Benchmark
  public SpectrumResult analyze() {
    return analyzer.analyze(image);
  }
}
