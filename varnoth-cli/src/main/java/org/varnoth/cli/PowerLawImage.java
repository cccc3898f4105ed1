package org.varnoth.cli;

import org.varnoth.SyntheticImages;

/**
 * The 16-bit grey images of {@code varnoth synth}: a field of
 * {@link SyntheticImages#powerLaw(int, double, long)} mapped onto grey levels.
 */
final class PowerLawImage {
  private PowerLawImage() {}

  /** The field mapped onto 16-bit grey levels: mean 32768, largest deviation 30000. */
  static int[][] grey16(double[][] field) {
    double max = 0;
    for (double[] row : field) {
      for (double v : row) {
        max = Math.max(max, Math.abs(v));
      }
    }
    double k = max == 0 ? 0 : 30000.0 / max;
    int[][] out = new int[field.length][field[0].length];
    for (int r = 0; r < field.length; r++) {
      for (int c = 0; c < field[r].length; c++) {
        out[r][c] = (int) Math.round(32768.0 + k * field[r][c]);
      }
    }
    return out;
  }
}
