package org.varnoth;

import java.util.Arrays;

/**
 * What a 256-unit chart of a radial profile on log-log axes needs, as the
 * native {@code f_PlotSpectra_GetChartInfo} gives it for a 128 x 128
 * window's 65 values, and the same routine gives it for the N / 2 + 1 values
 * of a window of side N (ring k at abscissa ln(1 + (99 / (N / 2)) k), so
 * rings 0 to N / 2 span 1 to 100). Chart coordinates run
 * from 0 to 255 on both axes: the abscissa range [0, ln 100] onto x 0 to 255,
 * the ordinate range [-ln 65536, ln 65536] onto y 255 to 0, so the ordinate is
 * inverted (larger log power nearer to 0). Instances are immutable: every
 * accessor returns a copy.
 */
public final class ChartInfo {
  private final double[] plotRange;
  private final double[] plotScale;
  private final double[] regression;
  private final double[] x;
  private final double[] y;

  /**
   * The chart information of a profile, from one call of the native.
   *
   * @param profile N / 2 + 1 values, N a window side
   * @return the chart information
   */
  static ChartInfo of(double[] profile) {
    double[] range = new double[4];
    double[] scale = new double[2];
    double[] line = new double[2];
    double[] x = new double[profile.length];
    double[] y = new double[profile.length];
    NativeLibrary.loadSpectra();
    int n = SpectraNatives.chart(profile, range, scale, line, x, y);
    return new ChartInfo(range, scale, line, Arrays.copyOf(x, n), Arrays.copyOf(y, n));
  }

  /** The fitted line {slope, intercept}, without a copy. */
  double slope() {
    return regression[0];
  }

  double intercept() {
    return regression[1];
  }

  ChartInfo(double[] plotRange, double[] plotScale, double[] regression, double[] x, double[] y) {
    this.plotRange = plotRange.clone();
    this.plotScale = plotScale.clone();
    this.regression = regression.clone();
    this.x = x.clone();
    this.y = y.clone();
  }

  /**
   * The axis ranges in natural-log units.
   *
   * @return {xmin, xmax, ymin, ymax} = {0, ln 100, -ln 65536, ln 65536}
   */
  public double[] plotRange() {
    return plotRange.clone();
  }

  /**
   * Chart units per log unit.
   *
   * @return {255 / ln 100, 255 / (2 ln 65536)}
   */
  public double[] plotScale() {
    return plotScale.clone();
  }

  /**
   * The fitted line in log units.
   *
   * @return {slope, intercept}
   */
  public double[] regression() {
    return regression.clone();
  }

  /**
   * The number of points.
   *
   * @return the number of fitted points, the length of {@link #x()}
   */
  public int points() {
    return x.length;
  }

  /**
   * The chart abscissae of the points, in ring order.
   *
   * @return one value per point, 0 to 255
   */
  public double[] x() {
    return x.clone();
  }

  /**
   * The chart ordinates of the points, in ring order (inverted axis).
   *
   * @return one value per point
   */
  public double[] y() {
    return y.clone();
  }

  /** Equal when every number is equal, as {@link Double#equals} compares them. */
  @Override
  public boolean equals(Object o) {
    return o instanceof ChartInfo c && Arrays.equals(plotRange, c.plotRange)
        && Arrays.equals(plotScale, c.plotScale) && Arrays.equals(regression, c.regression)
        && Arrays.equals(x, c.x) && Arrays.equals(y, c.y);
  }

  @Override
  public int hashCode() {
    return Arrays.hashCode(new int[] {Arrays.hashCode(plotRange), Arrays.hashCode(plotScale),
        Arrays.hashCode(regression), Arrays.hashCode(x), Arrays.hashCode(y)});
  }

  @Override
  public String toString() {
    return "ChartInfo[points=" + x.length + ", regression=" + Arrays.toString(regression) + "]";
  }
}
