package org.varnoth;

import static Varnoth.TestImages.assertBits;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import Varnoth.TestImages;
import Varnoth.Varnoth;
import java.awt.Point;
import java.awt.image.BufferedImage;
import java.awt.image.DataBuffer;
import java.awt.image.IndexColorModel;
import java.awt.image.Raster;
import java.awt.image.WritableRaster;
import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.util.Arrays;
import java.util.List;
import java.util.Random;
import java.util.function.Supplier;
import java.util.stream.Stream;
import javax.imageio.ImageIO;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * The friendly analyser against the natives, bit for bit: grey conversion of
 * the PNG kinds, the windows, the mean option, what is carried on
 * request, and the errors.
 */
class SpectrumAnalyzerTest {
  private static final int W = 201;
  private static final int H = 150;

  /** What the natives give for a 128 x 128 window: the expected result. */
  private static SpectrumResult natives(double[][] window, boolean withPower, boolean withChart) {
    double[] profile = new double[65];
    Varnoth.f_PSD_Processing_PSOnly(window, profile);
    double[] line = Varnoth.f_PSD_LinearRegression(window);
    assertBits(Varnoth.f_PSD_Slope(window), line[0], "slope of both natives");
    int positive = (int) Arrays.stream(profile).filter(v -> v > 0.0).count();
    ChartInfo chart = null;
    if (withChart) {
      double[] range = new double[4];
      double[] scale = new double[2];
      double[] regression = new double[2];
      double[][] xy = new double[2][65];
      int n = Varnoth.f_PlotSpectra_GetChartInfo(profile, range, scale, regression, xy);
      chart = new ChartInfo(range, scale, regression, Arrays.copyOf(xy[0], n),
          Arrays.copyOf(xy[1], n));
    }
    // The statistics of the fit are not the natives': they are not compared.
    return new SpectrumResult(new LineFit(line[0], line[1], positive, Double.NaN, Double.NaN),
        new Curvature(Double.NaN, Double.NaN, positive), SpectrumAnalyzer.Fit.OLS, FitRange.ALL,
        SpectrumAnalyzer.Axis.NATIVES, SpectrumAnalyzer.Taper.NONE, profile,
        SectorProfiles.ringCounts(128), withPower ? Varnoth.f_ImageFFTPower(window) : null, chart,
        SpectrumResult.SectorFits.NONE, true);
  }

  private static void assertSameResult(SpectrumResult expected, SpectrumResult actual) {
    assertBits(expected.slope(), actual.slope(), "slope");
    assertBits(expected.intercept(), actual.intercept(), "intercept");
    assertEquals(expected.points(), actual.points(), "points");
    assertBits(expected.profile(), actual.profile(), "profile");
    assertEquals(expected.fitRange(), actual.fitRange(), "fit range");
    assertEquals(expected.axis(), actual.axis());
    assertEquals(expected.powerSpectrum().isPresent(), actual.powerSpectrum().isPresent());
    expected.powerSpectrum().ifPresent(p -> assertBits(p, actual.powerSpectrum().get(), "power"));
    assertEquals(expected.chart(), actual.chart());
    assertTrue(actual.sectors().isEmpty());
  }

  private static double[][] centre(double[][] grey) {
    double[][] w = new double[128][];
    int top = (grey.length - 128) / 2;
    int left = (grey[0].length - 128) / 2;
    for (int r = 0; r < 128; r++) {
      w[r] = Arrays.copyOfRange(grey[top + r], left, left + 128);
    }
    return w;
  }

  private static BufferedImage roundTrip(BufferedImage image) throws IOException {
    ByteArrayOutputStream png = new ByteArrayOutputStream();
    assertTrue(ImageIO.write(image, "png", png));
    return ImageIO.read(new ByteArrayInputStream(png.toByteArray()));
  }

  /** An image kind: how the test draws it, and the grey value of each pixel it drew. */
  record Kind(String name, BufferedImage image, double[][] grey) {
    @Override
    public String toString() {
      return name;
    }
  }

