package org.varnoth;

import java.util.concurrent.atomic.AtomicReferenceArray;

/**
 * Radial profiles of a centred power spectrum of side S restricted to N
 * direction sectors.
 *
 * <p>The direction of the element at row r, column c is
 * {@code atan2(r - S / 2, c - S / 2)} in degrees, folded into [0, 180) (a real
 * image's power is point-symmetric). Sector i is centred at i 180 / N degrees
 * and takes the directions within 90 / N degrees of its centre, its lower
 * edge included: sector {@code floor((N theta + 90) / 180) mod N}, which is
 * exact on the edges that lattice directions can meet (multiples of 45
 * degrees, whose directions are taken exactly). Rings are those of the
 * natives: ring k holds the elements whose distance from (S / 2, S / 2) rounds
 * half up to k, k = 0 to S / 2; the centre belongs to every sector. Each ring mean is
 * summed in the natives' order (column by column, each column top to bottom)
 * over the non-NaN elements.
 */
final class SectorProfiles {
  private SectorProfiles() {}

  /** Folded direction in degrees of the offset (dy, dx) from the centre, not both 0. */
  static double direction(int dy, int dx) {
    if (dy == 0) {
      return 0.0;
    }
    if (dx == 0) {
      return 90.0;
    }
    if (dx == dy) {
      return 45.0;
    }
    if (dx == -dy) {
      return 135.0;
    }
    double a = Math.toDegrees(StrictMath.atan2(dy, dx));
    return a < 0.0 ? a + 180.0 : a;
  }

  /** The sector of a folded direction among n. */
  static int sector(double direction, int n) {
    return (int) Math.floor((direction * n + 90.0) / 180.0) % n;
  }

  /** The ring of an offset: the smallest k with dy^2 + dx^2 at most k^2 + k, or -1 from rings on. */
  static int ring(int dy, int dx, int rings) {
    int d2 = dy * dy + dx * dx;
    // floor(sqrt(d2)) is at most the ring: d2 <= k^2 + k < (k + 1)^2.
    int k = (int) Math.sqrt(d2);
    while (d2 > k * k + k) {
      k++;
    }
    return k < rings ? k : -1;
  }

  /**
   * The sector profiles and, for each ring of each sector, the number of
   * elements behind its mean; outer index the sector.
   */
  record Profiles(double[][] means, int[][] counts) {}

  // Element i: the ring counts of side MIN_SIDE << i, made when first asked
  // for; read without a lock on every analysis (a race only makes the same
  // counts twice).
  private static final AtomicReferenceArray<int[]> RING_COUNTS = new AtomicReferenceArray<>(
      Integer.numberOfTrailingZeros(SpectrumAnalyzer.MAX_SIDE / SpectrumAnalyzer.MIN_SIDE) + 1);

  /**
   * The number of elements in each ring 0 to side / 2 of a spectrum of a
   * side: 1, 8, 12, 16, ... for every side.
   *
   * @return a shared array; not to be modified
   */
  static int[] ringCounts(int side) {
    int i = Integer.numberOfTrailingZeros(side / SpectrumAnalyzer.MIN_SIDE);
    int[] made = RING_COUNTS.get(i);
    if (made == null) {
      int rings = side / 2 + 1;
      int[] counts = new int[rings];
      for (int dy = -side / 2; dy < side / 2; dy++) {
        for (int dx = -side / 2; dx < side / 2; dx++) {
          int k = ring(dy, dx, rings);
          if (k >= 0) {
            counts[k]++;
          }
        }
      }
      RING_COUNTS.compareAndSet(i, null, counts);
      made = RING_COUNTS.get(i);
    }
    return made;
  }

  /**
   * The n sector profiles of a centred power spectrum of a side, held row by
   * row (element (r, c) at {@code side * r + c}), with the number of non-NaN
   * elements behind each ring mean.
   */
  static Profiles of(double[] power, int side, int n) {
    final int rings = side / 2 + 1;
    double[][] sum = new double[n][rings];
    int[][] count = new int[n][rings];
    for (int c = 0; c < side; c++) {
      for (int r = 0; r < side; r++) {
        double p = power[side * r + c];
        int dy = r - side / 2;
        int dx = c - side / 2;
        int k = ring(dy, dx, rings);
        if (k < 0 || Double.isNaN(p)) {
          continue;
        }
        if (k == 0) {
          for (int s = 0; s < n; s++) {
            sum[s][0] += p;
            count[s][0]++;
          }
        } else {
          int s = sector(direction(dy, dx), n);
          sum[s][k] += p;
          count[s][k]++;
        }
      }
    }
    double[][] profiles = new double[n][rings];
    for (int s = 0; s < n; s++) {
      for (int k = 0; k < rings; k++) {
        profiles[s][k] = count[s][k] == 0 ? Double.NaN : sum[s][k] / count[s][k];
      }
    }
    return new Profiles(profiles, count);
  }
}
