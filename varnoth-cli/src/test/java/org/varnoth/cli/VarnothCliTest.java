package org.varnoth.cli;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.fasterxml.jackson.databind.JsonNode;
import com.fasterxml.jackson.databind.ObjectMapper;
import java.awt.Transparency;
import java.awt.color.ColorSpace;
import java.awt.image.BufferedImage;
import java.awt.image.ComponentColorModel;
import java.awt.image.DataBuffer;
import java.awt.image.WritableRaster;
import java.io.IOException;
import java.io.PrintWriter;
import java.io.Reader;
import java.io.StringWriter;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashSet;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.Random;
import java.util.Set;
import java.util.TreeMap;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import javax.imageio.ImageIO;
import javax.imageio.ImageWriter;
import javax.imageio.stream.ImageOutputStream;
import javax.xml.parsers.DocumentBuilderFactory;
import org.apache.commons.csv.CSVFormat;
import org.apache.commons.csv.CSVRecord;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.varnoth.LineFit;
import org.varnoth.Curvature;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.TileResult;
import org.w3c.dom.Document;

/** The tool end to end, on images the test writes. */
class VarnothCliTest {
  private static final ObjectMapper JSON = new ObjectMapper();
  private static final String NOT_AN_IMAGE =
      "not an image file of a known format (PNG, JPEG, BMP, GIF, TIFF, WebP)";

  @TempDir Path dir;

  /** What one run printed, and its exit status. */
  record Run(int status, String out, String err) {
    /** The result lines: stdout without the text output's "# " line of what was measured. */
    List<String> lines() {
      return out.isEmpty() ? List.of()
          : Arrays.stream(out.split("\n")).filter(l -> !l.startsWith("# ")).toList();
    }
  }

  private static Run run(String... args) {
    StringWriter out = new StringWriter();
    StringWriter err = new StringWriter();
    int status = VarnothCli.run(new PrintWriter(out), new PrintWriter(err), args);
    return new Run(status, out.toString().replace("\r\n", "\n"), err.toString());
  }

  private static BufferedImage noise(int type, int width, int height, long seed) {
    Random rnd = new Random(seed);
    BufferedImage img = new BufferedImage(width, height, type);
    for (int y = 0; y < height; y++) {
      for (int x = 0; x < width; x++) {
        if (type == BufferedImage.TYPE_INT_RGB) {
          img.setRGB(x, y, rnd.nextInt(1 << 24));
        } else {
          img.getRaster().setSample(x, y, 0, rnd.nextInt(type == BufferedImage.TYPE_BYTE_GRAY
              ? 256 : 65536));
        }
      }
    }
    return img;
  }

  private Path write(BufferedImage img, String format, String name) throws IOException {
    Path f = dir.resolve(name);
    assertTrue(ImageIO.write(img, format, f.toFile()), name);
    return f;
  }

  private static void assertBits(double expected, double actual, String what) {
    assertEquals(Double.doubleToRawLongBits(expected), Double.doubleToRawLongBits(actual),
        what + ": " + expected + " vs " + actual);
  }

  private static double number(JsonNode n) {
    return n.isTextual() ? Double.parseDouble(n.asText()) : n.doubleValue();
  }

  private static void assertJsonIs(SpectrumResult expected, JsonNode line) {
    assertBits(expected.slope(), number(line.get("slope")), "slope");
    assertBits(expected.intercept(), number(line.get("intercept")), "intercept");
    assertEquals(expected.points(), line.get("points").intValue());
    double[] profile = expected.profile();
    assertEquals(65, line.get("profile").size());
    for (int k = 0; k < 65; k++) {
      assertBits(profile[k], number(line.get("profile").get(k)), "profile " + k);
    }
  }

  private static void assertFitIs(LineFit expected, JsonNode o, String what) {
    assertBits(expected.slope(), number(o.get("slope")), what + " slope");
    assertBits(expected.intercept(), number(o.get("intercept")), what + " intercept");
    assertEquals(expected.points(), o.get("points").intValue(), what + " points");
    assertBits(expected.slopeStdErr(), number(o.get("slope_stderr")), what + " stderr");
    assertBits(expected.slopeCi95()[0], number(o.get("slope_ci95").get(0)), what + " ci low");
    assertBits(expected.slopeCi95()[1], number(o.get("slope_ci95").get(1)), what + " ci high");
    assertBits(expected.r2(), number(o.get("r2")), what + " r2");
    assertEquals(expected.fitted(), o.get("fitted").booleanValue(), what + " fitted");
  }

