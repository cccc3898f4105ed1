package org.varnoth.spark;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.io.Serializable;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Iterator;
import java.util.List;
import java.util.NoSuchElementException;
import java.util.Objects;
import org.apache.spark.api.java.function.MapPartitionsFunction;
import org.apache.spark.sql.Dataset;
import org.apache.spark.sql.Encoders;
import org.apache.spark.sql.Row;
import org.apache.spark.sql.RowFactory;
import org.apache.spark.sql.types.ArrayType;
import org.apache.spark.sql.types.DataType;
import org.apache.spark.sql.types.DataTypes;
import org.apache.spark.sql.types.StructField;
import org.apache.spark.sql.types.StructType;
import org.varnoth.Curvature;
import org.varnoth.LineFit;
import org.varnoth.ResultColumns;
import org.varnoth.SectorResult;
import org.varnoth.SlopeSpread;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.TileResult;
import org.varnoth.decoding.DecodedImage;
import org.varnoth.decoding.ImageDecoder;
import scala.jdk.javaapi.CollectionConverters;

/**
 * The spectral slope of every image in a Spark {@code Dataset<Row>}, as new
 * columns beside the others.
 *
 * <p>The image column holds either the bytes of an image file (a
 * {@code binary} column, such as {@code content} of
 * {@code spark.read().format("binaryFile")}), decoded by {@link ImageDecoder}
 * (one pixel limit and memory budget per JVM), or grey levels as
 * {@code array<array<double>>}, outer index the row. Each image is analysed by
 * the {@link Builder#analyzer(SpectrumAnalyzer) analyser} the transformation
 * carries, so every value is the one the analyser (and the command-line tool)
 * gives for the same image, bit for bit.
 *
 * <p>The result has every input column but the image column, then, with
 * {@link Builder#tiles(boolean) tiles}, {@value #WINDOW}, {@value #ROW},
 * {@value #COLUMN} and {@value #TILES} (one row per whole N x N tile at its
 * place in the grid, then one {@code tiles-mean} row per image with the number
 * of tiles), then {@value #SLOPE}, {@value #INTERCEPT}, {@value #POINTS},
 * {@value #SLOPE_STDERR}, {@value #R2}, {@value #SLOPE_CI95_LOW},
 * {@value #SLOPE_CI95_HIGH}, {@value #CURVATURE}, {@value #CURVATURE_STDERR},
 * {@value #POWER_LAW} (null when not tested), {@value #AMPLITUDE_SLOPE},
 * {@value #SIDE} (the
 * window's side N),
 * {@value #PROFILE} (the N / 2 + 1 ring means),
 * with sectors {@value #ANISOTROPY} and {@value #SECTORS}, then
 * {@value #ERROR}, {@value #NOTE} and {@value #IMAGE_NOTES}. An image that
 * cannot be analysed (not an image file, damaged, smaller than N x N, a
 * null or ragged array) gives one row whose {@value #ERROR} says why and whose
 * other result columns are null; the job goes on.
 *
 * <p>Example:
 *
 * <pre>{@code
 * Dataset<Row> files = spark.read().format("binaryFile").load("/data/tiles");
 * SpectrumAnalyzer analyzer = SpectrumAnalyzer.builder().removeMean(true).sectors(4).build();
 * Dataset<Row> slopes = SpectralSlopes.builder().analyzer(analyzer).tiles(true).build()
 *     .transform(files);
 * slopes.write().parquet("/data/slopes");
 * }</pre>
 *
 * <p>Instances are immutable and serializable; the native library loads
 * itself from the varnoth-jni jar in each executor.
 */
public final class SpectralSlopes implements Serializable {
  private static final long serialVersionUID = 1L;

