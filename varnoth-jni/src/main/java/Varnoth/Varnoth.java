package Varnoth;

import org.varnoth.NativeLibrary;

/**
 * Fourier-spectrum analysis of 128 x 128 grey-level images, computed by the
 * native library Varnoth_JNI: fifteen static native methods.
 *
 * <p>Conventions:
 *
 * <ul>
 *   <li>An image is a {@code double[128][128]} whose outer index is the row.
 *   <li>Spectra are the <em>unscaled</em> forward 2-D DFT, kernel
 *       exp(-2 pi i (u m + v n) / 128), centred by an FFT shift so that the
 *       zero frequency lies at row 64, column 64.
 *   <li>The power of an element is (|F| / 16384)^2, divided first, then
 *       squared; the phase is atan2(im, re) in radians.
 *   <li>A radial profile has 65 values: value k is the mean of the non-NaN
 *       elements whose distance from (64, 64) rounds to k.
 *   <li>The log-log points of a profile: abscissa ln(1 + 1.546875 k) (rings 0
 *       to 64 onto 1 to 100 before the logarithm), ordinate ln(profile[k]),
 *       for the rings whose value is strictly positive; the slope and
 *       intercept are those of the least-squares line through them, both 0.0
 *       when fewer than two values are positive.
 *   <li>Chart coordinates run from 0 to 255 on both axes; the ordinate is
 *       inverted (larger log power nearer to 0).
 * </ul>
 *
 * <p>Every method checks its arguments before it writes anything: a null
 * array or row throws {@link NullPointerException}, an array of the wrong
 * size {@link IllegalArgumentException}; the message is the failed condition,
 * for an input image "len1 == iSide" (not 128 rows) or "len2 == iSide" (first
 * row not 128 values), for other arrays such as {@code jImg[5].length == iSide}
 * or {@code jImgPS.length >= 65}. An exhausted native heap throws
 * {@link OutOfMemoryError}. Degenerate numbers are not errors: they show as
 * NaN, infinities or a slope of 0.0.
 *
 * <p>The library is loaded when this class is initialised, by
 * {@link NativeLibrary#load()}: from the file named by the system property
 * {@code varnoth.library}, otherwise from the jar, otherwise from
 * {@code java.library.path}. Its non-finite constants are set at load, so the
 * computing methods give the right NaN and infinities even before
 * {@link #initialize()}, which prints a line. The methods keep no state
 * between calls and may be called from multiple concurrent threads.
 *
 * <p>For images of any size, grey conversion and immutable results, see
 * {@link org.varnoth.SpectrumAnalyzer}.
 */
public final class Varnoth {
  /** Image side: every image is SIDE x SIDE. */
  public static final int SIDE = 128;
  /** Values in a radial profile, one per radius 0 to 64. */
  public static final int PROFILE_SIZE = 65;
  /** System property naming the native library file explicitly. */
  public static final String LIBRARY_PROPERTY = NativeLibrary.LIBRARY_PROPERTY;

  static {
    NativeLibrary.load();
  }

  private Varnoth() {}

  /**
   * Sets up the library's state and prints "Varnoth library initialized." and
   * a line break to standard output. May be called again: it prints again.
   */
  public static native void initialize();

  /**
   * Computes nothing: the bare call path.
   *
   * @return 0.0
   */
  public static native double f_PSD_Dummy0();

  /**
   * Computes nothing; {@code jImg} is never read, whatever it is.
   *
   * @param jImg anything, null included
   * @return 0.0
   */
  public static native double f_PSD_Dummy1(double[][] jImg);

  /**
   * Copies {@code jImg} in, with the checks of an input image, and releases the
   * copy: the inward marshalling alone.
   *
   * @param jImg a 128 x 128 image, left unchanged
   * @return 0.0
   * @throws NullPointerException if {@code jImg} or a row is null
   * @throws IllegalArgumentException if {@code jImg} is not 128 x 128
   */
  public static native double f_PSD_Dummy2(double[][] jImg);

  /**
   * Computes nothing; {@code jImg3Chan}, meant as three channel images, is
   * never read, whatever it is.
   *
   * @param jImg3Chan anything, null included
   * @return 0.0
   */
  public static native double f_PSD_Dummy3(double[][][] jImg3Chan);

  /**
   * The slope of the least-squares line through the log-log points of the
   * image's radial power profile.
   *
   * @param jImg a 128 x 128 image
   * @return the slope, 0.0 when fewer than two profile values are positive
   * @throws NullPointerException if {@code jImg} or a row is null
   * @throws IllegalArgumentException if {@code jImg} is not 128 x 128
   */
  public static native double f_PSD_Slope(double[][] jImg);

  /**
   * Both coefficients of the line fit of {@link #f_PSD_Slope}.
   *
   * @param jImg a 128 x 128 image
   * @return a new array {slope, intercept}, the intercept in natural-log units
   *     of power; {0.0, 0.0} when fewer than two profile values are positive
   * @throws NullPointerException if {@code jImg} or a row is null
   * @throws IllegalArgumentException if {@code jImg} is not 128 x 128
   */
  public static native double[] f_PSD_LinearRegression(double[][] jImg);

