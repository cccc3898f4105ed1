package org.varnoth;

import java.util.Arrays;
import java.util.Objects;
import java.util.Optional;

/**
 * The spectral analysis of one 128 x 128 window: the log-log line fit of its
 * radial power profile, the profile, and on request the power spectrum and the
 * chart information. Instances are immutable: every accessor that returns an
 * array returns a copy.
 */
public final class SpectrumResult {
  private final double slope;
  private final double intercept;
  private final int points;
  private final double[] profile;
  private final double[][] powerSpectrum;
  private final ChartInfo chart;

  SpectrumResult(double slope, double intercept, int points, double[] profile,
      double[][] powerSpectrum, ChartInfo chart) {
    this.slope = slope;
    this.intercept = intercept;
    this.points = points;
    this.profile = profile.clone();
    this.powerSpectrum = powerSpectrum == null ? null : deepCopy(powerSpectrum);
    this.chart = chart;
  }

  /**
   * The slope of the least-squares line through the log-log points, abscissa
   * ln(1 + 1.546875 k), ordinate ln(profile[k]).
   *
   * @return the slope, 0.0 when fewer than two points could be fitted
   */
  public double slope() {
    return slope;
  }

  /**
   * The intercept of that line, in natural-log units of power.
   *
   * @return the intercept, 0.0 when fewer than two points could be fitted
   */
  public double intercept() {
    return intercept;
  }

  /**
   * The number of profile values that entered the fit: those strictly positive.
   *
   * @return 0 to 65
   */
  public int points() {
    return points;
  }

  /**
   * The radial profile: value k is the mean power of the spectrum elements
   * whose distance from the centre rounds to k.
   *
   * @return a new array of 65 values
   */
  public double[] profile() {
    return profile.clone();
  }

  /**
   * The centred power spectrum (|F| / 16384)^2, zero frequency at row 64,
   * column 64, when the analyser was built with
   * {@link SpectrumAnalyzer.Builder#powerSpectrum(boolean)}.
   *
   * @return a new 128 x 128 array, or empty
   */
  public Optional<double[][]> powerSpectrum() {
    return powerSpectrum == null ? Optional.empty() : Optional.of(deepCopy(powerSpectrum));
  }

  /**
   * The chart information of the profile, when the analyser was built with
   * {@link SpectrumAnalyzer.Builder#chart(boolean)}.
   *
   * @return the chart information, or empty
   */
  public Optional<ChartInfo> chart() {
    return Optional.ofNullable(chart);
  }

  private static double[][] deepCopy(double[][] a) {
    double[][] c = new double[a.length][];
    for (int i = 0; i < a.length; i++) {
      c[i] = a[i].clone();
    }
    return c;
  }

  /** Equal when every number is equal, as {@link Double#equals} compares them. */
  @Override
  public boolean equals(Object o) {
    return o instanceof SpectrumResult r
        && Double.doubleToLongBits(slope) == Double.doubleToLongBits(r.slope)
        && Double.doubleToLongBits(intercept) == Double.doubleToLongBits(r.intercept)
        && points == r.points && Arrays.equals(profile, r.profile)
        && Arrays.deepEquals(powerSpectrum, r.powerSpectrum)
        && Objects.equals(chart, r.chart);
  }

  @Override
  public int hashCode() {
    return Objects.hash(slope, intercept, points, Arrays.hashCode(profile),
        Arrays.deepHashCode(powerSpectrum), chart);
  }

  @Override
  public String toString() {
    return "SpectrumResult[slope=" + slope + ", intercept=" + intercept + ", points=" + points
        + "]";
  }
}
