package org.varnoth.cli;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.io.OutputStreamWriter;
import java.io.PrintWriter;
import java.io.Writer;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.Deque;
import java.util.HashMap;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Optional;
import java.util.Set;
import java.util.concurrent.Callable;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.stream.Collectors;
import me.tongfei.progressbar.ConsoleProgressBarConsumer;
import me.tongfei.progressbar.ProgressBar;
import me.tongfei.progressbar.ProgressBarBuilder;
import org.apache.commons.csv.CSVFormat;
import org.apache.commons.csv.CSVPrinter;
import org.varnoth.SlopeSpread;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.TileResult;
import org.varnoth.decoding.DecodedImage;
import org.varnoth.decoding.ImageDecoder;
import org.varnoth.decoding.ImageTooLargeException;
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
            + "0.299 R + 0.587 G + 0.114 B of the sRGB values, CMYK and ICC profiles converted "
            + "first, the EXIF orientation applied) and an N x N window is analysed (N = 128 "
            + "unless --side says otherwise): the "
            + "centre crop, the low-pass filtered reduction (--resize) or the area-averaged "
            + "one (--resize=area), or every whole tile (--tiles).",
        "Exit status: 0 all analysed, 1 some file failed (named on stderr), 2 usage error."})
final class AnalyzeCommand implements Callable<Integer> {
  /** Batches at least this long show a progress bar when stderr is a terminal. */
  private static final int PROGRESS_THRESHOLD = 8;
  /** Images submitted per worker thread ahead of the one printed next. */
  private static final int IN_FLIGHT_PER_WORKER = 8;

  /** The decoder of the run: its pixel limit and the memory budget that all threads share. */
  private ImageDecoder decoder;

  @CommandLine.Spec CommandLine.Model.CommandSpec spec;

  @Parameters(arity = "1..*", paramLabel = "FILE|DIR", description = "Images or folders of "
      + "images (PNG, JPEG, BMP, GIF, TIFF, WebP).")
  List<Path> inputs;

  @CommandLine.Mixin MeasuringOptions measuring;

  /** The analyser of the measuring options; set when the run starts. */
  private SpectrumAnalyzer analyzer;

  @Option(names = "--sector-chart", paramLabel = "FILE", description = "With --sectors "
      + "and one image: the sector slopes against the sectors' angles (.png, .svg or .pdf).")
  Path sectorChart;

  @Option(names = "--json", description = "One JSON object per line: file, window, slope, "
      + "intercept, points, slope_stderr, r2, fitted (and note, why not), axis, fit_range, "
      + "taper, side, profile (N/2 + 1 values), and with --sectors sectors and anisotropy; "
      + "numbers read back as the same doubles.")
  boolean json;

  @Option(names = "--csv", paramLabel = "FILE", description = "Also write the table to FILE "
      + "as CSV with a header.")
  Path csv;

  @Option(names = "--chart", paramLabel = "FILE", description = "Draw the log-log chart of "
      + "the one image named (with --tiles: of the tiles' mean profile) as PNG, SVG or PDF, "
      + "as FILE's extension says (.png, .svg or .pdf).")
  Path chart;

  @Option(names = "--charts", paramLabel = "DIR", description = "Draw one chart per image "
      + "into DIR, named after the image: DIR/NAME-chart.png (or .svg, .pdf: --chart-format).")
  Path charts;

  @Option(names = "--chart-format", paramLabel = "png|svg|pdf", description = "The format of "
      + "--charts (default png).")
  ChartFormat chartFormat;

  @Option(names = "--slope-map", paramLabel = "FILE", description = "With --tiles and one "
      + "image: draw the tiles' slopes as a heat map with a key of slope bands (.png, .svg "
      + "or .pdf).")
  Path slopeMap;

  @Option(names = "--threads", paramLabel = "N", description = "Images analysed at once "
      + "(default: the number of processors).")
  int threads = Runtime.getRuntime().availableProcessors();

  @Option(names = "--max-pixels", paramLabel = "N", description = "Refuse images of more than N "
      + "pixels, read from the file's header before any pixel is decoded (default: what half "
      + "the Java heap holds, at most 268435456; more needs -Xmx too).")
  Long maxPixels;

  /** An input that could not be analysed, and why. */
  static final class InputFailure extends Exception {
    private static final long serialVersionUID = 1L;

    InputFailure(String reason) {
      super(reason);
    }
  }

  /** A usage problem found after the options were parsed: one line, exit status 2. */
  static final class UsageProblem extends Exception {
    private static final long serialVersionUID = 1L;

    UsageProblem(String message) {
      super(message);
    }
  }

