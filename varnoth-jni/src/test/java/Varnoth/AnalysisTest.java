package Varnoth;

import static Varnoth.TestImages.assertBits;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.Arrays;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

/** Radial profile, processing chain, slope, regression and chart through the JVM. */
class AnalysisTest {
  private static final double[] PLOT_RANGE = {0.0, 4.605170185988092, -11.090354888959125,
      11.090354888959125};
  private static final double[] PLOT_SCALE = {55.3725464426646, 11.496476107083927};

  @BeforeAll
  static void init() {
    Varnoth.initialize();
  }

  @Test
  void processingWritesTheResultsOfTheSeparateMethods() {
    double[][] img = TestImages.random(21);
    double[][] before = TestImages.copy(img);
    double[] ps = new double[100];
    Arrays.fill(ps, 42.0);
    double[][] ft = TestImages.filled(-1.0);
    double[][] wd = TestImages.filled(-1.0);
    double[][] ftRows = ft.clone();
    double slope = Varnoth.f_PSD_Processing(img, ps, ft, wd);

    assertBits(before, img, "input");
    assertBits(before, wd, "working copy");
    assertBits(Varnoth.f_ImageFFTPower(img), ft, "power spectrum");
    TestImages.assertSameRows(ftRows, ft);
    assertBits(Varnoth.f_RadialAverageSpectra(ft), Arrays.copyOf(ps, 65), "profile");
    for (int i = 65; i < 100; i++) assertBits(42.0, ps[i], "beyond the profile");
    assertBits(Varnoth.f_PSD_Slope(img), slope, "slope");
    assertTrue(!Double.isNaN(slope) && slope != 0.0, "a fitted slope");
  }

  @Test
  void partialMethodsWriteExactlyTheirShare() {
    double[][] img = TestImages.random(22);
    double[] ps = new double[65];
    double[][] ft = new double[128][128];
    Varnoth.f_PSD_Processing(img, ps, ft, new double[128][128]);

    double[][] ftOnly = TestImages.filled(9.0);
    Varnoth.f_PSD_Processing_FTOnly(img, ftOnly);
    assertBits(ft, ftOnly, "FTOnly");

    double[] psOnly = new double[80];
    Arrays.fill(psOnly, 9.0);
    Varnoth.f_PSD_Processing_PSOnly(img, psOnly);
    assertBits(ps, Arrays.copyOf(psOnly, 65), "PSOnly");
    for (int i = 65; i < 80; i++) assertBits(9.0, psOnly[i], "PSOnly beyond 65");
  }

  @Test
  void slopeIsTheFirstRegressionCoefficient() {
    for (long seed = 30; seed < 35; seed++) {
      double[][] img = TestImages.random(seed);
      double[] line = Varnoth.f_PSD_LinearRegression(img);
      assertEquals(2, line.length);
      assertBits(line[0], Varnoth.f_PSD_Slope(img), "slope of seed " + seed);
    }
  }

  @Test
  void blankAndConstantImagesGiveASlopeOfZero() {
    double[] ps = new double[65];
    assertBits(0.0, Varnoth.f_PSD_Processing(new double[128][128], ps, new double[128][128],
        new double[128][128]), "all zero");
    assertBits(0.0, Varnoth.f_PSD_Slope(TestImages.filled(2.0)), "constant");
    double[] line = Varnoth.f_PSD_LinearRegression(TestImages.filled(2.0));
    assertBits(new double[] {0.0, 0.0}, line, "constant regression");
  }

  @Test
  void radialProfileOfTheUnitImpulseIsFlat() {
    double[] ps = Varnoth.f_RadialAverageSpectra(Varnoth.f_ImageFFTPower(TestImages.impulse(0, 0)));
    assertEquals(65, ps.length);
    for (int k = 0; k < 65; k++) assertBits(3.725290298461914e-09, ps[k], "ring " + k);
  }

  @Test
  void chartWithNoPositiveValueWritesNoPoints() {
    double[] profile = new double[65];
    profile[7] = -1.0;
    profile[8] = Double.NaN;
    double[] range = new double[4];
    double[] scale = new double[2];
    double[] regression = {5.0, 5.0};
    double[][] points = {TestImages.filled(3.0)[0], TestImages.filled(3.0)[1]};
    double[][] before = TestImages.copy(points);
    assertEquals(0, Varnoth.f_PlotSpectra_GetChartInfo(profile, range, scale, regression,
        points));
    assertBits(before, points, "points");
    assertBits(PLOT_RANGE, range, "range");
    assertBits(PLOT_SCALE, scale, "scale");
    assertBits(new double[] {0.0, 0.0}, regression, "regression");
  }

  @Test
  void chartWithEveryValuePositiveFillsSixtyFivePoints() {
    double[] profile = new double[70];
    for (int k = 0; k < 70; k++) profile[k] = Math.exp(-0.05 * k);
    double[] profileBefore = profile.clone();
    double[][] points = {new double[80], new double[80], new double[3]};
    Arrays.fill(points[0], 7.0);
    Arrays.fill(points[1], 7.0);
    Arrays.fill(points[2], 7.0);
    double[] range = new double[6];
    double[] regression = new double[2];
    int n = Varnoth.f_PlotSpectra_GetChartInfo(profile, range, new double[2], regression,
        points);
    assertEquals(65, n);
    assertBits(profileBefore, profile, "jImgPS unchanged");
    assertBits(0.0, points[0][0], "x of radius 0");
    assertBits(255.0, points[0][64], "x of radius 64");
    for (int i = 65; i < 80; i++) {
      assertBits(7.0, points[0][i], "x tail");
      assertBits(7.0, points[1][i], "y tail");
    }
    assertBits(new double[] {7.0, 7.0, 7.0}, points[2], "third row");
    assertBits(0.0, range[4], "range beyond 4");
    assertBits(127.5, points[1][0], "y of log power 0.0");
    assertTrue(regression[0] < 0, "falling profile has a negative slope");
  }
}
