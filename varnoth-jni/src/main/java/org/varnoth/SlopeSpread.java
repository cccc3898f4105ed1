package org.varnoth;

import java.util.List;

/**
 * The spread of the slopes of an image's tiles: over the n tiles whose slope
 * is a measurement ({@link SpectrumResult#fitted()}), the sample standard
 * deviation {@code sd = sqrt(sum (s - mean)^2 / (n - 1))} and the standard
 * error of their mean {@code sem = sd / sqrt(n)}. Since the tiles of one
 * image are independent samples of its texture, sem is the uncertainty to
 * quote for the image's slope; the standard error of one fit says how well a
 * line fits one profile, not how much the image's slope varies.
 *
 * @param tiles n, the number of tiles with a fitted slope
 * @param sd the standard deviation of their slopes, NaN for fewer than two
 * @param sem the standard error of their mean slope, NaN for fewer than two
 */
public record SlopeSpread(int tiles, double sd, double sem) {
  /**
   * The spread of the fitted slopes of some tiles, summed in list order.
   *
   * @param tiles the tiles, as {@link SpectrumAnalyzer#analyzeTiles} gives them
   * @return their spread
   * @throws NullPointerException if {@code tiles} or a tile is null
   */
  public static SlopeSpread of(List<TileResult> tiles) {
    int n = 0;
    double sum = 0.0;
    for (TileResult t : tiles) {
      if (t.result().fitted()) {
        n++;
        sum += t.result().slope();
      }
    }
    if (n < 2) {
      return new SlopeSpread(n, Double.NaN, Double.NaN);
    }
    double mean = sum / n;
    double squares = 0.0;
    for (TileResult t : tiles) {
      if (t.result().fitted()) {
        double d = t.result().slope() - mean;
        squares += d * d;
      }
    }
    double sd = Math.sqrt(squares / (n - 1));
    return new SlopeSpread(n, sd, sd / Math.sqrt(n));
  }
}