  /** The default image column: the file bytes of Spark's {@code binaryFile} source. */
  public static final String CONTENT = "content";
  /** With tiles: {@code tile}, or {@code tiles-mean} for the fit of the tiles' mean profile. */
  public static final String WINDOW = ResultColumns.WINDOW;
  /** The number of tiles averaged, on a tiles' mean row (with tiles). */
  public static final String TILES = ResultColumns.TILES;
  /** With tiles, on the tiles-mean row: the standard deviation of the tiles' fitted slopes. */
  public static final String TILES_SLOPE_SD = ResultColumns.TILES_SLOPE_SD;
  /** With tiles, on the tiles-mean row: the standard error of their mean slope. */
  public static final String TILES_SLOPE_SEM = ResultColumns.TILES_SLOPE_SEM;
  /** With sectors: the largest sector slope minus the smallest. */
  public static final String ANISOTROPY = ResultColumns.ANISOTROPY;
  /**
   * With sectors: one struct per sector, in order of angle: {@code angle},
   * {@code slope}, {@code intercept}, {@code points}, {@code slope_stderr},
   * {@code r2} (the tool's JSON {@code sectors}, without their profiles).
   */
  public static final String SECTORS = ResultColumns.SECTORS;

  /** The tile's row in the grid of tiles (with tiles). */
  public static final String ROW = ResultColumns.ROW;
  /** The tile's column in the grid of tiles (with tiles). */
  public static final String COLUMN = ResultColumns.COLUMN;
  /** The slope of the log-log line fit. */
  public static final String SLOPE = ResultColumns.SLOPE;
  /** Its intercept. */
  public static final String INTERCEPT = ResultColumns.INTERCEPT;
  /** The number of profile values fitted. */
  public static final String POINTS = ResultColumns.POINTS;
  /** The standard error of the slope (NaN for two points or fewer). */
  public static final String SLOPE_STDERR = ResultColumns.SLOPE_STDERR;
  /** The fit's R^2 (NaN for two points or fewer). */
  public static final String R2 = ResultColumns.R2;
  /** The low end of the slope's 95 % confidence interval. */
  public static final String SLOPE_CI95_LOW = ResultColumns.SLOPE_CI95_LOW;
  /** The high end of the slope's 95 % confidence interval. */
  public static final String SLOPE_CI95_HIGH = ResultColumns.SLOPE_CI95_HIGH;
  /** The quadratic term of the log-log fit over the same points (NaN when not tested). */
  public static final String CURVATURE = ResultColumns.CURVATURE;
  /** The standard error of the quadratic term (NaN when not tested). */
  public static final String CURVATURE_STDERR = ResultColumns.CURVATURE_STDERR;
  /** Whether the curvature is within the 5 % test's bound; null when not tested. */
  public static final String POWER_LAW = ResultColumns.POWER_LAW;
  /** The slope of the amplitude spectrum, half the slope. */
  public static final String AMPLITUDE_SLOPE = ResultColumns.AMPLITUDE_SLOPE;
  /** The side N of the analysed window. */
  public static final String SIDE = ResultColumns.SIDE;
  /** The radial profile, N / 2 + 1 values. */
  public static final String PROFILE = ResultColumns.PROFILE;
  /** Null, or why the image could not be analysed. */
  public static final String ERROR = "error";
  /**
   * Null, or why the slope of an analysed image or tile is not a measurement
   * ({@link SpectrumResult#notFittedReason()}: non-finite pixels, fewer than
   * two points, a line that is not finite); its numbers are still given.
   */
  public static final String NOTE = ResultColumns.NOTE;
  /**
   * Null, or what decoding did that a reader must know, joined by "; " (an
   * EXIF orientation applied, colours converted to sRGB, the first of several
   * frames used), as the tool's {@code image_notes}.
   */
  public static final String IMAGE_NOTES = ResultColumns.IMAGE_NOTES;

  private static final DataType GREY_LEVELS =
      DataTypes.createArrayType(DataTypes.createArrayType(DataTypes.DoubleType));

  /** A sector's fit, as the tool's JSON gives it (without its profile). */
  private static final StructType SECTOR = DataTypes.createStructType(List.of(
      DataTypes.createStructField(ResultColumns.ANGLE, DataTypes.DoubleType, false),
      DataTypes.createStructField(SLOPE, DataTypes.DoubleType, false),
      DataTypes.createStructField(INTERCEPT, DataTypes.DoubleType, false),
      DataTypes.createStructField(POINTS, DataTypes.IntegerType, false),
      DataTypes.createStructField(SLOPE_STDERR, DataTypes.DoubleType, false),
      DataTypes.createStructField(R2, DataTypes.DoubleType, false)));

