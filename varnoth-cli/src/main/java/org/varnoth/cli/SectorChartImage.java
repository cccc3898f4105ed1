package org.varnoth.cli;

import java.awt.BasicStroke;
import java.awt.Color;
import java.awt.Font;
import java.awt.Graphics2D;
import java.awt.RenderingHints;
import java.awt.geom.Ellipse2D;
import java.awt.geom.Line2D;
import java.awt.geom.Path2D;
import java.awt.image.BufferedImage;
import java.io.IOException;
import java.nio.file.Path;
import java.util.List;
import java.util.Locale;
import org.varnoth.FitRange;
import org.varnoth.SectorResult;
import org.varnoth.SpectrumResult;

/**
 * The sector slopes of one image as a polar plot (PNG): each sector's
 * steepness |slope| as the distance from the centre in the direction of the
 * sector's centre angle, 0 degrees to the right (the horizontal frequency,
 * variation along a row), 90 degrees up, and again at the opposite angle
 * (power is point-symmetric), joined into a closed outline. A round outline
 * is an isotropic spectrum; an elongated one points along the directions
 * whose power falls fastest. Each sector carries its slope and standard
 * error; the anisotropy and the fit settings are printed below.
 */
final class SectorChartImage {
  private static final int SIZE = 640;
  private static final int CX = SIZE / 2;
  private static final int CY = 330;
  private static final int RADIUS = 230;

  private SectorChartImage() {}

  static void write(SpectrumResult result, String title, Path file) throws IOException {
    BufferedImage image = draw(result, title);
    PngFiles.write(image, file);
  }

  static BufferedImage draw(SpectrumResult result, String title) {
    List<SectorResult> sectors = result.sectors();
    double largest = 0.5;
    for (SectorResult s : sectors) {
      largest = Math.max(largest, Math.abs(s.fit().slope()));
    }
    double outer = Math.ceil(largest * 2) / 2;  // in steps of 0.5
    double scale = RADIUS / outer;

    BufferedImage image = new BufferedImage(SIZE, SIZE + 60, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = image.createGraphics();
    g.setRenderingHint(RenderingHints.KEY_ANTIALIASING, RenderingHints.VALUE_ANTIALIAS_ON);
    g.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING,
        RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
    g.setColor(Color.WHITE);
    g.fillRect(0, 0, SIZE, SIZE + 60);
    g.setFont(new Font(Font.SANS_SERIF, Font.PLAIN, 12));

    // Circles of equal steepness every 0.5, spokes every 30 degrees.
    for (double r = 0.5; r <= outer + 1e-9; r += 0.5) {
      g.setColor(new Color(225, 225, 225));
      double pr = r * scale;
      g.draw(new Ellipse2D.Double(CX - pr, CY - pr, 2 * pr, 2 * pr));
      // Steepness labels down the lower half, which carries no sector labels.
      g.setColor(Color.GRAY);
      double t = Math.toRadians(285);
      ChartImage.centred(g, String.format(Locale.ROOT, "%.1f", r), CX + pr * Math.cos(t),
          CY - pr * Math.sin(t) + 4);
    }
    for (int a = 0; a < 360; a += 30) {
      double t = Math.toRadians(a);
      g.setColor(new Color(225, 225, 225));
      g.draw(new Line2D.Double(CX, CY, CX + RADIUS * Math.cos(t), CY - RADIUS * Math.sin(t)));
      g.setColor(Color.GRAY);
      ChartImage.centred(g, a + "\u00b0", CX + (RADIUS + 18) * Math.cos(t),
          CY - (RADIUS + 18) * Math.sin(t) + 4);
    }

    // Every sector and its opposite: sector i % n at angle + 180 for i >= n.
    int n = sectors.size();
    double[] x = new double[2 * n];
    double[] y = new double[2 * n];
    double[] radius = new double[2 * n];
    double[] angle = new double[2 * n];
    for (int i = 0; i < 2 * n; i++) {
      SectorResult s = sectors.get(i % n);
      angle[i] = Math.toRadians(s.angle() + (i < n ? 0 : 180));
      radius[i] = Math.abs(s.fit().slope()) * scale;
      x[i] = CX + radius[i] * Math.cos(angle[i]);
      y[i] = CY - radius[i] * Math.sin(angle[i]);
    }

    // The outline through them.
    Path2D outline = new Path2D.Double();
    outline.moveTo(x[0], y[0]);
    for (int i = 1; i < 2 * n; i++) {
      outline.lineTo(x[i], y[i]);
    }
    outline.closePath();
    g.setColor(new Color(30, 80, 170, 50));
    g.fill(outline);
    g.setColor(new Color(30, 80, 170));
    g.setStroke(new BasicStroke(2f));
    g.draw(outline);

    // Dots at every sector; labels on the upper half (0 to 180 degrees).
    g.setFont(new Font(Font.SANS_SERIF, Font.PLAIN, 11));
    for (int i = 0; i < 2 * n; i++) {
      SectorResult s = sectors.get(i % n);
      g.setColor(s.fit().fitted() ? new Color(30, 80, 170) : Color.RED);
      g.fill(new Ellipse2D.Double(x[i] - 4, y[i] - 4, 8, 8));
      if (i < n && n <= 18) {
        g.setColor(Color.BLACK);
        String label = s.fit().fitted()
            ? String.format(Locale.ROOT, "%.2f\u00b1%.2f", s.fit().slope(), s.fit().slopeStdErr())
            : "not fitted";
        double lr = radius[i] + 34;
        ChartImage.centred(g, label, CX + lr * Math.cos(angle[i]),
            CY - lr * Math.sin(angle[i]) + 4);
      }
    }

    g.setColor(Color.BLACK);
    g.setFont(new Font(Font.SANS_SERIF, Font.BOLD, 14));
    ChartImage.centred(g, title + ": sector slopes, |slope| as radius", SIZE / 2.0, 24);
    g.setFont(new Font(Font.SANS_SERIF, Font.PLAIN, 12));
    FitRange range = result.fitRange();
    ChartImage.centred(g, String.format(Locale.ROOT,
        "anisotropy %.3f (largest minus smallest slope)   %d sectors   rings %d .. %d   %s axis",
        result.anisotropy(), n, range.kmin(), range.kmax(),
        result.axis().name().toLowerCase(Locale.ROOT)), SIZE / 2.0, SIZE + 22);
    ChartImage.centred(g, "0\u00b0: horizontal frequency (variation along a row, vertical "
        + "stripes);  90\u00b0: vertical frequency", SIZE / 2.0, SIZE + 42);
    g.dispose();
    return image;
  }
}
