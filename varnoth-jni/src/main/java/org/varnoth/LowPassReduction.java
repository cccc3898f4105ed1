package org.varnoth;

/**
 * The reduction of an s x s square to N x N (s = f N, f at least 2) without
 * aliasing, {@link SpectrumAnalyzer.Window#RESIZE}, whose documentation gives
 * the filter, its taps, the order of every sum and the cost: each row of the
 * square, then each column of the result, filtered by a Kaiser-windowed sinc
 * whose cutoff is 1 / (2 f) cycles per pixel, sampled every f pixels, the
 * square taken as periodic.
 */
final class LowPassReduction {
  /** The stopband attenuation the taps are designed for, in decibels. */
  private static final double ATTENUATION_DB = 65.0;
  /** Kaiser's shape parameter for that attenuation. */
  private static final double BETA = 0.1102 * (ATTENUATION_DB - 8.7);

  private LowPassReduction() {}

  /**
   * The N x N reduction of the s x s square at (top, left) of an image, row
   * by row: element (i, j) at {@code side * i + j}.
   *
   * @param image rows of values, each reaching at least column left + s - 1
   * @param factor f, at least 2
   * @param side N
   */
  static double[] of(double[][] image, int top, int left, int factor, int side) {
    double[] taps = taps(factor, side);
    return reducedColumns(reducedRows(image, top, left, factor, side, taps), factor, side, taps);
  }

  /** Each of the s rows of the square, top to bottom, into N values: N columns of s values. */
  private static double[][] reducedRows(double[][] image, int top, int left, int factor, int side,
      double[] taps) {
    int s = factor * side;
    double[] line = new double[s + taps.length - factor];
    double[] sums = new double[side];
    double[][] columns = new double[side][s];
    for (int r = 0; r < s; r++) {
      double[] row = image[top + r];
      filter(relativeLine(row, left, s, taps.length, factor, line), taps, factor, sums);
      for (int j = 0; j < side; j++) {
        columns[j][r] = sums[j] + row[left];
      }
    }
    return columns;
  }

  /** Each of the N columns, left to right, into N values: the window, row by row. */
  private static double[] reducedColumns(double[][] columns, int factor, int side,
      double[] taps) {
    int s = factor * side;
    double[] line = new double[s + taps.length - factor];
    double[] sums = new double[side];
    double[] out = new double[side * side];
    for (int j = 0; j < side; j++) {
      filter(relativeLine(columns[j], 0, s, taps.length, factor, line), taps, factor, sums);
      for (int i = 0; i < side; i++) {
        out[side * i + j] = sums[i] + columns[j][0];
      }
    }
    return out;
  }

  /**
   * The taps t_0 to t_(L-1) of the reduction by f to side N, normalised so
   * that they add up to 1 in exact arithmetic.
   */
  static double[] taps(int factor, int side) {
    int length = tapCount(factor, side);
    double half = (length - 1) / 2.0;
    double[] w = new double[length];
    for (int i = 0; i < (length + 1) / 2; i++) {
      double u = i - half;
      double edge = u / half;
      w[i] = sinc(u / factor) * besselI0(BETA * StrictMath.sqrt(1.0 - edge * edge));
      w[length - 1 - i] = w[i];
    }
    double sum = 0.0;
    for (double v : w) {
      sum += v;
    }
    for (int i = 0; i < length; i++) {
      w[i] /= sum;
    }
    return w;
  }

  /**
   * Kaiser's length for the attenuation A and a transition band 2 h / s cycles
   * per pixel wide, (A - 8) / (2.285 dw) + 1 rounded up with dw the band in
   * radians per pixel, raised by one where needed to the parity of f.
   */
  private static int tapCount(int factor, int side) {
    int h = Math.min(16, side / 8);
    double transition = 2.0 * StrictMath.PI * (2.0 * h / ((double) factor * side));
    int length = (int) Math.ceil((ATTENUATION_DB - 8.0) / (2.285 * transition)) + 1;
    return (length - factor) % 2 == 0 ? length : length + 1;
  }

  private static double sinc(double x) {
    if (x == 0.0) {
      return 1.0;
    }
    double px = StrictMath.PI * x;
    return StrictMath.sin(px) / px;
  }

  /** I0(x) = sum over k of ((x / 2)^k / k!)^2, added from k = 0 until a term changes nothing. */
  private static double besselI0(double x) {
    double quarterSquare = x * x / 4.0;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; ; k++) {
      term *= quarterSquare / ((double) k * k);
      double next = sum + term;
      if (next == sum) {
        return sum;
      }
      sum = next;
    }
  }

  /**
   * Fills line with d_q = x_((q - (L - f) / 2) mod s) - x_0, q = 0 to
   * s + L - f - 1, x_n being values[from + n]: the periodic line with the
   * reach of every tap of every output, relative to its first value.
   */
  private static double[] relativeLine(double[] values, int from, int s, int tapCount,
      int factor, double[] line) {
    double first = values[from];
    int n = Math.floorMod(-(tapCount - factor) / 2, s);
    for (int q = 0; q < line.length; q++) {
      line[q] = values[from + n] - first;
      if (++n == s) {
        n = 0;
      }
    }
    return line;
  }

  /**
   * sums[j] = t_0 line[f j] + t_1 line[f j + 1] + ... + t_(L-1) line[f j + L - 1],
   * added in ascending tap order. The loop runs over the taps outside and the
   * outputs inside, so the sums of different outputs proceed side by side
   * while each keeps its own order.
   */
  private static void filter(double[] line, double[] taps, int factor, double[] sums) {
    for (int j = 0; j < sums.length; j++) {
      sums[j] = taps[0] * line[factor * j];
    }
    for (int i = 1; i < taps.length; i++) {
      double t = taps[i];
      for (int j = 0, q = i; j < sums.length; j++, q += factor) {
        sums[j] += t * line[q];
      }
    }
  }
}