  /** The column that holds the images. */
  private final String imageColumn;
  /** The measuring options: window, mean, taper, axis, fit range, sectors. */
  private final SpectrumAnalyzer analyzer;
  /** Whether every whole tile is analysed, a row each, and their mean. */
  private final boolean tiles;

  private SpectralSlopes(Builder b) {
    this.imageColumn = b.imageColumn;
    this.analyzer = b.analyzer;
    this.tiles = b.tiles;
  }

  /** The number of direction sectors of the analyser, 0 for none. */
  int sectors() {
    return analyzer.sectors();
  }

  /** The side of the analyser's windows. */
  int side() {
    return analyzer.side();
  }

  /**
   * A builder: image column {@value #CONTENT}, the analyser with every option at
   * its default, one row per image.
   *
   * @return a new builder
   */
  public static Builder builder() {
    return new Builder();
  }

  /**
   * The result columns added to the images.
   *
   * @param images the images
   * @return the images' columns but the image column, and the result columns
   * @throws IllegalArgumentException if the image column is missing or of
   *     another type than {@code binary} or {@code array<array<double>>}
   */
  public Dataset<Row> transform(Dataset<Row> images) {
    StructType in = images.schema();
    int imageIndex = imageIndex(in);
    StructType out = outputSchema(in, imageIndex);
    boolean binary = in.fields()[imageIndex].dataType().equals(DataTypes.BinaryType);
    return images.mapPartitions(new Analysis(this, imageIndex, binary), Encoders.row(out));
  }

  private int imageIndex(StructType in) {
    if (!Arrays.asList(in.fieldNames()).contains(imageColumn)) {
      throw new IllegalArgumentException("no image column \"" + imageColumn + "\" among "
          + Arrays.toString(in.fieldNames()));
    }
    int i = in.fieldIndex(imageColumn);
    DataType t = in.fields()[i].dataType();
    boolean greyLevels = t instanceof ArrayType
        && ((ArrayType) t).elementType() instanceof ArrayType
        && ((ArrayType) ((ArrayType) t).elementType()).elementType()
            .equals(DataTypes.DoubleType);
    if (!t.equals(DataTypes.BinaryType) && !greyLevels) {
      throw new IllegalArgumentException("image column \"" + imageColumn + "\" is "
          + t.simpleString() + ", not binary (image file bytes) or " + GREY_LEVELS.simpleString());
    }
    return i;
  }

