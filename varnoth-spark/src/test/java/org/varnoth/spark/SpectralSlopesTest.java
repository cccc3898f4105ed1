package org.varnoth.spark;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.fasterxml.jackson.databind.JsonNode;
import com.fasterxml.jackson.databind.ObjectMapper;
import java.awt.image.BufferedImage;
import java.io.PrintWriter;
import java.io.StringWriter;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.Random;
import javax.imageio.ImageIO;
import org.apache.spark.api.java.function.MapFunction;
import org.apache.spark.sql.Dataset;
import org.apache.spark.sql.Encoders;
import org.apache.spark.sql.Row;
import org.apache.spark.sql.RowFactory;
import org.apache.spark.sql.SparkSession;
import org.apache.spark.sql.types.DataTypes;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.varnoth.NativeLibrary;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.cli.VarnothCli;

/**
 * The transformation and the job in a local Spark session, against the
 * command-line tool's {@code --json} output for the same files, bit for bit.
 */
class SpectralSlopesTest {
  private static final ObjectMapper JSON = new ObjectMapper();

  @TempDir static Path tmp;
  private static Path images;
  private static SparkSession spark;

  @BeforeAll
  static void setUp() throws Exception {
    images = Files.createDirectories(tmp.resolve("images"));
    Random rnd = new Random(7);
    write(grey(BufferedImage.TYPE_BYTE_GRAY, 128, 128, 256, rnd), "a-grey8.png");
    write(grey(BufferedImage.TYPE_USHORT_GRAY, 200, 300, 65536, rnd), "b-grey16.png");
    BufferedImage colour = new BufferedImage(256, 256, BufferedImage.TYPE_INT_RGB);
    for (int y = 0; y < 256; y++) {
      for (int x = 0; x < 256; x++) {
        colour.setRGB(x, y, rnd.nextInt(1 << 24));
      }
    }
    write(colour, "c-colour.png");
    byte[] junk = new byte[500];
    rnd.nextBytes(junk);
    Files.write(images.resolve("d-corrupt.png"), junk);
    Files.write(images.resolve("e-empty.png"), new byte[0]);
    Files.writeString(images.resolve("notes.txt"), "not an image, and not named like one");
    spark = SparkSession.builder().master("local[2]").appName("varnoth-spark-test")
        .config("spark.ui.enabled", "false").config("spark.sql.shuffle.partitions", "2")
        .getOrCreate();
  }

  @AfterAll
  static void tearDown() {
    if (spark != null) {
      spark.stop();
    }
  }

  private static BufferedImage grey(int type, int width, int height, int levels, Random rnd) {
    BufferedImage img = new BufferedImage(width, height, type);
    for (int y = 0; y < height; y++) {
      for (int x = 0; x < width; x++) {
        img.getRaster().setSample(x, y, 0, rnd.nextInt(levels));
      }
    }
    return img;
  }

  private static void write(BufferedImage img, String name) throws Exception {
    ImageIO.write(img, "png", images.resolve(name).toFile());
  }

  /** The tool's JSON lines by file name (tiles: by name and tile), and its stderr. */
  private static Map<String, JsonNode> cli(List<String> stderr, String... options)
      throws Exception {
    StringWriter out = new StringWriter();
    StringWriter err = new StringWriter();
    List<String> args = new ArrayList<>(List.of("analyze", "--json", "--threads", "1"));
    args.addAll(List.of(options));
    args.add(images.toString());
    VarnothCli.run(new PrintWriter(out), new PrintWriter(err), args.toArray(new String[0]));
    Map<String, JsonNode> byName = new HashMap<>();
    for (String line : out.toString().split("\n")) {
      JsonNode o = JSON.readTree(line);
      String name = Path.of(o.get("file").asText()).getFileName().toString();
      byName.put(o.has("row") ? name + "@" + o.get("row") + "," + o.get("column") : name, o);
    }
    stderr.addAll(List.of(err.toString().split("\n")));
    return byName;
  }

  private static String fileName(String path) {
    return path.substring(path.lastIndexOf('/') + 1);
  }

  private static double number(JsonNode n) {
    return n.isTextual() ? Double.parseDouble(n.asText()) : n.doubleValue();
  }

  private static void assertSameBits(double expected, double actual, String what) {
    assertEquals(Double.doubleToRawLongBits(expected), Double.doubleToRawLongBits(actual),
        what + ": " + expected + " against " + actual);
  }

  /** A table row's fit (slope, intercept, stderr, r2) and profile against a JSON line. */
  private static void assertSameResult(JsonNode want, double[] fit, int points,
      double[] profile, String what) {
    assertSameBits(number(want.get("slope")), fit[0], what + " slope");
    assertSameBits(number(want.get("intercept")), fit[1], what + " intercept");
    assertSameBits(number(want.get("slope_stderr")), fit[2], what + " slope_stderr");
    assertSameBits(number(want.get("r2")), fit[3], what + " r2");
    assertEquals(want.get("points").intValue(), points, what + " points");
    assertEquals(want.get("profile").size(), profile.length, what);
    for (int k = 0; k < profile.length; k++) {
      assertSameBits(number(want.get("profile").get(k)), profile[k], what + " profile " + k);
    }
  }

