package org.varnoth.bench;

/** An in-place 128-point radix-2 FFT of one strided vector, for the Java peers. */
final class Radix2 {
  private static final double[] COS = new double[64];
  private static final double[] SIN = new double[64];

  static {
    for (int j = 0; j < 64; j++) {
      COS[j] = Math.cos(2 * Math.PI * j / 128);
      SIN[j] = -Math.sin(2 * Math.PI * j / 128);
    }
  }

  private Radix2() {}

  /** x[k] = re[off + stride k] + i im[off + stride k] becomes its DFT. */
  static void fft(double[] re, double[] im, int off, int stride) {
    for (int i = 0, j = 0; i < 128; i++) {
      if (i < j) {
        swap(re, off + stride * i, off + stride * j);
        swap(im, off + stride * i, off + stride * j);
      }
      int bit = 64;
      while ((j & bit) != 0) {
        j ^= bit;
        bit >>= 1;
      }
      j |= bit;
    }
    for (int half = 1; half < 128; half <<= 1) {
      final int step = 64 / half;
      for (int s = 0; s < half; s++) {
        final double wr = COS[s * step];
        final double wi = SIN[s * step];
        for (int b = s; b < 128; b += 2 * half) {
          final int p = off + stride * b;
          final int q = p + stride * half;
          final double tr = re[q] * wr - im[q] * wi;
          final double ti = im[q] * wr + re[q] * wi;
          re[q] = re[p] - tr;
          im[q] = im[p] - ti;
          re[p] += tr;
          im[p] += ti;
        }
      }
    }
  }

  private static void swap(double[] a, int i, int j) {
    final double t = a[i];
    a[i] = a[j];
    a[j] = t;
  }
}