  private StructType outputSchema(StructType in, int imageIndex) {
    List<StructField> fields = new ArrayList<>();
    StructField[] inFields = in.fields();
    for (int i = 0; i < inFields.length; i++) {
      if (i != imageIndex) {
        fields.add(inFields[i]);
      }
    }
    if (tiles) {
      fields.add(DataTypes.createStructField(WINDOW, DataTypes.StringType, true));
      fields.add(DataTypes.createStructField(ROW, DataTypes.IntegerType, true));
      fields.add(DataTypes.createStructField(COLUMN, DataTypes.IntegerType, true));
      fields.add(DataTypes.createStructField(TILES, DataTypes.IntegerType, true));
      fields.add(DataTypes.createStructField(TILES_SLOPE_SD, DataTypes.DoubleType, true));
      fields.add(DataTypes.createStructField(TILES_SLOPE_SEM, DataTypes.DoubleType, true));
    }
    fields.add(DataTypes.createStructField(SLOPE, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(INTERCEPT, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(POINTS, DataTypes.IntegerType, true));
    fields.add(DataTypes.createStructField(SLOPE_STDERR, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(R2, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(SLOPE_CI95_LOW, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(SLOPE_CI95_HIGH, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(CURVATURE, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(CURVATURE_STDERR, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(POWER_LAW, DataTypes.BooleanType, true));
    fields.add(DataTypes.createStructField(AMPLITUDE_SLOPE, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(SIDE, DataTypes.IntegerType, true));
    fields.add(DataTypes.createStructField(PROFILE,
        DataTypes.createArrayType(DataTypes.DoubleType, false), true));
    if (analyzer.sectors() > 0) {
      fields.add(DataTypes.createStructField(ANISOTROPY, DataTypes.DoubleType, true));
      fields.add(DataTypes.createStructField(SECTORS,
          DataTypes.createArrayType(SECTOR, false), true));
    }
    fields.add(DataTypes.createStructField(ERROR, DataTypes.StringType, true));
    fields.add(DataTypes.createStructField(NOTE, DataTypes.StringType, true));
    fields.add(DataTypes.createStructField(IMAGE_NOTES, DataTypes.StringType, true));
    return DataTypes.createStructType(fields);
  }

  /** The analysis of one partition: one analyser, rows out as images come in. */
  private static final class Analysis implements MapPartitionsFunction<Row, Row> {
    private static final long serialVersionUID = 1L;
    private final SpectralSlopes options;
    private final int imageIndex;
    private final boolean binary;

    Analysis(SpectralSlopes options, int imageIndex, boolean binary) {
      this.options = options;
      this.imageIndex = imageIndex;
      this.binary = binary;
    }

    @Override
    public Iterator<Row> call(Iterator<Row> images) {
      SpectrumAnalyzer analyzer = options.analyzer;
      return new Iterator<>() {
        private Iterator<Row> pending = List.<Row>of().iterator();

        @Override
        public boolean hasNext() {
          while (!pending.hasNext() && images.hasNext()) {
            pending = rowsOf(analyzer, images.next()).iterator();
          }
          return pending.hasNext();
        }

        @Override
        public Row next() {
          if (!hasNext()) {
            throw new NoSuchElementException();
          }
          return pending.next();
        }
      };
    }

    private List<Row> rowsOf(SpectrumAnalyzer analyzer, Row image) {
      List<Object> kept = new ArrayList<>();
      for (int i = 0; i < image.length(); i++) {
        if (i != imageIndex) {
          kept.add(image.get(i));
        }
      }
      List<Row> out = new ArrayList<>();
      try {
        if (!binary) {
          addRows(out, kept, analyzer, greyLevelsOf(image), null);
        } else {
          try (DecodedImage decoded = ImageDecoder.shared().decode(bytesOf(image))) {
            String notes = decoded.notes().isEmpty() ? null : String.join("; ", decoded.notes());
            addRows(out, kept, analyzer, decoded.image(), notes);
          }
        }
      } catch (IOException | IllegalArgumentException e) {
        out.clear();
        out.add(row(kept, null, null, e.getMessage(), null));
      } catch (RuntimeException e) {
        out.clear();
        out.add(row(kept, null, null, e.toString(), null));
      }
      return out;
    }

    // The rows of one image: a grey array or a decoded image.
    private void addRows(List<Row> out, List<Object> kept, SpectrumAnalyzer analyzer,
        Object image, String notes) {
      if (options.tiles) {
        List<TileResult> results = image instanceof BufferedImage b
            ? analyzer.analyzeTiles(b) : analyzer.analyzeTiles((double[][]) image);
        for (TileResult t : results) {
          Place place = new Place(ResultColumns.TILE, t.row(), t.column(), null, null);
          out.add(row(kept, place, t.result(), null, notes));
        }
        SlopeSpread spread = SlopeSpread.of(results);
        out.add(row(kept, new Place(ResultColumns.TILES_MEAN, null, null, results.size(), spread),
            analyzer.tilesMean(results), null, notes));
      } else {
        SpectrumResult r = image instanceof BufferedImage b
            ? analyzer.analyze(b) : analyzer.analyze((double[][]) image);
        out.add(row(kept, null, r, null, notes));
      }
    }

    /** A row's place with tiles: its window, and the tile's place or the tiles' count. */
    private record Place(String window, Integer row, Integer column, Integer tiles,
        SlopeSpread spread) {}

    private Row row(List<Object> kept, Place place, SpectrumResult r, String error,
        String imageNotes) {
      List<Object> v = new ArrayList<>(kept);
      if (options.tiles) {
        v.add(place == null ? null : place.window());
        v.add(place == null ? null : place.row());
        v.add(place == null ? null : place.column());
        v.add(place == null ? null : place.tiles());
        v.add(place == null || place.spread() == null ? null : place.spread().sd());
        v.add(place == null || place.spread() == null ? null : place.spread().sem());
      }
      v.add(r == null ? null : r.slope());
      v.add(r == null ? null : r.intercept());
      v.add(r == null ? null : r.points());
      v.add(r == null ? null : r.slopeStdErr());
      v.add(r == null ? null : r.r2());
      double[] ci = r == null ? null : r.fit().slopeCi95();
      v.add(ci == null ? null : ci[0]);
      v.add(ci == null ? null : ci[1]);
      Curvature c = r == null ? null : r.curvature();
      v.add(c == null ? null : c.coefficient());
      v.add(c == null ? null : c.stdErr());
      v.add(c == null || c.verdict() == Curvature.Verdict.NOT_TESTED ? null
          : c.verdict() == Curvature.Verdict.POWER_LAW);
      v.add(r == null ? null : r.amplitudeSlope());
      v.add(r == null ? null : r.side());
      v.add(r == null ? null : r.profile());
      if (options.analyzer.sectors() > 0) {
        boolean any = r != null && !r.sectors().isEmpty();
        v.add(any ? r.anisotropy() : null);
        v.add(any ? sectorStructs(r.sectors()) : null);
      }
      v.add(error);
      v.add(r == null ? null : r.notFittedReason().orElse(null));
      v.add(imageNotes);
      return RowFactory.create(v.toArray());
    }

    // As an array, which Spark's row encoder takes for an array column.
    private static Row[] sectorStructs(List<SectorResult> sectors) {
      Row[] structs = new Row[sectors.size()];
      for (int i = 0; i < structs.length; i++) {
        SectorResult s = sectors.get(i);
        LineFit f = s.fit();
        structs[i] = RowFactory.create(s.angle(), f.slope(), f.intercept(), f.points(),
            f.slopeStdErr(), f.r2());
      }
      return structs;
    }

    private byte[] bytesOf(Row image) {
      if (image.isNullAt(imageIndex)) {
        throw new IllegalArgumentException("the image column is null");
      }
      return (byte[]) image.get(imageIndex);
    }

    // array<array<double>> arrives as a list of Scala sequences of boxed doubles.
    private double[][] greyLevelsOf(Row image) {
      if (image.isNullAt(imageIndex)) {
        throw new IllegalArgumentException("the image column is null");
      }
      List<Object> rows = image.getList(imageIndex);
      double[][] grey = new double[rows.size()][];
      for (int r = 0; r < grey.length; r++) {
        Object row = rows.get(r);
        if (row == null) {
          throw new IllegalArgumentException("image row " + r + " is null");
        }
        @SuppressWarnings("unchecked")
        List<Object> values =
            CollectionConverters.asJava((scala.collection.Seq<Object>) row);
        grey[r] = new double[values.size()];
        for (int c = 0; c < grey[r].length; c++) {
          Object value = values.get(c);
          if (value == null) {
            throw new IllegalArgumentException("image value [" + r + "][" + c + "] is null");
          }
          grey[r][c] = (Double) value;
        }
      }
      return grey;
    }
  }

  /** The options of a {@link SpectralSlopes}; not safe for concurrent use. */
  public static final class Builder {
    private String imageColumn = CONTENT;
    private SpectrumAnalyzer analyzer = SpectrumAnalyzer.create();
    private boolean tiles;

    private Builder() {}

    /**
     * The analyser whose measuring options every image is analysed with
     * (window, mean, taper, axis, fit range, sectors; default
     * {@link SpectrumAnalyzer#create()}); its power spectrum and chart options
     * add no column.
     *
     * @param analyzer the analyser
     * @return this builder
     */
    public Builder analyzer(SpectrumAnalyzer analyzer) {
      this.analyzer = Objects.requireNonNull(analyzer, "analyzer is null");
      return this;
    }

    /**
     * The column that holds the images (default {@value SpectralSlopes#CONTENT}).
     *
     * @param name the column's name
     * @return this builder
     */
    public Builder imageColumn(String name) {
      this.imageColumn = Objects.requireNonNull(name, "name is null");
      return this;
    }

    /**
     * Whether every whole N x N tile is analysed, one output row per tile,
     * then one row for the fit of the tiles' mean profile
     * ({@link SpectrumAnalyzer#tilesMean}), rather than one window per image.
     *
     * @param tiles true for tiles (default false)
     * @return this builder
     */
    public Builder tiles(boolean tiles) {
      this.tiles = tiles;
      return this;
    }

    /**
     * The transformation.
     *
     * @return a new transformation with these options
     */
    public SpectralSlopes build() {
      return new SpectralSlopes(this);
    }
  }
}
