package org.varnoth;

import java.util.Arrays;
import java.util.Objects;

/**
 * The 128 x 128 windows of a larger grey image ({@code double[rows][columns]},
 * outer index the row), each a new array.
 */
final class ImageWindows {
  static final int SIDE = 128;

  private ImageWindows() {}

  /**
   * Checks that an image is a rectangle of at least 128 x 128 values.
   *
   * @return {rows, columns}
   */
  static int[] checkedSize(double[][] image) {
    Objects.requireNonNull(image, "image is null");
    int rows = image.length;
    int columns = rows == 0 || image[0] == null ? 0 : image[0].length;
    for (int r = 0; r < rows; r++) {
      if (image[r] == null) {
        throw new NullPointerException("image row " + r + " is null");
      }
      if (image[r].length != columns) {
        throw new IllegalArgumentException("expected every row to hold " + columns
            + " values like row 0, got " + image[r].length + " in row " + r);
      }
    }
    if (rows < SIDE || columns < SIDE) {
      throw new IllegalArgumentException("expected at least " + SIDE + " x " + SIDE
          + " (rows x columns), got " + rows + " x " + columns);
    }
    return new int[] {rows, columns};
  }

  /** The centre crop: top-left at ((rows - 128) / 2, (columns - 128) / 2). */
  static double[][] crop(double[][] image) {
    int[] size = checkedSize(image);
    return block(image, (size[0] - SIDE) / 2, (size[1] - SIDE) / 2);
  }

  /**
   * The area-averaging reduction of the largest centred square whose side s is
   * a multiple of 128: element (i, j) is the mean of the f x f block (f = s /
   * 128) at row top + f i, column left + f j, summed row by row in ascending
   * order from its first value and divided by f * f. For f = 1 it is the crop.
   */
  static double[][] reduce(double[][] image) {
    int[] size = checkedSize(image);
    int s = SIDE * (Math.min(size[0], size[1]) / SIDE);
    int f = s / SIDE;
    int top = (size[0] - s) / 2;
    int left = (size[1] - s) / 2;
    double area = (double) f * f;
    double[][] out = new double[SIDE][SIDE];
    for (int i = 0; i < SIDE; i++) {
      for (int j = 0; j < SIDE; j++) {
        int r0 = top + f * i;
        int c0 = left + f * j;
        double sum = image[r0][c0];
        for (int a = 0; a < f; a++) {
          double[] row = image[r0 + a];
          for (int b = a == 0 ? 1 : 0; b < f; b++) {
            sum += row[c0 + b];
          }
        }
        out[i][j] = sum / area;
      }
    }
    return out;
  }

  /**
   * Tile (i, j) of the grid of whole 128 x 128 tiles: rows 128 i to 128 i + 127
   * and columns 128 j to 128 j + 127, as a new array; what is left at the
   * bottom and right edges belongs to no tile.
   */
  static double[][] tile(double[][] image, int i, int j) {
    return block(image, SIDE * i, SIDE * j);
  }

  private static double[][] block(double[][] image, int top, int left) {
    double[][] out = new double[SIDE][];
    for (int r = 0; r < SIDE; r++) {
      out[r] = Arrays.copyOfRange(image[top + r], left, left + SIDE);
    }
    return out;
  }
}
