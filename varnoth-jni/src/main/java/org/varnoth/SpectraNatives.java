package org.varnoth;

/**
 * The natives of the library Varnoth_Spectra, which the loader carries and
 * checks beside Varnoth_JNI: the spectrum of one square window whose side is
 * a power of two from {@value #MIN_SIDE} to {@value #MAX_SIDE} (of doubles or
 * of 8-bit grey levels), and the chart
 * of a profile of any such window. Built from the same sources as the
 * fifteen natives of {@link Varnoth.Varnoth}; at side 128 every value equals
 * theirs, bit for bit.
 *
 * <p>Arguments are checked before any memory is touched: a bad one throws
 * {@link IllegalArgumentException} or {@link NullPointerException} naming
 * the failed condition, and nothing has been written then.
 *
 * <p>The class loads the library when it is first used
 * ({@code NativeLibrary.loadSpectra()}); when that fails, the class is
 * unusable and {@code loadSpectra()} throws the full message again.
 */
final class SpectraNatives {
  /** The smallest side of a window. */
  static final int MIN_SIDE = 32;
  /** The largest side of a window. */
  static final int MAX_SIDE = 4096;

  static {
    NativeLibrary.loadSpectra();
  }

  private SpectraNatives() {}

  /**
   * The centred power spectrum of a window and its radial profile.
   *
   * <p>Element (r, c) of the window is {@code window[side * r + c]}. The
   * spectrum is the unscaled forward 2-D DFT, rows first, then columns,
   * centred so that frequency zero lies at (side / 2, side / 2); the power
   * of an element is (|F| / side^2)^2. Ring k of the profile (k = 0 to
   * side / 2) is the mean of the non-NaN powers whose distance from the
   * centre rounds half up to k, added in ascending column, then row, order.
   *
   * @param window side * side values, row by row; not modified
   * @param side a power of two from 32 to 4096
   * @param profile receives side / 2 + 1 values
   * @param power null, or receives side * side values, row by row
   */
  static native void spectrum(double[] window, int side, double[] profile, double[] power);

  /**
   * {@link #spectrum} of a window of 8-bit grey levels: element (r, c) is
   * {@code window[side * r + c] & 0xff}, as a double.
   *
   * @param window side * side levels, row by row; not modified
   * @param side a power of two from 32 to 4096
   * @param profile receives side / 2 + 1 values
   * @param power null, or receives side * side values, row by row
   */
  static native void spectrumOfBytes(byte[] window, int side, double[] profile, double[] power);

  /**
   * The natives' chart of a profile of count = side / 2 + 1 values: the
   * points (ln(1 + (99 / (side / 2)) k), ln profile[k]) of its strictly
   * positive values and their least-squares line (Householder QR with
   * column pivoting), in a chart of 256 units; for 65 values, what
   * {@link Varnoth.Varnoth#f_PlotSpectra_GetChartInfo} gives.
   *
   * @param profile side / 2 + 1 values, side a power of two from 32 to 4096
   * @param range receives {x min, x max, y min, y max} in log units
   * @param scale receives {x, y} chart units per log unit
   * @param line receives {slope, intercept}
   * @param x receives the points' chart abscissae; profile.length values
   * @param y receives their chart ordinates; profile.length values
   * @return the number of points
   */
  static native int chart(double[] profile, double[] range, double[] scale, double[] line,
      double[] x, double[] y);
}
