package org.varnoth.cli;

import java.awt.Color;
import java.io.IOException;
import java.util.ArrayList;
import java.util.DoubleSummaryStatistics;
import java.util.List;
import java.util.Locale;
import java.util.stream.IntStream;
import org.knowm.xchart.HeatMapChart;
import org.knowm.xchart.style.HeatMapStyler;
import org.knowm.xchart.style.Styler;
import org.varnoth.TileResult;

/**
 * The slopes of an image's tiles as a heat map: one cell per tile, in the
 * tiles' grid as they lie in the image (row 0 at the top), coloured from dark
 * blue (the steepest slope) through green to yellow (the flattest) in eight
 * equal bands of slope, with a key of each band's colour and range; a tile
 * whose slope is not a measurement is left blank. The chart is 800 pixels
 * wide, or narrower for a tall grid, and as high as square cells need, with
 * room for the title and the key at least; axis labels are thinned out
 * where a large grid's would run together.
 */
final class SlopeMap {
  private static final Color[] RAMP = {new Color(68, 1, 84), new Color(59, 82, 139),
      new Color(33, 145, 140), new Color(94, 201, 98), new Color(253, 231, 37)};
  private static final int BANDS = 8;
  /** The room around the cells: title, axes, colour key. */
  private static final int SIDES = 225;
  private static final int TOP_AND_BOTTOM = 90;
  private static final int MAX_CELLS_WIDTH = 800 - SIDES;
  private static final int MAX_CELLS_HEIGHT = 640;
  /** Room for the title and for the colour key beside the cells. */
  private static final int MIN_WIDTH = 480;
  private static final int MIN_HEIGHT = 300;

  private SlopeMap() {}

  /**
   * The map of a grid of tiles of a side, titled with the image's name.
   *
   * @throws IOException when no tile has a slope: there is nothing to map
   */
  static HeatMapChart of(List<TileResult> tiles, int side, String name) throws IOException {
    if (tiles.stream().noneMatch(t -> t.result().fitted())) {
      throw new IOException("no tile has a slope to map");
    }
    int rows = tiles.stream().mapToInt(TileResult::row).max().orElse(0) + 1;
    int columns = tiles.stream().mapToInt(TileResult::column).max().orElse(0) + 1;
    double cell = Math.min((double) MAX_CELLS_WIDTH / columns, (double) MAX_CELLS_HEIGHT / rows);
    int width = Math.max(MIN_WIDTH, (int) Math.round(cell * columns) + SIDES);
    int height = Math.max(MIN_HEIGHT, (int) Math.round(cell * rows) + TOP_AND_BOTTOM);
    // With a theme: the bare constructor leaves the heat map's styles unset.
    HeatMapChart chart = new HeatMapChart(width, height, Styler.ChartTheme.XChart);
    // Centred over the cells, the title may reach the row labels either side.
    chart.setTitle(ChartStyle.title(name, ": slope per " + side + " x " + side + " tile",
        width - SIDES + 60));
    chart.setXAxisTitle(blanks(tiles) == 0 ? "tile column" : "tile column   (blank: "
        + blanks(tiles) + " not fitted)");
    chart.setYAxisTitle("tile row");
    style(chart.getStyler(), tiles);
    // The y axis counts up: the rows go in from the last, so that row 0 is
    // at the top.
    List<String> x = labels(IntStream.range(0, columns), step(cell, 30));
    List<String> y = labels(IntStream.range(0, rows).map(r -> rows - 1 - r), step(cell, 18));
    chart.addSeries("slope", x, y, cells(tiles, rows));
    return chart;
  }

  // The smallest of 1, 2, 5, 10, 20, 50 ... cells that spans a distance.
  private static int step(double cell, double distance) {
    for (int step = 1; ; step *= 10) {
      for (int k : new int[] {1, 2, 5}) {
        if (k * step * cell >= distance) {
          return k * step;
        }
      }
    }
  }

  // Every index labelled that is a multiple of the step, the others a space
  // (XChart cannot lay out an empty label), so that labels never run into
  // each other; text, as XChart's heat map formats no numbers of its own.
  private static List<String> labels(IntStream indices, int step) {
    return indices.mapToObj(i -> i % step == 0 ? Integer.toString(i) : " ").toList();
  }

  private static long blanks(List<TileResult> tiles) {
    return tiles.stream().filter(t -> !t.result().fitted()).count();
  }

  // Each measured tile as {column, index of its row on the axis, slope}.
  private static List<Number[]> cells(List<TileResult> tiles, int rows) {
    List<Number[]> cells = new ArrayList<>();
    for (TileResult t : tiles) {
      if (t.result().fitted()) {
        cells.add(new Number[] {t.column(), rows - 1 - t.row(), t.result().slope()});
      }
    }
    return cells;
  }

  private static void style(HeatMapStyler s, List<TileResult> tiles) {
    ChartStyle.apply(s);
    s.setLegendPosition(Styler.LegendPosition.OutsideE);
    s.setPlotContentSize(1.0);
    s.setShowValue(false);
    // A key of equal bands of slope, each with its colour and its range.
    s.setPiecewise(true);
    s.setPiecewiseRanged(true);
    s.setSplitNumber(BANDS);
    s.setRangeColors(IntStream.range(0, BANDS).mapToObj(i -> colour(i / (BANDS - 1.0)))
        .toArray(Color[]::new));
    s.setHeatMapDecimalValueFormatter(v -> String.format(Locale.ROOT, "%.3f", v));
    DoubleSummaryStatistics slopes = tiles.stream().filter(t -> t.result().fitted())
        .mapToDouble(t -> t.result().slope()).summaryStatistics();
    // A key of some width even when every tile has the same slope.
    double widen = slopes.getMax() > slopes.getMin() ? 0 : 0.0005 * BANDS;
    s.setMin(slopes.getMin() - widen);
    s.setMax(slopes.getMax() + widen);
  }

  // Linear through the ramp: 0 at its first colour, 1 at its last.
  static Color colour(double t) {
    double p = Math.max(0, Math.min(1, t)) * (RAMP.length - 1);
    int i = Math.min((int) p, RAMP.length - 2);
    double f = p - i;
    Color a = RAMP[i];
    Color b = RAMP[i + 1];
    return new Color((int) Math.round(a.getRed() + f * (b.getRed() - a.getRed())),
        (int) Math.round(a.getGreen() + f * (b.getGreen() - a.getGreen())),
        (int) Math.round(a.getBlue() + f * (b.getBlue() - a.getBlue())));
  }
}
