package org.varnoth.cli;

import java.io.ByteArrayOutputStream;
import java.io.FilterOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.Locale;
import java.util.Optional;
import org.knowm.xchart.BitmapEncoder;
import org.knowm.xchart.VectorGraphicsEncoder;
import org.knowm.xchart.internal.chartpart.Chart;
import org.knowm.xchart.internal.series.Series;

/**
 * The formats the tool draws its charts in: PNG, SVG and PDF, each written
 * by XChart's own encoders, the file whole or not at all ({@link OutputFiles}).
 * XChart draws letters as shapes, in SVG and PDF too; an SVG also carries
 * the chart's words as its {@code <title>} and {@code <desc>}.
 */
enum ChartFormat {
  PNG, SVG, PDF;

  /** The extensions a chart's file may have, for messages. */
  static final String EXTENSIONS = ".png, .svg or .pdf";

  /**
   * The format a file's extension names, in any case.
   *
   * @return the format, or empty for any other extension or none
   */
  static Optional<ChartFormat> of(Path file) {
    String name = file.getFileName() == null ? "" : file.getFileName().toString();
    int dot = name.lastIndexOf('.');
    if (dot < 0) {
      return Optional.empty();
    }
    String extension = name.substring(dot + 1).toUpperCase(Locale.ROOT);
    return Arrays.stream(values()).filter(f -> f.name().equals(extension)).findFirst();
  }

  /** The extension of this format's files, without the dot. */
  String extension() {
    return name().toLowerCase(Locale.ROOT);
  }

  /**
   * Writes a chart in the format its file's extension names.
   *
   * @throws IllegalArgumentException for an extension that names no format
   *     (the options' check refuses those before anything is drawn)
   */
  static void write(Chart<?, ?> chart, Path file) throws IOException {
    ChartFormat format = of(file).orElseThrow(() -> new IllegalArgumentException(
        "a chart's file ends in " + EXTENSIONS + ", got " + file));
    OutputFiles.write(file, out -> format.encode(chart, new KeptOpen(out)));
  }

  private void encode(Chart<?, ?> chart, OutputStream out) throws IOException {
    switch (this) {
      case PNG -> BitmapEncoder.saveBitmap(chart, out, BitmapEncoder.BitmapFormat.PNG);
      case SVG -> {
        ByteArrayOutputStream svg = new ByteArrayOutputStream();
        VectorGraphicsEncoder.saveVectorGraphic(chart, svg,
            VectorGraphicsEncoder.VectorGraphicsFormat.SVG);
        out.write(withWords(svg.toString(StandardCharsets.UTF_8), chart)
            .getBytes(StandardCharsets.UTF_8));
      }
      case PDF -> VectorGraphicsEncoder.saveVectorGraphic(chart, out,
          VectorGraphicsEncoder.VectorGraphicsFormat.PDF);
    }
  }

  // XChart draws every letter as a shape: the SVG also gets the chart's
  // words as its title and description, for search, screen readers and
  // copying: the title, the axes' titles and the legend's entries.
  private static String withWords(String svg, Chart<?, ?> chart) {
    StringBuilder words = new StringBuilder();
    words.append(chart.getXAxisTitle()).append('\n').append(chart.getYAxisTitle());
    for (Series s : chart.getSeriesMap().values()) {
      if (s.isShowInLegend()) {
        words.append('\n').append(s.getName());
      }
    }
    int start = svg.indexOf('>', svg.indexOf("<svg")) + 1;
    return svg.substring(0, start) + "\n  <title>" + xml(chart.getTitle()) + "</title>\n  <desc>"
        + xml(words.toString()) + "</desc>" + svg.substring(start);
  }

  private static String xml(String text) {
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;");
  }

  /**
   * The pending file's stream, which an encoder may close when done: it is
   * flushed instead, so that the file can still be committed.
   */
  private static final class KeptOpen extends FilterOutputStream {
    KeptOpen(OutputStream out) {
      super(out);
    }

    @Override
    public void write(byte[] b, int off, int len) throws IOException {
      out.write(b, off, len);
    }

    @Override
    public void close() throws IOException {
      flush();
    }
  }
}