  @Test
  void measuringOptionsReachEveryOutputWithTheApisNumbers() throws IOException {
    Path f = write(noise(BufferedImage.TYPE_USHORT_GRAY, 300, 260, 9), "png", "m.png");
    Path csv = dir.resolve("m.csv");
    Run r = run("analyze", "--json", "--literature", "--fit-range", "2:48", "--sectors", "8",
        "--csv", csv.toString(), f.toString());
    assertEquals(0, r.status(), r.err());
    SpectrumResult want = SpectrumAnalyzer.builder().taper(SpectrumAnalyzer.Taper.HANN)
        .fitRange(2, 48).sectors(8).axis(SpectrumAnalyzer.Axis.FREQUENCY)
        .fit(SpectrumAnalyzer.Fit.WLS).build().analyze(ImageIO.read(f.toFile()));
    JsonNode line = JSON.readTree(r.lines().get(0));
    assertJsonIs(want, line);
    assertFitIs(want.fit(), line, "image");
    Curvature c = want.curvature();
    assertBits(c.coefficient(), number(line.get("curvature")), "curvature");
    assertBits(c.stdErr(), number(line.get("curvature_stderr")), "curvature stderr");
    assertEquals(c.verdict() == Curvature.Verdict.POWER_LAW, line.get("power_law").booleanValue());
    assertEquals("frequency", line.get("axis").asText());
    assertEquals("hann", line.get("taper").asText());
    assertEquals("[2,48]", line.get("fit_range").toString());
    assertEquals("wls", line.get("fit").asText());
    assertBits(want.amplitudeSlope(), number(line.get("amplitude_slope")), "amplitude slope");
    assertEquals(12, line.get("ring_counts").get(2).intValue());
    assertBits(want.anisotropy(), number(line.get("anisotropy")), "anisotropy");
    assertEquals(8, line.get("sectors").size());
    for (int i = 0; i < 8; i++) {
      JsonNode s = line.get("sectors").get(i);
      assertBits(want.sectors().get(i).angle(), number(s.get("angle")), "angle " + i);
      assertFitIs(want.sectors().get(i).fit(), s, "sector " + i);
    }
    try (Reader in = Files.newBufferedReader(csv)) {
      CSVRecord rec = CSVFormat.DEFAULT.builder().setHeader().setSkipHeaderRecord(true).get()
          .parse(in).getRecords().get(0);
      assertBits(want.slopeStdErr(), Double.parseDouble(rec.get("slope_stderr")), "csv stderr");
      assertBits(want.fit().slopeCi95()[1], Double.parseDouble(rec.get("slope_ci95_high")),
          "csv ci high");
      assertBits(want.sectors().get(7).fit().r2(), Double.parseDouble(rec.get("sector_7_r2")),
          "csv sector r2");
      assertBits(c.coefficient(), Double.parseDouble(rec.get("curvature")), "csv curvature");
      assertEquals(line.get("power_law").asText(), rec.get("power_law"));
    }
    // Text: a first line of what was measured; an option beside --literature replaces its own.
    Run text = run("analyze", "--literature", "--fit", "ols", f.toString());
    assertEquals("# the centre 128 x 128 crop; mean removed; Hann taper; rings 6:48; slope = "
        + "-alpha of P(f) ~ f^-alpha on ln f, f in cycles per pixel; ordinary least squares "
        + "(ols); curved at the 5 % level", text.out().lines().findFirst().orElseThrow());
    assertTrue(text.lines().get(0).matches(".*  slope -?[0-9.]+  alpha -?[0-9.]+  .*"
        + "  ci95 \\[-?[0-9.]+, -?[0-9.]+\\]  r2 .*"
        + "  curvature -?[0-9.]+ \\+- [0-9.]+ \\((a power law|curved)\\)"), text.out());
    // --resize takes a value attached or naming a reduction; a file after it stays a file.
    for (List<String> resize : List.of(List.of("--resize"), List.of("--resize", "area"))) {
      List<String> args = new ArrayList<>(List.of("analyze", "--json"));
      args.addAll(resize);
      args.add(f.toString());
      Run reduced = run(args.toArray(String[]::new));
      assertEquals(0, reduced.status(), reduced.err());
      assertJsonIs(SpectrumAnalyzer.builder().window(resize.size() == 1
          ? SpectrumAnalyzer.Window.RESIZE : SpectrumAnalyzer.Window.AREA_AVERAGE).build()
          .analyze(ImageIO.read(f.toFile())), JSON.readTree(reduced.lines().get(0)));
    }
    Run bad = run("analyze", "--fit-range", "3:2", f.toString());
    assertEquals(2, bad.status());
    assertTrue(bad.err().contains("expected a fit range 0 <= KMIN < KMAX <= 2048, got 3:2"),
        bad.err());
    Run beyond = run("analyze", "--side", "256", "--fit-range", "10:256", f.toString());
    assertEquals(2, beyond.status());
    assertTrue(beyond.err().contains(
        "expected a fit range within rings 0:128 of a 256 x 256 window, got 10:256"), beyond.err());
  }

