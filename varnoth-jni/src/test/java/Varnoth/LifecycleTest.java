package Varnoth;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

/** Loading, binding, initialize, the dummies, fresh results, threads. */
class LifecycleTest {
  @BeforeAll
  static void init() {
    Varnoth.initialize();
  }

  @Test
  void declaresFifteenStaticNativeMethods() {
    List<String> names = new ArrayList<>();
    for (Method m : Varnoth.class.getDeclaredMethods()) {
      if (Modifier.isNative(m.getModifiers())) {
        assertTrue(Modifier.isStatic(m.getModifiers()), m.getName());
        names.add(m.getName());
      }
    }
    assertEquals(15, names.size(), names.toString());
  }

  /** Every native method resolves to an export of the library and runs. */
  @Test
  void everyNativeMethodIsBound() {
    double[][] img = TestImages.random(1);
    double[][] a = new double[128][128];
    double[][] b = new double[128][128];
    double[][] c = new double[128][128];
    double[] ps = new double[65];
    Varnoth.initialize();
    assertEquals(0.0, Varnoth.f_PSD_Dummy0());
    assertEquals(0.0, Varnoth.f_PSD_Dummy1(img));
    assertEquals(0.0, Varnoth.f_PSD_Dummy2(img));
    assertEquals(0.0, Varnoth.f_PSD_Dummy3(new double[][][] {img, img, img}));
    Varnoth.f_PSD_Slope(img);
    assertEquals(2, Varnoth.f_PSD_LinearRegression(img).length);
    Varnoth.f_ImageFFT(img, a, b);
    Varnoth.f_ImageFFTPowerPhase(img, a, b);
    assertEquals(128, Varnoth.f_ImageFFTPower(img).length);
    assertEquals(65, Varnoth.f_RadialAverageSpectra(img).length);
    Varnoth.f_PSD_Processing(img, ps, a, c);
    Varnoth.f_PSD_Processing_FTOnly(img, a);
    Varnoth.f_PSD_Processing_PSOnly(img, ps);
    int n = Varnoth.f_PlotSpectra_GetChartInfo(ps, new double[4], new double[2],
        new double[2], new double[2][65]);
    assertTrue(n >= 0 && n <= 65);
  }

  @Test
  void initializePrintsItsLineEachTime() throws Exception {
    String out = ChildJvm.run("initialize-twice");
    assertEquals("Varnoth library initialized.\nVarnoth library initialized.\nafter=0.0\n",
        out.replace("\r\n", "\n"));
  }

  /** Before initialize the dummy works and NaN is already the library's NaN. */
  @Test
  void callsBeforeInitializeGiveTheRightNumbers() throws Exception {
    String out = ChildJvm.run("before-initialize");
    assertTrue(out.contains("dummy0=0.0\n"), out);
    assertTrue(out.contains("phase=fff8000000000000\n"), out);
    assertTrue(out.contains("zerophase=0\n"), out);
    assertTrue(!out.contains("initialized"), out);
  }

  @Test
  void dummiesReturnZeroAndNeverTouchTheirArgument() {
    assertEquals(0.0, Varnoth.f_PSD_Dummy1(null));
    assertEquals(0.0, Varnoth.f_PSD_Dummy1(new double[3][]));
    assertEquals(0.0, Varnoth.f_PSD_Dummy3(null));
    assertEquals(0.0, Varnoth.f_PSD_Dummy3(new double[1][][]));
    double[][] img = TestImages.random(2);
    double[][] before = TestImages.copy(img);
    assertEquals(0.0, Varnoth.f_PSD_Dummy2(img));
    TestImages.assertBits(before, img, "image after f_PSD_Dummy2");
  }

  @Test
  void dummy2StopsAtTheSizeCheck() {
    IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
        () -> Varnoth.f_PSD_Dummy2(new double[127][128]));
    assertEquals("len1 == iSide", e.getMessage());
    e = assertThrows(IllegalArgumentException.class,
        () -> Varnoth.f_PSD_Dummy2(new double[128][127]));
    assertEquals("len2 == iSide", e.getMessage());
    assertEquals(0.0, Varnoth.f_PSD_Dummy2(new double[128][128]), "JVM still works");
  }

  @Test
  void methodsReturnFreshArraysOnEveryCall() {
    double[][] img = TestImages.random(3);
    assertNotSame(Varnoth.f_ImageFFTPower(img), Varnoth.f_ImageFFTPower(img));
    assertNotSame(Varnoth.f_RadialAverageSpectra(img), Varnoth.f_RadialAverageSpectra(img));
    assertNotSame(Varnoth.f_PSD_LinearRegression(img), Varnoth.f_PSD_LinearRegression(img));
  }

  /** Calls on several threads share nothing and give the sequential results. */
  @Test
  void concurrentCallsGiveTheSequentialResults() throws Exception {
    int count = 8;
    double[][][] images = new double[count][][];
    double[][] expected = new double[count][];
    for (int i = 0; i < count; i++) {
      images[i] = TestImages.random(100 + i);
      double[] ps = new double[65];
      double slope = Varnoth.f_PSD_Processing(images[i], ps, new double[128][128],
          new double[128][128]);
      expected[i] = append(ps, slope);
    }
    ExecutorService pool = Executors.newFixedThreadPool(4);
    try {
      List<Future<double[]>> results = new ArrayList<>();
      for (int round = 0; round < 3; round++) {
        for (int i = 0; i < count; i++) {
          double[][] img = images[i];
          results.add(pool.submit(() -> {
            double[] ps = new double[65];
            double slope = Varnoth.f_PSD_Processing(img, ps, new double[128][128],
                new double[128][128]);
            return append(ps, slope);
          }));
        }
      }
      for (int k = 0; k < results.size(); k++) {
        TestImages.assertBits(expected[k % count], results.get(k).get(), "call " + k);
      }
    } finally {
      pool.shutdownNow();
    }
  }

  private static double[] append(double[] values, double last) {
    double[] r = java.util.Arrays.copyOf(values, values.length + 1);
    r[values.length] = last;
    return r;
  }
}
