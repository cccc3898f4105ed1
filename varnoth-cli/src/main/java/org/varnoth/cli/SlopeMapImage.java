package org.varnoth.cli;

import java.awt.Color;
import java.awt.Font;
import java.awt.Graphics2D;
import java.awt.RenderingHints;
import java.awt.image.BufferedImage;
import java.io.IOException;
import java.nio.file.Path;
import java.util.List;
import java.util.Locale;
import org.varnoth.TileResult;

/**
 * The slopes of an image's tiles as a colour map: one cell per tile in the
 * tiles' grid, coloured from dark blue (the steepest slope) through green to
 * yellow (the flattest), with a legend of the range.
 */
final class SlopeMapImage {
  private static final int CELL = 48;
  private static final int MARGIN = 40;
  private static final int LEGEND = 90;
  private static final Color[] RAMP = {new Color(68, 1, 84), new Color(59, 82, 139),
      new Color(33, 145, 140), new Color(94, 201, 98), new Color(253, 231, 37)};

  private SlopeMapImage() {}

  static void write(List<TileResult> tiles, int side, String title, Path file)
      throws IOException {
    int rows = 0;
    int columns = 0;
    double min = Double.POSITIVE_INFINITY;
    double max = Double.NEGATIVE_INFINITY;
    for (TileResult t : tiles) {
      rows = Math.max(rows, t.row() + 1);
      columns = Math.max(columns, t.column() + 1);
      double s = t.result().slope();
      if (Double.isFinite(s)) {
        min = Math.min(min, s);
        max = Math.max(max, s);
      }
    }
    int width = Math.max(2 * MARGIN + columns * CELL + LEGEND, 320);
    int height = Math.max(2 * MARGIN + rows * CELL, 200);
    BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = image.createGraphics();
    g.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING,
        RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
    g.setColor(Color.WHITE);
    g.fillRect(0, 0, width, height);
    g.setFont(new Font(Font.SANS_SERIF, Font.PLAIN, 12));
    for (TileResult t : tiles) {
      double s = t.result().slope();
      g.setColor(Double.isFinite(s) ? colour(min, max, s) : Color.GRAY);
      g.fillRect(MARGIN + t.column() * CELL, MARGIN + t.row() * CELL, CELL, CELL);
    }
    g.setColor(Color.BLACK);
    g.drawString(title + ": slope per " + side + " x " + side + " tile", MARGIN, MARGIN - 14);
    int lx = MARGIN + columns * CELL + 24;
    int lh = Math.max(rows * CELL, 120);
    for (int y = 0; y < lh; y++) {
      g.setColor(colour(0, lh - 1, lh - 1 - y));
      g.fillRect(lx, MARGIN + y, 16, 1);
    }
    g.setColor(Color.BLACK);
    g.drawRect(lx, MARGIN, 16, lh);
    g.drawString(String.format(Locale.ROOT, "%.3f", max), lx + 22, MARGIN + 10);
    g.drawString(String.format(Locale.ROOT, "%.3f", min), lx + 22, MARGIN + lh);
    g.dispose();
    PngFiles.write(image, file);
  }

  // Linear through the ramp: min at its first colour, max at its last.
  static Color colour(double min, double max, double v) {
    double t = max > min ? (v - min) / (max - min) : 0.5;
    double p = Math.max(0, Math.min(1, t)) * (RAMP.length - 1);
    int i = Math.min((int) p, RAMP.length - 2);
    double f = p - i;
    Color a = RAMP[i];
    Color b = RAMP[i + 1];
    return new Color((int) Math.round(a.getRed() + f * (b.getRed() - a.getRed())),
        (int) Math.round(a.getGreen() + f * (b.getGreen() - a.getGreen())),
        (int) Math.round(a.getBlue() + f * (b.getBlue() - a.getBlue())));
  }
}