  private static double[] doubles(List<Double> values) {
    return values.stream().mapToDouble(Double::doubleValue).toArray();
  }

  @Test
  void imagesGiveTheToolsValuesBitForBitAndACorruptFileItsError() throws Exception {
    List<String> stderr = new ArrayList<>();
    Map<String, JsonNode> want = cli(stderr);
    Dataset<Row> files = spark.read().format("binaryFile").load(images.resolve("*.png").toString());
    List<Row> rows = SpectralSlopes.builder().build().transform(files).collectAsList();

    assertEquals(4, rows.size());
    for (Row r : rows) {
      String name = fileName(r.getAs("path"));
      if (name.equals("d-corrupt.png")) {
        String error = r.getAs(SpectralSlopes.ERROR);
        assertTrue(stderr.stream().anyMatch(l -> l.endsWith(name + ": " + error)),
            error + " not in " + stderr);
        assertTrue(r.isNullAt(r.fieldIndex(SpectralSlopes.SLOPE)));
        continue;
      }
      assertNull(r.getAs(SpectralSlopes.ERROR), name);
      double[] fit = {r.getAs(SpectralSlopes.SLOPE), r.getAs(SpectralSlopes.INTERCEPT),
          r.getAs(SpectralSlopes.SLOPE_STDERR), r.getAs(SpectralSlopes.R2)};
      assertSameResult(want.get(name), fit, r.getAs(SpectralSlopes.POINTS),
          doubles(r.getList(r.fieldIndex(SpectralSlopes.PROFILE))), name);
    }

    // Grey levels as array<array<double>>, a ragged image among them.
    double[][] grey = new double[128][128];
    Random rnd = new Random(11);
    for (double[] row : grey) {
      for (int c = 0; c < row.length; c++) {
        row[c] = rnd.nextGaussian();
      }
    }
    List<Row> arrays = List.of(RowFactory.create(1, grey),
        RowFactory.create(2, new double[][] {new double[128], new double[3]}));
    Dataset<Row> df = spark.createDataFrame(arrays, DataTypes.createStructType(List.of(
        DataTypes.createStructField("id", DataTypes.IntegerType, false),
        DataTypes.createStructField("pixels", DataTypes.createArrayType(
            DataTypes.createArrayType(DataTypes.DoubleType)), true))));
    List<Row> out = SpectralSlopes.builder().imageColumn("pixels").build().transform(df)
        .orderBy("id").collectAsList();
    SpectrumResult direct = SpectrumAnalyzer.create().analyze(grey);
    assertSameBits(direct.slope(), out.get(0).getAs(SpectralSlopes.SLOPE), "array slope");
    assertSameBits(direct.intercept(), out.get(0).getAs(SpectralSlopes.INTERCEPT),
        "array intercept");
    assertTrue(out.get(1).<String>getAs(SpectralSlopes.ERROR).contains("row"),
        out.get(1).toString());

    // The executors loaded the native library from the jar.
    List<String> places = spark.range(4).repartition(2)
        .map((MapFunction<Long, String>) i -> NativeLibrary.spectraLoadedFrom()
            .orElse("not loaded"),
            Encoders.STRING())
        .collectAsList();
    for (String place : places) {
      assertTrue(place.startsWith("the jar's resource /Varnoth/native/"), place);
    }
  }

