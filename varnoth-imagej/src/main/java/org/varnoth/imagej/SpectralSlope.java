package org.varnoth.imagej;

import ij.IJ;
import ij.ImagePlus;
import ij.macro.Interpreter;
import ij.measure.ResultsTable;
import java.awt.GraphicsEnvironment;
import java.awt.Rectangle;
import java.util.List;

/**
 * The commands Spectral Slope and Spectral Slope Map (Plugins &gt; Varnoth):
 * the spectral slope of the active image, of the square of its area selection
 * ({@link MeasuredArea}), or of every plane of its stack, with the options of
 * {@link MeasuringDialog}.
 *
 * <p>Both add their rows to the "Spectral Slopes" table ({@link SlopeTable}).
 * Spectral Slope also opens the log-log plot of the current plane (its
 * window's, or its tiles' mean) and, with tiles, the slope map
 * ({@link SlopeMap}). Spectral Slope Map measures tiles and makes the map in
 * every mode: in a macro's batch mode the map opens no window but becomes the
 * macro's current image, to be saved. Where ImageJ opens no windows (batch
 * mode, a headless JVM, a command run from code without ImageJ's window)
 * nothing opens but the table.
 *
 * <p>An image that cannot be measured gives ImageJ's error message (in batch
 * mode, the log) with the library's words; a macro then stops.
 */
public final class SpectralSlope implements ij.plugin.PlugIn {
  /** The argument of the Spectral Slope Map command in plugins.config. */
  static final String MAP = "map";

  /** Creates the command; ImageJ calls {@link #run(String)}. */
  public SpectralSlope() {}

  /**
   * Runs the command.
   *
   * @param arg {@code "map"} for Spectral Slope Map, anything else for Spectral Slope
   */
  @Override
  public void run(String arg) {
    boolean mapCommand = MAP.equals(arg);
    String command = mapCommand ? "Spectral Slope Map" : "Spectral Slope";
    // Asked first: a command run inside this one ends the macro's state.
    boolean windows = windowsOpen();
    ImagePlus imp = IJ.getImage();
    MeasuringDialog.Choices choices = MeasuringDialog.ask(command, mapCommand);
    if (choices == null) {
      return;
    }
    Rectangle area = MeasuredArea.of(imp);
    List<PlaneResult> planes;
    try {
      planes = PlaneResult.measure(imp, area, choices.analyzer(), choices.tiles());
    } catch (IllegalArgumentException | UnsatisfiedLinkError e) {
      IJ.error(command, imp.getTitle() + ": " + e.getMessage());
      return;
    }
    addRows(imp, planes, choices.analyzer().sectors());
    if (windows && !mapCommand) {
      PlaneResult current = planes.get(imp.getCurrentSlice() - 1);
      SlopePlot.of(plotTitle(imp, current), current.result()).show();
    }
    if (choices.tiles() && (mapCommand || windows || choices.overlay())) {
      showMap(imp, area, planes, choices, mapCommand || windows);
    }
  }

  // As ImagePlus.show() decides whether an image gets a window.
  private static boolean windowsOpen() {
    return !GraphicsEnvironment.isHeadless() && !Interpreter.isBatchMode()
        && !(IJ.isMacro() && IJ.getInstance() == null);
  }

  private static void addRows(ImagePlus imp, List<PlaneResult> planes, int sectors) {
    ResultsTable rt = SlopeTable.table();
    for (PlaneResult plane : planes) {
      SlopeTable.addRows(rt, imp.getTitle(), imp.getStackSize() > 1, plane, sectors);
    }
    SlopeTable.show(rt);
  }

  private static String plotTitle(ImagePlus imp, PlaneResult plane) {
    return imp.getShortTitle() + (imp.getStackSize() > 1 ? " slice " + plane.slice() : "")
        + (plane.tilesMean() ? " tiles' mean" : "") + " spectrum";
  }

  // The map, shown when asked (in batch mode: the current image), and laid
  // over the image when asked.
  private static void showMap(ImagePlus imp, Rectangle area, List<PlaneResult> planes,
      MeasuringDialog.Choices choices, boolean show) {
    int side = choices.analyzer().side();
    ImagePlus map = SlopeMap.of(imp, area, side, planes);
    if (choices.overlay()) {
      SlopeMap.overlay(imp, map, area, side, planes);
    }
    if (show) {
      SlopeMap.addCalibrationBar(map);
      map.show();
    }
  }
}
