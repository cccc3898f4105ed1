package org.varnoth;

import java.util.concurrent.atomic.AtomicReferenceArray;

/**
 * How much the Hann taper correlates the powers within one ring.
 *
 * <p>The periodic Hann taper multiplies the window by h(r) h(c), so each
 * element of the spectrum becomes a combination of its neighbours within two
 * steps along each axis: the taper's transform along an axis is 1/2 at 0
 * and -1/4 at +-1. Two elements whose offset is (a, b) are then correlated
 * with coefficient rho(a) rho(b), rho(0) = 1, rho(+-1) = -2/3,
 * rho(+-2) = 1/6 (the autocorrelation of 1/2, -1/4, -1/4, divided by 3/8),
 * and for Gaussian fields their powers with coefficient rho(a)^2 rho(b)^2.
 * The mean of the m elements of ring k then has relative variance
 * 2 G_k / m, where
 * <pre>
 *   G_k = (1 / m) sum over i, j in ring k of rho^2(i - j)
 * </pre>
 * (the factor 2: a real image's power is point-symmetric), instead of 2 / m
 * without the taper, for which G_k = 1. A ring of width 1 holds the
 * neighbours along it but not those across it, so G_k lies near 35/18, the
 * sum of rho^2 along one axis, rather than (35/18)^2, the sum over all
 * neighbours: the ring's own mean is less uncertain, and less biased in its
 * logarithm, than a smooth combination of several rings.
 */
final class HannRings {
  private static final double[] RHO2 = {1.0, 4.0 / 9.0, 1.0 / 36.0};

  // Element i: G of side MIN_SIDE << i, made when first asked for; read
  // without a lock (a race only makes the same factors twice).
  private static final AtomicReferenceArray<double[]> FACTORS = new AtomicReferenceArray<>(
      Integer.numberOfTrailingZeros(SpectrumAnalyzer.MAX_SIDE / SpectrumAnalyzer.MIN_SIDE) + 1);

  private HannRings() {}

  /**
   * G_k for every ring 0 to side / 2 of a spectrum of a side: the mean over
   * the ring's elements of the sum of rho^2 to the elements of the same
   * ring, neighbours taken around the spectrum's periodic edges.
   *
   * @return a shared array; not to be modified
   */
  static double[] factors(int side) {
    int i = Integer.numberOfTrailingZeros(side / SpectrumAnalyzer.MIN_SIDE);
    double[] made = FACTORS.get(i);
    if (made == null) {
      FACTORS.compareAndSet(i, null, compute(side));
      made = FACTORS.get(i);
    }
    return made;
  }

  private static double[] compute(int side) {
    int rings = side / 2 + 1;
    double[] sum = new double[rings];
    int[] count = new int[rings];
    for (int dy = -side / 2; dy < side / 2; dy++) {
      for (int dx = -side / 2; dx < side / 2; dx++) {
        int k = SectorProfiles.ring(dy, dx, rings);
        if (k < 0) {
          continue;
        }
        count[k]++;
        for (int a = -2; a <= 2; a++) {
          for (int b = -2; b <= 2; b++) {
            if (SectorProfiles.ring(wrap(dy + a, side), wrap(dx + b, side), rings) == k) {
              sum[k] += RHO2[Math.abs(a)] * RHO2[Math.abs(b)];
            }
          }
        }
      }
    }
    double[] g = new double[rings];
    for (int k = 0; k < rings; k++) {
      g[k] = sum[k] / count[k];
    }
    return g;
  }

  // An offset taken back into -side / 2 .. side / 2 - 1.
  private static int wrap(int d, int side) {
    return Math.floorMod(d + side / 2, side) - side / 2;
  }
}