  @Test
  void theJobWritesOneRowPerTileWithTheToolsValues() throws Exception {
    List<String> stderr = new ArrayList<>();
    String[] measuring = {"--side", "64", "--window", "hann", "--fit-range", "2:24", "--axis",
        "frequency", "--tiles", "--sectors", "4", "--fit", "wls"};
    List<String> cliOptions = new ArrayList<>(List.of(measuring));
    Map<String, JsonNode> want = cli(stderr, cliOptions.toArray(new String[0]));
    Path output = tmp.resolve("tiles-csv");
    StringWriter out = new StringWriter();
    List<String> args = new ArrayList<>(List.of("--input", images.toString(), "--output",
        output.toString(), "--format", "csv"));
    args.addAll(List.of(measuring));
    int status = SpectralSlopesJob.run(spark, new PrintWriter(out), new PrintWriter(out),
        args.toArray(new String[0]));
    assertEquals(0, status, out.toString());
    // 64 x 64 tiles: 4 + 12 (200 x 300: three columns, four rows of tiles) +
    // 16, a tiles' mean for each of the three images, and the corrupt and the
    // empty file; notes.txt is not an image name.
    assertTrue(out.toString().contains("37 rows (2 with an error)"), out.toString());

    List<Row> rows = spark.read().option("header", "true").csv(output.toString())
        .collectAsList();
    Map<String, Integer> tiles = new HashMap<>();
    for (Row r : rows) {
      String name = fileName(r.getAs("path"));
      tiles.merge(name, 1, Integer::sum);
      if (r.getAs(SpectralSlopes.ERROR) != null) {
        assertTrue(name.equals("d-corrupt.png") || name.equals("e-empty.png"), name);
        continue;
      }
      assertNull(r.getAs(SpectralSlopes.NOTE), name);
      assertEquals("64", r.getAs(SpectralSlopes.SIDE), name);
      double[] profile = new double[64 / 2 + 1];
      for (int k = 0; k < profile.length; k++) {
        profile[k] = Double.parseDouble(r.getAs("profile_" + k));
      }
      boolean mean = r.<String>getAs(SpectralSlopes.WINDOW).equals("tiles-mean");
      String key = mean ? name
          : name + "@" + r.getAs(SpectralSlopes.ROW) + "," + r.getAs(SpectralSlopes.COLUMN);
      double[] fit = new double[4];
      String[] keys = {SpectralSlopes.SLOPE, SpectralSlopes.INTERCEPT,
          SpectralSlopes.SLOPE_STDERR, SpectralSlopes.R2};
      for (int i = 0; i < 4; i++) {
        fit[i] = Double.parseDouble(r.getAs(keys[i]));
      }
      assertSameResult(want.get(key), fit, Integer.parseInt(r.getAs(SpectralSlopes.POINTS)),
          profile, key);
      assertSameBits(number(want.get(key).get("slope_ci95").get(0)),
          Double.parseDouble(r.getAs(SpectralSlopes.SLOPE_CI95_LOW)), key + " ci low");
      assertSameBits(number(want.get(key).get("curvature_stderr")),
          Double.parseDouble(r.getAs(SpectralSlopes.CURVATURE_STDERR)), key + " curvature");
      assertEquals(want.get(key).get("power_law").asText(), r.getAs(SpectralSlopes.POWER_LAW),
          key);
      if (mean) {
        assertEquals(want.get(key).get("tiles").asText(), r.getAs(SpectralSlopes.TILES), key);
        assertSameBits(number(want.get(key).get("tiles_slope_sem")),
            Double.parseDouble(r.getAs(SpectralSlopes.TILES_SLOPE_SEM)), key + " sem");
      }
      assertSameBits(number(want.get(key).get("anisotropy")),
          Double.parseDouble(r.getAs(SpectralSlopes.ANISOTROPY)), key + " anisotropy");
      for (int i = 0; i < 4; i++) {
        JsonNode sector = want.get(key).get("sectors").get(i);
        for (String k : List.of("angle", "slope", "intercept", "slope_stderr", "r2")) {
          String column = "sector_" + i + "_" + k;
          assertSameBits(number(sector.get(k)), Double.parseDouble(r.getAs(column)),
              key + " " + column);
        }
      }
    }
    assertEquals(Map.of("a-grey8.png", 5, "b-grey16.png", 13, "c-colour.png", 17,
        "d-corrupt.png", 1, "e-empty.png", 1), tiles);

    // An output that exists, and an input that matches nothing: one line each,
    // before Spark runs; --mode overwrite replaces the table.
    for (List<String> bad : List.of(args, List.of("--input", tmp.resolve("none-*.png")
        .toString(), "--output", tmp.resolve("unused").toString()))) {
      StringWriter said = new StringWriter();
      assertEquals(1, SpectralSlopesJob.run(spark, new PrintWriter(said), new PrintWriter(said),
          bad.toArray(new String[0])));
      assertTrue(said.toString().equals("varnoth-spark: --output " + output + " exists: remove "
          + "it, or give --mode overwrite to replace it\n")
          || said.toString().equals("varnoth-spark: no input matches " + tmp.resolve("none-*.png")
          + "\n"), said.toString());
    }
    // The job packed the small files into fewer tasks than files (a part file
    // each), and left the session's settings as they were; a packing of the
    // session's own wins: at 1 GiB a file, each of the four non-empty files
    // gets a task, and the empty file's row one more.
    assertTrue(partFiles(output) < 5, "part files: " + partFiles(output));
    assertTrue(!spark.conf().contains(SpectralSlopesJob.OPEN_COST));
    spark.conf().set(SpectralSlopesJob.OPEN_COST, 1L << 30);
    try {
      args.addAll(List.of("--mode", "overwrite"));
      assertEquals(0, SpectralSlopesJob.run(spark, new PrintWriter(out), new PrintWriter(out),
          args.toArray(new String[0])), out.toString());
      assertEquals(37, spark.read().option("header", "true").csv(output.toString()).count());
      assertEquals(5, partFiles(output));
      assertEquals(String.valueOf(1L << 30), spark.conf().get(SpectralSlopesJob.OPEN_COST));
    } finally {
      spark.conf().unset(SpectralSlopesJob.OPEN_COST);
    }
  }

  private static long partFiles(Path table) throws Exception {
    try (var files = Files.list(table)) {
      return files.filter(f -> f.getFileName().toString().startsWith("part-")).count();
    }
  }
}
