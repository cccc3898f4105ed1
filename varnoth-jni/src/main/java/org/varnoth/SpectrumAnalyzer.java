package org.varnoth;

import Varnoth.Varnoth;
import java.awt.image.BufferedImage;
import java.awt.image.Raster;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Objects;

/**
 * The spectral slope of grey images of any size, through the natives of
 * {@link Varnoth}. An image of at least 128 x 128 is converted to grey (see
 * {@link GreyImages}), a 128 x 128 window is taken from it, and the window's
 * centred power spectrum, radial profile and log-log line fit are computed:
 *
 * <pre>{@code
 * SpectrumResult r = SpectrumAnalyzer.create().analyze(ImageIO.read(file));
 * double slope = r.slope();
 * }</pre>
 *
 * <p>Windows ({@link Window}): the centre crop, whose top-left corner is at row
 * {@code (height - 128) / 2}, column {@code (width - 128) / 2} in integer
 * division (the default); or the area-averaging reduction of the largest
 * centred square whose side is a multiple of 128; or, through
 * {@link #analyzeTiles(double[][])}, every whole 128 x 128 tile.
 *
 * <p>Conventions: the spectrum is the unscaled forward 2-D DFT, centred at row
 * 64, column 64; the power of an element is (|F| / 16384)^2; profile value k is
 * the mean power of the elements whose distance from the centre rounds to k;
 * the fit is the least-squares line through the points (ln(1 + 1.546875 k),
 * ln profile[k]) of the strictly positive profile values, slope and intercept
 * 0.0 when fewer than two are positive.
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
 * <p>The analyser never prints and never calls {@link Varnoth#initialize()}
 * (the natives' constants are set when the library loads). Instances of this
 * class are immutable and are safe for use by multiple concurrent threads.
 */
public final class SpectrumAnalyzer {
  /** The side of the window that is transformed. */
  public static final int SIDE = 128;
  /** The number of values in a radial profile, one per ring 0 to 64. */
  public static final int PROFILE_SIZE = 65;

  /** How the 128 x 128 window is taken from a larger image. */
  public enum Window {
    /** The centre 128 x 128 crop. */
    CROP,
    /**
     * The area-averaging reduction of the largest centred square whose side is
     * a multiple of 128: each value is the mean of an f x f block, summed row
     * by row and divided by f * f. For an image smaller than 256 in either
     * dimension it is the crop.
     */
    RESIZE
  }

  private final Window window;
  private final boolean removeMean;
  private final boolean powerSpectrum;
  private final boolean chart;