  /** What one input gives: its rows and the tiles for the slope map, or why it gives none. */
  sealed interface Outcome permits Analysis, Failure {}

  /**
   * The rows of an analysed file, its tiles for the slope map, and the charts
   * of it that could not be written ("cannot write --chart FILE: reason").
   */
  record Analysis(List<ResultRow> rows, List<TileResult> tiles, List<String> unwritten)
      implements Outcome {}

  /** Why an input was not analysed. */
  record Failure(String reason) implements Outcome {}

  @Override
  public Integer call() throws IOException, InterruptedException {
    analyzer = measuring.analyzer();
    checkUsage();
    decoder = maxPixels == null ? ImageDecoder.create()
        : ImageDecoder.builder().maxPixels(maxPixels).build();
    PrintWriter out = spec.commandLine().getOut();
    PrintWriter err = spec.commandLine().getErr();
    List<ImageFiles.Input> batch = ImageFiles.expand(inputs);
    Map<Path, Path> chartFiles;
    try {
      chartFiles = checkBatchAndOutputs(batch);
    } catch (UsageProblem e) {
      err.println("varnoth: " + e.getMessage());
      err.flush();
      return 2;
    }
    OutputFiles.Pending csvFile = null;
    try {
      if (csv != null) {
        csvFile = OutputFiles.Pending.open(csv);
      }
    } catch (IOException e) {
      err.println("varnoth: cannot write --csv " + csv + ": " + Reasons.of(e));
      err.flush();
      return 2;
    }
    if (!json) {
      out.println(ResultFormats.textHeader(analyzer, measuring.tiles()));
    }
    boolean failed;
    try (OutputFiles.Pending pending = csvFile) {
      failed = analyzeAll(batch, chartFiles, out, err, pending);
      if (pending != null) {
        pending.commit();
      }
    }
    return failed ? 1 : 0;
  }

  // Analyses the batch on the thread pool, at most IN_FLIGHT_PER_WORKER
  // images per worker ahead of the one being printed, and prints every result
  // in input order; true if any input failed or gave no measurement. A
  // finished image holds only its results, not its pixels, so the window can
  // be wide: a slow image at its head leaves no worker idle while the images
  // after it wait to be printed. The decoder's memory budget bounds how many
  // are decoded at once.
  private boolean analyzeAll(List<ImageFiles.Input> batch, Map<Path, Path> chartFiles,
      PrintWriter out, PrintWriter err, OutputFiles.Pending csvFile)
      throws IOException, InterruptedException {
    int workers = Math.max(1, threads);
    ExecutorService pool = Executors.newFixedThreadPool(workers);
    Deque<Future<Outcome>> running = new ArrayDeque<>();
    boolean failed = false;
    CSVPrinter table = csvFile == null ? null : csvPrinter(csvFile);
    try (ProgressBar progress = progressBar(batch.size())) {
      int submitted = 0;
      for (ImageFiles.Input input : batch) {
        while (submitted < batch.size() && running.size() < IN_FLIGHT_PER_WORKER * workers) {
          ImageFiles.Input next = batch.get(submitted++);
          running.add(pool.submit(() -> outcome(next, chartFiles.get(next.path()))));
        }
        Future<Outcome> head = running.removeFirst();
        if (!head.isDone()) {
          out.flush(); // the lines printed so far show while the next is awaited
        }
        Outcome o = result(head);
        if (o instanceof Analysis a) {
          failed |= print(a, input.path(), out, err, table);
        } else {
          failed = true;
          out.flush();
          err.println("varnoth: " + DisplayNames.plain(input.path()) + ": "
              + ((Failure) o).reason());
          err.flush();
        }
        if (progress != null) {
          progress.step();
        }
      }
    } finally {
      pool.shutdownNow();
      out.flush();
      if (table != null) {
        table.flush();
      }
    }
    return failed;
  }

  private static Outcome result(Future<Outcome> f) throws InterruptedException {
    try {
      return f.get();
    } catch (ExecutionException e) {
      Throwable cause = e.getCause();
      return new Failure(cause.getMessage() == null || cause.getMessage().isBlank()
          ? cause.toString() : cause.getMessage());
    }
  }

