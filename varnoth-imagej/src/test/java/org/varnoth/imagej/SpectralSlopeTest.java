package org.varnoth.imagej;

import static org.junit.jupiter.api.Assertions.assertAll;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;

import ij.IJ;
import ij.ImagePlus;
import ij.ImageStack;
import ij.Menus;
import ij.WindowManager;
import ij.gui.Roi;
import ij.macro.Interpreter;
import ij.measure.ResultsTable;
import ij.process.ByteProcessor;
import ij.process.ColorProcessor;
import ij.process.FloatProcessor;
import ij.process.ImageProcessor;
import ij.process.ShortProcessor;
import ij.text.TextWindow;
import java.awt.Frame;
import java.awt.GraphicsEnvironment;
import java.awt.image.BufferedImage;
import java.io.BufferedReader;
import java.io.IOException;
import java.io.InputStream;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Hashtable;
import java.util.List;
import java.util.Random;
import java.util.function.Function;
import java.util.function.Supplier;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.condition.EnabledIf;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.varnoth.GreyImages;
import org.varnoth.SlopeSpread;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.TileResult;

/**
 * The commands as a macro runs them, by name through ImageJ's command table,
 * against the analyser's own results. ImageJ builds its menus before it runs
 * a command, which needs a display: under {@code xvfb-run} (scripts/test.sh)
 * the tests run, on a host without any display they are skipped.
 */
@EnabledIf(value = "hasDisplay", disabledReason = "ImageJ needs a display to build its menus")
class SpectralSlopeTest {
  private static final Pattern COMMAND = Pattern.compile("\"([^\"]+)\",\\s*(\\S+)\\s*$");

  static boolean hasDisplay() {
    return !GraphicsEnvironment.isHeadless();
  }

  @BeforeAll
  static void installCommands() throws IOException {
    // The commands as the jar's plugins.config names them in ImageJ's menus
    // (a table of names to classes that ImageJ keeps untyped).
    @SuppressWarnings("unchecked")
    Hashtable<String, String> commands = Menus.getCommands();
    try (InputStream in = SpectralSlope.class.getResourceAsStream("/plugins.config");
        BufferedReader r = new BufferedReader(new InputStreamReader(in, StandardCharsets.UTF_8))) {
      for (String line = r.readLine(); line != null; line = r.readLine()) {
        Matcher m = COMMAND.matcher(line);
        if (!line.startsWith("#") && m.find()) {
          commands.put(m.group(1), m.group(2));
        }
      }
    }
  }

  @BeforeEach
  void closeTable() {
    Frame table = WindowManager.getFrame(SlopeTable.TITLE);
    if (table instanceof TextWindow) {
      ((TextWindow) table).close(false);
    }
  }

  /** A row the table must hold: the analysis and where it was made. */
  private record Row(String window, int slice, TileResult tile, SpectrumResult result,
      List<TileResult> meanOf) {}

  /** The columns whose numbers are the analysis's, to the bit. */
  private static final List<Column> NUMBERS = List.of(
      new Column("slope", SpectrumResult::slope),
      new Column("intercept", SpectrumResult::intercept),
      new Column("points", r -> (double) r.points()),
      new Column("slope_stderr", SpectrumResult::slopeStdErr),
      new Column("slope_ci95_low", r -> r.fit().slopeCi95()[0]),
      new Column("slope_ci95_high", r -> r.fit().slopeCi95()[1]),
      new Column("r2", SpectrumResult::r2),
      new Column("curvature", r -> r.curvature().coefficient()),
      new Column("curvature_stderr", r -> r.curvature().stdErr()),
      new Column("amplitude_slope", SpectrumResult::amplitudeSlope),
      new Column("fit_min", r -> (double) r.fitRange().kmin()),
      new Column("fit_max", r -> (double) r.fitRange().kmax()),
      new Column("side", r -> (double) r.side()));

  private record Column(String name, Function<SpectrumResult, Double> value) {}