  private SpectrumAnalyzer(Builder b) {
    this.window = b.window;
    this.removeMean = b.removeMean;
    this.powerSpectrum = b.powerSpectrum;
    this.chart = b.chart;
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
   * @param image rows of values, outer index the row; at least 128 x 128, every
   *     row of one length; not modified
   * @return the analysis of the image's window
   * @throws NullPointerException if {@code image} or a row is null
   * @throws IllegalArgumentException if the rows differ in length or the image
   *     is smaller than 128 x 128
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public SpectrumResult analyze(double[][] image) {
    double[][] w = window == Window.RESIZE ? ImageWindows.reduce(image) : ImageWindows.crop(image);
    return analyzeWindow(w);
  }

  /**
   * The analysis of an image, converted to grey by {@link GreyImages#of(BufferedImage)}.
   *
   * @param image the image, at least 128 x 128
   * @return the analysis of the image's window
   * @throws NullPointerException if {@code image} is null
   * @throws IllegalArgumentException if the image is smaller than 128 x 128
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public SpectrumResult analyze(BufferedImage image) {
    return analyze(GreyImages.of(checkedSize(image)));
  }

  /**
   * The analysis of a raster, converted to grey by {@link GreyImages#of(Raster)}.
   *
   * @param raster the raster, at least 128 x 128
   * @return the analysis of the raster's window
   * @throws NullPointerException if {@code raster} is null
   * @throws IllegalArgumentException if the raster is smaller than 128 x 128
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public SpectrumResult analyze(Raster raster) {
    return analyze(GreyImages.of(checkedSize(raster)));
  }

  /**
   * The analysis of every whole 128 x 128 tile of a grey image, row by row of
   * tiles: tile (i, j) covers rows 128 i to 128 i + 127 and columns 128 j to 128
   * j + 127; the rows and columns left over at the bottom and right edges are
   * not used. The analyser's window option does not apply.
   *
   * @param image rows of values, outer index the row; at least 128 x 128, every
   *     row of one length; not modified
   * @return one result per tile
   * @throws NullPointerException if {@code image} or a row is null
   * @throws IllegalArgumentException if the rows differ in length or the image
   *     is smaller than 128 x 128
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public List<TileResult> analyzeTiles(double[][] image) {
    List<TileResult> results = new ArrayList<>();
    for (ImageWindows.Tile t : ImageWindows.tiles(image)) {
      results.add(new TileResult(t.row(), t.column(), analyzeWindow(t.values())));
    }
    return results;
  }

  /**
   * The analysis of every whole tile of an image converted to grey, as
   * {@link #analyzeTiles(double[][])}.
   *
   * @param image the image, at least 128 x 128
   * @return one result per tile
   * @throws NullPointerException if {@code image} is null
   * @throws IllegalArgumentException if the image is smaller than 128 x 128
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public List<TileResult> analyzeTiles(BufferedImage image) {
    return analyzeTiles(GreyImages.of(checkedSize(image)));
  }

  /**
   * The analysis of every whole tile of a raster converted to grey, as
   * {@link #analyzeTiles(double[][])}.
   *
   * @param raster the raster, at least 128 x 128
   * @return one result per tile
   * @throws NullPointerException if {@code raster} is null
   * @throws IllegalArgumentException if the raster is smaller than 128 x 128
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public List<TileResult> analyzeTiles(Raster raster) {
    return analyzeTiles(GreyImages.of(checkedSize(raster)));
  }

  // Size errors before any conversion, in the image's own terms.
  private static BufferedImage checkedSize(BufferedImage image) {
    Objects.requireNonNull(image, "image is null");
    checkSize(image.getHeight(), image.getWidth());
    return image;
  }

  private static Raster checkedSize(Raster raster) {
    Objects.requireNonNull(raster, "raster is null");
    checkSize(raster.getHeight(), raster.getWidth());
    return raster;
  }

  private static void checkSize(int height, int width) {
    if (height < SIDE || width < SIDE) {
      throw new IllegalArgumentException("expected at least " + SIDE + " x " + SIDE
          + " (height x width), got " + height + " x " + width);
    }
  }

  // The window w (a new 128 x 128 array, modified here) through the natives.
  private SpectrumResult analyzeWindow(double[][] w) {
    NativeLibrary.load();
    if (removeMean) {
      subtractMean(w);
    }
    double[] profile = new double[PROFILE_SIZE];
    double[][] power = null;
    if (powerSpectrum) {
      power = new double[SIDE][SIDE];
      Varnoth.f_PSD_Processing(w, profile, power, new double[SIDE][SIDE]);
    } else {
      Varnoth.f_PSD_Processing_PSOnly(w, profile);
    }
    double[] fitted = profile;
    if (removeMean) {
      fitted = profile.clone();
      fitted[0] = 0.0;
    }
    return fitted(profile, fitted, power);
  }

  /**
   * The line fit of a radial profile that the caller has, for instance the
   * mean of the profiles of several tiles, by the same recipe as
   * {@link #analyze(double[][])}: the points of the strictly positive values,
   * slope and intercept 0.0 when fewer than two. With the mean option ring 0 is
   * left out, as for an analysed window; the chart option applies too.
   *
   * @param profile 65 values, one per ring 0 to 64
   * @return the fit, with the profile and no power spectrum
   * @throws NullPointerException if {@code profile} is null
   * @throws IllegalArgumentException if {@code profile} does not hold 65 values
   * @throws UnsatisfiedLinkError if the native library cannot be loaded
   */
  public SpectrumResult fit(double[] profile) {
    Objects.requireNonNull(profile, "profile is null");
    if (profile.length != PROFILE_SIZE) {
      throw new IllegalArgumentException("expected a profile of " + PROFILE_SIZE
          + " values, got " + profile.length);
    }
    NativeLibrary.load();
    double[] fitted = profile;
    if (removeMean) {
      fitted = profile.clone();
      fitted[0] = 0.0;
    }
    return fitted(profile, fitted, null);
  }

  // The chart's fit is the chain's fit of the same profile: slope, intercept
  // and the number of points from one call.
  private SpectrumResult fitted(double[] profile, double[] fitted, double[][] power) {
    double[] range = new double[4];
    double[] scale = new double[2];
    double[] line = new double[2];
    double[][] xy = new double[2][PROFILE_SIZE];
    int n = Varnoth.f_PlotSpectra_GetChartInfo(fitted, range, scale, line, xy);
    ChartInfo info = null;
    if (chart) {
      info = new ChartInfo(range, scale, line, Arrays.copyOf(xy[0], n),
          Arrays.copyOf(xy[1], n));
    }
    // With a single point the chart's line is the horizontal through it; the
    // fit of the natives' regression is {0, 0} then, as for no point at all.
    double slope = n > 1 ? line[0] : 0.0;
    double intercept = n > 1 ? line[1] : 0.0;
    return new SpectrumResult(slope, intercept, n, profile, power, info);
  }

  // Subtracts the mean: the sum of the 16384 values row by row, divided by 16384.
  private static void subtractMean(double[][] w) {
    double sum = 0.0;
    for (double[] row : w) {
      for (double v : row) {
        sum += v;
      }
    }
    double mean = sum / (SIDE * SIDE);
    for (double[] row : w) {
      for (int c = 0; c < row.length; c++) {
        row[c] -= mean;
      }
    }
  }

  /** A builder of {@link SpectrumAnalyzer}s. Not safe for concurrent use. */
  public static final class Builder {
    private Window window = Window.CROP;
    private boolean removeMean;
    private boolean powerSpectrum;
    private boolean chart;

    private Builder() {}

    /**
     * How the window is taken from a larger image.
     *
     * @param window {@link Window#CROP} (the default) or {@link Window#RESIZE}
     * @return this builder
     * @throws NullPointerException if {@code window} is null
     */
    public Builder window(Window window) {
      this.window = Objects.requireNonNull(window, "window is null");
      return this;
    }

    /**
     * Whether the window's mean is subtracted before the transform (default
     * false); ring 0 is then left out of the fit.
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
     * @param powerSpectrum true to keep the 128 x 128 power spectrum
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
     */
    public SpectrumAnalyzer build() {
      return new SpectrumAnalyzer(this);
    }
  }
}