  // Prints an analysed file's rows, draws its slope map and says which of its
  // charts could not be written; true if a row is not a measurement or an
  // output is missing.
  private boolean print(Analysis a, Path file, PrintWriter out, PrintWriter err,
      CSVPrinter table) throws IOException {
    boolean failed = false;
    for (ResultRow r : a.rows()) {
      // Not println, which flushes each line: analyzeAll flushes the lines
      // when it waits and before any message.
      out.print(json ? ResultFormats.json(r) : ResultFormats.text(r));
      out.print(System.lineSeparator());
      if (table != null) {
        table.printRecord(ResultFormats.csvRecord(r, analyzer.sectors()));
      }
      failed |= !r.result().fitted();
    }
    List<String> unwritten = new ArrayList<>(a.unwritten());
    if (slopeMap != null) {
      write("--slope-map", slopeMap, () -> ChartFormat.write(SlopeMap.of(a.tiles(),
          analyzer.side(), DisplayNames.plain(file.getFileName())), slopeMap))
          .ifPresent(unwritten::add);
    }
    if (!unwritten.isEmpty()) {
      out.flush();
    }
    for (String problem : unwritten) {
      err.println("varnoth: " + problem);
    }
    err.flush();
    return failed || !unwritten.isEmpty();
  }

  /** Writes one output file. */
  @FunctionalInterface
  interface OutputWriter {
    void write() throws IOException;
  }

  // Writes an output; empty, or "cannot write OPTION FILE: reason".
  private static Optional<String> write(String option, Path file, OutputWriter writer) {
    try {
      writer.write();
      return Optional.empty();
    } catch (IOException e) {
      return Optional.of("cannot write " + option + " " + DisplayNames.plain(file) + ": "
          + Reasons.of(e));
    }
  }

  private Outcome outcome(ImageFiles.Input input, Path chartFile) {
    if (input instanceof ImageFiles.Unlisted u) {
      return new Failure(u.reason());
    }
    try {
      return analyzeFile(input.path(), chartFile);
    } catch (InputFailure e) {
      return new Failure(e.getMessage());
    } catch (OutOfMemoryError e) {
      return new Failure("out of memory: give Java more memory (-Xmx) or analyse fewer images "
          + "at once (--threads)");
    }
  }

  // The batch must hold an image, each chart's file must name its format, and
  // no output may name an input or lie where it cannot be written; the chart
  // file of each image.
  private Map<Path, Path> checkBatchAndOutputs(List<ImageFiles.Input> batch)
      throws UsageProblem {
    if (batch.isEmpty()) {
      throw new UsageProblem("no image files in " + inputs.stream().map(DisplayNames::plain)
          .collect(Collectors.joining(" ")));
    }
    if (batch.size() != 1 && (chart != null || slopeMap != null || sectorChart != null)) {
      throw new UsageProblem("--chart, --slope-map and --sector-chart take one image, got "
          + batch.size());
    }
    checkChartFormats();
    List<Path> files = batch.stream().map(ImageFiles.Input::path).toList();
    Map<Path, Path> chartFiles = chartFiles(files);
    OutputChecks outputs = new OutputChecks(files);
    outputs.check("--csv", csv);
    outputs.check("--chart", chart);
    outputs.check("--slope-map", slopeMap);
    outputs.check("--sector-chart", sectorChart);
    if (charts != null) {
      outputs.checkFolder("--charts", charts);
      for (Path c : chartFiles.values()) {
        outputs.check("--charts", c);
      }
    }
    return chartFiles;
  }

  private void checkUsage() {
    String problem = null;
    if (chart != null && charts != null) {
      problem = "--chart and --charts exclude each other";
    } else if (slopeMap != null && !measuring.tiles()) {
      problem = "--slope-map needs --tiles";
    } else if (threads < 1) {
      problem = "--threads must be at least 1, got " + threads;
    } else if (maxPixels != null && maxPixels < 1) {
      problem = "--max-pixels must be at least 1, got " + maxPixels;
    } else if (sectorChart != null && analyzer.sectors() == 0) {
      problem = "--sector-chart needs --sectors";
    } else if (sectorChart != null && measuring.tiles()) {
      problem = "--sector-chart and --tiles exclude each other";
    } else if (chartFormat != null && charts == null) {
      problem = "--chart-format goes with --charts (the other charts' files name their format)";
    }
    if (problem != null) {
      throw new CommandLine.ParameterException(spec.commandLine(), problem);
    }
  }

  // A chart's format is its file's extension: one that names none is refused.
  private void checkChartFormats() throws UsageProblem {
    Map<String, Path> named = new LinkedHashMap<>();
    named.put("--chart", chart);
    named.put("--sector-chart", sectorChart);
    named.put("--slope-map", slopeMap);
    for (Map.Entry<String, Path> e : named.entrySet()) {
      if (e.getValue() != null && ChartFormat.of(e.getValue()).isEmpty()) {
        throw new UsageProblem(e.getKey() + " " + DisplayNames.plain(e.getValue())
            + " is not a " + ChartFormat.EXTENSIONS + " file, the formats a chart is drawn in");
      }
    }
  }

