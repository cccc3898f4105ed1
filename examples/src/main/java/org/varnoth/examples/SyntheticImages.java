package org.varnoth.examples;

import java.util.Random;

/**
 * Synthetic 128 x 128 images whose power spectrum falls as 1 / f^beta:
 * random phases, amplitudes |f|^(-beta/2), Hermitian symmetric so that the
 * inverse DFT is real.
 */
final class SyntheticImages {
  private static final int N = 128;

  private SyntheticImages() {}

  /** An image of mean {@code mean} whose other frequencies have power |f|^-beta. */
  static double[][] powerLaw(double beta, double mean, long seed) {
    Random rnd = new Random(seed);
    double[][] re = new double[N][N];
    double[][] im = new double[N][N];
    for (int u = 0; u < N; u++) {
      for (int v = 0; v < N; v++) {
        int fu = u <= N / 2 ? u : u - N;
        int fv = v <= N / 2 ? v : v - N;
        double f = Math.hypot(fu, fv);
        if (f == 0) continue;
        double amplitude = Math.pow(f, -beta / 2.0);
        double phase = 2 * Math.PI * rnd.nextDouble();
        re[u][v] = amplitude * Math.cos(phase);
        im[u][v] = amplitude * Math.sin(phase);
      }
    }
    // Hermitian symmetry F(-u, -v) = conj F(u, v); self-conjugate bins real.
    for (int u = 0; u < N; u++) {
      for (int v = 0; v < N; v++) {
        int cu = (N - u) % N;
        int cv = (N - v) % N;
        if (cu == u && cv == v) {
          im[u][v] = 0;
        } else if (u * N + v > cu * N + cv) {
          re[u][v] = re[cu][cv];
          im[u][v] = -im[cu][cv];
        }
      }
    }
    double[][] img = inverseDftRealPart(re, im);
    for (double[] row : img) {
      for (int n = 0; n < N; n++) row[n] += mean;
    }
    return img;
  }

  /** Real part of the unscaled inverse 2-D DFT, rows then columns. */
  private static double[][] inverseDftRealPart(double[][] re, double[][] im) {
    double[] cos = new double[N];
    double[] sin = new double[N];
    for (int k = 0; k < N; k++) {
      cos[k] = Math.cos(2 * Math.PI * k / N);
      sin[k] = Math.sin(2 * Math.PI * k / N);
    }
    double[][] tr = new double[N][N];
    double[][] ti = new double[N][N];
    for (int u = 0; u < N; u++) {
      for (int n = 0; n < N; n++) {
        double sr = 0;
        double si = 0;
        for (int v = 0; v < N; v++) {
          int k = (v * n) % N;
          sr += re[u][v] * cos[k] - im[u][v] * sin[k];
          si += re[u][v] * sin[k] + im[u][v] * cos[k];
        }
        tr[u][n] = sr;
        ti[u][n] = si;
      }
    }
    double[][] img = new double[N][N];
    for (int m = 0; m < N; m++) {
      for (int n = 0; n < N; n++) {
        double sr = 0;
        for (int u = 0; u < N; u++) {
          int k = (u * m) % N;
          sr += tr[u][n] * cos[k] - ti[u][n] * sin[k];
        }
        img[m][n] = sr;
      }
    }
    return img;
  }
}