  @Test
  void jsonLinesCarryTheApisNumbersBitForBitInSortedOrder() throws IOException {
    List<Path> files = List.of(
        write(noise(BufferedImage.TYPE_USHORT_GRAY, 170, 150, 1), "png", "a-grey16.png"),
        write(noise(BufferedImage.TYPE_INT_RGB, 200, 131, 2), "jpg", "b-colour.jpg"),
        write(noise(BufferedImage.TYPE_BYTE_GRAY, 128, 300, 3), "png", "c-grey8.png"));
    Run r = run("analyze", "--json", dir.toString());
    assertEquals(0, r.status(), r.err());
    assertEquals(3, r.lines().size(), r.out());
    for (int i = 0; i < 3; i++) {
      JsonNode line = JSON.readTree(r.lines().get(i));
      assertEquals(files.get(i).toString(), line.get("file").asText());
      assertJsonIs(SpectrumAnalyzer.create().analyze(ImageIO.read(files.get(i).toFile())), line);
    }

    // Non-finite values are the strings NaN, Infinity, -Infinity.
    double[] profile = new double[65];
    profile[1] = Double.NaN;
    profile[2] = Double.POSITIVE_INFINITY;
    profile[3] = Double.NEGATIVE_INFINITY;
    String json = ResultFormats.json(new ResultRow("x", new ResultRow.WholeImage(),
        SpectrumAnalyzer.create().fit(profile), List.of()));
    assertTrue(json.contains("\"profile\":[0.0,\"NaN\",\"Infinity\",\"-Infinity\",0.0,"), json);
  }