  static Stream<Kind> pngKinds() {
    Random rnd = new Random(7);
    BufferedImage g8 = new BufferedImage(W, H, BufferedImage.TYPE_BYTE_GRAY);
    BufferedImage g16 = new BufferedImage(W, H, BufferedImage.TYPE_USHORT_GRAY);
    BufferedImage rgb = new BufferedImage(W, H, BufferedImage.TYPE_INT_RGB);
    byte[] red = new byte[16];
    byte[] green = new byte[16];
    byte[] blue = new byte[16];
    for (int i = 0; i < 16; i++) {
      red[i] = (byte) (17 * i);
      green[i] = (byte) (255 - 13 * i);
      blue[i] = (byte) (7 * i * i % 256);
    }
    IndexColorModel palette = new IndexColorModel(8, 16, red, green, blue);
    BufferedImage indexed = new BufferedImage(W, H, BufferedImage.TYPE_BYTE_INDEXED, palette);
    double[][] e8 = new double[H][W];
    double[][] e16 = new double[H][W];
    double[][] eRgb = new double[H][W];
    double[][] eIdx = new double[H][W];
    for (int y = 0; y < H; y++) {
      for (int x = 0; x < W; x++) {
        int v8 = rnd.nextInt(256);
        int v16 = rnd.nextInt(65536);
        int r = rnd.nextInt(256);
        int g = rnd.nextInt(256);
        int b = rnd.nextInt(256);
        int i = rnd.nextInt(16);
        g8.getRaster().setSample(x, y, 0, v8);
        g16.getRaster().setSample(x, y, 0, v16);
        rgb.setRGB(x, y, (r << 16) | (g << 8) | b);
        indexed.getRaster().setSample(x, y, 0, i);
        e8[y][x] = v8;
        e16[y][x] = v16;
        eRgb[y][x] = 0.299 * r + 0.587 * g + 0.114 * b;
        eIdx[y][x] = 0.299 * (17 * i) + 0.587 * (255 - 13 * i) + 0.114 * (7 * i * i % 256);
      }
    }
    return Stream.of(new Kind("8-bit grey", g8, e8), new Kind("16-bit grey", g16, e16),
        new Kind("RGB", rgb, eRgb), new Kind("indexed", indexed, eIdx));
  }

  @ParameterizedTest
  @MethodSource("pngKinds")
  void pngsGiveTheNativesResultsForTheirGreyCentre(Kind kind) throws IOException {
    BufferedImage read = roundTrip(kind.image());
    assertBits(kind.grey(), GreyImages.of(read), "grey levels");
    SpectrumResult expected = natives(centre(kind.grey()), false, false);
    assertSameResult(expected, SpectrumAnalyzer.create().analyze(read));
    // As drawn, before the PNG: packed RGB pixels rather than bytes.
    assertSameResult(expected, SpectrumAnalyzer.create().analyze(kind.image()));
    if (!(read.getColorModel() instanceof IndexColorModel)) {
      // A raster has no palette: its samples are the grey levels.
      assertSameResult(expected, SpectrumAnalyzer.create().analyze(read.getRaster()));
    }
    assertSameResult(expected, SpectrumAnalyzer.create().analyze(kind.grey()));
    // The measuring options, set to their defaults, change nothing; sectors
    // leave the whole-window fit as it is.
    assertSameResult(expected, SpectrumAnalyzer.builder().fitRange(0, 64)
        .axis(SpectrumAnalyzer.Axis.NATIVES).taper(SpectrumAnalyzer.Taper.NONE).build()
        .analyze(kind.grey()));
    SpectrumResult withSectors = SpectrumAnalyzer.builder().sectors(3).build()
        .analyze(kind.grey());
    assertBits(expected.slope(), withSectors.slope(), "slope with sectors");
    assertBits(expected.intercept(), withSectors.intercept(), "intercept with sectors");
  }

  @Test
  void powerSpectrumAndChartOnlyOnRequest() {
    double[][] img = TestImages.random(3);
    SpectrumResult plain = SpectrumAnalyzer.create().analyze(img);
    assertTrue(plain.powerSpectrum().isEmpty() && plain.chart().isEmpty());
    SpectrumResult full = SpectrumAnalyzer.builder().powerSpectrum(true).chart(true).build()
        .analyze(img);
    assertSameResult(natives(img, true, true), full);
    assertBits(Varnoth.f_ImageFFTPower(img), full.powerSpectrum().orElseThrow(), "power");
    assertEquals(65, full.chart().orElseThrow().points());

    // One positive ring (a flat image's mean): the natives' line is {0, 0}.
    double[][] flat = TestImages.filled(3.0);
    assertSameResult(natives(flat, false, false), SpectrumAnalyzer.create().analyze(flat));
    assertEquals(1, SpectrumAnalyzer.create().analyze(flat).points());
  }

