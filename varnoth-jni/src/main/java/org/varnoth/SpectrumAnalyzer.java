package org.varnoth;

import Varnoth.Varnoth;
import java.awt.image.BufferedImage;
import java.awt.image.Raster;
import java.io.Serializable;
import java.lang.reflect.Array;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Locale;
import java.util.Objects;
import java.util.function.Function;
import java.util.function.IntFunction;

/**
 * The spectral slope of grey images of any size. An image of at least N x N
 * is converted to grey (see {@link GreyImages}), an N x N window is taken
 * from it (N = 128 unless {@linkplain Builder#side(int) chosen}: a power of
 * two from 32 to 4096), and the window's centred power spectrum, radial
 * profile and log-log line fit are computed:
 *
 * <pre>{@code
 * SpectrumResult r = SpectrumAnalyzer.create().analyze(ImageIO.read(file));
 * double slope = r.slope();
 * }</pre>
 *
 * <p>Windows ({@link Window}): the centre crop, whose top-left corner is at row
 * {@code (height - N) / 2}, column {@code (width - N) / 2} in integer
 * division (the default); or a reduction of the largest centred square whose
 * side is a multiple of N, low-pass filtered against aliasing or, as an
 * explicit choice, area-averaged; or, through
 * {@link #analyzeTiles(double[][])}, every whole N x N tile.
 *
 * <p>Conventions: the spectrum is the unscaled forward 2-D DFT, centred at row
 * N / 2, column N / 2; the power of an element is (|F| / N^2)^2; profile value
 * k, k = 0 to N / 2, is the mean power of the elements whose distance from
 * the centre rounds to k; the fit is the least-squares line through the
 * points (ln(1 + (99 / (N / 2)) k), ln profile[k]) of the strictly positive
 * profile values (radii 0 to N / 2 onto 1 to 100; ln(1 + 1.546875 k) for
 * N = 128), slope and intercept 0.0 when fewer than two are positive.
 *
 * <p>Every window goes to native code once, as one flat array, through the
 * library Varnoth_Spectra, which is built from the same sources as the
 * natives of {@link Varnoth}: for N = 128, with every option at its default,
 * the results are those of those natives, bit for bit.
 *
 * <p>Ring 0 is the power of the window's mean, so the brightness of an image
 * moves its slope: the point (0, ln mean^2) sits at the left end of the line
 * and the fit follows it: on synthetic images whose power falls as 1/f^beta
 * (beta 0 to 3), a mean of 128 instead of 1 moved every slope by -0.606 (from
 * -2.029 to -2.635 for beta 2). {@link Builder#removeMean(boolean)} subtracts the
 * window's mean before the transform; ring 0 then holds only the rounding
 * residue of that subtraction and is left out of the fit (and of the chart),
 * so the slope no longer depends on brightness. It is off by default: with
 * every option at its default, the results are those of the natives, bit for
 * bit.
 *
 * <p>Measuring a slope well ({@link Builder}): a {@linkplain Builder#fitRange
 * band of rings} to fit (ring 0 is the window's brightness, the highest rings
 * carry noise and compression artefacts); the {@linkplain Axis frequency
 * axis}, on which the slope is minus the exponent alpha of P(f) ~ f^-alpha as
 * papers report it; the fit's standard error, 95 % interval and R^2
 * ({@link LineFit}); a {@linkplain Fit weighted fit} whose uncertainty holds
 * on fields of known exponent; a
 * {@linkplain Taper Hann taper} against the false power of the jump between
 * opposite edges; and {@linkplain Builder#sectors(int) direction sectors}
 * with their own profiles and fits.
 *
 * <p>The analyser never prints and never calls {@link Varnoth#initialize()}
 * (the natives' constants are set when the library loads). Instances of this
 * class are immutable and are safe for use by multiple concurrent threads.
 *
 * @serial exclude
 */
public final class SpectrumAnalyzer implements Serializable {
  private static final long serialVersionUID = 2L;

  /** The default side of the window that is transformed, the natives' side. */
  public static final int SIDE = 128;
  /** The number of values in the radial profile of a 128 x 128 window, one per ring 0 to 64. */
  public static final int PROFILE_SIZE = 65;
  /** The smallest side of a window. */
  public static final int MIN_SIDE = SpectraNatives.MIN_SIDE;
  /** The largest side of a window. */
  public static final int MAX_SIDE = SpectraNatives.MAX_SIDE;

