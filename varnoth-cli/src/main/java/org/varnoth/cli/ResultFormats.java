package org.varnoth.cli;

import com.fasterxml.jackson.core.JsonProcessingException;
import com.fasterxml.jackson.databind.ObjectMapper;
import com.fasterxml.jackson.databind.node.ArrayNode;
import com.fasterxml.jackson.databind.node.ObjectNode;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import org.varnoth.Curvature;
import org.varnoth.LineFit;
import org.varnoth.ResultColumns;
import org.varnoth.SectorResult;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;

/**
 * The three ways a result row is written. Numbers in JSON and CSV are written
 * by {@link Double#toString}, the shortest decimal that reads back as the
 * same double; NaN and the infinities as {@code NaN}, {@code Infinity},
 * {@code -Infinity} (strings in JSON).
 */
final class ResultFormats {
  // Jackson writes non-finite doubles as the strings "NaN", "Infinity",
  // "-Infinity" (JsonWriteFeature.WRITE_NAN_AS_STRINGS, on by default).
  private static final ObjectMapper JSON = new ObjectMapper();
  /**
   * The locale of the text lines' numbers: the same characters as
   * Locale.ROOT, and the one whose decimal point the JDK's formatter knows
   * without building the locale's symbols again for every number.
   */
  private static final Locale NUMBERS = Locale.US;

  private ResultFormats() {}

  /**
   * One line for people: file, window, slope (and on the frequency axis the
   * exponent alpha, minus the slope), intercept, fitted points, the
   * slope's standard error, 95 % interval and R^2, the curvature with its
   * standard error and verdict; the anisotropy with sectors.
   */
  static String text(ResultRow r) {
    String where = "";
    if (r.place() instanceof ResultRow.Tile t) {
      where = "  tile " + t.row() + "," + t.column();
    } else if (r.place() instanceof ResultRow.TilesMean m) {
      where = "  mean of " + m.tiles() + " tiles";
    }
    SpectrumResult s = r.result();
    double[] ci = s.fit().slopeCi95();
    Curvature curvature = s.curvature();
    // On the frequency axis the slope is minus the exponent: say it.
    String alpha = s.axis() == SpectrumAnalyzer.Axis.FREQUENCY
        ? String.format(NUMBERS, "  alpha %.6f", -s.slope()) : "";
    StringBuilder line = new StringBuilder(String.format(NUMBERS,
        "%s%s  slope %.6f%s  intercept %.6f  points %d  stderr %.6f  ci95 [%.6f, %.6f]"
            + "  r2 %.6f  curvature %.6f +- %.6f %s",
        DisplayNames.plain(r.file()), where, s.slope(), alpha, s.intercept(), s.points(),
        s.slopeStdErr(), ci[0], ci[1], s.r2(), curvature.coefficient(), curvature.stdErr(),
        verdictWords(curvature.verdict())));
    if (!s.sectors().isEmpty()) {
      line.append(String.format(NUMBERS, "  anisotropy %.6f", s.anisotropy()));
    }
    s.notFittedReason().ifPresent(why -> line.append("  (not fitted: ").append(why).append(')'));
    if (!r.imageNotes().isEmpty()) {
      line.append("  (").append(String.join("; ", r.imageNotes())).append(')');
    }
    return line.toString();
  }

  private static String verdictWords(Curvature.Verdict v) {
    return switch (v) {
      case POWER_LAW -> "(a power law)";
      case CURVED -> "(curved)";
      case NOT_TESTED -> "(not tested)";
    };
  }

  /**
   * The line before the text rows, saying what they measure: the window, the
   * mean and taper, the axis (and what its slope means), the rings and the
   * estimator, and the curvature test's level.
   */
  static String textHeader(SpectrumAnalyzer a, boolean tiles) {
    String n = a.side() + " x " + a.side();
    String window = tiles ? "every " + n + " tile and their mean" : switch (a.window()) {
      case CROP -> "the centre " + n + " crop";
      case RESIZE -> "the centred square low-pass reduced to " + n;
      case AREA_AVERAGE -> "the centred square area-averaged to " + n;
    };
    String axis = a.axis() == SpectrumAnalyzer.Axis.FREQUENCY
        ? "slope = -alpha of P(f) ~ f^-alpha on ln f, f in cycles per pixel"
        : "slope on the natives' axis ln(1 + " + 99.0 / (a.side() / 2) + " k), not an exponent";
    String fit = a.estimator() == SpectrumAnalyzer.Fit.WLS
        ? "weighted fit (wls)" : "ordinary least squares (ols)";
    return String.format(NUMBERS, "# %s; %s; %s; rings %s; %s; %s; curved at the %d %% "
        + "level", window,
        a.removeMean() || a.taper() == SpectrumAnalyzer.Taper.HANN ? "mean removed" : "mean kept",
        a.taper() == SpectrumAnalyzer.Taper.HANN ? "Hann taper" : "no taper", a.fitRange(), axis,
        fit, Math.round(Curvature.SIGNIFICANCE * 100));
  }

