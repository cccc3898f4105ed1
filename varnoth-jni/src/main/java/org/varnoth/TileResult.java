package org.varnoth;

import java.util.Objects;

/**
 * The analysis of one 128 x 128 tile of a larger image.
 *
 * @param row the tile's row in the grid of tiles: it covers image rows
 *     {@code 128 row} to {@code 128 row + 127}
 * @param column the tile's column in the grid: image columns
 *     {@code 128 column} to {@code 128 column + 127}
 * @param result the tile's analysis
 */
public record TileResult(int row, int column, SpectrumResult result) {
  /**
   * Checks the arguments.
   *
   * @param row the tile's row in the grid of tiles
   * @param column the tile's column in the grid of tiles
   * @param result the tile's analysis
   * @throws NullPointerException if {@code result} is null
   */
  public TileResult {
    Objects.requireNonNull(result, "result is null");
  }
}
