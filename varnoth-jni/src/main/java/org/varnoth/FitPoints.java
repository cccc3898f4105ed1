package org.varnoth;

/**
 * The log-log points of a radial profile over a band of rings, in ring
 * order: point i is (x[i], y[i]) with weight w[i], i &lt; n. For the ordinary
 * fit y is ln profile[k] and every weight is 1 ({@link #weighted()} false);
 * for the weighted fit y and w are {@link WeightedFit}'s.
 *
 * @param x the abscissae on the fit's axis
 * @param y the ordinates
 * @param w the weights
 * @param n the number of points
 * @param weighted whether the weights are the inverse variances of the
 *     ordinates (true) or all 1 (false)
 */
record FitPoints(double[] x, double[] y, double[] w, int n, boolean weighted) {
  /**
   * The weighted means of the abscissae and ordinates, and the sum of the
   * weights.
   *
   * @param sumW sum w, added in point order from 0.0
   * @param x sum w x / sum w, its sum added in point order
   * @param y sum w y / sum w, its sum added in point order
   */
  record Means(double sumW, double x, double y) {}

  /** The weighted means of the n points. */
  Means means() {
    double sw = 0.0;
    double swx = 0.0;
    double swy = 0.0;
    for (int i = 0; i < n; i++) {
      sw += w[i];
      swx += w[i] * x[i];
      swy += w[i] * y[i];
    }
    return new Means(sw, swx / sw, swy / sw);
  }

  /**
   * The unweighted points of the rings of a range: those that are points on
   * the axis ({@link LineFit#isPoint}), ordinate ln profile[k].
   */
  static FitPoints of(double[] profile, FitRange range, SpectrumAnalyzer.Axis axis) {
    int side = SpectrumAnalyzer.sideOfProfile(profile);
    int size = range.kmax() - range.kmin() + 1;
    double[] x = new double[size];
    double[] y = new double[size];
    double[] w = new double[size];
    int n = 0;
    for (int k = range.kmin(); k <= range.kmax(); k++) {
      if (LineFit.isPoint(axis, k, profile[k])) {
        x[n] = axis.abscissa(k, side);
        y[n] = Math.log(profile[k]);
        w[n] = 1.0;
        n++;
      }
    }
    return new FitPoints(x, y, w, n, false);
  }
}
