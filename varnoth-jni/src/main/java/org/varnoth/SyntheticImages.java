package org.varnoth;

import java.util.Random;

/**
 * Deterministic test images whose power spectrum falls as a power of the
 * frequency, for checking a measurement against a known exponent: Gaussian
 * white noise (java.util.Random, whose sequence is fixed by its seed),
 * transformed, each frequency's amplitude multiplied by f^(-beta / 2) (f the
 * distance from the zero frequency in cycles per image, the zero frequency
 * set to 0), and transformed back; the real part. The fields are periodic:
 * opposite edges join without a jump. Java arithmetic and StrictMath are the
 * same on every JVM, so a seed gives the same image everywhere.
 */
public final class SyntheticImages {
  private SyntheticImages() {}

  /**
   * An n x n field of mean 0 whose power falls as 1 / f^beta.
   *
   * @param n the side, a power of two
   * @param beta the exponent of the power
   * @param seed the noise's seed
   * @return the field, outer index the row
   * @throws IllegalArgumentException if n is not a power of two
   */
  public static double[][] powerLaw(int n, double beta, long seed) {
    return powerLaw(n, beta, beta, seed);
  }

  /**
   * An n x n field of mean 0 whose power falls as 1 / f^beta(theta), the
   * exponent depending on the frequency's direction theta (0 the horizontal
   * frequency, variation along a row; 90 degrees the vertical one):
   * {@code beta(theta) = betaHorizontal cos^2 theta + betaVertical sin^2 theta}.
   *
   * @param n the side, a power of two
   * @param betaHorizontal the exponent along the horizontal frequency
   * @param betaVertical the exponent along the vertical frequency
   * @param seed the noise's seed
   * @return the field, outer index the row
   * @throws IllegalArgumentException if n is not a power of two
   */
  public static double[][] powerLaw(int n, double betaHorizontal, double betaVertical,
      long seed) {
    return shaped(n, seed, (fu, fv) -> {
      double f2 = (double) fu * fu + (double) fv * fv;
      double f = StrictMath.sqrt(f2);
      double beta = betaHorizontal == betaVertical ? betaHorizontal
          : (betaHorizontal * fv * fv + betaVertical * fu * fu) / f2;
      return f == 0 ? 0.0 : StrictMath.pow(f, -beta / 2.0);
    });
  }

  /**
   * An n x n field of mean 0 whose power falls as 1 / f^betaLow up to a
   * frequency and as 1 / f^betaHigh beyond it, continuously: the power is
   * proportional to (f / fb)^-betaLow for f &le; fb and (f / fb)^-betaHigh
   * above, fb the break frequency.
   *
   * @param n the side, a power of two
   * @param betaLow the exponent below the break
   * @param betaHigh the exponent above the break
   * @param breakFrequency the break fb, in cycles per image, more than 0
   * @param seed the noise's seed
   * @return the field, outer index the row
   * @throws IllegalArgumentException if n is not a power of two or fb is not
   *     more than 0
   */
  public static double[][] brokenPowerLaw(int n, double betaLow, double betaHigh,
      double breakFrequency, long seed) {
    if (!(breakFrequency > 0)) {
      throw new IllegalArgumentException("expected a break frequency above 0, got "
          + breakFrequency);
    }
    return shaped(n, seed, (fu, fv) -> {
      double f = StrictMath.sqrt((double) fu * fu + (double) fv * fv);
      double beta = f <= breakFrequency ? betaLow : betaHigh;
      return f == 0 ? 0.0 : StrictMath.pow(f / breakFrequency, -beta / 2.0);
    });
  }

  /** The amplitude gain of the frequency fu, fv cycles per image (0 to n / 2 each). */
  @FunctionalInterface
  private interface Gain {
    double of(int fu, int fv);
  }

  // White noise, transformed, each frequency's amplitude multiplied by its
  // gain, transformed back.
  private static double[][] shaped(int n, long seed, Gain gain) {
    if (n < 2 || Integer.bitCount(n) != 1) {
      throw new IllegalArgumentException("expected a side that is a power of two, got " + n);
    }
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
        double g = gain.of(u <= n / 2 ? u : n - u, v <= n / 2 ? v : n - v);
        re[u][v] *= g;
        im[u][v] *= g;
      }
    }
    fft2(re, im, true);
    return re;
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
