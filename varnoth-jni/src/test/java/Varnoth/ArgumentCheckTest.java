package Varnoth;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import java.util.ArrayList;
import java.util.List;
import java.util.function.Consumer;
import java.util.function.Function;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;

/**
 * Malformed arguments end in a Java exception that names the failed
 * condition, before anything is written, and the JVM goes on working.
 */
class ArgumentCheckTest {
  @BeforeAll
  static void init() {
    Varnoth.initialize();
  }

  /** A malformed argument, the exception it must raise and its message. */
  record Bad(Object value, Class<? extends Throwable> type, String message) {}

  static List<Bad> badInputImages(String name) {
    double[][] nullFirstRow = new double[128][128];
    nullFirstRow[0] = null;
    double[][] nullRow = new double[128][128];
    nullRow[64] = null;
    double[][] longRow = new double[128][128];
    longRow[100] = new double[129];
    double[][] shortLastRow = new double[128][128];
    shortLastRow[127] = new double[127];
    return List.of(
        new Bad(null, NullPointerException.class, name + " != null"),
        new Bad(new double[127][128], IllegalArgumentException.class, "len1 == iSide"),
        new Bad(new double[129][128], IllegalArgumentException.class, "len1 == iSide"),
        new Bad(new double[128][127], IllegalArgumentException.class, "len2 == iSide"),
        new Bad(new double[127][127], IllegalArgumentException.class, "len1 == iSide"),
        new Bad(new double[0][], IllegalArgumentException.class, "len1 == iSide"),
        new Bad(nullFirstRow, NullPointerException.class, name + "[0] != null"),
        new Bad(nullRow, NullPointerException.class, name + "[64] != null"),
        new Bad(longRow, IllegalArgumentException.class, name + "[100].length == iSide"),
        new Bad(shortLastRow, IllegalArgumentException.class, name + "[127].length == iSide"));
  }

  static List<Bad> badOutputImages(String name) {
    double[][] nullRow = new double[128][128];
    nullRow[5] = null;
    double[][] shortRow = new double[128][128];
    shortRow[7] = new double[127];
    double[][] longRow = new double[128][128];
    longRow[127] = new double[129];
    return List.of(
        new Bad(null, NullPointerException.class, name + " != null"),
        new Bad(new double[127][128], IllegalArgumentException.class, name + ".length == iSide"),
        new Bad(nullRow, NullPointerException.class, name + "[5] != null"),
        new Bad(shortRow, IllegalArgumentException.class, name + "[7].length == iSide"),
        new Bad(longRow, IllegalArgumentException.class, name + "[127].length == iSide"));
  }

  static List<Bad> badVectors(String name, int minLength) {
    return List.of(new Bad(null, NullPointerException.class, name + " != null"),
        new Bad(new double[minLength - 1], IllegalArgumentException.class,
            name + ".length >= " + minLength),
        new Bad(new double[0], IllegalArgumentException.class,
            name + ".length >= " + minLength));
  }

  /** Outputs filled with a marker value, to show that nothing was written. */
  static double[][] markedImage() {
    return TestImages.filled(42.0);
  }

  static double[] markedVector(int n) {
    double[] v = new double[n];
    java.util.Arrays.fill(v, 42.0);
    return v;
  }

  /** Runs call, expects bad's exception, and checks the arrays unchanged. */
  static void assertRejected(Bad bad, Executable call, Object... untouched) {
    List<Object> before = new ArrayList<>();
    for (Object o : untouched) before.add(snapshot(o));
    Throwable t = assertThrows(bad.type(), call, bad.message());
    assertEquals(bad.message(), t.getMessage());
    for (int i = 0; i < untouched.length; i++) {
      if (untouched[i] instanceof double[][] img) {
        TestImages.assertBits((double[][]) before.get(i), img, "untouched image " + i);
      } else {
        TestImages.assertBits((double[]) before.get(i), (double[]) untouched[i],
            "untouched vector " + i);
      }
    }
  }

  static Object snapshot(Object o) {
    return o instanceof double[][] img ? TestImages.copy(img) : ((double[]) o).clone();
  }

  static void forEachBad(List<Bad> bads, Consumer<Bad> check) {
    for (Bad bad : bads) check.accept(bad);
  }

  @Test
  void everyImageInputIsChecked() {
    List<Function<double[][], Executable>> methods = List.of(
        img -> () -> Varnoth.f_PSD_Dummy2(img),
        img -> () -> Varnoth.f_PSD_Slope(img),
        img -> () -> Varnoth.f_PSD_LinearRegression(img),
        img -> () -> Varnoth.f_ImageFFTPower(img));
    for (Function<double[][], Executable> method : methods) {
      forEachBad(badInputImages("jImg"), bad -> assertRejected(bad,
          method.apply((double[][]) bad.value())));
    }
    forEachBad(badInputImages("jImgFT"), bad -> assertRejected(bad,
        () -> Varnoth.f_RadialAverageSpectra((double[][]) bad.value())));
  }

  @Test
  void twoImageSpectraCheckInputAndBothOutputs() {
    double[][] a = markedImage();
    double[][] o = markedImage();
    forEachBad(badInputImages("jImg"), bad -> {
      assertRejected(bad, () -> Varnoth.f_ImageFFT((double[][]) bad.value(), a, o), a, o);
      assertRejected(bad,
          () -> Varnoth.f_ImageFFTPowerPhase((double[][]) bad.value(), a, o), a, o);
    });
    double[][] img = TestImages.random(5);
    forEachBad(badOutputImages("jImgFT_A"), bad -> {
      assertRejected(bad, () -> Varnoth.f_ImageFFT(img, (double[][]) bad.value(), o), (Object) o);
      assertRejected(bad,
          () -> Varnoth.f_ImageFFTPowerPhase(img, (double[][]) bad.value(), o), (Object) o);
    });
    forEachBad(badOutputImages("jImgFT_O"), bad -> {
      assertRejected(bad, () -> Varnoth.f_ImageFFT(img, a, (double[][]) bad.value()), (Object) a);
      assertRejected(bad,
          () -> Varnoth.f_ImageFFTPowerPhase(img, a, (double[][]) bad.value()), (Object) a);
    });
  }