  /**
   * The centred spectrum as real and imaginary parts. The outputs are
   * overwritten in full; the input may be one of them, and when both outputs
   * are one array it ends holding the imaginary parts.
   *
   * @param jImg a 128 x 128 image
   * @param jImgFT_A a 128 x 128 array that receives the real parts
   * @param jImgFT_O a 128 x 128 array that receives the imaginary parts
   * @throws NullPointerException if an array or a row is null
   * @throws IllegalArgumentException if an array is not 128 x 128
   */
  public static native void f_ImageFFT(double[][] jImg, double[][] jImgFT_A,
      double[][] jImgFT_O);

  /**
   * The centred spectrum as power (|F| / 16384)^2 and phase in radians.
   *
   * @param jImg a 128 x 128 image
   * @param jImgFT_A a 128 x 128 array that receives the power
   * @param jImgFT_O a 128 x 128 array that receives the phase
   * @throws NullPointerException if an array or a row is null
   * @throws IllegalArgumentException if an array is not 128 x 128
   */
  public static native void f_ImageFFTPowerPhase(double[][] jImg,
      double[][] jImgFT_A, double[][] jImgFT_O);

  /**
   * The power (|F| / 16384)^2 of the centred spectrum.
   *
   * @param jImg a 128 x 128 image
   * @return a new 128 x 128 power image
   * @throws NullPointerException if {@code jImg} or a row is null
   * @throws IllegalArgumentException if {@code jImg} is not 128 x 128
   */
  public static native double[][] f_ImageFFTPower(double[][] jImg);

  /**
   * The radial profile of a centred spectrum image: value k is the mean of the
   * non-NaN elements whose distance from (64, 64) rounds to k (NaN when there
   * is none).
   *
   * @param jImgFT a 128 x 128 spectrum, zero frequency at row 64, column 64
   * @return a new array of 65 values
   * @throws NullPointerException if {@code jImgFT} or a row is null
   * @throws IllegalArgumentException if {@code jImgFT} is not 128 x 128
   */
  public static native double[] f_RadialAverageSpectra(double[][] jImgFT);

  /**
   * The whole chain: copy, power spectrum, radial profile and slope.
   *
   * @param jImg a 128 x 128 image
   * @param jImgPS an array of at least 65 values: values 0 to 64 receive the
   *     radial profile, the rest are left untouched
   * @param jImgFT a 128 x 128 array that receives the power spectrum, as
   *     {@link #f_ImageFFTPower} gives it
   * @param jImgWD a 128 x 128 array that receives a copy of {@code jImg}
   * @return the slope, as {@link #f_PSD_Slope} gives it
   * @throws NullPointerException if an array or a row is null
   * @throws IllegalArgumentException if an image is not 128 x 128 or
   *     {@code jImgPS} holds fewer than 65 values
   */
  public static native double f_PSD_Processing(double[][] jImg, double[] jImgPS,
      double[][] jImgFT, double[][] jImgWD);

  /**
   * The chain of {@link #f_PSD_Processing}, writing only the power spectrum.
   *
   * @param jImg a 128 x 128 image
   * @param jImgFT a 128 x 128 array that receives the power spectrum
   * @throws NullPointerException if an array or a row is null
   * @throws IllegalArgumentException if an array is not 128 x 128
   */
  public static native void f_PSD_Processing_FTOnly(double[][] jImg,
      double[][] jImgFT);

  /**
   * The chain of {@link #f_PSD_Processing}, writing only the radial profile.
   *
   * @param jImg a 128 x 128 image
   * @param jImgPS an array of at least 65 values: values 0 to 64 receive the
   *     radial profile, the rest are left untouched
   * @throws NullPointerException if an array or a row is null
   * @throws IllegalArgumentException if {@code jImg} is not 128 x 128 or
   *     {@code jImgPS} holds fewer than 65 values
   */
  public static native void f_PSD_Processing_PSOnly(double[][] jImg,
      double[] jImgPS);

  /**
   * What a 256-unit chart of a radial profile on log-log axes needs. The
   * abscissa range [0, ln 100] maps onto chart x 0 to 255, the ordinate range
   * [-ln 65536, ln 65536] onto chart y 255 to 0 (inverted).
   *
   * @param jImgPS a radial profile: its first 65 values are read, none written
   * @param jPlotRange at least 4 values: receives the axis ranges in natural-log
   *     units, {xmin, xmax, ymin, ymax} = {0, ln 100, -ln 65536, ln 65536}
   * @param jPlotScale at least 2 values: receives the chart units per log unit,
   *     {255 / ln 100, 255 / (2 ln 65536)}
   * @param jRegression at least 2 values: receives the fitted line {slope,
   *     intercept} in log units
   * @param jScaledPoints at least 2 rows of at least N values (65 always
   *     suffice): the chart x of
   *     point i goes to row 0, its y to row 1, at index i; values from index N
   *     on and further rows are left untouched
   * @return N, the number of strictly positive profile values (0 to 65), the
   *     number of points written
   * @throws NullPointerException if an array or a needed row is null
   * @throws IllegalArgumentException if an array is shorter than stated
   */
  public static native int f_PlotSpectra_GetChartInfo(double[] jImgPS,
      double[] jPlotRange, double[] jPlotScale, double[] jRegression,
      double[][] jScaledPoints);
}