  /**
   * A folder as users have them, and worse: each bad file gets one line on
   * stderr with its reason, in sorted order, and every other file is still
   * analysed; names that are not plain text are printed escaped.
   */
  @Test
  void hostileFolderGivesEachBadFileOneReasonAndTheOthersGoOn() throws IOException {
    Path folder = Files.createDirectories(dir.resolve("photos"));
    BufferedImage good = noise(BufferedImage.TYPE_BYTE_GRAY, 130, 130, 4);
    Map<String, String> reasons = new TreeMap<>();  // file name -> reason, null if analysed
    for (String name : List.of("01-good.png", "02-new\nline.png", "03-caf\u00e9.png")) {
      ImageIO.write(good, "png", folder.resolve(name).toFile());
      reasons.put(name, null);
    }
    // A name whose bytes are Latin-1, not UTF-8: shown with the byte escaped.
    Process latin1 = new ProcessBuilder("sh", "-c",
        "cp 01-good.png \"$(printf '03b-caf\\351.png')\"").directory(folder.toFile()).start();
    assertEquals(0, waitFor(latin1));
    reasons.put("03b-caf\\xe9.png", null);
    // ... and one whose name is those characters: its backslash is doubled.
    ImageIO.write(good, "png", folder.resolve("03c-caf\\xe9.png").toFile());
    reasons.put("03c-caf\\\\xe9.png", null);
    Files.writeString(folder.resolve("04-text.png"), "not a PNG");
    reasons.put("04-text.png", NOT_AN_IMAGE);
    Files.write(folder.resolve("05-empty.png"), new byte[0]);
    reasons.put("05-empty.png", "empty file");
    ImageIO.write(noise(BufferedImage.TYPE_BYTE_GRAY, 100, 140, 5), "png",
        folder.resolve("06-small.png").toFile());
    reasons.put("06-small.png", "expected at least 128 x 128 (height x width), got 140 x 100");
    Files.createSymbolicLink(folder.resolve("07-gone.png"), folder.resolve("nowhere"));
    reasons.put("07-gone.png", "no such file");
    Files.createDirectories(folder.resolve("08-sub"));
    Files.createSymbolicLink(folder.resolve("08-sub/back"), folder);
    reasons.put("08-sub/back", "symbolic link loop");
    ImageIO.write(good, "bmp", folder.resolve("08-sub/09-good.bmp").toFile());
    reasons.put("08-sub/09-good.bmp", null);
    byte[] jpeg = Files.readAllBytes(write(noise(BufferedImage.TYPE_INT_RGB, 200, 200, 6),
        "jpg", "whole.jpg"));
    Files.write(folder.resolve("10-half.jpg"), Arrays.copyOf(jpeg, jpeg.length / 2));
    reasons.put("10-half.jpg", "damaged: ");
    ImageIO.write(noise(BufferedImage.TYPE_BYTE_GRAY, 300, 300, 7), "png",
        folder.resolve("11-large.png").toFile());
    reasons.put("11-large.png", "300 x 300 pixels, above the limit of 50000 pixels "
        + "(--max-pixels sets the limit)");
    // Named through a symbolic link to the folder.
    Path link = Files.createSymbolicLink(dir.resolve("link"), folder);

    Run r = run("analyze", "--max-pixels", "50000", link.toString());
    assertEquals(1, r.status(), r.err());
    List<String> analysed = new ArrayList<>();
    List<String> failed = new ArrayList<>();
    reasons.forEach((name, reason) -> {
      String shown = link + "/" + name.replace("\n", "\\n");
      if (reason == null) {
        analysed.add(shown);
      } else {
        failed.add("varnoth: " + shown + ": " + reason);
      }
    });
    assertEquals(analysed, r.lines().stream().map(l -> l.substring(0, l.indexOf("  slope ")))
        .toList(), r.out());
    List<String> said = List.of(r.err().split("\n"));
    assertEquals(failed.size(), said.size(), r.err());
    for (int i = 0; i < said.size(); i++) {
      assertTrue(said.get(i).startsWith(failed.get(i)), said.get(i) + " for " + failed.get(i));
    }
  }

  /** A float image with a NaN pixel: its numbers, and a note that they measure nothing. */
  @Test
  void aWindowWithNonFinitePixelsIsNotFittedInEveryOutput() throws IOException {
    ComponentColorModel cm = new ComponentColorModel(ColorSpace.getInstance(ColorSpace.CS_GRAY),
        false, false, Transparency.OPAQUE, DataBuffer.TYPE_FLOAT);
    WritableRaster raster = cm.createCompatibleWritableRaster(128, 128);
    raster.setSample(5, 9, 0, Float.NaN);
    Path tiff = dir.resolve("nan.tif");
    ImageWriter jdk = null;
    for (var it = ImageIO.getImageWritersByFormatName("tiff"); it.hasNext(); ) {
      ImageWriter w = it.next();
      jdk = w.getClass().getModule() == ImageIO.class.getModule() ? w : jdk;
    }
    try (ImageOutputStream out = ImageIO.createImageOutputStream(tiff.toFile())) {
      jdk.setOutput(out);
      jdk.write(new BufferedImage(cm, raster, false, null));
    }
    String why = "the window holds non-finite pixels (NaN or infinity)";
    Run text = run("analyze", tiff.toString());
    assertEquals(1, text.status(), text.err());
    assertTrue(text.out().contains("slope 0.000000  ")
        && text.out().contains("(not fitted: " + why + ")"), text.out());
    Path csv = dir.resolve("nan.csv");
    Run json = run("analyze", "--json", "--csv", csv.toString(), tiff.toString());
    assertEquals(1, json.status(), json.err());
    JsonNode line = JSON.readTree(json.lines().get(0));
    assertEquals(List.of("false", why), List.of(line.get("fitted").asText(),
        line.get("note").asText()));
    try (Reader in = Files.newBufferedReader(csv)) {
      CSVRecord rec = CSVFormat.DEFAULT.builder().setHeader().setSkipHeaderRecord(true).get()
          .parse(in).getRecords().get(0);
      assertEquals(List.of("false", why), List.of(rec.get("fitted"),
          rec.get("note")));
    }
  }

