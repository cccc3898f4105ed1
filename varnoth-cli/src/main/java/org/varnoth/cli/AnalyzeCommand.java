package org.varnoth.cli;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.io.PrintWriter;
import java.io.Writer;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.concurrent.Callable;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import me.tongfei.progressbar.ConsoleProgressBarConsumer;
import me.tongfei.progressbar.ProgressBar;
import me.tongfei.progressbar.ProgressBarBuilder;
import org.apache.commons.csv.CSVFormat;
import org.apache.commons.csv.CSVPrinter;
import org.varnoth.ImageDecoding;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.TileResult;
import picocli.CommandLine;
import picocli.CommandLine.Command;
import picocli.CommandLine.Option;
import picocli.CommandLine.Parameters;

/**
 * {@code varnoth analyze}: the spectral slope of each image file, folders
 * walked in sorted order, analysed on all cores and printed in input order.
 */
@Command(name = "analyze", mixinStandardHelpOptions = true,
    description = {"Prints, per image: file, slope, intercept, number of fitted rings.",
        "Images are converted to grey (one band: the sample as it is; colour: "
            + "0.299 R + 0.587 G + 0.114 B) and a 128 x 128 window is analysed: the centre "
            + "crop, the area-averaged reduction (--resize), or every whole tile (--tiles).",
        "Exit status: 0 all analysed, 1 some file failed (named on stderr), 2 usage error."})
final class AnalyzeCommand implements Callable<Integer> {
  /** Batches at least this long show a progress bar when stderr is a terminal. */
  private static final int PROGRESS_THRESHOLD = 8;

  @CommandLine.Spec CommandLine.Model.CommandSpec spec;

  @Parameters(arity = "1..*", paramLabel = "FILE|DIR", description = "Images or folders of "
      + "images (PNG, JPEG, BMP, GIF, TIFF).")
  List<Path> inputs;

  @Option(names = "--resize", description = "Analyse the area-averaged reduction of the "
      + "largest centred square whose side is a multiple of 128, not the centre crop.")
  boolean resize;

  @Option(names = "--tiles", description = "Analyse every whole 128 x 128 tile; one line per "
      + "tile, then one for the fit of the tiles' mean profile.")
  boolean tiles;

  @Option(names = "--remove-mean", description = "Subtract each window's mean before the "
      + "transform; ring 0 is then left out of the fit, so brightness does not move the slope.")
  boolean removeMean;

  @Option(names = "--fit-range", paramLabel = "KMIN:KMAX", description = "Fit the line "
      + "through rings KMIN to KMAX (0 <= KMIN < KMAX <= 64; default 0:64, or 1:64 when the "
      + "mean is removed).")
  String fitRange;

  @Option(names = "--axis", paramLabel = "natives|frequency", description = "The fit's "
      + "abscissa: ln(1 + 1.546875 k) (natives, the default) or ln(k / 128) in cycles per "
      + "pixel (frequency: the slope is minus the exponent alpha of P(f) ~ f^-alpha).")
  SpectrumAnalyzer.Axis axis = SpectrumAnalyzer.Axis.NATIVES;

  @Option(names = "--window", paramLabel = "none|hann", description = "Taper the window: "
      + "hann subtracts its mean, then multiplies by the 2-D periodic Hann taper, so the jump "
      + "between opposite edges adds no false power (default none).")
  SpectrumAnalyzer.Taper taper = SpectrumAnalyzer.Taper.NONE;

  @Option(names = "--sectors", paramLabel = "N", description = "Also fit N direction sectors "
      + "(2 to 36) of the spectrum, 0 degrees the horizontal frequency; prints the anisotropy.")
  int sectors;

  @Option(names = "--sector-chart", paramLabel = "FILE.png", description = "With --sectors "
      + "and one image: a polar plot of the sector slopes.")
  Path sectorChart;

  @Option(names = "--json", description = "One JSON object per line: file, window, slope, "
      + "intercept, points, slope_stderr, r2, fitted, axis, fit_range, taper, profile (65 "
      + "values), and with --sectors sectors and anisotropy; numbers read back as the same "
      + "doubles.")
  boolean json;

  @Option(names = "--csv", paramLabel = "FILE", description = "Also write the table to FILE "
      + "as CSV with a header.")
  Path csv;

  @Option(names = "--chart", paramLabel = "FILE.png", description = "Draw the log-log chart of "
      + "the one image named (with --tiles: of the tiles' mean profile).")
  Path chart;

