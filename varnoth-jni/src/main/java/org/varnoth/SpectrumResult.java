package org.varnoth;

import java.util.Arrays;
import java.util.List;
import java.util.Objects;
import java.util.Optional;

/**
 * The spectral analysis of one N x N window: the log-log line fit of its
 * radial power profile over the fit range, with its standard error and R^2,
 * the profile, on request the direction sectors' profiles and fits, the power
 * spectrum and the chart information. Instances are immutable: every accessor
 * that returns an array returns a copy.
 */
public final class SpectrumResult {
  private final LineFit fit;
  private final Curvature curvature;
  private final FitRange fitRange;
  private final SpectrumAnalyzer.Axis axis;
  private final SpectrumAnalyzer.Taper taper;
  private final SpectrumAnalyzer.Fit estimator;
  private final double slope;
  private final double intercept;
  private final int points;
  private final double[] profile;
  private final int[] ringCounts;
  private final double[][] powerSpectrum;
  private final ChartInfo chart;
  private final List<SectorResult> sectors;
  private final int[][] sectorCounts;
  private final String notFittedReason;
  private final boolean finiteWindow;

  SpectrumResult(LineFit fit, Curvature curvature, SpectrumAnalyzer.Fit estimator,
      FitRange fitRange, SpectrumAnalyzer.Axis axis, SpectrumAnalyzer.Taper taper,
      double[] profile, int[] ringCounts, double[][] powerSpectrum,
      ChartInfo chart, SectorFits sectorFits, boolean finiteWindow) {
    this.fit = fit;
    this.curvature = curvature;
    this.fitRange = fitRange;
    this.axis = axis;
    this.taper = taper;
    this.estimator = estimator;
    this.slope = fit.slope();
    this.intercept = fit.intercept();
    this.points = fit.points();
    this.profile = profile.clone();
    this.ringCounts = ringCounts.clone();
    this.powerSpectrum = powerSpectrum == null ? null : deepCopy(powerSpectrum);
    this.chart = chart;
    this.sectors = sectorFits.results();
    this.sectorCounts = sectorFits.counts();
    this.finiteWindow = finiteWindow;
    this.notFittedReason = notFittedReason(fit, fitRange, profile, finiteWindow);
  }

  private static String notFittedReason(LineFit fit, FitRange fitRange, double[] profile,
      boolean finiteWindow) {
    String rings = "rings " + fitRange;
    if (!finiteWindow) {
      return "the window holds non-finite pixels (NaN or infinity)";
    }
    if (fit.points() < 2) {
      return "fewer than two points in " + rings;
    }
    for (int k = fitRange.kmin(); k <= fitRange.kmax(); k++) {
      if (profile[k] == Double.POSITIVE_INFINITY) {
        return "an infinite profile value in " + rings;
      }
    }
    if (!fit.fitted()) {
      return "the fitted line is not finite";
    }
    return null;
  }

  /**
   * The slope of the least-squares line through the log-log points of the fit
   * range: abscissa on the analyser's {@linkplain #axis() axis}, ordinate
   * ln(profile[k]).
   *
   * @return the slope, 0.0 when fewer than two points could be fitted
   */
  public double slope() {
    return slope;
  }

  /**
   * Whether the slope is a measurement: the window's pixels were all finite
   * and a finite line was fitted through at least two finite points. Where it is
   * not, the numbers are still those the natives give, and
   * {@link #notFittedReason()} says why they measure nothing.
   *
   * @return whether the fit is a measurement
   */
  public boolean fitted() {
    return notFittedReason == null;
  }

  /** Whether every pixel of the window (of every tile, for a tiles' mean) was finite. */
  boolean finiteWindow() {
    return finiteWindow;
  }

  /**
   * Why the slope is not a measurement, in words: {@code "the window holds
   * non-finite pixels (NaN or infinity)"}, {@code "fewer than two points in
   * rings KMIN:KMAX"}, {@code "an infinite profile value in rings KMIN:KMAX"}
   * (the natives count it as a point) or {@code "the fitted line is not
   * finite"}.
   *
   * @return the reason, empty when {@link #fitted()}
   */
  public Optional<String> notFittedReason() {
    return Optional.ofNullable(notFittedReason);
  }

  /**
   * The whole fit: slope, intercept, points, the slope's standard error and R^2.
   *
   * @return the fit
   */
  public LineFit fit() {
    return fit;
  }

  /**
   * The test of a straight line against a bent one: the quadratic term of a
   * fit through the same points, its standard error and the verdict.
   *
   * @return the curvature
   */
  public Curvature curvature() {
    return curvature;
  }