  // The chart of each image: --chart names it; --charts names it after the
  // image (its name's bytes as they are), with -2, -3, ... where another
  // image's chart has that name already.
  private Map<Path, Path> chartFiles(List<Path> files) {
    Map<Path, Path> names = new HashMap<>();
    if (chart != null) {
      names.put(files.get(0), chart);
    } else if (charts != null) {
      String suffix = "-chart." + (chartFormat == null ? ChartFormat.PNG : chartFormat)
          .extension();
      Set<Path> used = new HashSet<>();
      for (Path f : files) {
        String base = DisplayNames.uriName(f).replaceFirst("\\.[^.]*$", "");
        Path name = charts.resolve(DisplayNames.fromUriName(base + suffix));
        for (int n = 2; !used.add(name); n++) {
          name = charts.resolve(DisplayNames.fromUriName(base + "-" + n + suffix));
        }
        names.put(f, name);
      }
    }
    return names;
  }

  // Decodes a file and analyses it while its share of the memory budget is held.
  private Analysis analyzeFile(Path file, Path chartFile)
      throws InputFailure {
    try (DecodedImage decoded = decoder.decode(file)) {
      return analyzeImage(decoded, file, chartFile);
    } catch (ImageTooLargeException e) {
      throw new InputFailure(e.getMessage() + " (--max-pixels sets the limit)");
    } catch (IOException e) {
      // The decoder's reasons are words; a chart's folder may refuse a write.
      throw new InputFailure(Reasons.of(e));
    }
  }

  private Analysis analyzeImage(DecodedImage decoded, Path file, Path chartFile)
      throws InputFailure, IOException {
    BufferedImage image = decoded.image();
    String name = DisplayNames.of(file);
    List<String> notes = decoded.notes();
    List<ResultRow> rows = new ArrayList<>();
    List<TileResult> tileResults = List.of();
    SpectrumResult charted;
    try {
      if (measuring.tiles()) {
        tileResults = analyzer.analyzeTiles(image);
        for (TileResult t : tileResults) {
          rows.add(new ResultRow(name, new ResultRow.Tile(t.row(), t.column()), t.result(),
              notes));
        }
        charted = analyzer.tilesMean(tileResults);
        rows.add(new ResultRow(name, new ResultRow.TilesMean(tileResults.size(),
            SlopeSpread.of(tileResults)), charted,
            notes));
      } else {
        charted = analyzer.analyze(image);
        rows.add(new ResultRow(name, new ResultRow.WholeImage(), charted, notes));
      }
    } catch (IllegalArgumentException e) {
      throw new InputFailure(e.getMessage());
    }
    String title = DisplayNames.plain(file.getFileName());
    List<String> unwritten = new ArrayList<>();
    SpectrumResult drawn = charted;
    if (chartFile != null) {
      write(chart != null ? "--chart" : "--charts", chartFile,
          () -> ChartFormat.write(LogLogChart.of(drawn, title), chartFile))
          .ifPresent(unwritten::add);
    }
    if (sectorChart != null) {
      write("--sector-chart", sectorChart,
          () -> ChartFormat.write(SectorChart.of(drawn, title), sectorChart))
          .ifPresent(unwritten::add);
    }
    return new Analysis(rows, tileResults, unwritten);
  }

  private CSVPrinter csvPrinter(OutputFiles.Pending file) throws IOException {
    Writer w = new OutputStreamWriter(file.stream(), StandardCharsets.UTF_8);
    return new CSVPrinter(w, CSVFormat.DEFAULT.builder()
        .setHeader(ResultFormats.csvHeader(analyzer).toArray(new String[0])).get());
  }

  // On Linux, a descriptor is a terminal when it links to a tty device;
  // elsewhere both are taken to be one when the JVM has a console.
  private static boolean isTerminal(int fd) {
    Path link = Path.of("/proc/self/fd/" + fd);
    if (Files.isSymbolicLink(link)) {
      try {
        String target = Files.readSymbolicLink(link).toString();
        return target.startsWith("/dev/pts/") || target.startsWith("/dev/tty");
      } catch (IOException e) {
        return false;
      }
    }
    return System.console() != null;
  }

  // The bar is drawn on stderr only while the results go elsewhere than the
  // terminal, so that it never shares a line with a result.
  private ProgressBar progressBar(int total) {
    if (total < PROGRESS_THRESHOLD || !isTerminal(2) || isTerminal(1)) {
      return null;
    }
    return new ProgressBarBuilder().setTaskName("analyze").setInitialMax(total)
        .setConsumer(new ConsoleProgressBarConsumer(System.err)).build();
  }
}
