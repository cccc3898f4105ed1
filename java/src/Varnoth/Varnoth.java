package Varnoth;

/**
 * Fourier-spectrum analysis of 128 x 128 grey-level images, computed by the
 * native library Varnoth_JNI.
 *
 * <p>Conventions: an image is a {@code double[128][128]} whose outer index is
 * the row. Spectra are the unscaled forward 2-D DFT, kernel
 * exp(-2 pi i (u m + v n) / 128), centred by an FFT shift so that the zero
 * frequency lies at row 64, column 64. The power of an element is
 * (|F| / 16384)^2. A radial profile has 65 values, value k being the mean of
 * the non-NaN elements whose distance from the centre rounds to k.
 *
 * <p>Call {@link #initialize()} once before the first computation. Every
 * method checks its arguments before it writes anything: a null array or row
 * throws {@link NullPointerException}, an array of the wrong size throws
 * {@link IllegalArgumentException}; the message names the failed condition,
 * for an input image "len1 == iSide" (not 128 rows) or "len2 == iSide"
 * (first row not 128 values).
 *
 * <p>The library is loaded when this class is initialised: from the file
 * named by the system property {@code varnoth.library} if it is set,
 * otherwise by {@code System.loadLibrary("Varnoth_JNI")} from
 * {@code java.library.path}.
 */
public final class Varnoth {
  /** Image side: every image is SIDE x SIDE. */
  public static final int SIDE = 128;
  /** Values in a radial profile, one per radius 0 to 64. */
  public static final int PROFILE_SIZE = 65;
  /** System property naming the native library file explicitly. */
  public static final String LIBRARY_PROPERTY = "varnoth.library";

  static {
    String path = System.getProperty(LIBRARY_PROPERTY);
    if (path != null && !path.isEmpty()) {
      System.load(path);
    } else {
      System.loadLibrary("Varnoth_JNI");
    }
  }

  private Varnoth() {}

  /** Sets up the library and prints "Varnoth library initialized.". */
  public static native void initialize();

  /** Returns 0.0; touches nothing. */
  public static native double f_PSD_Dummy0();

  /** Returns 0.0; {@code jImg} is never read, whatever it is. */
  public static native double f_PSD_Dummy1(double[][] jImg);

  /** Copies {@code jImg} in (with the 128 x 128 check), returns 0.0. */
  public static native double f_PSD_Dummy2(double[][] jImg);

  /**
   * Returns 0.0; {@code jImg3Chan}, meant as three channel images, is never
   * read, whatever it is.
   */
  public static native double f_PSD_Dummy3(double[][][] jImg3Chan);

  /** Slope of the least-squares line through the log-log radial profile. */
  public static native double f_PSD_Slope(double[][] jImg);

  /** {slope, intercept} of the log-log line fit of the radial profile. */
  public static native double[] f_PSD_LinearRegression(double[][] jImg);

  /** Centred spectrum: real parts into jImgFT_A, imaginary into jImgFT_O. */
  public static native void f_ImageFFT(double[][] jImg, double[][] jImgFT_A,
      double[][] jImgFT_O);

  /** Centred spectrum: power into jImgFT_A, phase (radians) into jImgFT_O. */
  public static native void f_ImageFFTPowerPhase(double[][] jImg,
      double[][] jImgFT_A, double[][] jImgFT_O);

  /** Power of the centred spectrum, as a new image. */
  public static native double[][] f_ImageFFTPower(double[][] jImg);

  /** The 65-value radial profile of a centred spectrum image. */
  public static native double[] f_RadialAverageSpectra(double[][] jImgFT);

  /**
   * The whole chain: jImgWD gets a copy of jImg, jImgFT its power spectrum,
   * the first 65 values of jImgPS the radial profile; returns the log-log
   * slope (0.0 when fewer than two profile values are positive).
   */
  public static native double f_PSD_Processing(double[][] jImg, double[] jImgPS,
      double[][] jImgFT, double[][] jImgWD);

  /** The chain, writing only the power spectrum. */
  public static native void f_PSD_Processing_FTOnly(double[][] jImg,
      double[][] jImgFT);

  /** The chain, writing only the first 65 values of jImgPS. */
  public static native void f_PSD_Processing_PSOnly(double[][] jImg,
      double[] jImgPS);

  /**
   * Chart of a radial profile: axis ranges (4), scales (2), regression line
   * (2), and N points in chart coordinates, x in row 0 and y in row 1 of
   * jScaledPoints; returns N, the number of positive profile values.
   */
  public static native int f_PlotSpectra_GetChartInfo(double[] jImgPS,
      double[] jPlotRange, double[] jPlotScale, double[] jRegression,
      double[][] jScaledPoints);
}
