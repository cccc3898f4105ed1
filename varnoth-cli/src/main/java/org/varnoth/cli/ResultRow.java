package org.varnoth.cli;

import java.util.List;
import org.varnoth.SpectrumResult;

/**
 * One line of output: the analysis of an image, of one of its tiles, or the
 * fit of the mean profile of its tiles.
 *
 * @param file the file as named on the command line or found in a folder
 * @param window {@code image}, {@code tile} or {@code tiles-mean}
 * @param row the tile's row in the grid of tiles, or -1
 * @param column the tile's column, or -1
 * @param tiles the number of tiles averaged ({@code tiles-mean}), or 0
 * @param result the analysis
 * @param imageNotes what the decoder did that the reader must know (an EXIF
 *     orientation applied, colours converted, the first of several frames)
 */
record ResultRow(String file, String window, int row, int column, int tiles,
    SpectrumResult result, List<String> imageNotes) {
  static final String IMAGE = "image";
  static final String TILE = "tile";
  static final String TILES_MEAN = "tiles-mean";
}