  private static String lower(Enum<?> e) {
    return e.name().toLowerCase(Locale.ROOT);
  }

  private static void putFit(ObjectNode o, LineFit fit) {
    o.put(ResultColumns.SLOPE, fit.slope());
    o.put(ResultColumns.INTERCEPT, fit.intercept());
    o.put(ResultColumns.POINTS, fit.points());
    o.put(ResultColumns.SLOPE_STDERR, fit.slopeStdErr());
    double[] ci = fit.slopeCi95();
    o.putArray(ResultColumns.SLOPE_CI95).add(ci[0]).add(ci[1]);
    o.put(ResultColumns.R2, fit.r2());
    o.put(ResultColumns.FITTED, fit.fitted());
  }

  private static void putCurvature(ObjectNode o, Curvature c) {
    o.put(ResultColumns.CURVATURE, c.coefficient());
    o.put(ResultColumns.CURVATURE_STDERR, c.stdErr());
    switch (c.verdict()) {
      case POWER_LAW -> o.put(ResultColumns.POWER_LAW, true);
      case CURVED -> o.put(ResultColumns.POWER_LAW, false);
      case NOT_TESTED -> o.putNull(ResultColumns.POWER_LAW);
    }
  }

  // The CSV cell of the verdict: true, false, or empty when not tested.
  private static String powerLawCell(Curvature c) {
    return switch (c.verdict()) {
      case POWER_LAW -> "true";
      case CURVED -> "false";
      case NOT_TESTED -> "";
    };
  }

  /** One JSON object on one line. */
  static String json(ResultRow r) {
    ObjectNode o = JSON.createObjectNode();
    o.put("file", r.file());
    o.put(ResultColumns.WINDOW, r.place().name());
    if (r.place() instanceof ResultRow.Tile t) {
      o.put(ResultColumns.ROW, t.row());
      o.put(ResultColumns.COLUMN, t.column());
    }
    if (r.place() instanceof ResultRow.TilesMean m) {
      o.put(ResultColumns.TILES, m.tiles());
      o.put(ResultColumns.TILES_SLOPE_SD, m.spread().sd());
      o.put(ResultColumns.TILES_SLOPE_SEM, m.spread().sem());
    }
    SpectrumResult s = r.result();
    putFit(o, s.fit());
    putCurvature(o, s.curvature());
    o.put(ResultColumns.AMPLITUDE_SLOPE, s.amplitudeSlope());
    o.put(ResultColumns.FITTED, s.fitted());
    s.notFittedReason().ifPresent(why -> o.put(ResultColumns.NOTE, why));
    if (!r.imageNotes().isEmpty()) {
      ArrayNode notes = o.putArray(ResultColumns.IMAGE_NOTES);
      r.imageNotes().forEach(notes::add);
    }
    o.put(ResultColumns.AXIS, lower(s.axis()));
    o.putArray(ResultColumns.FIT_RANGE).add(s.fitRange().kmin()).add(s.fitRange().kmax());
    o.put(ResultColumns.TAPER, lower(s.taper()));
    o.put(ResultColumns.SIDE, s.side());
    o.put(ResultColumns.FIT, lower(s.estimator()));
    ArrayNode profile = o.putArray(ResultColumns.PROFILE);
    for (double v : s.profile()) {
      profile.add(v);
    }
    ArrayNode counts = o.putArray(ResultColumns.RING_COUNTS);
    for (int c : s.ringCounts()) {
      counts.add(c);
    }
    if (!s.sectors().isEmpty()) {
      ArrayNode sectors = o.putArray(ResultColumns.SECTORS);
      for (SectorResult sector : s.sectors()) {
        ObjectNode so = sectors.addObject();
        so.put(ResultColumns.ANGLE, sector.angle());
        putFit(so, sector.fit());
        ArrayNode sp = so.putArray(ResultColumns.PROFILE);
        for (double v : sector.profile()) {
          sp.add(v);
        }
      }
      o.put(ResultColumns.ANISOTROPY, s.anisotropy());
    }
    try {
      return JSON.writeValueAsString(o);
    } catch (JsonProcessingException e) {
      throw new IllegalStateException(e);
    }
  }