  /** How the N x N window is taken from a larger image. */
  public enum Window {
    /** The centre N x N crop. */
    CROP,
    /**
     * The reduction of the largest centred square whose side s is a multiple
     * of N, without aliasing (for an image smaller than 2 N in either
     * dimension, the crop): each row of the square, then each column of the
     * result, filtered by a low-pass FIR whose cutoff is the reduced grid's
     * Nyquist frequency, 1 / (2 f) cycles per pixel (f = s / N), and sampled
     * every f pixels.
     *
     * <p>The filter passes rings 0 to N / 2 - h of the reduced window
     * (h = min(16, N / 8): rings 0 to 48 at N = 128) within 1e-3 of their
     * amplitude along each axis, and attenuates rings N / 2 + h and beyond by
     * at least 60 dB, so that no ring up to N / 2 - h receives an alias
     * (ring k's partner is N - k) of more than 1e-3. The rings between are
     * damped, half the amplitude per axis at N / 2: fit no higher than ring
     * N / 2 - h (on periodic 1/f^alpha fields reduced from 512 to 128, rings
     * 8 to 64 read alpha 0.12 too high, rings 8 to 48 within 0.01).
     *
     * <p>The taps: a Kaiser-windowed sinc of L taps, tap i (i = 0 to L - 1)
     * at the offset u = i - (L - 1) / 2 from its output (a half-integer when
     * L is even), of weight
     * <pre>
     *   w_i = sinc(u / f) I0(beta sqrt(1 - (2 u / (L - 1))^2)),   sinc(x) = sin(pi x) / (pi x),
     * </pre>
     * sinc(0) = 1, I0 the modified Bessel function of order 0 (its power
     * series summed from k = 0 until a term leaves the sum unchanged), and
     * t_i = w_i / (w_0 + w_1 + ... + w_(L-1)), the sum added in that order;
     * the taps past the middle are copies of those before it, so the filter
     * is exactly symmetric. Kaiser's formulas for a stopband attenuation of
     * A = 65 dB (5 dB more than wanted, as the formulas are approximate) and
     * a transition band 2 h / s cycles per pixel wide give
     * <pre>
     *   beta = 0.1102 (A - 8.7) = 6.20426,   L = ceil((A - 8) / (2.285 2 pi (2 h / s))) + 1,
     * </pre>
     * L raised by one when L - f is odd: for N up to 128 L = ceil(15.88 f) + 1
     * or one more (34 taps for f = 2, 367 for f = 23), from 128 on about
     * 0.124 N f. From N = 32 to 4096 and f = 2 to 40 (to 8 for N from 1024,
     * to 200 for N up to 128) the response at every frequency of the square
     * stayed within 7.8e-4 of 1 up to ring N / 2 - h and 63.9 dB down or
     * more from ring N / 2 + h on.
     *
     * <p>The sums: the square is taken as periodic (the convolution is
     * circular over it). Output j (j = 0 to N - 1) of a line of s values x_0
     * to x_(s-1) sits at f j + (f - 1) / 2, the centre of the f values that
     * the area average would average:
     * <pre>
     *   y_j = (t_0 d_(f j) + t_1 d_(f j + 1) + ... + t_(L-1) d_(f j + L - 1)) + x_0,
     *   d_q = x_((q - (L - f) / 2) mod s) - x_0,
     * </pre>
     * added in ascending tap order from the first product, then x_0 added.
     * As the taps sum to 1, this is the filter's sum of t_i x; taken relative
     * to its first value, a constant line comes out as exactly the constant
     * (a constant -0.0 as 0.0). The plain sum of t_i x does not give that: in
     * double the taps sum to 1 within a few dozen units in the last place,
     * and the products are rounded (with the taps of f = 23 the plain sum
     * changed 887 of 1000 constants). The rows go first, top to bottom,
     * each into N values; then the N columns of those s x N values, left to
     * right. Java double arithmetic and StrictMath only, so the same bits on
     * every JVM.
     *
     * <p>The cost: L s N multiply-adds for the rows and L N N for the
     * columns, with s N doubles held between them; the taps are computed once
     * per reduction, in far less time. For a 3000 x 4000 image and N = 128
     * (s = 2944, f = 23, L = 367): 144 million multiply-adds.
     */
    RESIZE,
    /**
     * The area average of the same square as {@link #RESIZE}: each value is
     * the mean of an f x f block, summed row by row and divided by f * f.
     * The box filter damps the rings below the reduced grid's Nyquist
     * frequency and lets much of what lies above fold back onto them, so
     * spectra read steeper: on periodic 1/f^alpha fields reduced from 512 to
     * 128 and fitted by weighted least squares on the frequency axis, alpha
     * read 0.13 (alpha 1) to 0.20 (alpha 3) too high over rings 2 to 48, 0.16
     * to 0.26 over rings 8 to 48. For an image smaller than 2 N in either
     * dimension it is the crop.
     */
    AREA_AVERAGE
  }

  /**
   * The abscissa of the log-log points.
   *
   * <p>On the natives' axis the same spectrum reads steeper than on the
   * frequency axis, since ln(1 + 1.546875 k) grows more slowly than ln k at
   * small k: periodic synthetic 1/f^2 fields of side 128 gave -2.05 to -2.10
   * over rings 2 to 48 on the natives' axis, -1.93 to -1.98 on the frequency
   * axis.
   */
  public enum Axis {
    /**
     * The natives' abscissa ln(1 + (99 / (N / 2)) k): radii 0 to N / 2 onto 1
     * to 100 (ln(1 + 1.546875 k) for N = 128).
     */
    NATIVES,
    /**
     * ln(k / N), the frequency in cycles per pixel; ring 0 is never used. The
     * slope is minus the exponent alpha of P(f) ~ f^-alpha.
     */
    FREQUENCY;

    /**
     * The abscissa of ring k of a 128 x 128 window on this axis.
     *
     * @param k the ring, 0 to 64
     * @return ln(1 + 1.546875 k), or ln(k / 128) (minus infinity for ring 0)
     */
    public double abscissa(int k) {
      return abscissa(k, SIDE);
    }

    /**
     * The abscissa of ring k of a window of side N on this axis.
     *
     * @param k the ring, 0 to N / 2
     * @param side the side N
     * @return ln(k (99 / (N / 2)) + 1.0), or ln(k / N) (minus infinity for ring 0)
     */
    public double abscissa(int k, int side) {
      return this == FREQUENCY ? Math.log(k / (double) side)
          : Math.log(k * (99.0 / (side / 2)) + 1.0);
    }
  }

