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
import org.varnoth.DecodedImage;
import org.varnoth.ImageDecoder;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.TileResult;
import scala.jdk.javaapi.CollectionConverters;

/**
 * The spectral slope of every image in a Spark {@code Dataset<Row>}, as new
 * columns beside the others.
 *
 * <p>The image column holds either the bytes of an image file (a
 * {@code binary} column, such as {@code content} of
 * {@code spark.read().format("binaryFile")}), decoded by
 * {@link ImageDecoder} (one pixel limit and memory budget per JVM), or grey levels as
 * {@code array<array<double>>}, outer index the row. Each image is analysed by
 * a {@link SpectrumAnalyzer} built with this transformation's window and
 * mean options, one analyser per partition, so every value is the one the
 * analyser (and the command-line tool) gives for the same image, bit for bit.
 *
 * <p>The result has every input column but the image column, then, with
 * {@link Builder#tiles(boolean) tiles}, {@value #ROW} and {@value #COLUMN}
 * (the tile's place in the grid of whole 128 x 128 tiles; one output row per
 * tile), then {@value #SLOPE}, {@value #INTERCEPT}, {@value #POINTS},
 * {@value #SLOPE_STDERR}, {@value #R2}, {@value #PROFILE} (the 65 ring means),
 * {@value #ERROR}, {@value #NOTE} and {@value #IMAGE_NOTES}. The fit range, axis and taper of the analyser apply
 * ({@link Builder#fitRange}, {@link Builder#axis}, {@link Builder#taper}). An
 * image that
 * cannot be analysed (not an image file, damaged, smaller than 128 x 128, a
 * null or ragged array) gives one row whose {@value #ERROR} says why and whose
 * other result columns are null; the job goes on.
 *
 * <p>Example:
 *
 * <pre>{@code
 * Dataset<Row> files = spark.read().format("binaryFile").load("/data/tiles");
 * Dataset<Row> slopes = SpectralSlopes.builder().tiles(true).build().transform(files);
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
  /** The tile's row in the grid of tiles (with tiles). */
  public static final String ROW = "row";
  /** The tile's column in the grid of tiles (with tiles). */
  public static final String COLUMN = "column";
  /** The slope of the log-log line fit. */
  public static final String SLOPE = "slope";
  /** Its intercept. */
  public static final String INTERCEPT = "intercept";
  /** The number of profile values fitted. */
  public static final String POINTS = "points";
  /** The standard error of the slope (NaN for two points or fewer). */
  public static final String SLOPE_STDERR = "slope_stderr";
  /** The fit's R^2 (NaN for two points or fewer). */
  public static final String R2 = "r2";
  /** The 65-value radial profile. */
  public static final String PROFILE = "profile";
  /** Null, or why the image could not be analysed. */
  public static final String ERROR = "error";
  /**
   * Null, or why the slope of an analysed image or tile is not a measurement
   * ({@link SpectrumResult#notFittedReason()}: non-finite pixels, fewer than
   * two points, a line that is not finite); its numbers are still given.
   */
  public static final String NOTE = "note";
  /**
   * Null, or what decoding did that a reader must know, joined by "; " (an
   * EXIF orientation applied, colours converted to sRGB, the first of several
   * frames used), as the tool's {@code image_notes}.
   */
  public static final String IMAGE_NOTES = "image_notes";

  /**
   * The decoder of every partition in this JVM: one pixel limit and one memory
   * budget for all the tasks an executor runs at once.
   */
  private static final ImageDecoder DECODER = ImageDecoder.create();

  private static final DataType GREY_LEVELS =
      DataTypes.createArrayType(DataTypes.createArrayType(DataTypes.DoubleType));

  /** The column that holds the images. */
  private final String imageColumn;
  /** The window of a larger image that is analysed. */
  private final SpectrumAnalyzer.Window window;
  /** Whether each window's mean is subtracted first. */
  private final boolean removeMean;
  /** Whether every whole tile is analysed, a row each. */
  private final boolean tiles;
  /** The fit range's first ring, or -1 for the analyser's default range. */
  private final int fitMin;
  /** The fit range's last ring. */
  private final int fitMax;
  /** The abscissa of the fit. */
  private final SpectrumAnalyzer.Axis axis;
  /** The taper of the window. */
  private final SpectrumAnalyzer.Taper taper;

  private SpectralSlopes(Builder b) {
    this.imageColumn = b.imageColumn;
    this.window = b.window;
    this.removeMean = b.removeMean;
    this.tiles = b.tiles;
    this.fitMin = b.fitMin;
    this.fitMax = b.fitMax;
    this.axis = b.axis;
    this.taper = b.taper;
  }

  // The analyser of these options; one per partition.
  private SpectrumAnalyzer analyzer() {
    SpectrumAnalyzer.Builder b = SpectrumAnalyzer.builder().window(window)
        .removeMean(removeMean).axis(axis).taper(taper);
    if (fitMin >= 0) {
      b.fitRange(fitMin, fitMax);
    }
    return b.build();
  }

  /**
   * A builder: image column {@value #CONTENT}, the centre crop, the mean kept,
   * one row per image.
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
      fields.add(DataTypes.createStructField(ROW, DataTypes.IntegerType, true));
      fields.add(DataTypes.createStructField(COLUMN, DataTypes.IntegerType, true));
    }
    fields.add(DataTypes.createStructField(SLOPE, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(INTERCEPT, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(POINTS, DataTypes.IntegerType, true));
    fields.add(DataTypes.createStructField(SLOPE_STDERR, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(R2, DataTypes.DoubleType, true));
    fields.add(DataTypes.createStructField(PROFILE,
        DataTypes.createArrayType(DataTypes.DoubleType, false), true));
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
      SpectrumAnalyzer analyzer = options.analyzer();
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
          try (DecodedImage decoded = DECODER.decode(bytesOf(image))) {
            String notes = decoded.notes().isEmpty() ? null : String.join("; ", decoded.notes());
            addRows(out, kept, analyzer, decoded.image(), notes);
          }
        }
      } catch (IOException | IllegalArgumentException e) {
        out.clear();
        out.add(row(kept, null, null, null, e.getMessage(), null));
      } catch (RuntimeException e) {
        out.clear();
        out.add(row(kept, null, null, null, e.toString(), null));
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
          out.add(row(kept, t.row(), t.column(), t.result(), null, notes));
        }
      } else {
        SpectrumResult r = image instanceof BufferedImage b
            ? analyzer.analyze(b) : analyzer.analyze((double[][]) image);
        out.add(row(kept, null, null, r, null, notes));
      }
    }

    private Row row(List<Object> kept, Integer tileRow, Integer tileColumn, SpectrumResult r,
        String error, String imageNotes) {
      List<Object> v = new ArrayList<>(kept);
      if (options.tiles) {
        v.add(tileRow);
        v.add(tileColumn);
      }
      v.add(r == null ? null : r.slope());
      v.add(r == null ? null : r.intercept());
      v.add(r == null ? null : r.points());
      v.add(r == null ? null : r.slopeStdErr());
      v.add(r == null ? null : r.r2());
      v.add(r == null ? null : r.profile());
      v.add(error);
      v.add(r == null ? null : r.notFittedReason().orElse(null));
      v.add(imageNotes);
      return RowFactory.create(v.toArray());
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
    private SpectrumAnalyzer.Window window = SpectrumAnalyzer.Window.CROP;
    private boolean removeMean;
    private boolean tiles;
    private int fitMin = -1;
    private int fitMax = -1;
    private SpectrumAnalyzer.Axis axis = SpectrumAnalyzer.Axis.NATIVES;
    private SpectrumAnalyzer.Taper taper = SpectrumAnalyzer.Taper.NONE;

    private Builder() {}

    /**
     * The rings the line is fitted through, as
     * {@link SpectrumAnalyzer.Builder#fitRange}.
     *
     * @param kmin the first ring
     * @param kmax the last ring
     * @return this builder
     * @throws IllegalArgumentException unless 0 &le; kmin &lt; kmax &le; 64
     */
    public Builder fitRange(int kmin, int kmax) {
      SpectrumAnalyzer.builder().fitRange(kmin, kmax);  // the analyser's check
      this.fitMin = kmin;
      this.fitMax = kmax;
      return this;
    }

    /**
     * The abscissa of the fit, as {@link SpectrumAnalyzer.Builder#axis}.
     *
     * @param axis the axis (default the natives')
     * @return this builder
     */
    public Builder axis(SpectrumAnalyzer.Axis axis) {
      this.axis = Objects.requireNonNull(axis, "axis is null");
      return this;
    }

    /**
     * The taper of the window, as {@link SpectrumAnalyzer.Builder#taper}.
     *
     * @param taper the taper (default none)
     * @return this builder
     */
    public Builder taper(SpectrumAnalyzer.Taper taper) {
      this.taper = Objects.requireNonNull(taper, "taper is null");
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
     * Which 128 x 128 window of a larger image is analysed, as
     * {@link SpectrumAnalyzer.Builder#window}; ignored with tiles.
     *
     * @param window the window (default the centre crop)
     * @return this builder
     */
    public Builder window(SpectrumAnalyzer.Window window) {
      this.window = Objects.requireNonNull(window, "window is null");
      return this;
    }

    /**
     * Whether each window's mean is subtracted first, as
     * {@link SpectrumAnalyzer.Builder#removeMean}.
     *
     * @param removeMean true to subtract it (default false)
     * @return this builder
     */
    public Builder removeMean(boolean removeMean) {
      this.removeMean = removeMean;
      return this;
    }

    /**
     * Whether every whole 128 x 128 tile is analysed, one output row per tile,
     * rather than one window per image.
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