  /** Pixel (r, c) holds 1000 r + c, so every window value says where it came from. */
  private static double[][] positions(int rows, int columns) {
    double[][] img = new double[rows][columns];
    for (int r = 0; r < rows; r++) {
      for (int c = 0; c < columns; c++) {
        img[r][c] = 1000.0 * r + c;
      }
    }
    return img;
  }

  // A 128 x 128 window held row by row, as rows.
  private static double[][] rows(double[] window) {
    double[][] rows = new double[128][];
    for (int r = 0; r < 128; r++) {
      rows[r] = Arrays.copyOfRange(window, 128 * r, 128 * r + 128);
    }
    return rows;
  }

  @Test
  void windowsTakeTheValuesTheyShould() {
    double[] crop = ImageWindows.crop(positions(301, 200), 128);
    assertBits(1000.0 * 86 + 36, crop[0], "crop top-left at (86, 36)");
    assertBits(1000.0 * (86 + 127) + 36 + 127, crop[128 * 127 + 127], "crop bottom-right");

    // 300 x 520: the largest centred square of side 256 at (22, 132), 2 x 2 blocks.
    double[] reduced = ImageWindows.areaAverage(positions(300, 520), 128);
    for (int i : new int[] {0, 5, 127}) {
      for (int j : new int[] {0, 64, 127}) {
        double mean = 1000.0 * (22 + 2 * i) + 500.0 + 132 + 2 * j + 0.5;
        assertBits(mean, reduced[128 * i + j], "block mean " + i + "," + j);
      }
    }
    double[][] small = positions(200, 255);
    small[36][63] = -0.0;
    assertBits(rows(ImageWindows.crop(small, 128)), rows(ImageWindows.areaAverage(small, 128)),
        "area average by 1 is the crop");
    assertBits(rows(ImageWindows.crop(small, 128)),
        rows(ImageWindows.lowPassReduction(small, 128)), "low-pass reduction by 1 is the crop");
    // Summed plainly, the taps times 200 along rows, then columns, give
    // 200.00000000000006 here.
    double[][] flat = new double[300][520];
    for (double[] row : flat) {
      Arrays.fill(row, 200.0);
    }
    double[] constant = new double[128 * 128];
    Arrays.fill(constant, 200.0);
    assertBits(constant, ImageWindows.lowPassReduction(flat, 128),
        "a constant image reduces to the constant");
    // Diagonal waves over a 512 square, reduced by 4: ring 48 (N / 2 - h)
    // passes each axis within 1e-3, ring 80 (N / 2 + h, its alias partner)
    // is stopped 60 dB on each; output (i, j) sits at (4 i + 1.5, 4 j + 1.5).
    for (int k : new int[] {48, 80}) {
      double[][] wave = new double[512][512];
      for (int r = 0; r < 512; r++) {
        for (int c = 0; c < 512; c++) {
          wave[r][c] = Math.cos(2 * Math.PI * k * (r + c) / 512);
        }
      }
      double[] filtered = ImageWindows.lowPassReduction(wave, 128);
      for (int i = 0; i < 128; i++) {
        for (int j = 0; j < 128; j++) {
          double passed = k == 48 ? Math.cos(2 * Math.PI * k * (4 * i + 4 * j + 3) / 512) : 0.0;
          assertEquals(passed, filtered[128 * i + j], k == 48 ? 2e-3 : 1e-6,
              "wave of ring " + k + " at " + i + "," + j);
        }
      }
    }

    double[] last = ImageWindows.tile(positions(300, 390), 1, 2, 128);
    assertBits(1000.0 * 128 + 256, last[0], "tile (1, 2) top-left");
    assertBits(1000.0 * 255 + 383, last[128 * 127 + 127], "tile (1, 2) bottom-right");
  }

