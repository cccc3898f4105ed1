package org.varnoth.imagej;

import ij.IJ;
import ij.gui.GenericDialog;
import java.util.Arrays;
import java.util.Locale;
import org.varnoth.FitRange;
import org.varnoth.SpectrumAnalyzer;

/**
 * The measuring options of both commands, asked in one {@link GenericDialog},
 * which ImageJ's recorder writes as a macro line and a macro's options
 * answer. The analyser checks them and says what it refuses.
 *
 * <p>The keys: {@code side} (32 to 4096), {@code window} (crop, resize or
 * tiles; Spectral Slope Map measures tiles only), {@code remove_mean},
 * {@code taper}, {@code axis}, {@code fit_range} (KMIN:KMAX, empty for the
 * default), {@code fit}, {@code literature}, {@code sectors} and
 * {@code overlay}. As with the tool's options, {@code literature} sets its
 * own options first and the others replace them: a choice left at
 * {@code default}, an empty fit range and an unticked {@code remove_mean}
 * keep the literature's (or, without it, the analyser's defaults).
 */
final class MeasuringDialog {
  /** The choice that keeps the literature's option, or the analyser's default. */
  static final String DEFAULT = "default";

  private static final String[] WINDOWS = {"crop", "resize", "tiles"};
  private static final String[] TAPERS = {DEFAULT, "none", "hann"};
  private static final String[] AXES = {DEFAULT, "natives", "frequency"};
  private static final String[] FITS = {DEFAULT, "ols", "wls"};

  private MeasuringDialog() {}

  /**
   * What was chosen.
   *
   * @param analyzer the analyser of the chosen options
   * @param tiles whether every whole tile is measured, then their mean
   * @param overlay whether the slope map is laid over the image (tiles only)
   */
  record Choices(SpectrumAnalyzer analyzer, boolean tiles, boolean overlay) {}

  /**
   * Asks for the options, or reads them from the macro that runs the command.
   *
   * @param command the command's name, the dialog's title
   * @param tilesOnly whether the command measures tiles only (no window choice)
   * @return the choices, or null when the dialog was cancelled or an option
   *     refused (said by {@link IJ#error(String, String)})
   */
  static Choices ask(String command, boolean tilesOnly) {
    GenericDialog gd = new GenericDialog(command);
    gd.addChoice("Side (pixels)", sides(), Integer.toString(SpectrumAnalyzer.SIDE));
    if (!tilesOnly) {
      gd.addChoice("Window", WINDOWS, WINDOWS[0]);
    }
    gd.addCheckbox("Remove_mean", false);
    gd.addChoice("Taper", TAPERS, DEFAULT);
    gd.addChoice("Axis", AXES, DEFAULT);
    gd.addStringField("Fit_range (KMIN:KMAX, empty for the default)", "", 8);
    gd.addChoice("Fit", FITS, DEFAULT);
    gd.addCheckbox("Literature (mean removed, Hann, frequency axis, wls, rings 6:3N/8)", false);
    gd.addNumericField("Sectors (0, or 2 to 36)", 0, 0);
    gd.addCheckbox("Overlay the slope map on the image (tiles)", false);
    gd.showDialog();
    if (gd.wasCanceled()) {
      return null;
    }
    try {
      return read(gd, tilesOnly);
    } catch (IllegalArgumentException e) {
      IJ.error(command, e.getMessage());
      return null;
    }
  }

  // The fields in the order they were added; the literature's options
  // first, then those chosen beside it.
  private static Choices read(GenericDialog gd, boolean tilesOnly) {
    int side = parseSide(gd.getNextChoice());
    String window = tilesOnly ? "tiles" : checked("window", gd.getNextChoice(), WINDOWS);
    boolean removeMean = gd.getNextBoolean();
    String taper = checked("taper", gd.getNextChoice(), TAPERS);
    String axis = checked("axis", gd.getNextChoice(), AXES);
    FitRange fitRange = parseFitRange(gd.getNextString());
    String fit = checked("fit", gd.getNextChoice(), FITS);
    boolean literature = gd.getNextBoolean();
    double sectors = gd.getNextNumber();
    boolean overlay = gd.getNextBoolean();
    if (gd.invalidNumber()) {
      throw new IllegalArgumentException(gd.getErrorMessage());
    }
    if (sectors != Math.rint(sectors)) {
      throw new IllegalArgumentException("expected a whole number of sectors, got " + sectors);
    }
    SpectrumAnalyzer.Builder b = SpectrumAnalyzer.builder().side(side)
        .window(window.equals("resize") ? SpectrumAnalyzer.Window.RESIZE
            : SpectrumAnalyzer.Window.CROP)
        .fitRange(fitRange).sectors((int) sectors);
    if (literature) {
      b.literature();
    }
    if (removeMean) {
      b.removeMean(true);
    }
    if (!taper.equals(DEFAULT)) {
      b.taper(SpectrumAnalyzer.Taper.valueOf(taper.toUpperCase(Locale.ROOT)));
    }
    if (!axis.equals(DEFAULT)) {
      b.axis(SpectrumAnalyzer.Axis.valueOf(axis.toUpperCase(Locale.ROOT)));
    }
    if (!fit.equals(DEFAULT)) {
      b.fit(SpectrumAnalyzer.Fit.valueOf(fit.toUpperCase(Locale.ROOT)));
    }
    return new Choices(b.build(), window.equals("tiles"), overlay);
  }

  // 32, 64, ... 4096.
  private static String[] sides() {
    int count = Integer.numberOfTrailingZeros(SpectrumAnalyzer.MAX_SIDE / SpectrumAnalyzer.MIN_SIDE)
        + 1;
    String[] sides = new String[count];
    for (int i = 0; i < count; i++) {
      sides[i] = Integer.toString(SpectrumAnalyzer.MIN_SIDE << i);
    }
    return sides;
  }

  // A macro may give any text: a side that is no number is refused here,
  // one that is no power of two by the analyser.
  private static int parseSide(String text) {
    try {
      return Integer.parseInt(text.trim());
    } catch (NumberFormatException e) {
      throw new IllegalArgumentException("expected a side that is a power of two from "
          + SpectrumAnalyzer.MIN_SIDE + " to " + SpectrumAnalyzer.MAX_SIDE + ", got " + text);
    }
  }

  // A macro may give any text for a choice.
  private static String checked(String key, String value, String[] items) {
    if (!Arrays.asList(items).contains(value)) {
      throw new IllegalArgumentException("expected " + key + " " + String.join(", ", items)
          + ", got " + value);
    }
    return value;
  }

  // KMIN:KMAX, or null for the default; the range checks its ends.
  private static FitRange parseFitRange(String text) {
    if (text.isBlank()) {
      return null;
    }
    String[] ends = text.split(":", -1);
    try {
      if (ends.length == 2) {
        return new FitRange(Integer.parseInt(ends[0].trim()), Integer.parseInt(ends[1].trim()));
      }
    } catch (NumberFormatException e) {
      // said below
    }
    throw new IllegalArgumentException("expected a fit range KMIN:KMAX with whole numbers, got "
        + text);
  }
}