  private static int waitFor(Process p) {
    try {
      return p.waitFor();
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
      return -1;
    }
  }

  /** An output that names an input, however spelled, or cannot be written: exit 2, nothing touched. */
  @Test
  void outputsThatNameAnInputOrCannotBeWrittenAreRefusedBeforeAnythingIsRead()
      throws IOException {
    Path image = write(noise(BufferedImage.TYPE_BYTE_GRAY, 130, 130, 4), "png", "x.png");
    byte[] before = Files.readAllBytes(image);
    Path hardLink = Files.createLink(dir.resolve("hard.png"), image);
    Path softLink = Files.createSymbolicLink(dir.resolve("soft.csv"), image);
    Path dotted = dir.resolve(".").resolve("x.png");
    Path folder = Files.createDirectories(dir.resolve("folder"));
    String[][] cases = {
        {"--csv", image.toString(), image.toString()},
        {"--csv", softLink.toString(), image.toString()},
        {"--chart", dotted.toString(), hardLink.toString()},
        {"--csv", folder.toString(), image.toString()},
        {"--chart", dir.resolve("chart.jpg").toString(), image.toString()},
    };
    for (String[] c : cases) {
      Run r = run("analyze", c[0], c[1], c[2]);
      assertEquals(2, r.status(), String.join(" ", c));
      assertEquals("", r.out());
      assertEquals(1, r.err().split("\n").length, r.err());
      assertTrue(r.err().startsWith("varnoth: " + c[0] + " " + c[1] + " is "), r.err());
      assertArrayEquals(before, Files.readAllBytes(image));
    }
    Path same = dir.resolve("same.png");
    Run twice = run("analyze", "--csv", same.toString(), "--chart", same.toString(),
        image.toString());
    assertEquals(List.of(2, "varnoth: --chart " + same + " is named for another output too\n"),
        List.of(twice.status(), twice.err()));

    // Charts of images of one name, and one named like another's second chart.
    Path d1 = Files.createDirectories(dir.resolve("d1"));
    Path d2 = Files.createDirectories(dir.resolve("d2"));
    for (Path p : List.of(d1.resolve("a-2.png"), d1.resolve("a.png"), d2.resolve("a.png"))) {
      Files.copy(image, p);
    }
    Path charts = dir.resolve("charts");
    assertEquals(0, run("analyze", "--charts", charts.toString(), "--chart-format", "SVG",
        d1.toString(), d2.toString()).status());
    try (Stream<Path> drawn = Files.list(charts)) {
      assertEquals(Set.of("a-2-chart.svg", "a-chart.svg", "a-3-chart.svg"),
          drawn.map(p -> p.getFileName().toString()).collect(Collectors.toSet()));
    }
  }

  /** A file that fails while written leaves the old one as it was, and no stray file. */
  @Test
  void outputsAreWrittenWholeOrNotAtAll() throws IOException {
    Path target = Files.writeString(dir.resolve("table.csv"), "the old table\n");
    IOException failure = assertThrows(IOException.class, () -> OutputFiles.write(target,
        out -> {
          out.write("half a new table".getBytes(StandardCharsets.UTF_8));
          throw new IOException("the disk is full");
        }));
    assertEquals("the disk is full", failure.getMessage());
    assertEquals("the old table\n", Files.readString(target));
    OutputFiles.write(target, out -> out.write("new\n".getBytes(StandardCharsets.UTF_8)));
    assertEquals("new\n", Files.readString(target));
    try (Stream<Path> left = Files.list(dir)) {
      assertEquals(List.of(target), left.toList());
    }
    // Through a symbolic link: the file it leads to is replaced, the link kept.
    Path link = Files.createSymbolicLink(dir.resolve("link.csv"), target);
    OutputFiles.write(link, out -> out.write("via the link\n".getBytes(StandardCharsets.UTF_8)));
    assertTrue(Files.isSymbolicLink(link));
    assertEquals("via the link\n", Files.readString(target));
  }

