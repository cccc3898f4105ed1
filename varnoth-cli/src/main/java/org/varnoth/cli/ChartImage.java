package org.varnoth.cli;

import java.awt.BasicStroke;
import java.awt.Color;
import java.awt.Font;
import java.awt.Graphics2D;
import java.awt.RenderingHints;
import java.awt.geom.Ellipse2D;
import java.awt.geom.Line2D;
import java.awt.image.BufferedImage;
import java.io.IOException;
import java.nio.file.Path;
import java.util.Locale;
import org.varnoth.FitRange;
import org.varnoth.LineFit;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;

/**
 * The log-log chart of a radial profile as a PNG, drawn at 512 x 512 pixels:
 * the abscissa of the fit's axis for a window of side N (ln(1 + (99 / (N/2)) k)
 * from 0 to ln 100 on the natives' axis, ln(k / N) from ln(1/N) to 0 on the
 * frequency axis), the
 * ordinate ln power over the points' span and one unit beyond, every point of a strictly positive ring (filled
 * inside the fit range, hollow outside it), the fitted line over the range,
 * the slope with its standard error, R^2 and the points, and the file name
 * as title.
 */
final class ChartImage {
  private static final int AREA = 512;
  private static final int LEFT = 78;
  private static final int TOP = 48;
  private static final int WIDTH = LEFT + AREA + 24;
  private static final int HEIGHT = TOP + AREA + 62;
  private static final double LN_65536 = 16 * Math.log(2);

  private ChartImage() {}

  static void write(SpectrumResult result, String title, Path file) throws IOException {
    BufferedImage image = draw(result, title);
    PngFiles.write(image, file);
  }

  /** The plotted region in log units and its mapping onto pixels. */
  private record Frame(double x0, double x1, double y0, double y1) {
    double px(double x) {
      return LEFT + (x - x0) / (x1 - x0) * AREA;
    }

    double py(double y) {
      return TOP + (y1 - y) / (y1 - y0) * AREA;
    }
  }

  // The abscissa range of the axis; the ordinate from the lowest to the
  // highest point, one unit beyond each, in whole even units.
  private static Frame frame(SpectrumAnalyzer.Axis axis, double[] profile, int side) {
    double lo = Double.POSITIVE_INFINITY;
    double hi = Double.NEGATIVE_INFINITY;
    for (int k = 0; k < profile.length; k++) {
      if (profile[k] > 0 && profile[k] < Double.POSITIVE_INFINITY) {
        lo = Math.min(lo, Math.log(profile[k]));
        hi = Math.max(hi, Math.log(profile[k]));
      }
    }
    double y0 = lo > hi ? -LN_65536 : 2 * Math.floor((lo - 1) / 2);
    double y1 = lo > hi ? LN_65536 : 2 * Math.ceil((hi + 1) / 2);
    return axis == SpectrumAnalyzer.Axis.FREQUENCY
        ? new Frame(Math.log(1.0 / side), 0.0, y0, y1)
        : new Frame(0.0, Math.log(100.0), y0, y1);
  }