  /**
   * The taper applied to the window before the transform.
   *
   * <p>{@link #HANN}: the window's mean (the sum of its N^2 values row by row,
   * divided by N^2) is subtracted, then the value at row r, column c is
   * multiplied by h(r) h(c), the periodic Hann taper
   * {@code h(n) = 0.5 - 0.5 cos(2 pi n / N)}. The jump between opposite
   * edges of a crop then adds no cross of false power along the axes. The
   * taper removes power: the mean of h^2 is 3/8 along each axis, so for a
   * spectrum that changes slowly from ring to ring the power falls by a
   * factor of about (3/8)^2 = 9/64 and the intercept by about
   * ln(64/9) = 1.96; the slope is unchanged. As with the mean option, the
   * default fit range is then 1:N/2.
   */
  public enum Taper {
    /** No taper: the window as it is. */
    NONE,
    /** The mean subtracted, then the 2-D periodic Hann taper. */
    HANN
  }

  /**
   * How the line is fitted through the log-log points.
   */
  public enum Fit {
    /**
     * Ordinary least squares, every point weighing alike; on the natives'
     * axis the natives' own line (the default).
     */
    OLS,
    /**
     * Weighted least squares: each ring's logarithm corrected for its bias
     * and weighted by the inverse of its variance, both from the number of
     * spectrum elements behind the ring mean, since the log of a mean of few
     * elements is both noisier and lower than that of many. The slope's
     * standard error is the one the weights predict, widened by the
     * scatter about the line where that is larger. The derivation is
     * {@link WeightedFit}'s.
     */
    WLS
  }

  /** The largest number of direction sectors. */
  public static final int MAX_SECTORS = 36;

  // HANN[i]: the taper of side MIN_SIDE << i.
  private static final double[][] HANN = hannTapers();
  private static final int SCRATCH_SIDE = 256;
  private static final ThreadLocal<double[]> SCRATCH = new ThreadLocal<>();
  private static final ThreadLocal<byte[]> SCRATCH_LEVELS = new ThreadLocal<>();

  private final int side;
  private final Window window;
  private final boolean removeMean;
  private final boolean powerSpectrum;
  private final boolean chart;
  private final Taper taper;
  private final Axis axis;
  /** The fit range the builder was given, or null for the default. */
  private final FitRange chosenFitRange;
  private final FitRange fitRange;
  private final int sectors;
  private final Fit estimator;
  private final boolean literature;

  private SpectrumAnalyzer(Builder b) {
    if (b.fitRange != null && b.fitRange.kmax() > b.side / 2) {
      throw new IllegalArgumentException("expected a fit range within rings 0:" + b.side / 2
          + " of a " + b.side + " x " + b.side + " window, got " + b.fitRange);
    }
    this.side = b.side;
    this.estimator = b.estimator;
    this.literature = b.literature;
    this.window = b.window;
    this.removeMean = b.removeMean;
    this.powerSpectrum = b.powerSpectrum;
    this.chart = b.chart;
    this.taper = b.taper;
    this.axis = b.axis;
    this.sectors = b.sectors;
    this.chosenFitRange = b.fitRange;
    boolean meanRemoved = b.removeMean || b.taper == Taper.HANN;
    this.fitRange = b.fitRange != null ? b.fitRange
        : b.literature ? FitRange.literature(b.side)
        : meanRemoved ? FitRange.withoutMean(b.side) : FitRange.all(b.side);
  }

  /**
   * A builder that starts from this analyser's options; a fit range left at
   * its default stays so (it follows the mean option).
   *
   * @return a new builder
   */
  public Builder toBuilder() {
    Builder b = new Builder();
    b.side = side;
    b.estimator = estimator;
    b.literature = literature;
    b.window = window;
    b.removeMean = removeMean;
    b.powerSpectrum = powerSpectrum;
    b.chart = chart;
    b.taper = taper;
    b.axis = axis;
    b.fitRange = chosenFitRange;
    b.sectors = sectors;
    return b;
  }

  /**
   * The side N of the window that is transformed.
   *
   * @return a power of two from 32 to 4096
   */
  public int side() {
    return side;
  }

  /**
   * How the line is fitted.
   *
   * @return {@link Fit#OLS} or {@link Fit#WLS}
   */
  public Fit estimator() {
    return estimator;
  }

  /**
   * Whether the analyser was built from {@link Builder#literature()}, so that
   * its default fit range is the literature's.
   *
   * @return the literature option
   */
  public boolean literature() {
    return literature;
  }

  /**
   * How the window is taken from a larger image.
   *
   * @return the window
   */
  public Window window() {
    return window;
  }

  /**
   * Whether each window's mean is subtracted before the transform.
   *
   * @return the mean option
   */
  public boolean removeMean() {
    return removeMean;
  }

  /**
   * The taper of the window.
   *
   * @return the taper
   */
  public Taper taper() {
    return taper;
  }

  /**
   * The abscissa of the fit.
   *
   * @return the axis
   */
  public Axis axis() {
    return axis;
  }

  /**
   * The rings the line is fitted through: the builder's, or the default
   * (0:N/2, 1:N/2 when the mean is removed, 6:3N/8 after
   * {@link Builder#literature()}).
   *
   * @return the fit range
   */
  public FitRange fitRange() {
    return fitRange;
  }

  /**
   * The number of direction sectors.
   *
   * @return 0, or 2 to 36
   */
  public int sectors() {
    return sectors;
  }

