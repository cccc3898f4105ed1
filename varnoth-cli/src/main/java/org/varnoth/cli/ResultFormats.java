package org.varnoth.cli;

import com.fasterxml.jackson.core.JsonProcessingException;
import com.fasterxml.jackson.databind.ObjectMapper;
import com.fasterxml.jackson.databind.node.ArrayNode;
import com.fasterxml.jackson.databind.node.ObjectNode;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import org.varnoth.SpectrumAnalyzer;

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

  private ResultFormats() {}

  /** One line for people: file, window, slope, intercept, fitted points. */
  static String text(ResultRow r) {
    String where = switch (r.window()) {
      case ResultRow.TILE -> "  tile " + r.row() + "," + r.column();
      case ResultRow.TILES_MEAN -> "  mean of " + r.tiles() + " tiles";
      default -> "";
    };
    return String.format(Locale.ROOT, "%s%s  slope %.6f  intercept %.6f  points %d", r.file(),
        where, r.result().slope(), r.result().intercept(), r.result().points());
  }

  /** One JSON object on one line. */
  static String json(ResultRow r) {
    ObjectNode o = JSON.createObjectNode();
    o.put("file", r.file());
    o.put("window", r.window());
    if (r.window().equals(ResultRow.TILE)) {
      o.put("row", r.row());
      o.put("column", r.column());
    }
    if (r.window().equals(ResultRow.TILES_MEAN)) {
      o.put("tiles", r.tiles());
    }
    o.put("slope", r.result().slope());
    o.put("intercept", r.result().intercept());
    o.put("points", r.result().points());
    ArrayNode profile = o.putArray("profile");
    for (double v : r.result().profile()) {
      profile.add(v);
    }
    try {
      return JSON.writeValueAsString(o);
    } catch (JsonProcessingException e) {
      throw new IllegalStateException(e);
    }
  }

  /** The CSV header: the JSON keys, the profile as profile_0 to profile_64. */
  static List<String> csvHeader() {
    List<String> h = new ArrayList<>(List.of("file", "window", "row", "column", "tiles", "slope",
        "intercept", "points"));
    for (int k = 0; k < SpectrumAnalyzer.PROFILE_SIZE; k++) {
      h.add("profile_" + k);
    }
    return h;
  }

  /** The CSV record of a row, in the header's order; empty cells where a key does not apply. */
  static List<String> csvRecord(ResultRow r) {
    boolean tile = r.window().equals(ResultRow.TILE);
    List<String> c = new ArrayList<>(List.of(r.file(), r.window(),
        tile ? Integer.toString(r.row()) : "", tile ? Integer.toString(r.column()) : "",
        r.window().equals(ResultRow.TILES_MEAN) ? Integer.toString(r.tiles()) : "",
        Double.toString(r.result().slope()), Double.toString(r.result().intercept()),
        Integer.toString(r.result().points())));
    for (double v : r.result().profile()) {
      c.add(Double.toString(v));
    }
    return c;
  }
}
