package org.varnoth.cli;

import java.awt.BasicStroke;
import java.awt.Color;
import java.awt.Graphics2D;
import java.awt.geom.Ellipse2D;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import org.knowm.xchart.AnnotationTextPanel;
import org.knowm.xchart.XYChart;
import org.knowm.xchart.XYSeries;
import org.knowm.xchart.style.Styler;
import org.knowm.xchart.style.XYStyler;
import org.knowm.xchart.style.markers.Marker;
import org.knowm.xchart.style.markers.SeriesMarkers;
import org.varnoth.FitRange;
import org.varnoth.LineFit;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;

/**
 * The log-log chart of a radial profile: on the fit's axis for a window of
 * side N (ln(1 + (99 / (N/2)) k) from 0 to ln 100 on the natives' axis,
 * ln f = ln(k / N) from ln(1/N) to 0 on the frequency axis) against ln power
 * over the points' span and one unit beyond, every point of a strictly
 * positive, finite ring (filled inside the fit range, hollow outside it), the
 * fit range shaded, the fitted line over it, and a legend with the slope, its
 * standard error and 95 % interval, R^2, the intercept and the points.
 */
final class LogLogChart {
  static final int WIDTH = 720;
  static final int HEIGHT = 720;
  /** The chart's left of the plot: padding, the ordinate's title and labels. */
  private static final int MARGIN = 70;
  private static final double LN_65536 = 16 * Math.log(2);
  /** Translucent, so that the grid shows through. */
  private static final Color SHADE = new Color(255, 200, 60, 80);
  private static final Color SHADE_EDGE = new Color(235, 190, 80);

  private LogLogChart() {}

  /** The region drawn, in log units. */
  private record Frame(double x0, double x1, double y0, double y1) {}

  /** The chart of a result, titled with its file's name. */
  static XYChart of(SpectrumResult result, String name) {
    SpectrumAnalyzer.Axis axis = result.axis();
    int side = result.side();
    Frame f = frame(axis, result.profile(), side);
    XYChart chart = new XYChart(WIDTH, HEIGHT);
    chart.setTitle(ChartStyle.title(name, "", WIDTH - 2 * MARGIN));
    chart.setXAxisTitle(abscissa(axis, side));
    chart.setYAxisTitle("ln power");
    style(chart.getStyler(), f);
    if (result.fitted()) {
      addFitRange(chart, result, f);
    }
    addPoints(chart, result);
    if (result.fitted()) {
      addLine(chart, result);
    } else {
      // Near the plot's top left corner.
      chart.addAnnotation(new AnnotationTextPanel(
          "not fitted: " + result.notFittedReason().orElse(""), f.x0(),
          f.y1() - 0.08 * (f.y1() - f.y0()), false));
    }
    return chart;
  }

  // The abscissa range of the axis; the ordinate from the lowest to the
  // highest point, one unit beyond each, in whole even units.
  private static Frame frame(SpectrumAnalyzer.Axis axis, double[] profile, int side) {
    double lo = Double.POSITIVE_INFINITY;
    double hi = Double.NEGATIVE_INFINITY;
    for (double p : profile) {
      if (drawable(p)) {
        lo = Math.min(lo, Math.log(p));
        hi = Math.max(hi, Math.log(p));
      }
    }
    double y0 = lo > hi ? -LN_65536 : 2 * Math.floor((lo - 1) / 2);
    double y1 = lo > hi ? LN_65536 : 2 * Math.ceil((hi + 1) / 2);
    return axis == SpectrumAnalyzer.Axis.FREQUENCY
        ? new Frame(Math.log(1.0 / side), 0.0, y0, y1)
        : new Frame(0.0, Math.log(100.0), y0, y1);
  }

  private static boolean drawable(double p) {
    return p > 0 && p < Double.POSITIVE_INFINITY;
  }

  private static String abscissa(SpectrumAnalyzer.Axis axis, int side) {
    return axis == SpectrumAnalyzer.Axis.FREQUENCY
        ? "ln f,  f = k / " + side + " in cycles per pixel,  ring k = 1 .. " + side / 2
        : "ln(1 + (99 / " + side / 2 + ") k),  ring k = 0 .. " + side / 2;
  }

  private static void style(XYStyler s, Frame f) {
    ChartStyle.apply(s);
    s.setLegendPosition(Styler.LegendPosition.OutsideS);
    s.setLegendLayout(Styler.LegendLayout.Vertical);
    s.setXAxisMin(f.x0());
    s.setXAxisMax(f.x1());
    s.setYAxisMin(f.y0());
    s.setYAxisMax(f.y1());
    s.setXAxisDecimalPattern("0.0");
    s.setYAxisDecimalPattern("0");
  }