  /**
   * Whether results carry the power spectrum.
   *
   * @return the power spectrum option
   */
  public boolean powerSpectrum() {
    return powerSpectrum;
  }

  /**
   * Whether results carry the chart information.
   *
   * @return the chart option
   */
  public boolean chart() {
    return chart;
  }

  /**
   * Equal when every option is equal, a fit range left at its default
   * (which follows the mean option) differing from the same range chosen.
   */
  @Override
  public boolean equals(Object o) {
    return o instanceof SpectrumAnalyzer a && side == a.side && estimator == a.estimator
        && literature == a.literature
        && window == a.window
        && removeMean == a.removeMean
        && powerSpectrum == a.powerSpectrum && chart == a.chart && taper == a.taper
        && axis == a.axis && fitRange.equals(a.fitRange)
        && Objects.equals(chosenFitRange, a.chosenFitRange) && sectors == a.sectors;
  }

  @Override
  public int hashCode() {
    return Objects.hash(side, estimator, literature, window, removeMean, powerSpectrum, chart,
        taper, axis, fitRange,
        chosenFitRange, sectors);
  }

  /** The options, as {@code SpectrumAnalyzer[side=128, window=crop, removeMean=false, ...]}. */
  @Override
  public String toString() {
    return "SpectrumAnalyzer[side=" + side + ", window=" + lower(window)
        + ", removeMean=" + removeMean
        + ", taper=" + lower(taper) + ", axis=" + lower(axis) + ", fitRange=" + fitRange
        + (chosenFitRange == null ? literature ? " (literature)" : " (default)" : "")
        + ", fit=" + lower(estimator)
        + ", sectors=" + sectors
        + ", powerSpectrum=" + powerSpectrum + ", chart=" + chart + "]";
  }

  private static String lower(Enum<?> e) {
    return e.name().toLowerCase(Locale.ROOT);
  }

  // h(n) = 0.5 - 0.5 cos(2 pi n / N), n = 0 .. N - 1, for every side N.
  private static double[][] hannTapers() {
    double[][] tapers = new double[Integer.numberOfTrailingZeros(MAX_SIDE / MIN_SIDE) + 1][];
    for (int i = 0; i < tapers.length; i++) {
      int side = MIN_SIDE << i;
      double[] h = new double[side];
      for (int n = 0; n < side; n++) {
        h[n] = 0.5 - 0.5 * StrictMath.cos(2.0 * Math.PI * n / side);
      }
      tapers[i] = h;
    }
    return tapers;
  }

  private static double[] hann(int side) {
    return HANN[Integer.numberOfTrailingZeros(side / MIN_SIDE)];
  }

  /**
   * The side N of the window whose profile has a length.
   *
   * @param profile N / 2 + 1 values
   * @return N
   * @throws NullPointerException if {@code profile} is null
   * @throws IllegalArgumentException unless the length is N / 2 + 1 for a side N
   */
  static int sideOfProfile(double[] profile) {
    Objects.requireNonNull(profile, "profile is null");
    int side = 2 * (profile.length - 1);
    if (!isSide(side)) {
      throw new IllegalArgumentException("expected a profile of N / 2 + 1 values for a side N "
          + "from " + MIN_SIDE + " to " + MAX_SIDE + " (a power of two), got "
          + profile.length + " values");
    }
    return side;
  }

  private static boolean isSide(int n) {
    return n >= MIN_SIDE && n <= MAX_SIDE && Integer.bitCount(n) == 1;
  }

  /**
   * An analyser with every option at its default: the centre crop, the mean
   * kept, no power spectrum, no chart.
   *
   * @return the analyser
   */
  public static SpectrumAnalyzer create() {
    return builder().build();
  }

  /**
   * A builder of analysers, every option at its default.
   *
   * @return a new builder
   */
  public static Builder builder() {
    return new Builder();
  }

