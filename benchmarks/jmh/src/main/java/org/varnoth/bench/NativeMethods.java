package org.varnoth.bench;

import Varnoth.Varnoth;
import java.util.Random;
import java.util.concurrent.TimeUnit;
import org.openjdk.jmh.annotations.Benchmark;
import org.openjdk.jmh.annotations.BenchmarkMode;
import org.openjdk.jmh.annotations.Fork;
import org.openjdk.jmh.annotations.Measurement;
import org.openjdk.jmh.annotations.Mode;
import org.openjdk.jmh.annotations.OutputTimeUnit;
import org.openjdk.jmh.annotations.Scope;
import org.openjdk.jmh.annotations.Setup;
import org.openjdk.jmh.annotations.State;
import org.openjdk.jmh.annotations.Warmup;

/**
 * The native methods of {@link Varnoth} called from Java, each thread with
 * its own image and output arrays (run with {@code -t 1} and {@code -t 2}):
 * every computing method and the four dummies. {@code initialize} is left
 * out: it prints a line on every call.
 */
@BenchmarkMode(Mode.AverageTime)
@OutputTimeUnit(TimeUnit.MICROSECONDS)
@Warmup(iterations = 3, time = 1)
@Measurement(iterations = 5, time = 1)
@Fork(1)
@State(Scope.Thread)
public class NativeMethods {
  double[][] img;
  double[][] ft = new double[128][128];
  double[][] second = new double[128][128];
  double[][] wd = new double[128][128];
  double[] ps = new double[65];
  double[] range = new double[4];
  double[] scale = new double[2];
  double[] line = new double[2];
  double[][] points = new double[2][65];

  /** A random grey image, different for each thread. */
  @Setup
  public void setUp() {
    img = randomImage(new Random(Thread.currentThread().getId()));
    Varnoth.f_PSD_Processing(img, ps, ft, wd);
  }

  static double[][] randomImage(Random random) {
    double[][] image = new double[128][128];
    for (double[] row : image) {
      for (int c = 0; c < 128; c++) row[c] = random.nextInt(256);
    }
    return image;
  }

  @Benchmark
  public double f_PSD_Dummy0() {
    return Varnoth.f_PSD_Dummy0();
  }

  @Benchmark
  public double f_PSD_Dummy1() {
    return Varnoth.f_PSD_Dummy1(img);
  }

  /** The inward copy alone: checks, copy in, release. */
  @Benchmark
  public double f_PSD_Dummy2() {
    return Varnoth.f_PSD_Dummy2(img);
  }

  @Benchmark
  public double f_PSD_Dummy3() {
    return Varnoth.f_PSD_Dummy3(null);
  }

  @Benchmark
  public double f_PSD_Processing() {
    return Varnoth.f_PSD_Processing(img, ps, ft, wd);
  }

  @Benchmark
  public double[] f_PSD_Processing_PSOnly() {
    Varnoth.f_PSD_Processing_PSOnly(img, ps);
    return ps;
  }

  @Benchmark
  public double[][] f_PSD_Processing_FTOnly() {
    Varnoth.f_PSD_Processing_FTOnly(img, ft);
    return ft;
  }

  @Benchmark
  public double f_PSD_Slope() {
    return Varnoth.f_PSD_Slope(img);
  }

  @Benchmark
  public double[] f_PSD_LinearRegression() {
    return Varnoth.f_PSD_LinearRegression(img);
  }

  @Benchmark
  public double[][] f_ImageFFT() {
    Varnoth.f_ImageFFT(img, ft, second);
    return second;
  }

  @Benchmark
  public double[][] f_ImageFFTPowerPhase() {
    Varnoth.f_ImageFFTPowerPhase(img, ft, second);
    return second;
  }

  @Benchmark
  public double[][] f_ImageFFTPower() {
    return Varnoth.f_ImageFFTPower(img);
  }

  @Benchmark
  public double[] f_RadialAverageSpectra() {
    return Varnoth.f_RadialAverageSpectra(ft);
  }

  @Benchmark
  public int f_PlotSpectra_GetChartInfo() {
    return Varnoth.f_PlotSpectra_GetChartInfo(ps, range, scale, line, points);
  }
}
