package org.varnoth;

/**
 * The weighted least-squares line of a radial profile ({@link SpectrumAnalyzer.Fit#WLS}).
 *
 * <p>The model. For a field whose spectrum is smooth across a ring, the
 * power of each element of ring k is, to a good approximation, an
 * exponential variable of mean P_k, and the m_k elements of the ring come in
 * m_k / 2 independent pairs (the power of a real image is point-symmetric).
 * Their mean is then a Gamma variable of shape q_k = m_k / 2 and mean P_k, and
 * the logarithm of a Gamma variable of shape q has
 * <pre>
 *   E[ln mean] = ln P_k + psi(q) - ln q,    Var[ln mean] = psi'(q),
 * </pre>
 * psi being the digamma function: about -1 / (2 q) and 1 / q for large q, so
 * ring 2 (m = 12) is ten times as uncertain as ring 30 (m = 188). The fit
 * corrects each ordinate for its bias, y_k = ln profile[k] - (psi(q_k) -
 * ln q_k), weights it by w_k = 1 / psi'(q_k), and minimises
 * sum w_k (y_k - a - b x_k)^2:
 * <pre>
 *   xbar = sum w x / sum w,  ybar = sum w y / sum w,
 *   Sxx = sum w (x - xbar)^2,  b = sum w (x - xbar)(y - ybar) / Sxx,
 *   a = ybar - b xbar,  chi2 = sum w (y - a - b x)^2.
 * </pre>
 * The standard error of b is sqrt(max(1, chi2 / (n - 2)) / Sxx): the error
 * the model predicts, widened by the scatter about the line when the points
 * scatter more than the model says (a spectrum that is not a power law, a
 * taper that correlates neighbouring rings); R^2 = 1 - chi2 / sum w (y -
 * ybar)^2. The counts m_k are those of the whole ring, or of the ring within
 * a direction sector for a sector's fit.
 *
 * <p>The Hann taper spreads each frequency over its neighbours within two
 * steps along each axis, so the powers of nearby elements are correlated,
 * within a ring and across neighbouring rings ({@link HannRings}). A line is
 * a smooth combination of many rings, so its variance counts every
 * neighbour: along each axis the taper h divides the number of independent
 * values by N sum h^4 / (sum h^2)^2 = 35/18, and the weights take
 * q_k = m_k / 2 / (35/18)^2. The bias of one ring's log mean depends only on
 * the correlations within that ring, which hold about half of them: the
 * correction takes q_k = m_k / (2 G_k), G_k the ring's own factor, near
 * 35/18. (Correcting with the smaller q of the weights over-corrects the
 * small rings and reads every exponent about 0.01 too steep.) For a sector's
 * fit the factors are those of whole rings.
 */
final class WeightedFit {
  /** The share of a ring's independent values that the Hann taper leaves: (18/35)^2. */
  static final double HANN_SHARE = (18.0 / 35.0) * (18.0 / 35.0);

  private WeightedFit() {}

  /**
   * The weighted line through the points of a range.
   *
   * @param profile N / 2 + 1 ring means
   * @param counts the number of spectrum elements behind each ring mean
   * @param range the rings
   * @param axis the abscissa
   * @param taper the window's taper
   * @return the fit; slope and intercept 0.0 and NaN uncertainty below two points
   */
  static LineFit of(double[] profile, int[] counts, FitRange range, SpectrumAnalyzer.Axis axis,
      SpectrumAnalyzer.Taper taper) {
    return of(points(profile, counts, range, axis, taper));
  }

  /**
   * The bias-corrected, weighted points of the rings of a range: those that
   * are points on the axis ({@link LineFit#isPoint}) and have elements.
   */
  static FitPoints points(double[] profile, int[] counts, FitRange range,
      SpectrumAnalyzer.Axis axis, SpectrumAnalyzer.Taper taper) {
    boolean hann = taper == SpectrumAnalyzer.Taper.HANN;
    int side = SpectrumAnalyzer.sideOfProfile(profile);
    double[] ringFactors = hann ? HannRings.factors(side) : null;
    int size = range.kmax() - range.kmin() + 1;
    double[] x = new double[size];
    double[] y = new double[size];
    double[] w = new double[size];
    int n = 0;
    for (int k = range.kmin(); k <= range.kmax(); k++) {
      if (LineFit.isPoint(axis, k, profile[k]) && counts[k] > 0) {
        double qBias = hann ? counts[k] / 2.0 / ringFactors[k] : counts[k] / 2.0;
        double qWeight = hann ? counts[k] / 2.0 * HANN_SHARE : counts[k] / 2.0;
        x[n] = axis.abscissa(k, side);
        y[n] = Math.log(profile[k]) - (digamma(qBias) - Math.log(qBias));
        w[n] = 1.0 / trigamma(qWeight);
        n++;
      }
    }
    return new FitPoints(x, y, w, n, true);
  }

  /** The weighted line through weighted points. */
  static LineFit of(FitPoints points) {
    double[] x = points.x();
    double[] y = points.y();
    double[] w = points.w();
    int n = points.n();
    if (n < 2) {
      return new LineFit(0.0, 0.0, n, Double.NaN, Double.NaN);
    }
    FitPoints.Means means = points.means();
    double xbar = means.x();
    double ybar = means.y();
    double sxx = 0.0;
    double sxy = 0.0;
    double syy = 0.0;
    for (int i = 0; i < n; i++) {
      double dx = x[i] - xbar;
      double dy = y[i] - ybar;
      sxx += w[i] * dx * dx;
      sxy += w[i] * dx * dy;
      syy += w[i] * dy * dy;
    }
    double slope = sxy / sxx;
    double intercept = ybar - slope * xbar;
    double chi2 = 0.0;
    for (int i = 0; i < n; i++) {
      double e = y[i] - (intercept + slope * x[i]);
      chi2 += w[i] * e * e;
    }
    double stderr = n > 2 ? Math.sqrt(Math.max(1.0, chi2 / (n - 2)) / sxx) : Double.NaN;
    double r2 = n > 2 && syy != 0.0 ? 1.0 - chi2 / syy : Double.NaN;
    return new LineFit(slope, intercept, n, stderr, r2);
  }

  /** psi(x), x &gt; 0: the recurrence psi(x) = psi(x + 1) - 1 / x up to 6, then the asymptotic series. */
  static double digamma(double x) {
    double shift = 0.0;
    while (x < 6.0) {
      shift -= 1.0 / x;
      x += 1.0;
    }
    double r = 1.0 / (x * x);
    return shift + Math.log(x) - 0.5 / x
        - r * (1.0 / 12 - r * (1.0 / 120 - r * (1.0 / 252 - r * (1.0 / 240 - r / 132))));
  }

  /** psi'(x), x &gt; 0: psi'(x) = psi'(x + 1) + 1 / x^2 up to 6, then the asymptotic series. */
  static double trigamma(double x) {
    double shift = 0.0;
    while (x < 6.0) {
      shift += 1.0 / (x * x);
      x += 1.0;
    }
    double r = 1.0 / (x * x);
    return shift + 1.0 / x + r / 2
        + r / x * (1.0 / 6 - r * (1.0 / 30 - r * (1.0 / 42 - r / 30)));
  }
}
