package org.varnoth.imagej;

import ij.measure.ResultsTable;
import ij.plugin.filter.Analyzer;
import java.awt.GraphicsEnvironment;
import java.util.Locale;
import java.util.Objects;
import org.varnoth.Curvature;
import org.varnoth.LineFit;
import org.varnoth.ResultColumns;
import org.varnoth.SectorResult;
import org.varnoth.SlopeSpread;
import org.varnoth.SpectrumResult;
import org.varnoth.TileResult;

/**
 * The results table: one row per image or slice, or per tile followed by the
 * tiles' mean. The columns are named and ordered as in the tool's CSV
 * ({@code varnoth analyze --csv}), without the profile: {@code title} (the
 * image's), {@code slice} (stacks only), {@code window} ({@code image},
 * {@code tile}, {@code tiles-mean}), {@code row}, {@code column}, {@code tiles},
 * {@code tiles_slope_sd}, {@code tiles_slope_sem}, {@code slope},
 * {@code intercept}, {@code points}, {@code slope_stderr},
 * {@code slope_ci95_low}, {@code slope_ci95_high}, {@code r2},
 * {@code curvature}, {@code curvature_stderr}, {@code power_law},
 * {@code amplitude_slope}, {@code fitted}, {@code axis}, {@code fit_min},
 * {@code fit_max}, {@code taper}, {@code side}, {@code fit}; with sectors
 * {@code anisotropy} and {@code sector_I_angle}, {@code sector_I_slope},
 * {@code sector_I_intercept}, {@code sector_I_points},
 * {@code sector_I_slope_stderr}, {@code sector_I_r2}; and {@code note}, why a
 * slope measures nothing. A cell that does not apply is empty, as in the CSV.
 * Numbers are stored as the analyser's doubles, so a macro reads them to the
 * bit; the table shows 9 decimals.
 */
final class SlopeTable {
  /** The title of the table. */
  static final String TITLE = "Spectral Slopes";

  private static final int DECIMALS = 9;
  /** The columns that say where a row is measured, empty where they do not apply. */
  private static final String[] PLACE_COLUMNS =
      {ResultColumns.ROW, ResultColumns.COLUMN, ResultColumns.TILES, ResultColumns.TILES_SLOPE_SD,
          ResultColumns.TILES_SLOPE_SEM};

  private SlopeTable() {}

  /**
   * The table that rows are added to: the open one of this title, or a new one.
   * A headless JVM shows no table, and a macro there reaches only the system
   * "Results" table, so the rows go there.
   *
   * @return the table
   */
  static ResultsTable table() {
    ResultsTable rt = GraphicsEnvironment.isHeadless() ? Analyzer.getResultsTable()
        : Objects.requireNonNullElseGet(ResultsTable.getResultsTable(TITLE), ResultsTable::new);
    rt.setNaNEmptyCells(true);
    rt.setPrecision(DECIMALS);
    return rt;
  }

  /**
   * Shows the table, or updates its window.
   *
   * @param rt the table of {@link #table()}
   */
  static void show(ResultsTable rt) {
    rt.show(rt == Analyzer.getResultsTable() ? "Results" : TITLE);
  }

  /**
   * Adds the rows of one plane: its window's, or every tile's and the tiles' mean.
   *
   * @param rt the table
   * @param title the image's title
   * @param stack whether the image is a stack (the rows then have a slice)
   * @param plane the plane's analyses
   * @param sectors the analyser's number of sectors
   */
  static void addRows(ResultsTable rt, String title, boolean stack, PlaneResult plane,
      int sectors) {
    int slice = stack ? plane.slice() : 0;
    for (TileResult t : plane.tiles()) {
      addRow(rt, title, slice, ResultColumns.TILE,
          new Double[] {(double) t.row(), (double) t.column(), null, null, null}, t.result(),
          sectors);
    }
    Double[] place = {null, null, null, null, null};
    if (plane.tilesMean()) {
      SlopeSpread spread = plane.spread();
      place = new Double[] {null, null, (double) plane.tiles().size(), spread.sd(),
          spread.sem()};
    }
    String window = plane.tilesMean() ? ResultColumns.TILES_MEAN : ResultColumns.IMAGE;
    addRow(rt, title, slice, window, place, plane.result(), sectors);
  }