  @Test
  void resizeAndTilesGiveTheNativesResultsForTheirWindows() {
    Random rnd = new Random(11);
    double[][] img = new double[270][400];
    for (double[] row : img) {
      for (int c = 0; c < row.length; c++) {
        row[c] = rnd.nextInt(4096);
      }
    }
    SpectrumAnalyzer areaAverage = SpectrumAnalyzer.builder()
        .window(SpectrumAnalyzer.Window.AREA_AVERAGE).build();
    assertSameResult(natives(rows(ImageWindows.areaAverage(img, 128)), false, false),
        areaAverage.analyze(img));

    List<TileResult> tiles = SpectrumAnalyzer.create().analyzeTiles(img);
    assertEquals(2 * 3, tiles.size());
    // The spread of the tiles' slopes: the sample standard deviation and its
    // standard error of the mean.
    double[] slopes = tiles.stream().mapToDouble(t -> t.result().slope()).toArray();
    double mean = Arrays.stream(slopes).average().orElseThrow();
    double sd = Math.sqrt(Arrays.stream(slopes).map(s -> (s - mean) * (s - mean)).sum() / 5);
    SlopeSpread spread = SlopeSpread.of(tiles);
    assertEquals(6, spread.tiles());
    assertEquals(sd, spread.sd(), sd * 1e-12);
    assertEquals(sd / Math.sqrt(6), spread.sem(), sd * 1e-12);
    for (TileResult t : tiles) {
      double[][] block = new double[128][];
      for (int r = 0; r < 128; r++) {
        block[r] = Arrays.copyOfRange(img[128 * t.row() + r], 128 * t.column(),
            128 * t.column() + 128);
      }
      assertSameResult(natives(block, false, false), t.result());
    }

    // The same values as an image and as a raster with an origin of its own:
    // only the window's square is converted, and it is the same square.
    BufferedImage image = new BufferedImage(400, 270, BufferedImage.TYPE_USHORT_GRAY);
    WritableRaster raster = Raster.createBandedRaster(DataBuffer.TYPE_INT, 400, 270, 1,
        new Point(7, -3));
    for (int r = 0; r < 270; r++) {
      for (int c = 0; c < 400; c++) {
        image.getRaster().setSample(c, r, 0, (int) img[r][c]);
        raster.setSample(c + 7, r - 3, 0, (int) img[r][c]);
      }
    }
    for (SpectrumAnalyzer a : List.of(SpectrumAnalyzer.create(), areaAverage,
        SpectrumAnalyzer.builder().window(SpectrumAnalyzer.Window.RESIZE).build())) {
      SpectrumResult want = a.analyze(img);
      assertSameResult(want, a.analyze(image));
      assertSameResult(want, a.analyze(raster));
    }
    for (List<TileResult> other : List.of(SpectrumAnalyzer.create().analyzeTiles(image),
        SpectrumAnalyzer.create().analyzeTiles(raster))) {
      assertEquals(tiles.size(), other.size());
      for (int i = 0; i < tiles.size(); i++) {
        assertSameResult(tiles.get(i).result(), other.get(i).result());
      }
    }
  }

  /**
   * Periodic 1/f^alpha fields of side 512, reduced to 128 and measured on
   * the frequency axis with the weighted fit: the low-pass reduction keeps
   * alpha over every range up to ring 48 (N / 2 - h), while the area
   * average's box damps the high rings and lets their aliases in, and reads
   * every spectrum steeper.
   */
  @ParameterizedTest
  @CsvSource({"1.0", "2.0", "3.0"})
  void theLowPassReductionKeepsTheExponentThatTheAreaAverageSteepens(double alpha) {
    int seeds = 12;
    List<FitRange> ranges = List.of(new FitRange(2, 48), new FitRange(4, 48),
        new FitRange(8, 48));
    double[] lowPass = new double[ranges.size()];
    double[] areaAverage = new double[ranges.size()];
    SpectrumAnalyzer.Builder b = SpectrumAnalyzer.builder().removeMean(true)
        .axis(SpectrumAnalyzer.Axis.FREQUENCY).fit(SpectrumAnalyzer.Fit.WLS);
    SpectrumAnalyzer reduce = b.window(SpectrumAnalyzer.Window.RESIZE).build();
    SpectrumAnalyzer average = b.window(SpectrumAnalyzer.Window.AREA_AVERAGE).build();
    for (long seed = 1; seed <= seeds; seed++) {
      double[][] field = SyntheticImages.powerLaw(4 * 128, alpha, seed);
      double[] reduced = reduce.analyze(field).profile();
      double[] averaged = average.analyze(field).profile();
      for (int i = 0; i < ranges.size(); i++) {
        SpectrumAnalyzer inRange = b.fitRange(ranges.get(i)).build();
        lowPass[i] -= inRange.fit(reduced).slope();
        areaAverage[i] -= inRange.fit(averaged).slope();
      }
    }
    for (int i = 0; i < ranges.size(); i++) {
      String what = "alpha " + alpha + " over " + ranges.get(i) + ", mean of " + seeds + " fields";
      assertEquals(alpha, lowPass[i] / seeds, 0.03, "low-pass reduction: " + what);
      double steeper = areaAverage[i] / seeds - alpha;
      assertTrue(steeper > 0.06, "area average: " + what + " reads steeper by " + steeper);
    }
  }