  /**
   * The analysis of a grey image.
   *
   * @param image rows of values, outer index the row; at least N x N, every
   *     row of one length; not modified
   * @return the analysis of the image's window
   * @throws NullPointerException if {@code image} or a row is null
   * @throws IllegalArgumentException if the rows differ in length or the image
   *     is smaller than N x N
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public SpectrumResult analyze(double[][] image) {
    double[] w = switch (window) {
      case CROP -> ImageWindows.crop(image, side, scratchWindow());
      case RESIZE -> ImageWindows.lowPassReduction(image, side);
      case AREA_AVERAGE -> ImageWindows.areaAverage(image, side);
    };
    return analyzeWindow(w);
  }

  /**
   * The analysis of an image, converted to grey by {@link GreyImages#of(BufferedImage)}.
   *
   * @param image the image, at least N x N
   * @return the analysis of the image's window
   * @throws NullPointerException if {@code image} is null
   * @throws IllegalArgumentException if the image is smaller than N x N
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public SpectrumResult analyze(BufferedImage image) {
    Region r = windowRegion(checkedSize(image).getHeight(), image.getWidth());
    if (window == Window.CROP && takesLevels() && GreyImages.hasByteLevels(image)) {
      return analyzeLevels(GreyImages.levels(image.getRaster(), r.left(), r.top(), side,
          scratchLevels()));
    }
    if (window == Window.CROP) {
      return analyzeWindow(GreyImages.square(image, r.left(), r.top(), side, scratchWindow()),
          GreyImages.hasIntegerSamples(image.getRaster()));
    }
    return analyze(GreyImages.of(image.getSubimage(r.left(), r.top(), r.side(), r.side())));
  }

  /**
   * The analysis of a raster, converted to grey by {@link GreyImages#of(Raster)}.
   *
   * @param raster the raster, at least N x N
   * @return the analysis of the raster's window
   * @throws NullPointerException if {@code raster} is null
   * @throws IllegalArgumentException if the raster is smaller than N x N
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public SpectrumResult analyze(Raster raster) {
    Region r = windowRegion(checkedSize(raster).getHeight(), raster.getWidth());
    if (window == Window.CROP && takesLevels() && GreyImages.hasByteLevels(raster)) {
      return analyzeLevels(GreyImages.levels(raster, r.left(), r.top(), side, scratchLevels()));
    }
    if (window == Window.CROP) {
      return analyzeWindow(GreyImages.square(raster, r.left(), r.top(), side, scratchWindow()),
          GreyImages.hasIntegerSamples(raster));
    }
    return analyze(GreyImages.of(raster.createChild(raster.getMinX() + r.left(),
        raster.getMinY() + r.top(), r.side(), r.side(), 0, 0, null)));
  }

  /**
   * The analysis of every whole N x N tile of a grey image, row by row of
   * tiles: tile (i, j) covers rows N i to N i + N - 1 and columns N j to N j +
   * N - 1; the rows and columns left over at the bottom and right edges are
   * not used. The analyser's window option does not apply.
   *
   * @param image rows of values, outer index the row; at least N x N, every
   *     row of one length; not modified
   * @return one result per tile
   * @throws NullPointerException if {@code image} or a row is null
   * @throws IllegalArgumentException if the rows differ in length or the image
   *     is smaller than N x N
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public List<TileResult> analyzeTiles(double[][] image) {
    int[] size = ImageWindows.checkedSize(image, side);
    List<TileResult> results = new ArrayList<>();
    for (int i = 0; i < size[0] / side; i++) {
      analyzeTileRow(image, i, i, size[1] / side, results);
    }
    return results;
  }

  // Tiles (row, 0 .. columns - 1), cut from row stripRow of the tiles of a
  // strip of the image, one window at a time.
  private void analyzeTileRow(double[][] strip, int stripRow, int row, int columns,
      List<TileResult> results) {
    for (int j = 0; j < columns; j++) {
      results.add(new TileResult(row, j,
          analyzeWindow(ImageWindows.tile(strip, stripRow, j, side))));
    }
  }

  /**
   * The analysis of every whole tile of an image converted to grey, as
   * {@link #analyzeTiles(double[][])}.
   *
   * @param image the image, at least N x N
   * @return one result per tile
   * @throws NullPointerException if {@code image} is null
   * @throws IllegalArgumentException if the image is smaller than N x N
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public List<TileResult> analyzeTiles(BufferedImage image) {
    checkedSize(image);
    int columns = image.getWidth() / side;
    List<TileResult> results = new ArrayList<>();
    // One row of tiles converted to grey at a time.
    for (int i = 0; i < image.getHeight() / side; i++) {
      double[][] strip = GreyImages.of(image.getSubimage(0, side * i, side * columns, side));
      analyzeTileRow(strip, 0, i, columns, results);
    }
    return results;
  }

  /**
   * The analysis of every whole tile of a raster converted to grey, as
   * {@link #analyzeTiles(double[][])}.
   *
   * @param raster the raster, at least N x N
   * @return one result per tile
   * @throws NullPointerException if {@code raster} is null
   * @throws IllegalArgumentException if the raster is smaller than N x N
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public List<TileResult> analyzeTiles(Raster raster) {
    checkedSize(raster);
    int columns = raster.getWidth() / side;
    List<TileResult> results = new ArrayList<>();
    for (int i = 0; i < raster.getHeight() / side; i++) {
      double[][] strip = GreyImages.of(raster.createChild(raster.getMinX(),
          raster.getMinY() + side * i, side * columns, side, 0, 0, null));
      analyzeTileRow(strip, 0, i, columns, results);
    }
    return results;
  }

  /** A square of an image: its top-left corner and side, in pixels. */
  private record Region(int top, int left, int side) {}

  // The square of an image that the window reads: the crop's N x N, or the
  // reductions' largest centred square whose side is a multiple of N. Only
  // that square is converted to grey; the window of the square is then the
  // window of the image.
  private Region windowRegion(int height, int width) {
    int s = window == Window.CROP ? side : side * (Math.min(height, width) / side);
    return new Region((height - s) / 2, (width - s) / 2, s);
  }

  // Size errors before any conversion, in the image's own terms.
  private BufferedImage checkedSize(BufferedImage image) {
    Objects.requireNonNull(image, "image is null");
    checkSize(image.getHeight(), image.getWidth());
    return image;
  }

  private Raster checkedSize(Raster raster) {
    Objects.requireNonNull(raster, "raster is null");
    checkSize(raster.getHeight(), raster.getWidth());
    return raster;
  }

  private void checkSize(int height, int width) {
    if (height < side || width < side) {
      throw new IllegalArgumentException("expected at least " + side + " x " + side
          + " (height x width), got " + height + " x " + width);
    }
  }

  // A window of side * side values for this thread to overwrite: the crops
  // are written there, as the window is dead once the native call has
  // returned and a fresh array is cold memory on every call. Windows larger
  // than SCRATCH_SIDE^2 are not kept.
  private double[] scratchWindow() {
    return scratch(SCRATCH, double[]::new);
  }

