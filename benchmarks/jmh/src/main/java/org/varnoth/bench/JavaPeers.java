package org.varnoth.bench;

import java.util.Random;
import java.util.concurrent.TimeUnit;
import org.jtransforms.fft.DoubleFFT_2D;
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
 * The processing chain's outputs (copy, centred power spectrum, radial
 * profile, slope) by other routes: FFTW behind a JNI frame of the same
 * shape as the library's, and in Java alone a plain radix-2 chain and one on
 * JTransforms' real-input 2-D transform. Peers of {@code f_PSD_Processing}
 * called from Java; not bit-exact with it (their transforms add in other
 * orders).
 */
@BenchmarkMode(Mode.AverageTime)
@OutputTimeUnit(TimeUnit.MICROSECONDS)
@Warmup(iterations = 3, time = 1)
@Measurement(iterations = 5, time = 1)
@Fork(1)
@State(Scope.Thread)
public class JavaPeers {
  double[][] img;
  double[][] ft = new double[128][128];
  double[][] wd = new double[128][128];
  double[] ps = new double[65];
  final double[] re = new double[16384];
  final double[] im = new double[16384];
  final double[] packed = new double[2 * 16384];
  final DoubleFFT_2D jtransforms = new DoubleFFT_2D(128, 128);

  @Setup
  public void setUp() {
    img = NativeMethods.randomImage(new Random(Thread.currentThread().getId()));
  }

  /** The FFTW chain behind a JNI frame shaped like the library's. */
  @Benchmark
  public double fftwBehindJni() {
    return FftwPeer.process(img, ps, ft, wd);
  }

  @Benchmark
  public double plainJavaChain() {
    for (int r = 0; r < 128; r++) {
      System.arraycopy(img[r], 0, wd[r], 0, 128);
      for (int c = 0; c < 128; c++) {
        re[128 * r + c] = img[r][c];
        im[128 * r + c] = 0.0;
      }
    }
    for (int r = 0; r < 128; r++) Radix2.fft(re, im, 128 * r, 1);
    for (int c = 0; c < 128; c++) Radix2.fft(re, im, c, 128);
    for (int r = 0; r < 128; r++) {
      for (int c = 0; c < 128; c++) {
        final int i = 128 * r + c;
        final double p = (re[i] * re[i] + im[i] * im[i]) / (16384.0 * 16384.0);
        ft[(r + 64) & 127][(c + 64) & 127] = p;
      }
    }
    return Profiles.slope(ft, ps);
  }

  @Benchmark
  public double jtransformsChain() {
    for (int r = 0; r < 128; r++) {
      System.arraycopy(img[r], 0, wd[r], 0, 128);
      System.arraycopy(img[r], 0, packed, 128 * r, 128);
    }
    jtransforms.realForwardFull(packed);
    for (int r = 0; r < 128; r++) {
      for (int c = 0; c < 128; c++) {
        final int i = 2 * (128 * r + c);
        final double p =
            (packed[i] * packed[i] + packed[i + 1] * packed[i + 1]) / (16384.0 * 16384.0);
        ft[(r + 64) & 127][(c + 64) & 127] = p;
      }
    }
    return Profiles.slope(ft, ps);
  }
}