  @Option(names = "--charts", paramLabel = "DIR", description = "Draw one chart per image "
      + "into DIR, named after the image.")
  Path charts;

  @Option(names = "--slope-map", paramLabel = "FILE.png", description = "With --tiles and one "
      + "image: draw the tiles' slopes as a colour map with a legend.")
  Path slopeMap;

  @Option(names = "--threads", paramLabel = "N", description = "Images analysed at once "
      + "(default: the number of processors).")
  int threads = Runtime.getRuntime().availableProcessors();

  /** An input that could not be analysed, and why. */
  static final class InputFailure extends Exception {
    private static final long serialVersionUID = 1L;

    InputFailure(String reason) {
      super(reason);
    }
  }

  /** What one file gives: its rows, and the tiles for the slope map. */
  record Analysis(List<ResultRow> rows, List<TileResult> tiles) {}

  @Override
  public Integer call() throws IOException, InterruptedException {
    checkUsage();
    SpectrumAnalyzer analyzer = analyzer();
    List<Path> files = ImageFiles.expand(inputs);
    if (files.isEmpty()) {
      throw new CommandLine.ParameterException(spec.commandLine(), "no image files in " + inputs);
    }
    if (files.size() != 1 && (chart != null || slopeMap != null || sectorChart != null)) {
      throw new CommandLine.ParameterException(spec.commandLine(),
          "--chart, --slope-map and --sector-chart take one image, got " + files.size());
    }
    if (charts != null) {
      Files.createDirectories(charts);
    }
    Map<Path, Path> chartFiles = chartFiles(files);
    PrintWriter out = spec.commandLine().getOut();
    PrintWriter err = spec.commandLine().getErr();
    ExecutorService pool = Executors.newFixedThreadPool(Math.max(1, threads));
    boolean failed = false;
    try (CSVPrinter table = csvPrinter(); ProgressBar progress = progressBar(files.size())) {
      List<Future<Analysis>> jobs = new ArrayList<>();
      for (Path f : files) {
        jobs.add(pool.submit(() -> analyzeFile(analyzer, f, chartFiles.get(f))));
      }
      for (int i = 0; i < files.size(); i++) {
        try {
          Analysis a = jobs.get(i).get();
          for (ResultRow r : a.rows()) {
            out.println(json ? ResultFormats.json(r) : ResultFormats.text(r));
            if (table != null) {
              table.printRecord(ResultFormats.csvRecord(r, sectors));
            }
          }
          if (slopeMap != null) {
            SlopeMapImage.write(a.tiles(), files.get(i).toString(), slopeMap);
          }
        } catch (ExecutionException e) {
          failed = true;
          Throwable cause = e.getCause();
          String reason = cause instanceof InputFailure ? cause.getMessage() : cause.toString();
          err.println("varnoth: " + files.get(i) + ": " + reason);
        }
        out.flush();
        if (progress != null) {
          progress.step();
        }
      }
    } finally {
      pool.shutdownNow();
    }
    return failed ? 1 : 0;
  }

  private void checkUsage() {
    String problem = null;
    if (resize && tiles) {
      problem = "--resize and --tiles exclude each other";
    } else if (chart != null && charts != null) {
      problem = "--chart and --charts exclude each other";
    } else if (slopeMap != null && !tiles) {
      problem = "--slope-map needs --tiles";
    } else if (threads < 1) {
      problem = "--threads must be at least 1, got " + threads;
    } else if (sectorChart != null && sectors == 0) {
      problem = "--sector-chart needs --sectors";
    } else if (sectorChart != null && tiles) {
      problem = "--sector-chart and --tiles exclude each other";
    }
    if (problem != null) {
      throw new CommandLine.ParameterException(spec.commandLine(), problem);
    }
  }

