package Varnoth;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.fail;

import java.util.Random;
import java.util.function.DoubleBinaryOperator;

/** Images and bit-exact comparisons shared by the tests. */
public final class TestImages {
  public static final int N = Varnoth.SIDE;

  private TestImages() {}

  public static double[][] image(DoubleBinaryOperator valueAt) {
    double[][] img = new double[N][N];
    for (int x = 0; x < N; x++) {
      for (int y = 0; y < N; y++) {
        img[x][y] = valueAt.applyAsDouble(x, y);
      }
    }
    return img;
  }

  public static double[][] filled(double v) {
    return image((x, y) -> v);
  }

  public static double[][] impulse(int row, int col) {
    return image((x, y) -> x == row && y == col ? 1.0 : 0.0);
  }

  public static double[][] random(long seed) {
    Random rnd = new Random(seed);
    return image((x, y) -> rnd.nextDouble() * 255.0);
  }

  public static double[][] copy(double[][] img) {
    double[][] c = new double[img.length][];
    for (int i = 0; i < img.length; i++) {
      c[i] = img[i] == null ? null : img[i].clone();
    }
    return c;
  }

  public static double[][] ragged(int rows, int cols) {
    return new double[rows][cols];
  }

  public static String hex(double v) {
    return Double.toHexString(v) + " (0x" + Long.toHexString(Double.doubleToRawLongBits(v)) + ")";
  }

  public static void assertBits(double expected, double actual, String where) {
    if (Double.doubleToRawLongBits(expected) != Double.doubleToRawLongBits(actual)) {
      fail(where + ": expected " + hex(expected) + " but was " + hex(actual));
    }
  }

  public static void assertBits(double[] expected, double[] actual, String what) {
    assertEquals(expected.length, actual.length, what + " length");
    for (int i = 0; i < expected.length; i++) {
      assertBits(expected[i], actual[i], what + "[" + i + "]");
    }
  }

  public static void assertBits(double[][] expected, double[][] actual, String what) {
    assertNotNull(actual, what);
    assertEquals(expected.length, actual.length, what + " rows");
    for (int x = 0; x < expected.length; x++) {
      if (expected[x] == null) {
        assertSame(null, actual[x], what + "[" + x + "] stays null");
      } else {
        assertBits(expected[x], actual[x], what + "[" + x + "]");
      }
    }
  }

  /** The same row objects as before, in the same places. */
  public static void assertSameRows(double[][] rows, double[][] image) {
    for (int x = 0; x < rows.length; x++) {
      assertSame(rows[x], image[x], "row object " + x);
    }
  }
}
