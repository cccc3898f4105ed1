package org.varnoth;

import java.io.Serializable;

/**
 * A band of rings of the radial profile, both ends included:
 * 0 &le; {@code kmin} &lt; {@code kmax} &le; 64.
 *
 * @param kmin the first ring
 * @param kmax the last ring
 * @serial exclude
 */
public record FitRange(int kmin, int kmax) implements Serializable {
  /** Every ring, 0:64: the natives' own fit. */
  public static final FitRange ALL = new FitRange(0, SpectrumAnalyzer.PROFILE_SIZE - 1);
  /** Every ring but ring 0, the default when the window's mean is removed. */
  public static final FitRange WITHOUT_MEAN = new FitRange(1, SpectrumAnalyzer.PROFILE_SIZE - 1);

  /**
   * A band of rings.
   *
   * @param kmin the first ring
   * @param kmax the last ring
   * @throws IllegalArgumentException unless 0 &le; kmin &lt; kmax &le; 64
   */
  public FitRange {
    if (kmin < 0 || kmin >= kmax || kmax > SpectrumAnalyzer.PROFILE_SIZE - 1) {
      throw new IllegalArgumentException("expected a fit range 0 <= KMIN < KMAX <= 64, got "
          + kmin + ":" + kmax);
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
    double[] inRange = new double[SpectrumAnalyzer.PROFILE_SIZE];
    System.arraycopy(profile, kmin, inRange, kmin, kmax - kmin + 1);
    return inRange;
  }

  /** {@code KMIN:KMAX}, as the tool's {@code --fit-range} takes it. */
  @Override
  public String toString() {
    return kmin + ":" + kmax;
  }
}
