package org.varnoth.imagej;

import ij.IJ;
import ij.ImagePlus;
import java.awt.Rectangle;
import java.util.ArrayList;
import java.util.List;
import org.varnoth.SlopeSpread;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.TileResult;

/**
 * The analyses of one plane of an image: of its window, or of every whole
 * tile and of the tiles' mean profile.
 *
 * @param slice the plane's index in the stack, 1 for a single image
 * @param result the window's analysis, or the fit of the tiles' mean profile
 * @param tiles the tiles, in rows of tiles; empty when the window was measured
 */
record PlaneResult(int slice, SpectrumResult result, List<TileResult> tiles) {
  /** Copies the tiles. */
  PlaneResult {
    tiles = List.copyOf(tiles);
  }

  /**
   * Whether the row is the tiles' mean rather than one window.
   *
   * @return whether there are tiles
   */
  boolean tilesMean() {
    return !tiles.isEmpty();
  }

  /**
   * The spread of the tiles' slopes.
   *
   * @return their spread, of no tile when the window was measured
   */
  SlopeSpread spread() {
    return SlopeSpread.of(tiles);
  }

  /**
   * Measures every plane of an image, in stack order.
   *
   * @param imp the image
   * @param area the rectangle measured in each plane
   * @param analyzer the analyser
   * @param tiles whether every whole tile is measured, then their mean
   * @return one result per plane
   * @throws IllegalArgumentException if the area is smaller than the analyser's side
   */
  static List<PlaneResult> measure(ImagePlus imp, Rectangle area, SpectrumAnalyzer analyzer,
      boolean tiles) {
    int n = imp.getStackSize();
    List<PlaneResult> planes = new ArrayList<>(n);
    for (int slice = 1; slice <= n; slice++) {
      IJ.showProgress(slice - 1, n);
      // The stack's planes carry the image's value calibration.
      double[][] grey = GreyLevels.of(imp.getStack().getProcessor(slice), area);
      if (tiles) {
        List<TileResult> t = analyzer.analyzeTiles(grey);
        planes.add(new PlaneResult(slice, analyzer.tilesMean(t), t));
      } else {
        planes.add(new PlaneResult(slice, analyzer.analyze(grey), List.of()));
      }
    }
    IJ.showProgress(1.0);
    return planes;
  }
}