  static Stream<Arguments> images() {
    Random random = new Random(7);
    BufferedImage grey8 = image(BufferedImage.TYPE_BYTE_GRAY, 160, 140, random);
    BufferedImage grey16 = image(BufferedImage.TYPE_USHORT_GRAY, 150, 150, random);
    BufferedImage rgb = image(BufferedImage.TYPE_INT_RGB, 140, 130, random);
    BufferedImage selected = image(BufferedImage.TYPE_BYTE_GRAY, 200, 150, random);
    float[][] slices = {floats(96 * 80, random), floats(96 * 80, random)};
    // Measured through the image's value calibration: raw values - 32768.
    ImagePlus signed16 = new ImagePlus("signed16", new ShortProcessor(grey16));
    signed16.getCalibration().setSigned16BitCalibration();
    ImagePlus withSelection = new ImagePlus("selected", new ByteProcessor(selected));
    // Bounds 171 x 120 at (10, 20): the square 120 x 120 at (35, 20).
    withSelection.setRoi(new Roi(10, 20, 171, 120));
    SpectrumAnalyzer tiles32 = SpectrumAnalyzer.builder().side(32).taper(
        SpectrumAnalyzer.Taper.HANN).build();
    SpectrumAnalyzer literatureOnNatives = SpectrumAnalyzer.builder().side(64).literature()
        .axis(SpectrumAnalyzer.Axis.NATIVES).sectors(4).build();
    return Stream.of(
        Arguments.of("8-bit", new ImagePlus("grey8", new ByteProcessor(grey8)), "side=128",
            (Supplier<List<Row>>) () -> List.of(image(SpectrumAnalyzer.create().analyze(grey8)))),
        Arguments.of("signed 16-bit", signed16, "side=64 window=resize fit=wls",
            (Supplier<List<Row>>) () -> List.of(image(SpectrumAnalyzer.builder().side(64)
                .window(SpectrumAnalyzer.Window.RESIZE).fit(SpectrumAnalyzer.Fit.WLS).build()
                .analyze(minus32768(GreyImages.of(grey16)))))),
        Arguments.of("RGB", new ImagePlus("rgb", new ColorProcessor(rgb)),
            "side=64 literature axis=natives sectors=4",
            (Supplier<List<Row>>) () -> List.of(image(literatureOnNatives.analyze(rgb)))),
        Arguments.of("two-slice stack", stack(slices), "side=32 window=tiles taper=hann",
            (Supplier<List<Row>>) () -> {
              List<Row> rows = new ArrayList<>(tiles(tiles32, 1, greys(slices[0], 96)));
              rows.addAll(tiles(tiles32, 2, greys(slices[1], 96)));
              return rows;
            }),
        Arguments.of("selection's square", withSelection, "side=32 window=tiles",
            (Supplier<List<Row>>) () -> tiles(SpectrumAnalyzer.builder().side(32).build(), 0,
                GreyImages.of(selected.getSubimage(35, 20, 120, 120)))));
  }

  @ParameterizedTest(name = "{0}")
  @MethodSource("images")
  void tableHoldsTheAnalysersNumbers(String name, ImagePlus imp, String options,
      Supplier<List<Row>> expected) {
    IJ.run(imp, "Spectral Slope", options);
    ResultsTable rt = ResultsTable.getResultsTable(SlopeTable.TITLE);
    List<Row> rows = expected.get();
    assertEquals(rows.size(), rt.size(), "rows");
    for (int i = 0; i < rows.size(); i++) {
      assertRow(rt, i, imp.getTitle(), rows.get(i));
    }
  }

  private static void assertRow(ResultsTable rt, int i, String title, Row row) {
    SpectrumResult r = row.result();
    List<Runnable> checks = new ArrayList<>();
    checks.add(() -> assertEquals(title, rt.getStringValue("title", i)));
    checks.add(() -> assertEquals(row.window(), rt.getStringValue("window", i)));
    checks.add(() -> assertEquals(Boolean.toString(r.fitted()), rt.getStringValue("fitted", i)));
    checks.add(() -> assertEquals(r.estimator().name().toLowerCase(),
        rt.getStringValue("fit", i)));
    for (Column c : NUMBERS) {
      checks.add(() -> assertEquals(c.value().apply(r), rt.getValue(c.name(), i),
          "row " + i + " " + c.name()));
    }
    if (!r.sectors().isEmpty()) {
      checks.add(() -> assertEquals(r.anisotropy(), rt.getValue("anisotropy", i)));
      checks.add(() -> assertEquals(r.sectors().get(3).fit().slope(),
          rt.getValue("sector_3_slope", i)));
    }
    if (row.slice() > 0) {
      checks.add(() -> assertEquals(row.slice(), rt.getValue("slice", i)));
    }
    if (row.tile() != null) {
      checks.add(() -> assertEquals(row.tile().row(), rt.getValue("row", i)));
      checks.add(() -> assertEquals(row.tile().column(), rt.getValue("column", i)));
    }
    if (row.meanOf() != null) {
      SlopeSpread spread = SlopeSpread.of(row.meanOf());
      checks.add(() -> assertEquals(row.meanOf().size(), rt.getValue("tiles", i)));
      checks.add(() -> assertEquals(spread.sd(), rt.getValue("tiles_slope_sd", i)));
      checks.add(() -> assertEquals(spread.sem(), rt.getValue("tiles_slope_sem", i)));
    }
    assertAll("row " + i, checks.stream().map(c -> c::run));
  }

  static Stream<Arguments> refusals() {
    return Stream.of(
        Arguments.of("side=128", message(() -> SpectrumAnalyzer.create().analyze(
            new double[100][100]))),
        Arguments.of("side=100", message(() -> SpectrumAnalyzer.builder().side(100))),
        Arguments.of("side=64 fit_range=0:40", message(() -> SpectrumAnalyzer.builder()
            .side(64).fitRange(0, 40).build())));
  }

