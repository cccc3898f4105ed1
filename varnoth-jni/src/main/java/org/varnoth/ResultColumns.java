package org.varnoth;

import java.util.List;

/**
 * The names under which an analysis is reported: the command-line tool's
 * JSON keys and CSV header, the Spark transformation's columns and the
 * ImageJ plugin's table columns, so that a result reads the same in each.
 * Where a value has several parts, JSON and Spark keep them together
 * ({@link #PROFILE}, {@link #SECTORS}) and the flat tables spread them over
 * {@link #profile(int)} and {@link #sector(int, String)}.
 */
public final class ResultColumns {
  /** What of the image a row measures: {@link #IMAGE}, {@link #TILE} or {@link #TILES_MEAN}. */
  public static final String WINDOW = "window";
  /** The window value of a row measuring the image's window (its crop or reduction). */
  public static final String IMAGE = "image";
  /** The window value of a row measuring one whole tile. */
  public static final String TILE = "tile";
  /** The window value of the row fitting the mean profile of the image's tiles. */
  public static final String TILES_MEAN = "tiles-mean";
  /** The tile's row in the grid of tiles. */
  public static final String ROW = "row";
  /** The tile's column in the grid of tiles. */
  public static final String COLUMN = "column";
  /** The number of tiles averaged, on a tiles' mean row. */
  public static final String TILES = "tiles";
  /** The standard deviation of the tiles' fitted slopes, on a tiles' mean row. */
  public static final String TILES_SLOPE_SD = "tiles_slope_sd";
  /** The standard error of the tiles' mean slope, on a tiles' mean row. */
  public static final String TILES_SLOPE_SEM = "tiles_slope_sem";
  /** The slope of the log-log line fit. */
  public static final String SLOPE = "slope";
  /** Its intercept. */
  public static final String INTERCEPT = "intercept";
  /** The number of profile values fitted. */
  public static final String POINTS = "points";
  /** The standard error of the slope. */
  public static final String SLOPE_STDERR = "slope_stderr";
  /** The slope's 95 % confidence interval, as a pair. */
  public static final String SLOPE_CI95 = "slope_ci95";
  /** The low end of the slope's 95 % confidence interval. */
  public static final String SLOPE_CI95_LOW = "slope_ci95_low";
  /** The high end of the slope's 95 % confidence interval. */
  public static final String SLOPE_CI95_HIGH = "slope_ci95_high";
  /** The fit's R^2. */
  public static final String R2 = "r2";
  /** The quadratic term of the log-log fit over the same points. */
  public static final String CURVATURE = "curvature";
  /** The standard error of the quadratic term. */
  public static final String CURVATURE_STDERR = "curvature_stderr";
  /** Whether the curvature is within the test's bound; empty or null when not tested. */
  public static final String POWER_LAW = "power_law";
  /** The slope of the amplitude spectrum, half the slope. */
  public static final String AMPLITUDE_SLOPE = "amplitude_slope";
  /** Whether the slope is a measurement; if not, {@link #NOTE} says why. */
  public static final String FITTED = "fitted";
  /** The fit's abscissa, {@code natives} or {@code frequency}. */
  public static final String AXIS = "axis";
  /** The rings fitted, as a pair. */
  public static final String FIT_RANGE = "fit_range";
  /** The first ring fitted. */
  public static final String FIT_MIN = "fit_min";
  /** The last ring fitted. */
  public static final String FIT_MAX = "fit_max";
  /** The taper, {@code none} or {@code hann}. */
  public static final String TAPER = "taper";
  /** The side N of the analysed window. */
  public static final String SIDE = "side";
  /** How the line is fitted, {@code ols} or {@code wls}. */
  public static final String FIT = "fit";
  /** The radial profile, N / 2 + 1 values. */
  public static final String PROFILE = "profile";
  /** The number of elements of each ring. */
  public static final String RING_COUNTS = "ring_counts";
  /** With sectors: the largest sector slope minus the smallest. */
  public static final String ANISOTROPY = "anisotropy";
  /** With sectors: each sector's {@link #SECTOR_FIT}, in order of angle. */
  public static final String SECTORS = "sectors";
  /** A sector's direction. */
  public static final String ANGLE = "angle";
  /** Why the slope is not a measurement; empty or absent when it is. */
  public static final String NOTE = "note";
  /** What decoding did that a reader must know, joined by "; ". */
  public static final String IMAGE_NOTES = "image_notes";

  /** What is reported of each sector, in this order (its profile only in JSON). */
  public static final List<String> SECTOR_FIT =
      List.of(ANGLE, SLOPE, INTERCEPT, POINTS, SLOPE_STDERR, R2);

  private ResultColumns() {}

  /**
   * The flat tables' column of one profile value.
   *
   * @param ring the ring, 0 to N / 2
   * @return {@code profile_<ring>}
   */
  public static String profile(int ring) {
    return PROFILE + "_" + ring;
  }

  /**
   * The flat tables' column of one value of a sector.
   *
   * @param sector the sector's index, from 0
   * @param key one of {@link #SECTOR_FIT}
   * @return {@code sector_<sector>_<key>}
   */
  public static String sector(int sector, String key) {
    return "sector_" + sector + "_" + key;
  }
}