  // The same, of side * side bytes, for a window of 8-bit grey levels.
  private byte[] scratchLevels() {
    return scratch(SCRATCH_LEVELS, byte[]::new);
  }

  // This thread's array of side * side elements in kept, made when it has
  // none of that length.
  private <A> A scratch(ThreadLocal<A> kept, IntFunction<A> make) {
    int length = side * side;
    if (side > SCRATCH_SIDE) {
      return make.apply(length);
    }
    A w = kept.get();
    if (w == null || Array.getLength(w) != length) {
      w = make.apply(length);
      kept.set(w);
    }
    return w;
  }

  // The window w (N x N values row by row, modified here, not kept),
  // transformed natively in one call.
  private SpectrumResult analyzeWindow(double[] w) {
    return analyzeWindow(w, false);
  }

  // knownFinite: w holds only finite values (grey levels of integer
  // samples), so that they need not be looked at.
  private SpectrumResult analyzeWindow(double[] w, boolean knownFinite) {
    NativeLibrary.loadSpectra();
    boolean finite = knownFinite || allFinite(w);
    if (removeMean || taper == Taper.HANN) {
      subtractMean(w);
    }
    if (taper == Taper.HANN) {
      double[] h = hann(side);
      for (int r = 0; r < side; r++) {
        for (int c = 0; c < side; c++) {
          w[side * r + c] *= h[r] * h[c];
        }
      }
    }
    return spectrumFitted(finite, (profile, power) ->
        SpectraNatives.spectrum(w, side, profile, power));
  }

  // Whether a window goes to native code as it is, with neither its mean
  // removed nor a taper: then 8-bit grey levels go as their bytes, made
  // doubles natively, and no Java loop converts them.
  private boolean takesLevels() {
    return !removeMean && taper != Taper.HANN;
  }

  // The window of 8-bit grey levels b (N x N bytes row by row, not kept),
  // each the double b & 0xff, transformed natively in one call.
  private SpectrumResult analyzeLevels(byte[] b) {
    NativeLibrary.loadSpectra();
    return spectrumFitted(true, (profile, power) ->
        SpectraNatives.spectrumOfBytes(b, side, profile, power));
  }

  /** One native call that fills a window's profile and, when asked, its power. */
  @FunctionalInterface
  private interface Spectrum {
    void into(double[] profile, double[] power);
  }

  // The profile (and the power, for the sectors or when asked) of one
  // window, and everything fitted to them.
  private SpectrumResult spectrumFitted(boolean finite, Spectrum spectrum) {
    double[] profile = new double[side / 2 + 1];
    double[] power = powerSpectrum || sectors > 0 ? new double[side * side] : null;
    spectrum.into(profile, power);
    SpectrumResult.SectorFits sectorFits = SpectrumResult.SectorFits.NONE;
    if (sectors > 0) {
      SectorProfiles.Profiles p = SectorProfiles.of(power, side, sectors);
      sectorFits = sectorFits(p.means(), p.counts());
    }
    return fitted(profile, SectorProfiles.ringCounts(side),
        powerSpectrum ? rows(power, side) : null, sectorFits, finite);
  }

  // Each sector's fit of its profile means[i], counts[i] elements behind
  // each ring.
  private SpectrumResult.SectorFits sectorFits(double[][] means, int[][] counts) {
    List<SectorResult> results = new ArrayList<>();
    for (int i = 0; i < sectors; i++) {
      LineFit line = estimator == Fit.WLS
          ? WeightedFit.of(means[i], counts[i], fitRange, axis, taper)
          : LineFit.of(means[i], fitRange, axis);
      results.add(new SectorResult(i * 180.0 / sectors, means[i], line));
    }
    return new SpectrumResult.SectorFits(results, counts);
  }

  private static double[][] rows(double[] values, int side) {
    double[][] rows = new double[side][];
    for (int r = 0; r < side; r++) {
      rows[r] = Arrays.copyOfRange(values, side * r, side * (r + 1));
    }
    return rows;
  }

  private static boolean allFinite(double[] w) {
    for (double v : w) {
      if (!Double.isFinite(v)) {
        return false;
      }
    }
    return true;
  }

