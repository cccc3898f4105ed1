package org.varnoth.imagej;

import ij.IJ;
import ij.ImagePlus;
import ij.ImageStack;
import ij.gui.ImageRoi;
import ij.gui.Overlay;
import ij.measure.Calibration;
import ij.plugin.LutLoader;
import ij.process.FloatProcessor;
import ij.process.ImageProcessor;
import java.awt.Rectangle;
import java.util.Arrays;
import java.util.List;
import java.util.Locale;
import org.varnoth.TileResult;

/**
 * The tiles' slopes as an image aligned with the measured one: a 32-bit image
 * (a stack for a stack) of the image's size and spatial calibration, each
 * tile's pixels holding its slope as a float, NaN outside the tiles and for a
 * tile whose slope measures nothing; shown with ImageJ's "Fire" LUT over the
 * slopes' range and ImageJ's own calibration bar as an overlay. The same
 * colours can be laid over the image as a half-transparent overlay.
 */
final class SlopeMap {
  private static final String LUT = "fire";
  private static final double OVERLAY_OPACITY = 0.5;
  private static final String OVERLAY_NAME = "slope map";

  private SlopeMap() {}

  /**
   * The slope map of an image's tiles.
   *
   * @param imp the measured image
   * @param area the rectangle whose tiles were measured
   * @param side the tiles' side
   * @param planes the analyses of every plane, with tiles
   * @return the map, not shown
   */
  static ImagePlus of(ImagePlus imp, Rectangle area, int side, List<PlaneResult> planes) {
    ImageStack stack = new ImageStack(imp.getWidth(), imp.getHeight());
    double min = Double.POSITIVE_INFINITY;
    double max = Double.NEGATIVE_INFINITY;
    for (PlaneResult plane : planes) {
      float[] pixels = new float[imp.getWidth() * imp.getHeight()];
      Arrays.fill(pixels, Float.NaN);
      for (TileResult t : plane.tiles()) {
        float slope = t.result().fitted() ? (float) t.result().slope() : Float.NaN;
        fill(pixels, imp.getWidth(), tileBounds(area, side, t), slope);
        if (!Float.isNaN(slope)) {
          min = Math.min(min, slope);
          max = Math.max(max, slope);
        }
      }
      stack.addSlice(new FloatProcessor(imp.getWidth(), imp.getHeight(), pixels));
    }
    stack.setColorModel(LutLoader.getLut(LUT));
    ImagePlus map = new ImagePlus(imp.getShortTitle() + " slope map", stack);
    Calibration cal = imp.getCalibration().copy();
    cal.disableDensityCalibration();
    map.setCalibration(cal);
    if (min <= max) {
      map.setDisplayRange(min, max);
    }
    return map;
  }

  /**
   * Adds ImageJ's calibration bar to a map's overlay, in its upper right corner.
   *
   * @param map the map
   */
  static void addCalibrationBar(ImagePlus map) {
    int zoom = Math.max(1, Math.min(map.getWidth(), map.getHeight()) / 512);
    IJ.run(map, "Calibration Bar...", String.format(Locale.ROOT, "location=[Upper Right] "
        + "fill=White label=Black number=5 decimal=3 font=12 zoom=%d overlay", zoom));
  }

  /**
   * Lays each plane's map over the image's tiles, in the map's colours, half
   * transparent, in place of a map laid there before.
   *
   * @param imp the measured image
   * @param map its slope map
   * @param area the rectangle whose tiles were measured
   * @param side the tiles' side
   * @param planes the analyses of every plane, with tiles
   */
  static void overlay(ImagePlus imp, ImagePlus map, Rectangle area, int side,
      List<PlaneResult> planes) {
    Overlay overlay = imp.getOverlay() != null ? imp.getOverlay() : new Overlay();
    // A new measurement's map replaces the last one's.
    overlay.remove(OVERLAY_NAME);
    for (PlaneResult plane : planes) {
      Rectangle tiles = tilesBounds(area, side, plane.tiles());
      ImageProcessor ip = map.getStack().getProcessor(plane.slice());
      ip.setRoi(tiles);
      ImageProcessor colours = ip.crop();
      colours.setColorModel(map.getProcessor().getColorModel());
      colours.setMinAndMax(map.getDisplayRangeMin(), map.getDisplayRangeMax());
      ImageRoi roi = new ImageRoi(tiles.x, tiles.y, colours.convertToColorProcessor());
      roi.setOpacity(OVERLAY_OPACITY);
      roi.setName(OVERLAY_NAME);
      if (imp.getStackSize() > 1) {
        roi.setPosition(plane.slice());
      }
      overlay.add(roi);
    }
    imp.setOverlay(overlay);
  }

  private static Rectangle tileBounds(Rectangle area, int side, TileResult t) {
    return new Rectangle(area.x + side * t.column(), area.y + side * t.row(), side, side);
  }

  // The rectangle that a plane's tiles cover, from the area's corner.
  private static Rectangle tilesBounds(Rectangle area, int side, List<TileResult> tiles) {
    int rows = 0;
    int columns = 0;
    for (TileResult t : tiles) {
      rows = Math.max(rows, t.row() + 1);
      columns = Math.max(columns, t.column() + 1);
    }
    return new Rectangle(area.x, area.y, side * columns, side * rows);
  }

  private static void fill(float[] pixels, int width, Rectangle r, float value) {
    for (int y = r.y; y < r.y + r.height; y++) {
      Arrays.fill(pixels, width * y + r.x, width * y + r.x + r.width, value);
    }
  }
}
