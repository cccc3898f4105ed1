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
    o.put("slope", fit.slope());
    o.put("intercept", fit.intercept());
    o.put("points", fit.points());
    o.put("slope_stderr", fit.slopeStdErr());
    double[] ci = fit.slopeCi95();
    o.putArray("slope_ci95").add(ci[0]).add(ci[1]);
    o.put("r2", fit.r2());
    o.put("fitted", fit.fitted());
  }

  private static void putCurvature(ObjectNode o, Curvature c) {
    o.put("curvature", c.coefficient());
    o.put("curvature_stderr", c.stdErr());
    switch (c.verdict()) {
      case POWER_LAW -> o.put("power_law", true);
      case CURVED -> o.put("power_law", false);
      case NOT_TESTED -> o.putNull("power_law");
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
    o.put("window", r.place().name());
    if (r.place() instanceof ResultRow.Tile t) {
      o.put("row", t.row());
      o.put("column", t.column());
    }
    if (r.place() instanceof ResultRow.TilesMean m) {
      o.put("tiles", m.tiles());
      o.put("tiles_slope_sd", m.spread().sd());
      o.put("tiles_slope_sem", m.spread().sem());
    }
    SpectrumResult s = r.result();
    putFit(o, s.fit());
    putCurvature(o, s.curvature());
    o.put("amplitude_slope", s.amplitudeSlope());
    o.put("fitted", s.fitted());
    s.notFittedReason().ifPresent(why -> o.put("note", why));
    if (!r.imageNotes().isEmpty()) {
      ArrayNode notes = o.putArray("image_notes");
      r.imageNotes().forEach(notes::add);
    }
    o.put("axis", lower(s.axis()));
    o.putArray("fit_range").add(s.fitRange().kmin()).add(s.fitRange().kmax());
    o.put("taper", lower(s.taper()));
    o.put("side", s.side());
    o.put("fit", lower(s.estimator()));
    ArrayNode profile = o.putArray("profile");
    for (double v : s.profile()) {
      profile.add(v);
    }
    ArrayNode counts = o.putArray("ring_counts");
    for (int c : s.ringCounts()) {
      counts.add(c);
    }
    if (!s.sectors().isEmpty()) {
      ArrayNode sectors = o.putArray("sectors");
      for (SectorResult sector : s.sectors()) {
        ObjectNode so = sectors.addObject();
        so.put("angle", sector.angle());
        putFit(so, sector.fit());
        ArrayNode sp = so.putArray("profile");
        for (double v : sector.profile()) {
          sp.add(v);
        }
      }
      o.put("anisotropy", s.anisotropy());
    }
    try {
      return JSON.writeValueAsString(o);
    } catch (JsonProcessingException e) {
      throw new IllegalStateException(e);
    }
  }

  private static final List<String> SECTOR_KEYS =
      List.of("angle", "slope", "intercept", "points", "slope_stderr", "r2");

  /**
   * The CSV header: the JSON keys, the profile as profile_0 to profile_{N/2},
   * then, with n sectors, the anisotropy and sector_I_KEY for each sector's
   * angle and fit (its profile only in JSON), and last the note (why a row is
   * not fitted; empty when it is) and the image's notes (joined by "; ").
   */
  static List<String> csvHeader(SpectrumAnalyzer analyzer) {
    List<String> h = new ArrayList<>(List.of("file", "window", "row", "column", "tiles",
        "tiles_slope_sd", "tiles_slope_sem", "slope",
        "intercept", "points", "slope_stderr", "slope_ci95_low", "slope_ci95_high", "r2",
        "curvature", "curvature_stderr", "power_law", "amplitude_slope", "fitted", "axis",
        "fit_min", "fit_max", "taper", "side", "fit"));
    int sectors = analyzer.sectors();
    for (int k = 0; k <= analyzer.side() / 2; k++) {
      h.add("profile_" + k);
    }
    if (sectors > 0) {
      h.add("anisotropy");
      for (int i = 0; i < sectors; i++) {
        for (String key : SECTOR_KEYS) {
          h.add("sector_" + i + "_" + key);
        }
      }
    }
    h.add("note");
    h.add("image_notes");
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
          SECTOR_KEYS.forEach(k -> c.add(""));
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
