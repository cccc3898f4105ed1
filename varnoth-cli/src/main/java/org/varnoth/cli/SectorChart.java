package org.varnoth.cli;

import java.awt.BasicStroke;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import org.knowm.xchart.XYChart;
import org.knowm.xchart.XYSeries;
import org.knowm.xchart.style.Styler;
import org.knowm.xchart.style.XYStyler;
import org.knowm.xchart.style.markers.SeriesMarkers;
import org.varnoth.LineFit;
import org.varnoth.SectorResult;
import org.varnoth.SpectrumResult;

/**
 * The direction sectors' slopes of one image against the sectors' centre
 * angles, 0 to 180 degrees, each with its standard error as an error bar:
 * 0 degrees is the horizontal frequency (variation along a row), 90 the
 * vertical one, and 180 the same direction as 0 (power is point-symmetric),
 * so the first sector is drawn at both ends. A flat line is an isotropic
 * spectrum; a dip marks the directions whose power falls fastest. The slope
 * of all directions together is the dashed line, and the title gives the
 * anisotropy (largest minus smallest sector slope).
 */
final class SectorChart {
  static final int WIDTH = 720;
  static final int HEIGHT = 560;
  /** The chart's left of the plot: padding, the ordinate's title and labels. */
  private static final int MARGIN = 80;

  private SectorChart() {}

  /** The chart of a result with sectors, titled with its file's name. */
  static XYChart of(SpectrumResult result, String name) {
    List<SectorResult> sectors = result.sectors();
    XYChart chart = new XYChart(WIDTH, HEIGHT);
    chart.setTitle(ChartStyle.title(name, ": " + counts(sectors) + String.format(Locale.ROOT,
        ", anisotropy %.3f", result.anisotropy()), WIDTH - 2 * MARGIN));
    chart.setXAxisTitle("sector centre, degrees:  0 = 180 the horizontal frequency (along a "
        + "row),  90 the vertical");
    chart.setYAxisTitle("slope");
    style(chart.getStyler(), sectors.size());
    addSectors(chart, sectors);
    if (result.fitted()) {
      addAllDirections(chart, result.fit());
    }
    return chart;
  }

  // "12 sectors", or "12 sectors, 2 not fitted": those are gaps in the line.
  private static String counts(List<SectorResult> sectors) {
    long unfitted = sectors.stream().filter(s -> !s.fit().fitted()).count();
    return sectors.size() + " sectors" + (unfitted == 0 ? "" : ", " + unfitted + " not fitted");
  }

  private static void style(XYStyler s, int sectors) {
    ChartStyle.apply(s);
    s.setLegendPosition(Styler.LegendPosition.OutsideS);
    s.setLegendLayout(Styler.LegendLayout.Vertical);
    s.setXAxisMin(0.0);
    s.setXAxisMax(180.0);
    // Beyond 12 sectors the ticks come closer than 15 degrees, whose labels
    // would run together: only every 30 degrees is labelled.
    s.setxAxisTickLabelsFormattingFunction(sectors <= 12 ? SectorChart::degrees
        : x -> Math.rint(x) % 30 == 0 ? degrees(x) : " ");
    s.setYAxisDecimalPattern("0.00");
    s.setMarkerSize(sectors > 18 ? 6 : 8);
    s.setErrorBarsColorSeriesColor(true);
  }

  // 15°, or 25.7° for a centre between whole degrees.
  private static String degrees(double angle) {
    return String.format(Locale.ROOT, angle == Math.rint(angle) ? "%.0f\u00b0" : "%.1f\u00b0",
        angle);
  }

  // The fitted sectors' slopes and standard errors, the first again at 180 degrees.
  private static void addSectors(XYChart chart, List<SectorResult> sectors) {
    List<Double> angle = new ArrayList<>();
    List<Double> slope = new ArrayList<>();
    List<Double> error = new ArrayList<>();
    for (int i = 0; i <= sectors.size(); i++) {
      SectorResult s = sectors.get(i % sectors.size());
      if (s.fit().fitted()) {
        angle.add(i == sectors.size() ? 180.0 : s.angle());
        slope.add(s.fit().slope());
        error.add(Double.isFinite(s.fit().slopeStdErr()) ? s.fit().slopeStdErr() : 0.0);
      }
    }
    if (angle.isEmpty()) {
      return;
    }
    XYSeries series = chart.addSeries("sector slope \u00b1 standard error", angle, slope, error);
    series.setXYSeriesRenderStyle(XYSeries.XYSeriesRenderStyle.Line);
    series.setMarker(SeriesMarkers.CIRCLE);
    series.setMarkerColor(ChartStyle.BLUE);
    series.setLineColor(ChartStyle.BLUE);
    series.setLineStyle(new BasicStroke(1.5f));
  }

  private static void addAllDirections(XYChart chart, LineFit fit) {
    XYSeries series = chart.addSeries("all directions: " + ChartStyle.slope(fit),
        new double[] {0, 180}, new double[] {fit.slope(), fit.slope()});
    series.setXYSeriesRenderStyle(XYSeries.XYSeriesRenderStyle.Line);
    series.setMarker(SeriesMarkers.NONE);
    series.setLineColor(ChartStyle.RED);
    series.setLineStyle(new BasicStroke(2f, BasicStroke.CAP_BUTT, BasicStroke.JOIN_MITER, 10f,
        new float[] {8f, 6f}, 0f));
  }
}
