package org.varnoth;

import java.util.Objects;

/**
 * The side x side windows of a larger grey image ({@code double[rows][columns]},
 * outer index the row), each a new array of side * side values held row by
 * row: element (r, c) at {@code side * r + c}.
 */
final class ImageWindows {
  private ImageWindows() {}

  /**
   * Checks that an image is a rectangle of at least side x side values.
   *
   * @return {rows, columns}
   */
  static int[] checkedSize(double[][] image, int side) {
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
    if (rows < side || columns < side) {
      throw new IllegalArgumentException("expected at least " + side + " x " + side
          + " (rows x columns), got " + rows + " x " + columns);
    }
    return new int[] {rows, columns};
  }

  /** The centre crop, in a new array. */
  static double[] crop(double[][] image, int side) {
    return crop(image, side, new double[side * side]);
  }

  /**
   * The centre crop, top-left at ((rows - side) / 2, (columns - side) / 2),
   * written into {@code out} (side * side values), which is returned.
   */
  static double[] crop(double[][] image, int side, double[] out) {
    int[] size = checkedSize(image, side);
    return block(image, (size[0] - side) / 2, (size[1] - side) / 2, side, out);
  }

  /**
   * The low-pass reduction ({@link LowPassReduction}) of the largest centred
   * square whose side s is a multiple of side; for f = s / side = 1 it is the
   * crop, bit for bit.
   */
  static double[] lowPassReduction(double[][] image, int side) {
    Square q = Square.of(checkedSize(image, side), side);
    return q.factor() == 1 ? block(image, q.top(), q.left(), side)
        : LowPassReduction.of(image, q.top(), q.left(), q.factor(), side);
  }

  /**
   * The area average of the largest centred square whose side s is a multiple
   * of side: element (i, j) is the mean of the f x f block (f = s / side) at
   * row top + f i, column left + f j, summed row by row in ascending order
   * from its first value and divided by f * f. For f = 1 it is the crop.
   */
  static double[] areaAverage(double[][] image, int side) {
    Square q = Square.of(checkedSize(image, side), side);
    int f = q.factor();
    double area = (double) f * f;
    double[] out = new double[side * side];
    for (int i = 0; i < side; i++) {
      for (int j = 0; j < side; j++) {
        int r0 = q.top() + f * i;
        int c0 = q.left() + f * j;
        double sum = image[r0][c0];
        for (int a = 0; a < f; a++) {
          double[] row = image[r0 + a];
          for (int b = a == 0 ? 1 : 0; b < f; b++) {
            sum += row[c0 + b];
          }
        }
        out[side * i + j] = sum / area;
      }
    }
    return out;
  }

  /**
   * The largest centred square of an image whose side is factor * side: its
   * top-left corner and the factor.
   */
  private record Square(int top, int left, int factor) {
    static Square of(int[] size, int side) {
      int s = side * (Math.min(size[0], size[1]) / side);
      return new Square((size[0] - s) / 2, (size[1] - s) / 2, s / side);
    }
  }

  /**
   * Tile (i, j) of the grid of whole side x side tiles: rows side i to
   * side (i + 1) - 1 and the same columns; what is left at the bottom and
   * right edges belongs to no tile.
   */
  static double[] tile(double[][] image, int i, int j, int side) {
    return block(image, side * i, side * j, side);
  }

  private static double[] block(double[][] image, int top, int left, int side) {
    return block(image, top, left, side, new double[side * side]);
  }

  private static double[] block(double[][] image, int top, int left, int side, double[] out) {
    for (int r = 0; r < side; r++) {
      System.arraycopy(image[top + r], left, out, side * r, side);
    }
    return out;
  }
}