  /**
   * The CSV header: the JSON keys, the profile as profile_0 to profile_{N/2},
   * then, with n sectors, the anisotropy and sector_I_KEY for each sector's
   * angle and fit (its profile only in JSON), and last the note (why a row is
   * not fitted; empty when it is) and the image's notes (joined by "; ").
   */
  static List<String> csvHeader(SpectrumAnalyzer analyzer) {
    List<String> h = new ArrayList<>(List.of("file", ResultColumns.WINDOW, ResultColumns.ROW,
        ResultColumns.COLUMN, ResultColumns.TILES, ResultColumns.TILES_SLOPE_SD,
        ResultColumns.TILES_SLOPE_SEM, ResultColumns.SLOPE, ResultColumns.INTERCEPT,
        ResultColumns.POINTS, ResultColumns.SLOPE_STDERR, ResultColumns.SLOPE_CI95_LOW,
        ResultColumns.SLOPE_CI95_HIGH, ResultColumns.R2, ResultColumns.CURVATURE,
        ResultColumns.CURVATURE_STDERR, ResultColumns.POWER_LAW, ResultColumns.AMPLITUDE_SLOPE,
        ResultColumns.FITTED, ResultColumns.AXIS, ResultColumns.FIT_MIN, ResultColumns.FIT_MAX,
        ResultColumns.TAPER, ResultColumns.SIDE, ResultColumns.FIT));
    int sectors = analyzer.sectors();
    for (int k = 0; k <= analyzer.side() / 2; k++) {
      h.add(ResultColumns.profile(k));
    }
    if (sectors > 0) {
      h.add(ResultColumns.ANISOTROPY);
      for (int i = 0; i < sectors; i++) {
        for (String key : ResultColumns.SECTOR_FIT) {
          h.add(ResultColumns.sector(i, key));
        }
      }
    }
    h.add(ResultColumns.NOTE);
    h.add(ResultColumns.IMAGE_NOTES);
    return h;
  }

  /** The CSV record of a row, in the header's order; empty cells where a key does not apply. */
  static List<String> csvRecord(ResultRow r, int sectors) {
    SpectrumResult s = r.result();
    double[] ci = s.fit().slopeCi95();
    ResultRow.Tile tile = r.place() instanceof ResultRow.Tile t ? t : null;
    List<String> c = new ArrayList<>(List.of(r.file(), r.place().name(),
        tile != null ? Integer.toString(tile.row()) : "",
        tile != null ? Integer.toString(tile.column()) : "",
        r.place() instanceof ResultRow.TilesMean m ? Integer.toString(m.tiles()) : "",
        r.place() instanceof ResultRow.TilesMean m ? Double.toString(m.spread().sd()) : "",
        r.place() instanceof ResultRow.TilesMean m ? Double.toString(m.spread().sem()) : "",
        Double.toString(s.slope()), Double.toString(s.intercept()),
        Integer.toString(s.points()), Double.toString(s.slopeStdErr()),
        Double.toString(ci[0]), Double.toString(ci[1]),
        Double.toString(s.r2()), Double.toString(s.curvature().coefficient()),
        Double.toString(s.curvature().stdErr()), powerLawCell(s.curvature()),
        Double.toString(s.amplitudeSlope()),
        Boolean.toString(s.fitted()), lower(s.axis()),
        Integer.toString(s.fitRange().kmin()), Integer.toString(s.fitRange().kmax()),
        lower(s.taper()), Integer.toString(s.side()), lower(s.estimator())));
    for (double v : s.profile()) {
      c.add(Double.toString(v));
    }
    if (sectors > 0) {
      // A tiles' mean of tiles without sectors has none: empty cells.
      c.add(s.sectors().isEmpty() ? "" : Double.toString(s.anisotropy()));
      for (int i = 0; i < sectors; i++) {
        if (s.sectors().isEmpty()) {
          ResultColumns.SECTOR_FIT.forEach(k -> c.add(""));
          continue;
        }
        SectorResult sector = s.sectors().get(i);
        LineFit f = sector.fit();
        c.addAll(List.of(Double.toString(sector.angle()), Double.toString(f.slope()),
            Double.toString(f.intercept()), Integer.toString(f.points()),
            Double.toString(f.slopeStdErr()), Double.toString(f.r2())));
      }
    }
    c.add(s.notFittedReason().orElse(""));
    c.add(String.join("; ", r.imageNotes()));
    return c;
  }
}