  static BufferedImage draw(SpectrumResult result, String title) {
    SpectrumAnalyzer.Axis axis = result.axis();
    double[] profile = result.profile();
    int side = result.side();
    Frame f = frame(axis, profile, side);
    BufferedImage image = new BufferedImage(WIDTH, HEIGHT, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = image.createGraphics();
    g.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
    g.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING,
        RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
    g.setColor(Color.WHITE);
    g.fillRect(0, 0, WIDTH, HEIGHT);
    g.setFont(new Font(Font.SANS_SERIF, Font.PLAIN, 12));

    // Grid and ticks: abscissa every 0.5 ln unit, ordinate every 2.
    for (double x = Math.ceil(f.x0() * 2) / 2; x <= f.x1() + 1e-9; x += 0.5) {
      double cx = f.px(x);
      g.setColor(new Color(230, 230, 230));
      g.draw(new Line2D.Double(cx, TOP, cx, TOP + AREA));
      g.setColor(Color.BLACK);
      g.draw(new Line2D.Double(cx, TOP + AREA, cx, TOP + AREA + 5));
      centred(g, String.format(Locale.ROOT, "%.1f", x), cx, TOP + AREA + 18);
    }
    int yStep = f.y1() - f.y0() > 30 ? 4 : 2;
    for (double y = Math.ceil(f.y0() / yStep) * yStep; y <= f.y1() + 1e-9; y += yStep) {
      double cy = f.py(y);
      g.setColor(new Color(230, 230, 230));
      g.draw(new Line2D.Double(LEFT, cy, LEFT + AREA, cy));
      g.setColor(Color.BLACK);
      g.draw(new Line2D.Double(LEFT - 5, cy, LEFT, cy));
      String label = String.format(Locale.ROOT, "%.0f", y);
      g.drawString(label, LEFT - 8 - g.getFontMetrics().stringWidth(label), (float) cy + 4);
    }
    g.setColor(Color.BLACK);
    g.drawRect(LEFT, TOP, AREA, AREA);
    FitRange range = result.fitRange();
    centred(g, (axis == SpectrumAnalyzer.Axis.FREQUENCY
        ? "ln(k / " + side + "), cycles per pixel"
        : "ln(1 + " + 99.0 / (side / 2) + " k)")
        + ",  ring k = 0 .. " + side / 2 + ",  fitted over rings " + range.kmin() + " .. "
        + range.kmax(),
        LEFT + AREA / 2.0, TOP + AREA + 38);
    Graphics2D v = (Graphics2D) g.create();
    v.rotate(-Math.PI / 2);
    centred(v, "ln power", -(TOP + AREA / 2.0), 20);
    v.dispose();

    // The fitted line over the fit range's abscissae, then the points.
    g.setClip(LEFT, TOP, AREA + 1, AREA + 1);
    LineFit fit = result.fit();
    if (result.fitted()) {
      double xa = axis.abscissa(
          Math.max(range.kmin(), axis == SpectrumAnalyzer.Axis.FREQUENCY ? 1 : 0), side);
      double xb = axis.abscissa(range.kmax(), side);
      g.setColor(new Color(200, 40, 40));
      g.setStroke(new BasicStroke(2f));
      g.draw(new Line2D.Double(f.px(xa), f.py(fit.intercept() + fit.slope() * xa),
          f.px(xb), f.py(fit.intercept() + fit.slope() * xb)));
    }
    g.setStroke(new BasicStroke(1.5f));
    Color blue = new Color(30, 80, 170);
    // Smaller dots where a large window's many rings would merge.
    double dotSize = profile.length > 129 ? 4 : 7;
    for (int k = 0; k < profile.length; k++) {
      if (!(profile[k] > 0 && profile[k] < Double.POSITIVE_INFINITY)
          || axis == SpectrumAnalyzer.Axis.FREQUENCY && k == 0) {
        continue;
      }
      Ellipse2D dot = new Ellipse2D.Double(f.px(axis.abscissa(k, side)) - dotSize / 2,
          f.py(Math.log(profile[k])) - dotSize / 2, dotSize, dotSize);
      g.setColor(blue);
      if (range.contains(k)) {
        g.fill(dot);
      } else {
        g.setColor(Color.WHITE);
        g.fill(dot);
        g.setColor(blue);
        g.draw(dot);
      }
    }
    g.setClip(null);

    g.setColor(Color.BLACK);
    g.setFont(new Font(Font.SANS_SERIF, Font.BOLD, 14));
    centred(g, title, WIDTH / 2.0, 22);
    g.setFont(new Font(Font.SANS_SERIF, Font.PLAIN, 13));
    String text = result.notFittedReason().map(why -> "not fitted: " + why)
        .orElse(String.format(Locale.ROOT, "slope %.4f \u00b1 %.4f   R\u00b2 %.4f   "
            + "intercept %.4f   %d points", fit.slope(), fit.slopeStdErr(), fit.r2(),
            fit.intercept(), fit.points()));
    if (result.taper() == SpectrumAnalyzer.Taper.HANN) {
      text += "   Hann taper";
    }
    g.setColor(Color.WHITE);
    g.fillRect(LEFT + 6, TOP + AREA - 28, g.getFontMetrics().stringWidth(text) + 8, 22);
    g.setColor(Color.BLACK);
    g.drawString(text, LEFT + 10, TOP + AREA - 12);
    g.dispose();
    return image;
  }

  static void centred(Graphics2D g, String text, double x, double y) {
    g.drawString(text, (float) (x - g.getFontMetrics().stringWidth(text) / 2.0), (float) y);
  }
}
