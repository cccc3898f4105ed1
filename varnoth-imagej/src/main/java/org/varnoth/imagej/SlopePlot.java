package org.varnoth.imagej;

import ij.gui.Plot;
import java.awt.Color;
import java.util.Arrays;
import java.util.Locale;
import java.util.function.IntPredicate;
import org.varnoth.FitRange;
import org.varnoth.LineFit;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;

/**
 * The log-log chart of an analysis as an ImageJ {@link Plot}, which the user
 * restyles, lists and saves with ImageJ's own plot menu: ln power against the
 * abscissa of the fit's axis, every ring that is a point on that axis (filled
 * inside the fit range, hollow outside it), the fitted line over the range,
 * and the slope with its standard error in the legend. The points are the
 * logarithms of the ring means; a weighted fit's line goes through its
 * bias-corrected ordinates, which lie a little off them at the rings of few
 * elements.
 */
final class SlopePlot {
  private static final Color POINTS = new Color(0x1f, 0x77, 0xb4);
  private static final Color LINE = new Color(0xd6, 0x27, 0x28);

  private SlopePlot() {}

  /**
   * The chart of an analysis.
   *
   * @param title the plot's title
   * @param r the analysis
   * @return the plot, not shown
   */
  static Plot of(String title, SpectrumResult r) {
    SpectrumAnalyzer.Axis axis = r.axis();
    Plot plot = new Plot(title, xLabel(axis, r.side()), "ln power");
    double[] profile = r.profile();
    FitRange range = r.fitRange();
    addRings(plot, profile, axis, range::contains, POINTS, "rings " + range + " (fitted)");
    addRings(plot, profile, axis, k -> !range.contains(k), null, "rings outside the fit");
    LineFit fit = r.fit();
    if (fit.fitted()) {
      double x0 = axis.abscissa(firstPoint(profile, axis, range), r.side());
      double x1 = axis.abscissa(lastPoint(profile, axis, range), r.side());
      plot.setColor(LINE);
      plot.setLineWidth(2);
      plot.addPoints(new double[] {x0, x1},
          new double[] {fit.intercept() + fit.slope() * x0, fit.intercept() + fit.slope() * x1},
          Plot.LINE);
      plot.setLabel(-1, String.format(Locale.ROOT, "slope %.4f \u00b1 %.4f (%s)", fit.slope(),
          fit.slopeStdErr(), r.estimator().name().toLowerCase(Locale.ROOT)));
    }
    plot.setColor(Color.BLACK);
    plot.setLineWidth(1);
    plot.addLegend(null, "top-right");
    return plot;
  }

  private static String xLabel(SpectrumAnalyzer.Axis axis, int side) {
    return axis == SpectrumAnalyzer.Axis.FREQUENCY ? "ln f (cycles per pixel)"
        : String.format(Locale.ROOT, "ln(1 + %s k), k the ring", trimmed(99.0 / (side / 2)));
  }

  private static String trimmed(double v) {
    String s = Double.toString(v);
    return s.endsWith(".0") ? s.substring(0, s.length() - 2) : s;
  }

  // The rings of a set that are plottable points, if any: filled when fill
  // is a colour, hollow when it is null.
  private static void addRings(Plot plot, double[] profile, SpectrumAnalyzer.Axis axis,
      IntPredicate rings, Color fill, String label) {
    int side = 2 * (profile.length - 1);
    double[] x = new double[profile.length];
    double[] y = new double[profile.length];
    int n = 0;
    for (int k = 0; k < profile.length; k++) {
      if (rings.test(k) && plottable(axis, k, profile[k])) {
        x[n] = axis.abscissa(k, side);
        y[n] = Math.log(profile[k]);
        n++;
      }
    }
    if (n == 0) {
      return;
    }
    plot.setColor(POINTS, fill);
    plot.addPoints(Arrays.copyOf(x, n), Arrays.copyOf(y, n), Plot.CIRCLE);
    plot.setLabel(-1, label);
  }

  private static boolean plottable(SpectrumAnalyzer.Axis axis, int k, double p) {
    return LineFit.isPoint(axis, k, p) && Double.isFinite(p);
  }

  private static int firstPoint(double[] profile, SpectrumAnalyzer.Axis axis, FitRange range) {
    for (int k = range.kmin(); k < range.kmax(); k++) {
      if (plottable(axis, k, profile[k])) {
        return k;
      }
    }
    return range.kmax();
  }

  private static int lastPoint(double[] profile, SpectrumAnalyzer.Axis axis, FitRange range) {
    for (int k = range.kmax(); k > range.kmin(); k--) {
      if (plottable(axis, k, profile[k])) {
        return k;
      }
    }
    return range.kmin();
  }
}