  @Test
  void processingChecksEveryArgumentBeforeWriting() {
    double[][] img = TestImages.random(6);
    double[] ps = markedVector(70);
    double[][] ft = markedImage();
    double[][] wd = markedImage();
    forEachBad(badInputImages("jImg"), bad -> {
      double[][] in = (double[][]) bad.value();
      assertRejected(bad, () -> Varnoth.f_PSD_Processing(in, ps, ft, wd), ps, ft, wd);
      assertRejected(bad, () -> Varnoth.f_PSD_Processing_FTOnly(in, ft), (Object) ft);
      assertRejected(bad, () -> Varnoth.f_PSD_Processing_PSOnly(in, ps), ps);
    });
    forEachBad(badVectors("jImgPS", 65), bad -> {
      double[] out = (double[]) bad.value();
      assertRejected(bad, () -> Varnoth.f_PSD_Processing(img, out, ft, wd), ft, wd);
      assertRejected(bad, () -> Varnoth.f_PSD_Processing_PSOnly(img, out));
    });
    forEachBad(badOutputImages("jImgFT"), bad -> {
      double[][] out = (double[][]) bad.value();
      assertRejected(bad, () -> Varnoth.f_PSD_Processing(img, ps, out, wd), ps, wd);
      assertRejected(bad, () -> Varnoth.f_PSD_Processing_FTOnly(img, out));
    });
    forEachBad(badOutputImages("jImgWD"), bad -> assertRejected(bad,
        () -> Varnoth.f_PSD_Processing(img, ps, ft, (double[][]) bad.value()), ps, ft));
  }

  @Test
  void chartChecksEveryArrayBeforeWriting() {
    double[] profile = new double[65];
    for (int k = 0; k < 65; k++) profile[k] = Math.exp(-0.1 * k);  // N = 65
    double[] range = markedVector(4);
    double[] scale = markedVector(2);
    double[] regression = markedVector(2);
    double[][] points = new double[][] {markedVector(65), markedVector(65)};

    forEachBad(badVectors("jImgPS", 65), bad -> assertRejected(bad,
        () -> Varnoth.f_PlotSpectra_GetChartInfo((double[]) bad.value(), range, scale,
            regression, points), range, scale, regression, points));
    forEachBad(badVectors("jPlotRange", 4), bad -> assertRejected(bad,
        () -> Varnoth.f_PlotSpectra_GetChartInfo(profile, (double[]) bad.value(), scale,
            regression, points), scale, regression, points));
    forEachBad(badVectors("jPlotScale", 2), bad -> assertRejected(bad,
        () -> Varnoth.f_PlotSpectra_GetChartInfo(profile, range, (double[]) bad.value(),
            regression, points), range, regression, points));
    forEachBad(badVectors("jRegression", 2), bad -> assertRejected(bad,
        () -> Varnoth.f_PlotSpectra_GetChartInfo(profile, range, scale,
            (double[]) bad.value(), points), range, scale, points));

    double[][] oneRow = new double[][] {markedVector(65)};
    double[][] nullSecondRow = new double[][] {markedVector(65), null};
    double[][] shortRows = new double[][] {markedVector(64), markedVector(65)};
    double[][] shortSecond = new double[][] {markedVector(65), markedVector(10)};
    List<Bad> badPoints = List.of(
        new Bad(null, NullPointerException.class, "jScaledPoints != null"),
        new Bad(oneRow, IllegalArgumentException.class, "jScaledPoints.length >= 2"),
        new Bad(nullSecondRow, NullPointerException.class, "jScaledPoints[1] != null"),
        new Bad(shortRows, IllegalArgumentException.class, "jScaledPoints[0].length >= 65"),
        new Bad(shortSecond, IllegalArgumentException.class, "jScaledPoints[1].length >= 65"));
    forEachBad(badPoints, bad -> {
      List<Object> untouched = new ArrayList<>(List.of(range, scale, regression));
      if (bad.value() != null) untouched.add(bad.value());
      assertRejected(bad, () -> Varnoth.f_PlotSpectra_GetChartInfo(profile, range, scale,
          regression, (double[][]) bad.value()), untouched.toArray());
    });
  }

  /** Short rows of jScaledPoints are fine when they hold the N points. */
  @Test
  void chartRowsNeedOnlyHoldTheNPoints() {
    double[] profile = new double[65];
    profile[3] = 2.0;
    profile[9] = 0.5;
    double[][] points = new double[][] {new double[2], new double[2], null};
    assertEquals(2, Varnoth.f_PlotSpectra_GetChartInfo(profile, new double[4],
        new double[2], new double[2], points));
  }

  @Test
  void theJvmGoesOnWorkingAfterRejectedCalls() {
    for (int i = 0; i < 50; i++) {
      assertThrows(IllegalArgumentException.class,
          () -> Varnoth.f_PSD_Processing(new double[127][127], new double[65],
              new double[128][128], new double[128][128]));
    }
    double[] ps = new double[65];
    Varnoth.f_PSD_Processing_PSOnly(TestImages.impulse(0, 0), ps);
    TestImages.assertBits(Math.pow(2, -28), ps[10], "flat profile of the impulse");
  }
}
