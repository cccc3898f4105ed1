package org.varnoth.bench;

/** The radial profile and log-log slope of a centred power spectrum, for the Java peers. */
final class Profiles {
  private static final int[] RING = new int[16384];

  static {
    for (int r = 0; r < 128; r++) {
      for (int c = 0; c < 128; c++) {
        final int d2 = (r - 64) * (r - 64) + (c - 64) * (c - 64);
        int k = 0;
        while (d2 > k * k + k) k++;
        RING[128 * r + c] = k <= 64 ? k : -1;
      }
    }
  }

  private Profiles() {}

  /** Fills ps with the ring means of ft and returns the least-squares slope. */
  static double slope(double[][] ft, double[] ps) {
    final double[] sum = new double[65];
    final int[] count = new int[65];
    for (int r = 0; r < 128; r++) {
      for (int c = 0; c < 128; c++) {
        final int k = RING[128 * r + c];
        if (k >= 0) {
          sum[k] += ft[r][c];
          count[k]++;
        }
      }
    }
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    int n = 0;
    for (int k = 0; k < 65; k++) {
      ps[k] = sum[k] / count[k];
      if (ps[k] > 0) {
        final double x = Math.log(k * 1.546875 + 1.0);
        final double y = Math.log(ps[k]);
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
        n++;
      }
    }
    return n < 2 ? 0.0 : (n * sxy - sx * sy) / (n * sxx - sx * sx);
  }
}
