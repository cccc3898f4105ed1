package org.varnoth;

import java.io.Serializable;

/**
 * A band of rings of the radial profile, both ends included:
 * 0 &le; {@code kmin} &lt; {@code kmax} &le; 2048. A window of side N has
 * rings 0 to N / 2; the analyser refuses a range beyond its last ring.
 *
 * @param kmin the first ring
 * @param kmax the last ring
 * @serial exclude
 */
public record FitRange(int kmin, int kmax) implements Serializable {
  /** Every ring of a 128 x 128 window, 0:64: the natives' own fit. */
  public static final FitRange ALL = all(SpectrumAnalyzer.SIDE);
  /**
   * Every ring of a 128 x 128 window but ring 0, the default when the
   * window's mean is removed.
   */
  public static final FitRange WITHOUT_MEAN = withoutMean(SpectrumAnalyzer.SIDE);
  /** The last ring of the largest window. */
  static final int MAX_RING = SpectrumAnalyzer.MAX_SIDE / 2;

  /**
   * Every ring of a window of a side.
   *
   * @param side the window's side
   * @return 0:side/2
   */
  public static FitRange all(int side) {
    return new FitRange(0, side / 2);
  }

  /**
   * Every ring of a window of a side but ring 0.
   *
   * @param side the window's side
   * @return 1:side/2
   */
  public static FitRange withoutMean(int side) {
    return new FitRange(1, side / 2);
  }

  /**
   * The rings of the literature's measurement ({@link SpectrumAnalyzer.Builder#literature()})
   * for a window of a side: 6 to 3N/8 (6:48 for N = 128). Below ring 6 the
   * Hann taper, which spreads each frequency over two rings either side,
   * mixes a ring with the steep rings around the removed mean, and a ring
   * holds few elements; above 3N/8 cycles per window (0.375 cycles per
   * pixel) a photograph's spectrum carries its lens, sensor, demosaicing and
   * compression rather than the scene, and the corners beyond N/2 are not
   * rings at all. On Gaussian fields of known exponent this range gave the
   * smallest bias with error bars that hold (docs/CALIBRATION.md).
   *
   * @param side the window's side, 32 or more
   * @return 6:3N/8
   */
  public static FitRange literature(int side) {
    return new FitRange(6, side * 3 / 8);
  }

  /**
   * A band of rings.
   *
   * @param kmin the first ring
   * @param kmax the last ring
   * @throws IllegalArgumentException unless 0 &le; kmin &lt; kmax &le; 2048
   */
  public FitRange {
    if (kmin < 0 || kmin >= kmax || kmax > MAX_RING) {
      throw new IllegalArgumentException("expected a fit range 0 <= KMIN < KMAX <= "
          + MAX_RING + ", got " + kmin + ":" + kmax);
    }
  }

  /**
   * Whether ring k lies in the band.
   *
   * @param k a ring
   * @return kmin &le; k &le; kmax
   */
  public boolean contains(int k) {
    return k >= kmin && k <= kmax;
  }

  /**
   * The profile with every ring outside the band set to 0.0 (the natives then
   * leave those rings out of their fit and chart).
   *
   * @param profile 65 values
   * @return a new array of 65 values
   */
  double[] masked(double[] profile) {
    double[] inRange = new double[profile.length];
    System.arraycopy(profile, kmin, inRange, kmin, kmax - kmin + 1);
    return inRange;
  }

  /** {@code KMIN:KMAX}, as the tool's {@code --fit-range} takes it. */
  @Override
  public String toString() {
    return kmin + ":" + kmax;
  }
}
