package org.varnoth.cli;

import java.util.Random;

/**
 * Deterministic images whose power spectrum falls as 1 / f^beta: Gaussian
 * white noise (java.util.Random, whose sequence is fixed by its seed),
 * transformed, each frequency's amplitude multiplied by f^(-beta / 2) (f the
 * distance from the zero frequency in cycles per image, the zero frequency
 * set to 0), and transformed back; the real part. Java arithmetic and
 * StrictMath are the same on every JVM, so a seed gives the same image
 * everywhere.
 */
final class PowerLawImage {
  private PowerLawImage() {}

  /** An n x n field of mean 0 (n a power of two), outer index the row. */
  static double[][] field(int n, double beta, long seed) {
    Random rnd = new Random(seed);
    double[][] re = new double[n][n];
    double[][] im = new double[n][n];
    for (double[] row : re) {
      for (int c = 0; c < n; c++) {
        row[c] = rnd.nextGaussian();
      }
    }
    fft2(re, im, false);
    for (int u = 0; u < n; u++) {
      for (int v = 0; v < n; v++) {
        int fu = u <= n / 2 ? u : n - u;
        int fv = v <= n / 2 ? v : n - v;
        double f = StrictMath.sqrt((double) fu * fu + (double) fv * fv);
        double gain = f == 0 ? 0.0 : StrictMath.pow(f, -beta / 2.0);
        re[u][v] *= gain;
        im[u][v] *= gain;
      }
    }
    fft2(re, im, true);
    return re;
  }

  /** The field mapped onto 16-bit grey levels: mean 32768, largest deviation 30000. */
  static int[][] grey16(double[][] field) {
    double max = 0;
    for (double[] row : field) {
      for (double v : row) {
        max = Math.max(max, Math.abs(v));
      }
    }
    double k = max == 0 ? 0 : 30000.0 / max;
    int[][] out = new int[field.length][field[0].length];
    for (int r = 0; r < field.length; r++) {
      for (int c = 0; c < field[r].length; c++) {
        out[r][c] = (int) Math.round(32768.0 + k * field[r][c]);
      }
    }
    return out;
  }

  // 2-D transform in place, rows then columns; the inverse is unscaled.
  private static void fft2(double[][] re, double[][] im, boolean inverse) {
    int n = re.length;
    for (int r = 0; r < n; r++) {
      fft(re[r], im[r], inverse);
    }
    double[] cr = new double[n];
    double[] ci = new double[n];
    for (int c = 0; c < n; c++) {
      for (int r = 0; r < n; r++) {
        cr[r] = re[r][c];
        ci[r] = im[r][c];
      }
      fft(cr, ci, inverse);
      for (int r = 0; r < n; r++) {
        re[r][c] = cr[r];
        im[r][c] = ci[r];
      }
    }
  }

  // Iterative radix-2 transform of one sequence, kernel exp(-+2 pi i j k / n).
  private static void fft(double[] re, double[] im, boolean inverse) {
    int n = re.length;
    for (int i = 1, j = 0; i < n; i++) {
      int bit = n >> 1;
      for (; (j & bit) != 0; bit >>= 1) {
        j ^= bit;
      }
      j ^= bit;
      if (i < j) {
        double t = re[i];
        re[i] = re[j];
        re[j] = t;
        t = im[i];
        im[i] = im[j];
        im[j] = t;
      }
    }
    for (int len = 2; len <= n; len <<= 1) {
      double angle = (inverse ? 2 : -2) * StrictMath.PI / len;
      for (int k = 0; k < len / 2; k++) {
        double wr = StrictMath.cos(angle * k);
        double wi = StrictMath.sin(angle * k);
        for (int s = 0; s < n; s += len) {
          int a = s + k;
          int b = a + len / 2;
          double xr = re[b] * wr - im[b] * wi;
          double xi = re[b] * wi + im[b] * wr;
          re[b] = re[a] - xr;
          im[b] = im[a] - xi;
          re[a] += xr;
          im[a] += xi;
        }
      }
    }
  }
}
