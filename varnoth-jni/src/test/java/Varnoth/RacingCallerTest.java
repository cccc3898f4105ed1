package Varnoth;

import static Varnoth.TestImages.assertBits;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.lang.invoke.MethodHandles;
import java.lang.invoke.VarHandle;
import java.util.Arrays;
import java.util.function.Supplier;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

/**
 * Another thread keeps replacing one row of an output array while calls
 * run. Every call either writes the right values through the rows it
 * checked, or throws the documented exception with every output unchanged;
 * never anything in between. Each test runs until both outcomes have been
 * seen many times (or a time limit passes, which fails it).
 */
class RacingCallerTest {
  static final int EACH_OUTCOME = 50;
  static final long LIMIT_NANOS = 20_000_000_000L;
  static final double SENTINEL = 7.0;

  @BeforeAll
  static void init() {
    Varnoth.initialize();
  }

  /**
   * Flips {@code outer[index]} between two rows until stopped, with volatile
   * stores, which the compiler may neither drop nor merge.
   */
  static final class Racer extends Thread {
    private static final VarHandle ELEMENT = MethodHandles.arrayElementVarHandle(Object[].class);

    private final Object[] outer;
    private final int index;
    private final Object good;
    private final Object bad;
    private volatile boolean stop;

    Racer(Object[] outer, int index, Object good, Object bad) {
      this.outer = outer;
      this.index = index;
      this.good = good;
      this.bad = bad;
      setDaemon(true);
    }

    @Override
    public void run() {
      while (!stop) {
        ELEMENT.setVolatile(outer, index, bad);
        Thread.onSpinWait();
        ELEMENT.setVolatile(outer, index, good);
        Thread.onSpinWait();
      }
    }

    void finish() throws InterruptedException {
      stop = true;
      join();
    }
  }

  /**
   * Runs {@code call} (true: it returned; false: it threw as documented)
   * until each outcome has been seen EACH_OUTCOME times.
   */
  static void race(Racer racer, Supplier<Boolean> call) throws InterruptedException {
    racer.start();
    int returned = 0;
    int threw = 0;
    final long end = System.nanoTime() + LIMIT_NANOS;
    try {
      while ((returned < EACH_OUTCOME || threw < EACH_OUTCOME) && System.nanoTime() < end) {
        if (call.get()) {
          returned++;
        } else {
          threw++;
        }
      }
    } finally {
      racer.finish();
    }
    assertTrue(returned >= EACH_OUTCOME && threw >= EACH_OUTCOME,
        "both outcomes seen: " + returned + " returned, " + threw + " threw");
  }

  /** Fills every row but 100 (the raced one) and the held row 100. */
  static void fill(double[][] image, double[] heldRow) {
    for (int x = 0; x < 128; x++) {
      if (x != 100) Arrays.fill(image[x], SENTINEL);
    }
    Arrays.fill(heldRow, SENTINEL);
  }

  static void assertUnwritten(double[][] image, double[] heldRow, String what) {
    for (int x = 0; x < 128; x++) {
      if (x == 100) continue;
      for (double v : image[x]) assertBits(SENTINEL, v, what + " row " + x);
    }
    for (double v : heldRow) assertBits(SENTINEL, v, what + " held row");
  }

  static void assertWritten(double[][] expected, double[][] image, double[] heldRow, String what) {
    for (int x = 0; x < 128; x++) {
      assertBits(expected[x], x == 100 ? heldRow : image[x], what + " row " + x);
    }
  }

  @Test
  void chainImageOutputAndProfile() throws InterruptedException {
    final double[][] img = TestImages.random(3);
    final double[] psWant = new double[65];
    final double[][] ftWant = new double[128][128];
    final double slopeWant = Varnoth.f_PSD_Processing(img, psWant, ftWant, new double[128][128]);
    final double[] ps = new double[65];
    final double[][] ft = new double[128][128];
    final double[][] wd = new double[128][128];
    final double[] held = ft[100];
    race(new Racer(ft, 100, held, new double[127]), () -> {
      fill(ft, held);
      fill(wd, wd[100]);
      Arrays.fill(ps, SENTINEL);
      try {
        assertBits(slopeWant, Varnoth.f_PSD_Processing(img, ps, ft, wd), "slope");
      } catch (IllegalArgumentException e) {
        assertEquals("jImgFT[100].length == iSide", e.getMessage());
        assertUnwritten(ft, held, "jImgFT");
        assertUnwritten(wd, wd[100], "jImgWD");
        for (double v : ps) assertBits(SENTINEL, v, "jImgPS");
        return false;
      }
      assertWritten(ftWant, ft, held, "jImgFT");
      assertWritten(img, wd, wd[100], "jImgWD");
      assertBits(psWant, ps, "jImgPS");
      return true;
    });
  }

  @Test
  void secondImageOfTwo() throws InterruptedException {
    final double[][] img = TestImages.random(4);
    final double[][] reWant = new double[128][128];
    final double[][] imWant = new double[128][128];
    Varnoth.f_ImageFFT(img, reWant, imWant);
    final double[][] re = new double[128][128];
    final double[][] im = new double[128][128];
    final double[] held = im[100];
    race(new Racer(im, 100, held, null), () -> {
      fill(re, re[100]);
      fill(im, held);
      try {
        Varnoth.f_ImageFFT(img, re, im);
      } catch (NullPointerException e) {
        assertEquals("jImgFT_O[100] != null", e.getMessage());
        assertUnwritten(re, re[100], "jImgFT_A");
        assertUnwritten(im, held, "jImgFT_O");
        return false;
      }
      assertWritten(reWant, re, re[100], "jImgFT_A");
      assertWritten(imWant, im, held, "jImgFT_O");
      return true;
    });
  }

  @Test
  void chartPoints() throws InterruptedException {
    final double[] ps = new double[65];
    Varnoth.f_PSD_Processing(TestImages.random(5), ps, new double[128][128],
        new double[128][128]);
    final double[] rangeWant = new double[4];
    final double[] scaleWant = new double[2];
    final double[] lineWant = new double[2];
    final double[][] pointsWant = new double[2][65];
    final int nWant =
        Varnoth.f_PlotSpectra_GetChartInfo(ps, rangeWant, scaleWant, lineWant, pointsWant);
    final double[] range = new double[4];
    final double[] scale = new double[2];
    final double[] line = new double[2];
    final double[][] points = {new double[65], new double[65]};
    final double[] held = points[1];
    race(new Racer(points, 1, held, null), () -> {
      for (double[] a : new double[][] {range, scale, line, points[0], held}) {
        Arrays.fill(a, SENTINEL);
      }
      final int n;
      try {
        n = Varnoth.f_PlotSpectra_GetChartInfo(ps, range, scale, line, points);
      } catch (NullPointerException e) {
        assertEquals("jScaledPoints[1] != null", e.getMessage());
        for (double[] a : new double[][] {range, scale, line, points[0], held}) {
          for (double v : a) assertBits(SENTINEL, v, "unwritten output");
        }
        return false;
      }
      assertEquals(nWant, n);
      assertBits(rangeWant, range, "range");
      assertBits(scaleWant, scale, "scale");
      assertBits(lineWant, line, "regression");
      assertBits(pointsWant[0], points[0], "x");
      assertBits(pointsWant[1], held, "y");
      return true;
    });
  }
}
