package org.varnoth.cli;

import java.awt.Color;
import java.awt.Font;
import java.awt.font.FontRenderContext;
import java.util.Locale;
import org.knowm.xchart.style.AxesChartStyler;
import org.varnoth.LineFit;

/** What the tool's charts share: white ground, their fonts, and titles that fit. */
final class ChartStyle {
  static final Font TITLE = new Font(Font.SANS_SERIF, Font.BOLD, 15);
  static final Font TEXT = new Font(Font.SANS_SERIF, Font.PLAIN, 13);
  static final Font TICKS = new Font(Font.SANS_SERIF, Font.PLAIN, 12);
  static final Color BLUE = new Color(30, 80, 170);
  static final Color RED = new Color(200, 40, 40);
  private static final FontRenderContext MEASURE = new FontRenderContext(null, true, true);
  private static final String ELLIPSIS = "\u2026";

  private ChartStyle() {}

  /** Sets the fonts, colours and number format every chart of the tool has. */
  static void apply(AxesChartStyler s) {
    s.setLocale(Locale.ROOT);
    s.setChartBackgroundColor(Color.WHITE);
    s.setPlotBackgroundColor(Color.WHITE);
    s.setPlotBorderColor(Color.DARK_GRAY);
    s.setPlotGridLinesColor(new Color(225, 225, 225));
    s.setChartTitleFont(TITLE);
    s.setChartTitleBoxVisible(false);
    s.setAxisTitleFont(TEXT);
    s.setAxisTickLabelsFont(TICKS);
    s.setLegendFont(TEXT);
    s.setLegendBorderColor(Color.LIGHT_GRAY);
    s.setAnnotationTextPanelFont(TEXT);
    s.setChartPadding(12);
  }

  /**
   * A title that fits a width in the title font: the file's name and the
   * rest of the title, the name shortened around an ellipsis in its middle
   * when the whole is too wide, so that its start and extension still show.
   * XChart centres a title over the plot, not the chart: the width is the
   * plot's, and the margin left of it once more.
   */
  static String title(String name, String rest, int width) {
    int[] chars = name.codePoints().toArray();
    String title = name + rest;
    for (int kept = chars.length - 1; kept >= 0 && width(title) > width; kept--) {
      int head = (kept + 1) / 2;
      int tail = kept / 2;
      title = new String(chars, 0, head) + ELLIPSIS
          + new String(chars, chars.length - tail, tail) + rest;
    }
    return title;
  }

  /** "slope -2.0964 ± 0.0211", without the error where there is none (two points). */
  static String slope(LineFit fit) {
    return Double.isFinite(fit.slopeStdErr())
        ? String.format(Locale.ROOT, "slope %.4f \u00b1 %.4f", fit.slope(), fit.slopeStdErr())
        : String.format(Locale.ROOT, "slope %.4f", fit.slope());
  }

  private static double width(String text) {
    return TITLE.getStringBounds(text, MEASURE).getWidth();
  }
}