  // The fit range shaded over the whole height: a polygon from below the
  // plot to above it, which the plot clips.
  private static void addFitRange(XYChart chart, SpectrumResult result, Frame f) {
    double[] x = lineAbscissae(result);
    double below = f.y0() - (f.y1() - f.y0());
    double above = f.y1() + (f.y1() - f.y0());
    XYSeries s = chart.addSeries("fit range: rings " + result.fitRange().kmin() + " .. "
        + result.fitRange().kmax(), new double[] {x[0], x[0], x[1], x[1]},
        new double[] {below, above, above, below});
    s.setXYSeriesRenderStyle(XYSeries.XYSeriesRenderStyle.PolygonArea);
    s.setFillColor(SHADE);
    s.setLineColor(SHADE_EDGE);
    s.setMarker(SeriesMarkers.NONE);
  }

  // Every drawable ring's point, those in the fit range filled, the others hollow.
  private static void addPoints(XYChart chart, SpectrumResult result) {
    SpectrumAnalyzer.Axis axis = result.axis();
    double[] profile = result.profile();
    FitRange range = result.fitRange();
    List<double[]> inside = new ArrayList<>();
    List<double[]> outside = new ArrayList<>();
    for (int k = 0; k < profile.length; k++) {
      if (!drawable(profile[k]) || axis == SpectrumAnalyzer.Axis.FREQUENCY && k == 0) {
        continue;
      }
      double[] point = {axis.abscissa(k, result.side()), Math.log(profile[k])};
      (range.contains(k) ? inside : outside).add(point);
    }
    // Smaller dots where a large window's many rings would merge.
    chart.getStyler().setMarkerSize(profile.length > 129 ? 4 : 7);
    addScatter(chart, "rings in the fit range", inside, SeriesMarkers.CIRCLE);
    addScatter(chart, "rings outside it", outside, new Hollow());
  }

  private static void addScatter(XYChart chart, String name, List<double[]> points,
      Marker marker) {
    if (points.isEmpty()) {
      return;
    }
    double[] x = points.stream().mapToDouble(p -> p[0]).toArray();
    double[] y = points.stream().mapToDouble(p -> p[1]).toArray();
    XYSeries s = chart.addSeries(name, x, y);
    s.setXYSeriesRenderStyle(XYSeries.XYSeriesRenderStyle.Scatter);
    s.setMarker(marker);
    s.setMarkerColor(ChartStyle.BLUE);
  }

  // The fitted line over the fit range's abscissae.
  private static void addLine(XYChart chart, SpectrumResult result) {
    LineFit fit = result.fit();
    double[] x = lineAbscissae(result);
    double[] y = {fit.intercept() + fit.slope() * x[0], fit.intercept() + fit.slope() * x[1]};
    XYSeries s = chart.addSeries(legend(result), x, y);
    s.setXYSeriesRenderStyle(XYSeries.XYSeriesRenderStyle.Line);
    s.setMarker(SeriesMarkers.NONE);
    s.setLineColor(ChartStyle.RED);
    s.setLineStyle(new BasicStroke(2.5f));
  }

  // From the fit range's first ring (ring 1 on the frequency axis, which has
  // no ring 0) to its last.
  private static double[] lineAbscissae(SpectrumResult result) {
    SpectrumAnalyzer.Axis axis = result.axis();
    FitRange range = result.fitRange();
    int first = Math.max(range.kmin(), axis == SpectrumAnalyzer.Axis.FREQUENCY ? 1 : 0);
    return new double[] {axis.abscissa(first, result.side()),
        axis.abscissa(range.kmax(), result.side())};
  }

  private static String legend(SpectrumResult result) {
    LineFit fit = result.fit();
    double[] ci = fit.slopeCi95();
    String text = "fitted line: " + ChartStyle.slope(fit);
    if (Double.isFinite(ci[0])) {
      text += String.format(Locale.ROOT, ",  95 %% interval %.4f to %.4f", ci[0], ci[1]);
    }
    text += String.format(Locale.ROOT, "\nR\u00b2 %.4f,  intercept %.4f,  %d points",
        fit.r2(), fit.intercept(), fit.points());
    if (result.taper() == SpectrumAnalyzer.Taper.HANN) {
      text += ",  Hann taper";
    }
    return text;
  }

  /** A circle drawn in the series' colour and filled white. */
  private static final class Hollow extends Marker {
    @Override
    public void paint(Graphics2D g, double x, double y, int size) {
      Color colour = g.getColor();
      Ellipse2D dot = new Ellipse2D.Double(x - size / 2.0, y - size / 2.0, size, size);
      g.setColor(Color.WHITE);
      g.fill(dot);
      g.setColor(colour);
      g.setStroke(new BasicStroke(1.5f));
      g.draw(dot);
    }
  }
}
