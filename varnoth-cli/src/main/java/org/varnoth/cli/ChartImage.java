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
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Locale;
import javax.imageio.ImageIO;
import org.varnoth.ChartInfo;
import org.varnoth.SpectrumResult;

/**
 * The log-log chart of a radial profile as a PNG: the 256 x 256 chart area of
 * the natives' chart information (drawn at twice that size), abscissa
 * ln(1 + 1.546875 k) from 0 to ln 100, ordinate ln power from -ln 65536 to
 * ln 65536, the fitted points, the regression line, its slope and intercept,
 * and the file name as title.
 */
final class ChartImage {
  private static final int SCALE = 2;
  private static final int AREA = 256 * SCALE;
  private static final int LEFT = 78;
  private static final int TOP = 48;
  private static final int WIDTH = LEFT + AREA + 24;
  private static final int HEIGHT = TOP + AREA + 62;

  private ChartImage() {}

  static void write(SpectrumResult result, String title, Path file) throws IOException {
    ChartInfo info = result.chart().orElseThrow(() ->
        new IllegalStateException("the analyser was built without charts"));
    BufferedImage image = draw(info, result, title);
    Path parent = file.toAbsolutePath().getParent();
    if (parent != null) {
      Files.createDirectories(parent);
    }
    ImageIO.write(image, "png", file.toFile());
  }

  // Chart coordinates (0 to 255, ordinate inverted) to pixels.
  private static double px(double chartX) {
    return LEFT + chartX * SCALE;
  }

  private static double py(double chartY) {
    return TOP + chartY * SCALE;
  }

  static BufferedImage draw(ChartInfo info, SpectrumResult result, String title) {
    double[] range = info.plotRange();
    double[] scale = info.plotScale();
    BufferedImage image = new BufferedImage(WIDTH, HEIGHT, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = image.createGraphics();
    g.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
    g.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING,
        RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
    g.setColor(Color.WHITE);
    g.fillRect(0, 0, WIDTH, HEIGHT);
    g.setFont(new Font(Font.SANS_SERIF, Font.PLAIN, 12));

    // Grid and ticks: abscissa every 0.5 ln unit, ordinate every 2.
    for (double x = range[0]; x <= range[1] + 1e-9; x += 0.5) {
      double cx = px(x * scale[0]);
      g.setColor(new Color(230, 230, 230));
      g.draw(new Line2D.Double(cx, TOP, cx, TOP + AREA));
      g.setColor(Color.BLACK);
      g.draw(new Line2D.Double(cx, TOP + AREA, cx, TOP + AREA + 5));
      centred(g, String.format(Locale.ROOT, "%.1f", x), cx, TOP + AREA + 18);
    }
    for (int y = -10; y <= 10; y += 2) {
      double cy = py(255.0 - (scale[1] * y + 127.5));
      g.setColor(new Color(230, 230, 230));
      g.draw(new Line2D.Double(LEFT, cy, LEFT + AREA, cy));
      g.setColor(Color.BLACK);
      g.draw(new Line2D.Double(LEFT - 5, cy, LEFT, cy));
      String label = Integer.toString(y);
      g.drawString(label, LEFT - 8 - g.getFontMetrics().stringWidth(label), (float) cy + 4);
    }
    g.setColor(Color.BLACK);
    g.drawRect(LEFT, TOP, AREA, AREA);
    centred(g, "ln(1 + 1.546875 k),  ring k = 0 .. 64", LEFT + AREA / 2.0, TOP + AREA + 38);
    Graphics2D v = (Graphics2D) g.create();
    v.rotate(-Math.PI / 2);
    centred(v, "ln power", -(TOP + AREA / 2.0), 20);
    v.dispose();

    // The regression line over the abscissa range, then the points.
    g.setClip(LEFT, TOP, AREA + 1, AREA + 1);
    g.setColor(new Color(200, 40, 40));
    g.setStroke(new BasicStroke(2f));
    double[] line = info.regression();
    double y0 = line[1];
    double y1 = line[0] * range[1] + line[1];
    g.draw(new Line2D.Double(px(0), py(255.0 - (scale[1] * y0 + 127.5)),
        px(range[1] * scale[0]), py(255.0 - (scale[1] * y1 + 127.5))));
    g.setColor(new Color(30, 80, 170));
    double[] xs = info.x();
    double[] ys = info.y();
    for (int i = 0; i < xs.length; i++) {
      g.fill(new Ellipse2D.Double(px(xs[i]) - 3, py(ys[i]) - 3, 6, 6));
    }
    g.setClip(null);

    g.setColor(Color.BLACK);
    g.setFont(new Font(Font.SANS_SERIF, Font.BOLD, 14));
    centred(g, title, WIDTH / 2.0, 22);
    g.setFont(new Font(Font.SANS_SERIF, Font.PLAIN, 13));
    String fit = String.format(Locale.ROOT, "slope %.4f   intercept %.4f   %d points",
        result.slope(), result.intercept(), result.points());
    g.drawString(fit, LEFT + 10, TOP + AREA - 12);
    g.dispose();
    return image;
  }

  private static void centred(Graphics2D g, String text, double x, double y) {
    g.drawString(text, (float) (x - g.getFontMetrics().stringWidth(text) / 2.0), (float) y);
  }
}
