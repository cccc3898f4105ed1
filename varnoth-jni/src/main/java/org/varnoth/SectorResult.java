package org.varnoth;

import java.util.Arrays;
import java.util.Objects;

/**
 * The radial profile and line fit of one direction sector of a spectrum (see
 * {@link SpectrumAnalyzer.Builder#sectors(int)}).
 *
 * @param angle the sector's centre in degrees, 0 to 180: 0 the horizontal
 *     frequency (variation along a row), 90 the vertical one
 * @param profile N / 2 + 1 values for a window of side N: value k is the mean of the non-NaN power elements
 *     of ring k in the sector, NaN for a ring with none; ring 0 (the centre)
 *     belongs to every sector
 * @param fit the line fit of that profile over the analyser's fit range and axis
 */
public record SectorResult(double angle, double[] profile, LineFit fit) {
  /**
   * Checks and copies the arguments.
   *
   * @param angle the sector's centre in degrees
   * @param profile N / 2 + 1 values, N a window side (32 to 4096, a power of two)
   * @param fit the line fit
   * @throws NullPointerException if {@code profile} or {@code fit} is null
   * @throws IllegalArgumentException if {@code profile} is not the profile of a
   *     window side
   */
  public SectorResult {
    Objects.requireNonNull(fit, "fit is null");
    SpectrumAnalyzer.sideOfProfile(profile);
    profile = profile.clone();
  }

  /**
   * The sector's profile.
   *
   * @return a new array of N / 2 + 1 values
   */
  @Override
  public double[] profile() {
    return profile.clone();
  }

  /** Equal when the angle, every profile value and the fit are equal. */
  @Override
  public boolean equals(Object o) {
    return o instanceof SectorResult s
        && Double.doubleToLongBits(angle) == Double.doubleToLongBits(s.angle)
        && Arrays.equals(profile, s.profile) && fit.equals(s.fit);
  }

  @Override
  public int hashCode() {
    return Objects.hash(angle, Arrays.hashCode(profile), fit);
  }

  @Override
  public String toString() {
    return "SectorResult[angle=" + angle + ", fit=" + fit + "]";
  }
}