  /**
   * The fit of the tiles' mean profile, by {@link #fit(double[])}: ring k of
   * the mean is the sum of the tiles' ring k, added in the order of the list
   * from 0.0, divided by the number of tiles. For the tiles of
   * {@link #analyzeTiles}, a steadier estimate of the image's slope than any
   * one tile's; not a measurement when a tile's window holds non-finite
   * pixels. With sectors, and tiles that have them, each sector's profile is
   * the mean of the tiles' profiles of that sector in the same way, and is
   * fitted as a tile's is. The weighted fit counts the elements of every tile.
   *
   * @param tiles the tiles, at least one
   * @return the fit of the mean profile, with that profile
   * @throws NullPointerException if {@code tiles} or a tile is null
   * @throws IllegalArgumentException if {@code tiles} is empty, or a tile is
   *     not of this analyser's side
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public SpectrumResult tilesMean(List<TileResult> tiles) {
    if (tiles.isEmpty()) {
      throw new IllegalArgumentException("expected at least one tile, got none");
    }
    for (TileResult t : tiles) {
      if (t.result().side() != side) {
        throw new IllegalArgumentException("expected tiles of side " + side + ", got one of side "
            + t.result().side());
      }
    }
    double[] mean = meanProfile(tiles, t -> t.profile());
    // The mean of T ring means stands on T times the elements of one.
    int[] counts = SectorProfiles.ringCounts(side).clone();
    for (int k = 0; k < counts.length; k++) {
      counts[k] *= tiles.size();
    }
    SpectrumResult.SectorFits sectorFits = SpectrumResult.SectorFits.NONE;
    if (sectors > 0 && tiles.stream().allMatch(t -> t.result().sectors().size() == sectors)) {
      double[][] means = new double[sectors][];
      int[][] sums = new int[sectors][side / 2 + 1];
      for (int i = 0; i < sectors; i++) {
        final int sector = i;
        means[i] = meanProfile(tiles, t -> t.sectors().get(sector).profile());
        for (TileResult t : tiles) {
          int[] c = t.result().sectorCounts()[i];
          for (int k = 0; k < c.length; k++) {
            sums[i][k] += c[k];
          }
        }
      }
      sectorFits = sectorFits(means, sums);
    }
    return fitted(mean, counts, null, sectorFits,
        tiles.stream().allMatch(t -> t.result().finiteWindow()));
  }

  // Ring k of the mean: the tiles' ring k added in the order of the list
  // from 0.0, divided by the number of tiles.
  private double[] meanProfile(List<TileResult> tiles,
      Function<SpectrumResult, double[]> profileOf) {
    double[] mean = new double[side / 2 + 1];
    for (TileResult t : tiles) {
      double[] p = profileOf.apply(t.result());
      for (int k = 0; k < mean.length; k++) {
        mean[k] += p[k];
      }
    }
    for (int k = 0; k < mean.length; k++) {
      mean[k] /= tiles.size();
    }
    return mean;
  }

  /**
   * The line fit of a radial profile that the caller has, for instance the
   * mean of the profiles of several tiles, by the same recipe as
   * {@link #analyze(double[][])}: the fit range (with the mean option or the
   * taper, 1:N/2 by default) and the axis apply, and so does the chart option;
   * there are no sectors.
   *
   * @param profile N / 2 + 1 values, one per ring 0 to N / 2, N this
   *     analyser's side
   * @return the fit, with the profile and no power spectrum
   * @throws NullPointerException if {@code profile} is null
   * @throws IllegalArgumentException if {@code profile} does not hold N / 2 + 1 values
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public SpectrumResult fit(double[] profile) {
    Objects.requireNonNull(profile, "profile is null");
    if (profile.length != side / 2 + 1) {
      throw new IllegalArgumentException("expected a profile of " + (side / 2 + 1)
          + " values, got " + profile.length);
    }
    return fitted(profile, SectorProfiles.ringCounts(side), null, SpectrumResult.SectorFits.NONE,
        true);
  }

  // The fit over the fit range; the chart is the natives' chart of the
  // profile values in the range.
  // counts: the number of spectrum elements behind each ring mean.
  private SpectrumResult fitted(double[] profile, int[] counts, double[][] power,
      SpectrumResult.SectorFits sectorFits, boolean finiteWindow) {
    // One native call gives the natives' line of the profile in the range
    // and the chart of the same values.
    ChartInfo nativeChart = chart || (axis == Axis.NATIVES && estimator == Fit.OLS)
        ? ChartInfo.of(fitRange.masked(profile)) : null;
    FitPoints points = estimator == Fit.WLS
        ? WeightedFit.points(profile, counts, fitRange, axis, taper)
        : FitPoints.of(profile, fitRange, axis);
    LineFit line = estimator == Fit.WLS ? WeightedFit.of(points)
        : LineFit.of(points, axis, nativeChart);
    return new SpectrumResult(line, Curvature.of(points), estimator, fitRange, axis, taper,
        profile, counts, power, chart ? nativeChart : null, sectorFits, finiteWindow);
  }

  // Subtracts the mean: the sum of the N^2 values row by row, divided by N^2.
  private static void subtractMean(double[] w) {
    double sum = 0.0;
    for (double v : w) {
      sum += v;
    }
    double mean = sum / w.length;
    for (int i = 0; i < w.length; i++) {
      w[i] -= mean;
    }
  }

  /** A builder of {@link SpectrumAnalyzer}s. Not safe for concurrent use. */
  public static final class Builder {
    private int side = SIDE;
    private Fit estimator = Fit.OLS;
    private boolean literature;
    private Window window = Window.CROP;
    private boolean removeMean;
    private boolean powerSpectrum;
    private boolean chart;
    private Taper taper = Taper.NONE;
    private Axis axis = Axis.NATIVES;
    private FitRange fitRange;
    private int sectors;

    private Builder() {}

    /**
     * The band of rings that the line is fitted through, both ends included:
     * the rings in it whose profile value is strictly positive (on the
     * frequency axis also finite, and not ring 0). The default is 0:N/2, or
     * 1:N/2 when the mean is removed ({@link #removeMean(boolean)},
     * {@link Taper#HANN}): the logarithm of ring 0's tiny residue would pull the
     * line far off; after {@link #literature()} it is 6:3N/8. For 0:64 of a
     * 128 x 128 window on the natives' axis the fit is the natives' own. A
     * band that leaves fewer than two points gives slope
     * and intercept 0.0, and {@link LineFit#fitted()} false. A band beyond ring
     * N / 2 is refused by {@link #build()}.
     *
     * @param kmin the first ring, 0 or more
     * @param kmax the last ring, more than kmin and at most 2048
     * @return this builder
     * @throws IllegalArgumentException unless 0 &le; kmin &lt; kmax &le; 2048
     */
    public Builder fitRange(int kmin, int kmax) {
      return fitRange(new FitRange(kmin, kmax));
    }