  @Test
  void removingTheMeanMakesTheSlopeIndependentOfBrightness() {
    Random rnd = new Random(5);
    double[][] img = new double[128][128];
    double[][] brighter = new double[128][128];
    for (int r = 0; r < 128; r++) {
      for (int c = 0; c < 128; c++) {
        img[r][c] = rnd.nextInt(200) + (r < 64 ? 0 : 40);
        brighter[r][c] = img[r][c] + 100.0;
      }
    }
    SpectrumAnalyzer kept = SpectrumAnalyzer.create();
    SpectrumAnalyzer removed = SpectrumAnalyzer.builder().removeMean(true).chart(true).build();
    assertNotEquals(kept.analyze(img).slope(), kept.analyze(brighter).slope());
    SpectrumResult a = removed.analyze(img);
    assertEquals(a, removed.analyze(brighter));
    // Ring 0 holds only the residue of the subtraction and is not fitted.
    long positive = Arrays.stream(a.profile()).skip(1).filter(v -> v > 0.0).count();
    assertEquals(positive, a.points());
    assertEquals(positive, a.chart().orElseThrow().points());
    assertTrue(a.profile()[0] < 1e-20, "ring 0 residue " + a.profile()[0]);
  }

  static Stream<Arguments> badImages() {
    double[][] ragged = new double[130][130];
    ragged[7] = new double[129];
    double[][] nullRow = new double[130][130];
    nullRow[3] = null;
    return Stream.of(
        Arguments.of((Supplier<Object>) () -> SpectrumAnalyzer.create().analyze((double[][]) null),
            NullPointerException.class, "image is null"),
        Arguments.of((Supplier<Object>) () -> SpectrumAnalyzer.create().analyze(new double[0][]),
            IllegalArgumentException.class,
            "expected at least 128 x 128 (rows x columns), got 0 x 0"),
        Arguments.of((Supplier<Object>) () -> SpectrumAnalyzer.create().analyze(new double[512][127]),
            IllegalArgumentException.class,
            "expected at least 128 x 128 (rows x columns), got 512 x 127"),
        Arguments.of((Supplier<Object>) () -> SpectrumAnalyzer.create().analyzeTiles(ragged),
            IllegalArgumentException.class,
            "expected every row to hold 130 values like row 0, got 129 in row 7"),
        Arguments.of((Supplier<Object>) () -> SpectrumAnalyzer.create().analyze(nullRow),
            NullPointerException.class, "image row 3 is null"),
        Arguments.of((Supplier<Object>) () -> SpectrumAnalyzer.create().analyze(
            new BufferedImage(384, 100, BufferedImage.TYPE_BYTE_GRAY)),
            IllegalArgumentException.class,
            "expected at least 128 x 128 (height x width), got 100 x 384"),
        Arguments.of((Supplier<Object>) () -> SpectrumAnalyzer.create().analyze((BufferedImage) null),
            NullPointerException.class, "image is null"));
  }

  @ParameterizedTest
  @MethodSource("badImages")
  void badImagesSayWhatWasExpectedAndWhatWasGiven(Supplier<Object> call,
      Class<? extends RuntimeException> type, String message) {
    assertEquals(message, assertThrows(type, call::get).getMessage());
  }
}