  /**
   * The standard error of the slope: {@code sqrt(SSR / (n - 2)) / sqrt(Sxx)}
   * for the ordinary fit ({@link LineFit}), the one the weights predict for
   * the weighted fit ({@link SpectrumAnalyzer.Fit#WLS}).
   *
   * @return the standard error, NaN for two points or fewer
   */
  public double slopeStdErr() {
    return fit.slopeStdErr();
  }

  /**
   * The coefficient of determination of the line, {@code 1 - SSR / SST}.
   *
   * @return R^2, NaN for two points or fewer, or when the ordinates are all equal
   */
  public double r2() {
    return fit.r2();
  }

  /**
   * The rings the line was fitted over.
   *
   * @return the rings, both ends included
   */
  public FitRange fitRange() {
    return fitRange;
  }

  /**
   * The abscissa of the fit.
   *
   * @return the axis
   */
  public SpectrumAnalyzer.Axis axis() {
    return axis;
  }

  /**
   * The taper the window was multiplied by before the transform.
   *
   * @return the taper
   */
  public SpectrumAnalyzer.Taper taper() {
    return taper;
  }

  /**
   * The direction sectors, when the analyser was built with
   * {@link SpectrumAnalyzer.Builder#sectors(int)}, in order of angle.
   *
   * @return the sectors (an unmodifiable list), empty without sectors
   */
  public List<SectorResult> sectors() {
    return sectors;
  }

  /**
   * The number of spectrum elements behind each sector's ring means, outer
   * index the sector; not to be modified.
   */
  int[][] sectorCounts() {
    return sectorCounts;
  }

  /** The direction sectors' fits, with the element counts behind their profiles. */
  record SectorFits(List<SectorResult> results, int[][] counts) {
    static final SectorFits NONE = new SectorFits(List.of(), new int[0][]);

    SectorFits {
      results = List.copyOf(results);
    }
  }

  /**
   * The largest sector slope minus the smallest.
   *
   * @return the difference, NaN without sectors
   */
  public double anisotropy() {
    if (sectors.isEmpty()) {
      return Double.NaN;
    }
    double min = Double.POSITIVE_INFINITY;
    double max = Double.NEGATIVE_INFINITY;
    for (SectorResult s : sectors) {
      min = Math.min(min, s.fit().slope());
      max = Math.max(max, s.fit().slope());
    }
    return max - min;
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
   * The number of profile values that entered the fit: those of the fit range
   * that are strictly positive (on the frequency axis also finite, ring 0 not).
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
   * @return a new array of N / 2 + 1 values for a window of side N
   */
  public double[] profile() {
    return profile.clone();
  }

  /**
   * How the line was fitted.
   *
   * @return the analyser's estimator
   */
  public SpectrumAnalyzer.Fit estimator() {
    return estimator;
  }

  /**
   * The number of spectrum elements behind each profile value: the ring's
   * size (1, 8, 12, 16, ... for rings 0, 1, 2, 3, ...), times the number of
   * tiles for the tiles' mean.
   *
   * @return a new array of N / 2 + 1 values
   */
  public int[] ringCounts() {
    return ringCounts.clone();
  }

  /**
   * The slope of the amplitude spectrum |F| rather than the power: half the
   * slope, since ln |F| = ln power / 2. On the frequency axis it is minus the
   * exponent of |F(f)| ~ f^-(alpha / 2), which many papers report.
   *
   * @return {@code slope() / 2}
   */
  public double amplitudeSlope() {
    return slope / 2;
  }

  /**
   * The side N of the analysed window.
   *
   * @return 32 to 4096, a power of two
   */
  public int side() {
    return 2 * (profile.length - 1);
  }

  /**
   * The centred power spectrum (|F| / N^2)^2 of the N x N window, zero
   * frequency at row N / 2, column N / 2, when the analyser was built with
   * {@link SpectrumAnalyzer.Builder#powerSpectrum(boolean)}.
   *
   * @return a new N x N array, or empty
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
        && Arrays.equals(ringCounts, r.ringCounts)
        && Arrays.deepEquals(powerSpectrum, r.powerSpectrum)
        && Objects.equals(chart, r.chart) && fit.equals(r.fit) && curvature.equals(r.curvature)
        && fitRange.equals(r.fitRange) && axis == r.axis && taper == r.taper
        && estimator == r.estimator
        && sectors.equals(r.sectors) && Objects.equals(notFittedReason, r.notFittedReason);
  }

  @Override
  public int hashCode() {
    return Objects.hash(fit, fitRange, axis, taper, Arrays.hashCode(profile),
        Arrays.deepHashCode(powerSpectrum), chart, sectors);
  }

  @Override
  public String toString() {
    return "SpectrumResult[slope=" + slope + ", intercept=" + intercept + ", points=" + points
        + "]";
  }
}