    /**
     * The band of rings that the line is fitted through, as
     * {@link #fitRange(int, int)}.
     *
     * @param range the rings, or null for the default
     * @return this builder
     */
    public Builder fitRange(FitRange range) {
      this.fitRange = range;
      return this;
    }


    /**
     * The side N of the window (default 128): a power of two from 32 to 4096.
     * The window is N x N, its profile has N / 2 + 1 rings; an image must be at
     * least N x N.
     *
     * @param side the side
     * @return this builder
     * @throws IllegalArgumentException if {@code side} is not a power of two
     *     from 32 to 4096
     */
    public Builder side(int side) {
      if (!isSide(side)) {
        throw new IllegalArgumentException("expected a side that is a power of two from "
            + MIN_SIDE + " to " + MAX_SIDE + ", got " + side);
      }
      this.side = side;
      return this;
    }

    /**
     * The measurement of the exponent alpha of P(f) ~ f^-alpha as the
     * literature on natural images makes it, and as this library recommends
     * for it: the mean removed, the {@linkplain Taper#HANN Hann taper}, the
     * {@linkplain Axis#FREQUENCY frequency axis}, the {@linkplain Fit#WLS
     * weighted fit}, and unless a fit range is chosen the rings
     * {@linkplain FitRange#literature(int) 6 to 3N/8}. The slope is then
     * minus alpha, its standard error and 95 % interval hold on fields of
     * known exponent, and {@link SpectrumResult#curvature()} says whether a
     * power law describes the rings. Options set after this call replace the
     * literature's.
     *
     * @return this builder
     */
    public Builder literature() {
      this.literature = true;
      this.removeMean = true;
      this.taper = Taper.HANN;
      this.axis = Axis.FREQUENCY;
      this.estimator = Fit.WLS;
      return this;
    }

    /**
     * How the line is fitted (default {@link Fit#OLS}).
     *
     * @param fit the estimator
     * @return this builder
     * @throws NullPointerException if {@code fit} is null
     */
    public Builder fit(Fit fit) {
      this.estimator = Objects.requireNonNull(fit, "fit is null");
      return this;
    }

    /**
     * The abscissa of the fit (default {@link Axis#NATIVES}).
     *
     * @param axis the axis
     * @return this builder
     * @throws NullPointerException if {@code axis} is null
     */
    public Builder axis(Axis axis) {
      this.axis = Objects.requireNonNull(axis, "axis is null");
      return this;
    }

    /**
     * The taper applied to the window (default {@link Taper#NONE}).
     *
     * @param taper the taper
     * @return this builder
     * @throws NullPointerException if {@code taper} is null
     */
    public Builder taper(Taper taper) {
      this.taper = Objects.requireNonNull(taper, "taper is null");
      return this;
    }

    /**
     * Direction sectors (default 0: none). The spectrum's directions, folded
     * onto 0 to 180 degrees, are split into n equal sectors centred at 0,
     * 180/n, 2 180/n, ... degrees; 0 degrees is the horizontal frequency
     * (variation along a row, vertical stripes), 90 the vertical one. The
     * direction of the element at row r, column c of the centred spectrum is
     * atan2(r - N / 2, c - N / 2) in degrees, folded into [0, 180); sector i takes the
     * directions within 90/n degrees of its centre, the lower edge included. Each
     * sector has the profile of the same rings restricted to it (ring 0, the
     * centre, belongs to every sector) and its fit over the fit range and axis
     * ({@link SpectrumResult#sectors()}, {@link SpectrumResult#anisotropy()}).
     *
     * @param n 0, or 2 to 36
     * @return this builder
     * @throws IllegalArgumentException if n is 1, negative or above 36
     */
    public Builder sectors(int n) {
      if (n != 0 && (n < 2 || n > MAX_SECTORS)) {
        throw new IllegalArgumentException("expected 2 to " + MAX_SECTORS
            + " sectors, got " + n);
      }
      this.sectors = n;
      return this;
    }

    /**
     * How the window is taken from a larger image.
     *
     * @param window {@link Window#CROP} (the default), {@link Window#RESIZE} or
     *     {@link Window#AREA_AVERAGE}
     * @return this builder
     * @throws NullPointerException if {@code window} is null
     */
    public Builder window(Window window) {
      this.window = Objects.requireNonNull(window, "window is null");
      return this;
    }

    /**
     * Whether the window's mean is subtracted before the transform (default
     * false); ring 0 is then left out of the fit (the default fit range is
     * 1:N/2).
     *
     * @param removeMean true to subtract the mean
     * @return this builder
     */
    public Builder removeMean(boolean removeMean) {
      this.removeMean = removeMean;
      return this;
    }

    /**
     * Whether results carry the power spectrum (default false).
     *
     * @param powerSpectrum true to keep the N x N power spectrum
     * @return this builder
     */
    public Builder powerSpectrum(boolean powerSpectrum) {
      this.powerSpectrum = powerSpectrum;
      return this;
    }

    /**
     * Whether results carry the chart information (default false).
     *
     * @param chart true to keep the chart information
     * @return this builder
     */
    public Builder chart(boolean chart) {
      this.chart = chart;
      return this;
    }

    /**
     * An analyser with the options set so far.
     *
     * @return the analyser
     * @throws IllegalArgumentException if the fit range reaches beyond ring N / 2
     */
    public SpectrumAnalyzer build() {
      return new SpectrumAnalyzer(this);
    }
  }
}