  @Test
  void tilesWithCsvChartAndSlopeMap() throws Exception {
    Path img = write(noise(BufferedImage.TYPE_USHORT_GRAY, 384, 256, 7), "png", "wide.png");
    Path csv = dir.resolve("out/table.csv");
    Path chart = dir.resolve("out/chart.SVG");
    Path map = dir.resolve("out/map.png");
    Files.createDirectories(csv.getParent());
    Run r = run("analyze", "--tiles", "--csv", csv.toString(), "--chart", chart.toString(),
        "--slope-map", map.toString(), img.toString());
    assertEquals(0, r.status(), r.err());
    assertEquals(7, r.lines().size(), r.out());
    assertTrue(r.lines().get(6).startsWith(img + "  mean of 6 tiles  slope "), r.out());

    List<TileResult> tiles = SpectrumAnalyzer.create().analyzeTiles(ImageIO.read(img.toFile()));
    List<CSVRecord> records;
    try (Reader in = Files.newBufferedReader(csv)) {
      records = CSVFormat.DEFAULT.builder().setHeader().setSkipHeaderRecord(true).get()
          .parse(in).getRecords();
    }
    assertEquals(7, records.size());
    for (int i = 0; i < 6; i++) {
      CSVRecord rec = records.get(i);
      TileResult t = tiles.get(i);
      assertEquals(List.of("tile", Integer.toString(t.row()), Integer.toString(t.column())),
          List.of(rec.get("window"), rec.get("row"), rec.get("column")));
      assertBits(t.result().slope(), Double.parseDouble(rec.get("slope")), "tile slope");
      assertBits(t.result().profile()[64], Double.parseDouble(rec.get("profile_64")), "ring 64");
    }
    assertEquals(List.of("tiles-mean", "6"), List.of(records.get(6).get("window"),
        records.get(6).get("tiles")));

    // The SVG's letters are shapes; its words are its title and description.
    DocumentBuilderFactory xml = DocumentBuilderFactory.newInstance();
    xml.setFeature("http://apache.org/xml/features/nonvalidating/load-external-dtd", false);
    Document svg = xml.newDocumentBuilder().parse(chart.toFile());
    assertEquals("svg", svg.getDocumentElement().getTagName());
    String slope = String.format(Locale.ROOT, "slope %.4f",
        Double.parseDouble(records.get(6).get("slope")));
    String words = svg.getElementsByTagName("desc").item(0).getTextContent();
    assertTrue(words.contains(slope), words);

    Path pdf = dir.resolve("out/chart.pdf");
    Path sectors = dir.resolve("out/sectors.png");
    assertEquals(0, run("analyze", "--sectors", "12", "--chart", pdf.toString(),
        "--sector-chart", sectors.toString(), img.toString()).status());
    assertEquals("%PDF", new String(Files.readAllBytes(pdf), 0, 4, StandardCharsets.US_ASCII));

    for (Path png : List.of(map, sectors)) {
      BufferedImage drawn = ImageIO.read(png.toFile());
      assertTrue(drawn.getWidth() >= 256 && drawn.getHeight() >= 180, png.toString());
      Set<Integer> colours = new HashSet<>();
      for (int y = 0; y < drawn.getHeight(); y += 3) {
        for (int x = 0; x < drawn.getWidth(); x += 3) {
          colours.add(drawn.getRGB(x, y));
        }
      }
      assertTrue(colours.size() > 8, png + " has " + colours.size() + " colours");
    }
  }

  @Test
  void synthIsDeterministicAndAnalyzeRecoversItsExponent() throws IOException {
    Path a = dir.resolve("a.png");
    Path b = dir.resolve("b.png");
    assertEquals(0, run("synth", "--beta", "2", "--seed", "9", a.toString()).status());
    assertEquals(0, run("synth", "--beta", "2", "--seed", "9", b.toString()).status());
    assertArrayEquals(Files.readAllBytes(a), Files.readAllBytes(b));
    BufferedImage img = ImageIO.read(a.toFile());
    assertEquals(List.of(256, 256, 1, 16), List.of(img.getWidth(), img.getHeight(),
        img.getRaster().getNumBands(), img.getColorModel().getComponentSize(0)));

    Run r = run("analyze", "--remove-mean", "--json", a.toString());
    double slope = JSON.readTree(r.lines().get(0)).get("slope").doubleValue();
    assertTrue(slope > -2.3 && slope < -1.7, "slope " + slope);

    List<String> bad = new ArrayList<>(List.of("synth", "--beta", "2", "--size", "200",
        a.toString()));
    assertEquals(2, run(bad.toArray(new String[0])).status());
  }
}