  @ParameterizedTest(name = "{0}")
  @MethodSource("refusals")
  void refusalIsTheLibrarysMessage(String options, String message) {
    ImagePlus small = new ImagePlus("small", new ByteProcessor(100, 100));
    IJ.getErrorMessage();
    IJ.run(small, "Spectral Slope", options);
    String said = IJ.getErrorMessage();
    assertEquals(options.equals("side=128") ? "small: " + message : message, said);
    assertNull(ResultsTable.getResultsTable(SlopeTable.TITLE), "a table was opened");
  }

  @Test
  void folderMacroSavesEachImagesMap(@TempDir Path dir) throws IOException {
    Path in = Files.createDirectories(dir.resolve("in"));
    Path out = Files.createDirectories(dir.resolve("out"));
    Random random = new Random(11);
    List<BufferedImage> images = List.of(image(BufferedImage.TYPE_BYTE_GRAY, 96, 64, random),
        image(BufferedImage.TYPE_BYTE_GRAY, 64, 100, random));
    for (int i = 0; i < images.size(); i++) {
      IJ.saveAsTiff(new ImagePlus("image", new ByteProcessor(images.get(i))),
          in.resolve("image" + i + ".tif").toString());
    }
    // Skipped, not the end of the run.
    IJ.saveAsTiff(new ImagePlus("small", new ByteProcessor(20, 40)),
        in.resolve("small.tif").toString());
    // An error stops the macro and is kept, rather than shown in a dialog
    // that would wait for someone to close it.
    Interpreter macro = new Interpreter();
    macro.setIgnoreErrors(true);
    macro.run(Files.readString(Path.of("macros/slope-maps.ijm")),
        "input=[" + in + "] output=[" + out + "] measure=[side=32]");
    assertNull(macro.getErrorMessage(), "the macro's error");
    SpectrumAnalyzer analyzer = SpectrumAnalyzer.builder().side(32).build();
    int tiles = 0;
    for (int i = 0; i < images.size(); i++) {
      ImageProcessor map = IJ.openImage(out.resolve("image" + i + "-slope-map.tif").toString())
          .getProcessor();
      for (TileResult t : analyzer.analyzeTiles(images.get(i))) {
        assertEquals((float) t.result().slope(),
            map.getPixelValue(32 * t.column() + 16, 32 * t.row() + 16));
        tiles++;
      }
    }
    // A header, then each image's tiles and their mean.
    assertEquals(1 + tiles + images.size(),
        Files.readAllLines(out.resolve("spectral-slopes.csv")).size());
    try (Stream<Path> written = Files.list(out)) {
      assertEquals(images.size() + 1, written.count(), "files written: the maps and the table");
    }
  }

  private static String message(org.junit.jupiter.api.function.Executable refused) {
    return assertThrows(IllegalArgumentException.class, refused).getMessage();
  }

  private static Row image(SpectrumResult r) {
    return new Row("image", 0, null, r, null);
  }

  // Each tile's row, then their mean's.
  private static List<Row> tiles(SpectrumAnalyzer analyzer, int slice, double[][] grey) {
    List<TileResult> tiles = analyzer.analyzeTiles(grey);
    List<Row> rows = new ArrayList<>();
    for (TileResult t : tiles) {
      rows.add(new Row("tile", slice, t, t.result(), null));
    }
    rows.add(new Row("tiles-mean", slice, null, analyzer.tilesMean(tiles), tiles));
    return rows;
  }

  private static BufferedImage image(int type, int width, int height, Random random) {
    BufferedImage image = new BufferedImage(width, height, type);
    int bands = image.getRaster().getNumBands();
    int max = type == BufferedImage.TYPE_USHORT_GRAY ? 65536 : 256;
    for (int y = 0; y < height; y++) {
      for (int x = 0; x < width; x++) {
        for (int b = 0; b < bands; b++) {
          image.getRaster().setSample(x, y, b, random.nextInt(max));
        }
      }
    }
    return image;
  }

  private static float[] floats(int n, Random random) {
    float[] values = new float[n];
    for (int i = 0; i < n; i++) {
      values[i] = (float) random.nextGaussian() * 40 + 100;
    }
    return values;
  }

  private static ImagePlus stack(float[][] slices) {
    ImageStack stack = new ImageStack(96, 80);
    for (float[] s : slices) {
      stack.addSlice(new FloatProcessor(96, 80, s.clone()));
    }
    return new ImagePlus("stack", stack);
  }

  private static double[][] minus32768(double[][] grey) {
    for (double[] row : grey) {
      for (int x = 0; x < row.length; x++) {
        row[x] -= 32768;
      }
    }
    return grey;
  }

  // A 32-bit plane's values as doubles.
  private static double[][] greys(float[] pixels, int width) {
    double[][] grey = new double[pixels.length / width][width];
    for (int i = 0; i < pixels.length; i++) {
      grey[i / width][i % width] = pixels[i];
    }
    return grey;
  }
}