  // The analyser of the options; its own checks of the fit range and the
  // sectors are usage errors here.
  private SpectrumAnalyzer analyzer() {
    SpectrumAnalyzer.Builder b = SpectrumAnalyzer.builder()
        .window(resize ? SpectrumAnalyzer.Window.RESIZE : SpectrumAnalyzer.Window.CROP)
        .removeMean(removeMean).axis(axis).taper(taper);
    try {
      if (fitRange != null) {
        String[] ends = fitRange.split(":", -1);
        if (ends.length != 2) {
          throw new IllegalArgumentException("expected --fit-range KMIN:KMAX, got " + fitRange);
        }
        b.fitRange(Integer.parseInt(ends[0].trim()), Integer.parseInt(ends[1].trim()));
      }
      b.sectors(sectors);
    } catch (NumberFormatException e) {
      throw new CommandLine.ParameterException(spec.commandLine(),
          "expected --fit-range KMIN:KMAX with whole numbers, got " + fitRange);
    } catch (IllegalArgumentException e) {
      throw new CommandLine.ParameterException(spec.commandLine(), e.getMessage());
    }
    return b.build();
  }

  // The chart of each image: --chart names it; --charts names it after the
  // image, with -2, -3, ... for images of the same name in other folders.
  private Map<Path, Path> chartFiles(List<Path> files) {
    Map<Path, Path> names = new HashMap<>();
    if (chart != null) {
      names.put(files.get(0), chart);
    } else if (charts != null) {
      Map<String, Integer> seen = new HashMap<>();
      for (Path f : files) {
        String base = f.getFileName().toString().replaceFirst("\\.[^.]*$", "");
        int n = seen.merge(base, 1, Integer::sum);
        names.put(f, charts.resolve(base + (n == 1 ? "" : "-" + n) + "-chart.png"));
      }
    }
    return names;
  }

  private Analysis analyzeFile(SpectrumAnalyzer analyzer, Path file, Path chartFile)
      throws InputFailure, IOException {
    if (!Files.isRegularFile(file)) {
      throw new InputFailure("no such file");
    }
    BufferedImage image;
    try {
      image = ImageDecoding.decode(Files.readAllBytes(file));
    } catch (IOException e) {
      throw new InputFailure(e.getMessage());
    }
    String name = file.toString();
    List<ResultRow> rows = new ArrayList<>();
    List<TileResult> tileResults = List.of();
    SpectrumResult charted;
    try {
      if (tiles) {
        tileResults = analyzer.analyzeTiles(image);
        double[] mean = new double[SpectrumAnalyzer.PROFILE_SIZE];
        for (TileResult t : tileResults) {
          rows.add(new ResultRow(name, ResultRow.TILE, t.row(), t.column(), 0, t.result()));
          double[] p = t.result().profile();
          for (int k = 0; k < mean.length; k++) {
            mean[k] += p[k];
          }
        }
        for (int k = 0; k < mean.length; k++) {
          mean[k] /= tileResults.size();
        }
        charted = analyzer.fit(mean);
        rows.add(new ResultRow(name, ResultRow.TILES_MEAN, -1, -1, tileResults.size(), charted));
      } else {
        charted = analyzer.analyze(image);
        rows.add(new ResultRow(name, ResultRow.IMAGE, -1, -1, 0, charted));
      }
    } catch (IllegalArgumentException e) {
      throw new InputFailure(e.getMessage());
    }
    if (chartFile != null) {
      ChartImage.write(charted, file.getFileName().toString(), chartFile);
    }
    if (sectorChart != null) {
      SectorChartImage.write(charted, file.getFileName().toString(), sectorChart);
    }
    return new Analysis(rows, tileResults);
  }

  private CSVPrinter csvPrinter() throws IOException {
    if (csv == null) {
      return null;
    }
    Writer w = Files.newBufferedWriter(csv, StandardCharsets.UTF_8);
    return new CSVPrinter(w, CSVFormat.DEFAULT.builder()
        .setHeader(ResultFormats.csvHeader(sectors).toArray(new String[0])).get());
  }

  // On Linux, standard error is a terminal when its descriptor links to a
  // tty device (results may go to a file meanwhile); elsewhere, when the JVM
  // has a console.
  private static boolean stderrIsTerminal() {
    Path fd = Path.of("/proc/self/fd/2");
    if (Files.isSymbolicLink(fd)) {
      try {
        String target = Files.readSymbolicLink(fd).toString();
        return target.startsWith("/dev/pts/") || target.startsWith("/dev/tty");
      } catch (IOException e) {
        return false;
      }
    }
    return System.console() != null;
  }

  private ProgressBar progressBar(int total) {
    if (total < PROGRESS_THRESHOLD || !stderrIsTerminal()) {
      return null;
    }
    return new ProgressBarBuilder().setTaskName("analyze").setInitialMax(total)
        .setConsumer(new ConsoleProgressBarConsumer(System.err)).build();
  }
}