  // One row; place holds the cells of PLACE_COLUMNS, null where one does not apply.
  private static void addRow(ResultsTable rt, String title, int slice, String window,
      Double[] place, SpectrumResult s, int sectors) {
    rt.incrementCounter();
    rt.addValue("title", title);
    if (slice > 0) {
      rt.addValue("slice", slice);
    }
    rt.addValue(ResultColumns.WINDOW, window);
    for (int i = 0; i < PLACE_COLUMNS.length; i++) {
      if (place[i] == null) {
        rt.addValue(PLACE_COLUMNS[i], "");
      } else {
        rt.addValue(PLACE_COLUMNS[i], place[i]);
      }
    }
    LineFit fit = s.fit();
    double[] ci = fit.slopeCi95();
    rt.addValue(ResultColumns.SLOPE, fit.slope());
    rt.addValue(ResultColumns.INTERCEPT, fit.intercept());
    rt.addValue(ResultColumns.POINTS, fit.points());
    rt.addValue(ResultColumns.SLOPE_STDERR, fit.slopeStdErr());
    rt.addValue(ResultColumns.SLOPE_CI95_LOW, ci[0]);
    rt.addValue(ResultColumns.SLOPE_CI95_HIGH, ci[1]);
    rt.addValue(ResultColumns.R2, fit.r2());
    rt.addValue(ResultColumns.CURVATURE, s.curvature().coefficient());
    rt.addValue(ResultColumns.CURVATURE_STDERR, s.curvature().stdErr());
    rt.addValue(ResultColumns.POWER_LAW, powerLawCell(s.curvature()));
    rt.addValue(ResultColumns.AMPLITUDE_SLOPE, s.amplitudeSlope());
    rt.addValue(ResultColumns.FITTED, Boolean.toString(s.fitted()));
    rt.addValue(ResultColumns.AXIS, lower(s.axis()));
    rt.addValue(ResultColumns.FIT_MIN, s.fitRange().kmin());
    rt.addValue(ResultColumns.FIT_MAX, s.fitRange().kmax());
    rt.addValue(ResultColumns.TAPER, lower(s.taper()));
    rt.addValue(ResultColumns.SIDE, s.side());
    rt.addValue(ResultColumns.FIT, lower(s.estimator()));
    if (sectors > 0) {
      addSectors(rt, s, sectors);
    }
    rt.addValue(ResultColumns.NOTE, s.notFittedReason().orElse(""));
  }

  // Empty cells for a tiles' mean of tiles without sectors, as in the CSV.
  private static void addSectors(ResultsTable rt, SpectrumResult s, int sectors) {
    if (s.sectors().isEmpty()) {
      rt.addValue(ResultColumns.ANISOTROPY, "");
      for (int i = 0; i < sectors; i++) {
        for (String key : ResultColumns.SECTOR_FIT) {
          rt.addValue(ResultColumns.sector(i, key), "");
        }
      }
      return;
    }
    rt.addValue(ResultColumns.ANISOTROPY, s.anisotropy());
    for (int i = 0; i < sectors; i++) {
      SectorResult sector = s.sectors().get(i);
      LineFit fit = sector.fit();
      rt.addValue(ResultColumns.sector(i, ResultColumns.ANGLE), sector.angle());
      rt.addValue(ResultColumns.sector(i, ResultColumns.SLOPE), fit.slope());
      rt.addValue(ResultColumns.sector(i, ResultColumns.INTERCEPT), fit.intercept());
      rt.addValue(ResultColumns.sector(i, ResultColumns.POINTS), fit.points());
      rt.addValue(ResultColumns.sector(i, ResultColumns.SLOPE_STDERR), fit.slopeStdErr());
      rt.addValue(ResultColumns.sector(i, ResultColumns.R2), fit.r2());
    }
  }

  // True, false, or empty when not tested: the CSV's cell.
  private static String powerLawCell(Curvature c) {
    return switch (c.verdict()) {
      case POWER_LAW -> "true";
      case CURVED -> "false";
      case NOT_TESTED -> "";
    };
  }

  private static String lower(Enum<?> e) {
    return e.name().toLowerCase(Locale.ROOT);
  }
}
