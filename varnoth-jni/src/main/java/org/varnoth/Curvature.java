package org.varnoth;

/**
 * Whether the log-log spectrum bends over the fit range: the coefficient c of
 * the quadratic y = a + b x + c x^2 fitted through the line's own points (the
 * same rings, axis, ordinates and weights), its standard error, and a verdict
 * at the {@linkplain #SIGNIFICANCE 5 % level}.
 *
 * <p>The local slope of the quadratic is b + 2 c x, so across the fit range
 * the slope changes by 2 c (x_last - x_first); on the frequency axis by 2 c
 * per factor e of frequency. A power law has c = 0.
 *
 * <p>The fit. With weights w (all 1 for the ordinary fit), weighted means
 * taken as sums of w times a value divided by sum w, u = x - mean(x),
 * m2 = mean(u^2), m3 = mean(u^3) and p = u^2 - m2 - (m3 / m2) u, the
 * polynomials 1, u and p are orthogonal under the weights and p is x^2 plus
 * lower terms, so
 * <pre>
 *   c = sum w p y / Spp,   Spp = sum w p^2,
 *   r = y - mean(y) - (sum w u y / sum w u^2) u - c p   (the residuals),
 *   stdErr = sqrt(s2 / Spp),
 * </pre>
 * with s2 = sum r^2 / (n - 3) for the ordinary fit, and
 * max(1, sum w r^2 / (n - 3)) for the weighted fit, whose weights are the
 * inverse variances of the ordinates ({@link WeightedFit}). The spectrum is a
 * power law ({@link Verdict#POWER_LAW}) when |c| is at most t stdErr, t the
 * 0.975 quantile of Student's t with n - 3 degrees of freedom; otherwise it
 * is {@link Verdict#CURVED}. Below four points, or when the numbers are not
 * finite, there is no test ({@link Verdict#NOT_TESTED}) and c and its
 * standard error are NaN.
 *
 * @param coefficient the coefficient c of x^2, NaN when not tested
 * @param stdErr the standard error of c, NaN when not tested
 * @param points the number n of points
 */
public record Curvature(double coefficient, double stdErr, int points) {
  /** The level of the test: a pure power law is called curved in about this share of windows. */
  public static final double SIGNIFICANCE = 0.05;

  /** What the test says of the spectrum over the fit range. */
  public enum Verdict {
    /** The curvature is within the test's bound: a straight line describes the points. */
    POWER_LAW,
    /** The curvature is significant at the 5 % level. */
    CURVED,
    /** Fewer than four points, or numbers that are not finite. */
    NOT_TESTED
  }

  /**
   * The verdict of the test.
   *
   * @return {@link Verdict#CURVED} when |coefficient| exceeds t stdErr
   */
  public Verdict verdict() {
    if (points < 4 || !Double.isFinite(coefficient) || !Double.isFinite(stdErr)) {
      return Verdict.NOT_TESTED;
    }
    return Math.abs(coefficient) > LineFit.t975(points - 3) * stdErr ? Verdict.CURVED
        : Verdict.POWER_LAW;
  }

  /** The quadratic through the points, as the class describes it. */
  static Curvature of(FitPoints points) {
    int n = points.n();
    if (n < 4) {
      return new Curvature(Double.NaN, Double.NaN, n);
    }
    double[] x = points.x();
    double[] y = points.y();
    double[] w = points.w();
    FitPoints.Means means = points.means();
    double sw = means.sumW();
    double xbar = means.x();
    double ybar = means.y();
    double su2 = 0.0;
    double su3 = 0.0;
    double suy = 0.0;
    for (int i = 0; i < n; i++) {
      double u = x[i] - xbar;
      su2 += w[i] * u * u;
      su3 += w[i] * u * u * u;
      suy += w[i] * u * y[i];
    }
    double m2 = su2 / sw;
    double m3 = su3 / sw;
    double b = suy / su2;
    double spp = 0.0;
    double spy = 0.0;
    double[] p = new double[n];
    for (int i = 0; i < n; i++) {
      double u = x[i] - xbar;
      p[i] = u * u - m2 - (m3 / m2) * u;
      spp += w[i] * p[i] * p[i];
      spy += w[i] * p[i] * y[i];
    }
    double c = spy / spp;
    double chi2 = 0.0;
    for (int i = 0; i < n; i++) {
      double r = y[i] - ybar - b * (x[i] - xbar) - c * p[i];
      chi2 += w[i] * r * r;
    }
    double s2 = chi2 / (n - 3);
    if (points.weighted()) {
      s2 = Math.max(1.0, s2);
    }
    return new Curvature(c, Math.sqrt(s2 / spp), n);
  }
}
