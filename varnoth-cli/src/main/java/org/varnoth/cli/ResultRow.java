package org.varnoth.cli;

import java.util.List;
import org.varnoth.ResultColumns;
import org.varnoth.SlopeSpread;
import org.varnoth.SpectrumResult;

/**
 * One line of output: the analysis of an image, of one of its tiles, or the
 * fit of the mean profile of its tiles.
 *
 * @param file the file as named on the command line or found in a folder
 * @param place what of the file was analysed
 * @param result the analysis
 * @param imageNotes what the decoder did that the reader must know (an EXIF
 *     orientation applied, colours converted, the first of several frames)
 */
record ResultRow(String file, Place place, SpectrumResult result, List<String> imageNotes) {
  /** What of a file a row measures; {@link #name()} is the output's {@code window}. */
  sealed interface Place permits WholeImage, Tile, TilesMean {
    String name();
  }

  /** The image's window (the crop or the reduction). */
  record WholeImage() implements Place {
    @Override
    public String name() {
      return ResultColumns.IMAGE;
    }
  }

  /** The tile at a row and column of the grid of tiles. */
  record Tile(int row, int column) implements Place {
    @Override
    public String name() {
      return ResultColumns.TILE;
    }
  }

  /** The mean profile of a number of tiles, and the spread of their slopes. */
  record TilesMean(int tiles, SlopeSpread spread) implements Place {
    @Override
    public String name() {
      return ResultColumns.TILES_MEAN;
    }
  }
}
