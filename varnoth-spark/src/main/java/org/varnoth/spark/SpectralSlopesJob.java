package org.varnoth.spark;

import java.io.IOException;
import java.io.PrintWriter;
import java.net.URI;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import java.util.concurrent.Callable;
import org.apache.hadoop.conf.Configuration;
import org.apache.hadoop.fs.FileStatus;
import org.apache.spark.SparkConf;
import org.apache.spark.sql.AnalysisException;
import org.apache.spark.sql.Column;
import org.apache.spark.sql.Dataset;
import org.apache.spark.sql.Encoders;
import org.apache.spark.sql.Row;
import org.apache.spark.sql.SaveMode;
import org.apache.spark.sql.SparkSession;
import org.apache.spark.sql.catalyst.plans.logical.LogicalPlan;
import org.apache.spark.sql.execution.datasources.HadoopFsRelation;
import org.apache.spark.sql.execution.datasources.LogicalRelation;
import org.apache.spark.sql.execution.datasources.PartitioningAwareFileIndex;
import org.apache.spark.sql.functions;
import org.varnoth.ImageDecoding;
import org.varnoth.NativeLibrary;
import org.varnoth.ResultColumns;
import org.varnoth.cli.MeasuringOptions;
import picocli.CommandLine;
import picocli.CommandLine.Command;
import picocli.CommandLine.Option;
import scala.jdk.javaapi.CollectionConverters;

/**
 * The Spark job {@code varnoth-spark}: the spectral slopes of every image file
 * under a folder or glob, written as one table.
 *
 * <pre>
 * spark-submit --class org.varnoth.spark.SpectralSlopesJob varnoth-spark-VERSION-all.jar \
 *     --input DIR_OR_GLOB --output DIR [--mode error|overwrite] [--format parquet|csv]
 *     [measuring options: --tiles --resize[=lowpass|area] --remove-mean --fit-range KMIN:KMAX
 *      --axis natives|frequency --window none|hann --sectors N]
 * </pre>
 *
 * <p>Folders are walked recursively for files whose names end in one of
 * {@link ImageDecoding#FILE_EXTENSIONS} (in any case). The measuring options
 * are the tool's ({@link MeasuringOptions}), with the same words. The table
 * has the columns {@code path} and those of {@link SpectralSlopes}; as CSV the
 * profile is spread over {@code profile_0} to {@code profile_64} and the
 * sectors over {@code sector_I_angle}, {@code sector_I_slope} ... as the tool
 * writes them. A file that cannot be analysed (an empty file too)
 * gives a row with its error; it does not fail the job. An input that matches
 * nothing, or an output folder that exists without {@code --mode overwrite},
 * is said in one line before Spark starts, with exit status 1. Without a
 * {@code spark.master} (outside spark-submit) the job runs in local mode on
 * every core.
 *
 * <p>Small files share tasks: unless the session sets
 * {@code spark.sql.files.openCostInBytes} (with {@code --conf}, for one), the
 * reader counts {@value #PACKED_OPEN_COST} bytes for opening a file rather
 * than Spark's 4 MiB, for the job's own read only.
 */
@Command(name = "varnoth-spark", mixinStandardHelpOptions = true,
    versionProvider = SpectralSlopesJob.Version.class,
    description = "Spectral slopes of image files on Apache Spark, written as one table.")
public final class SpectralSlopesJob implements Callable<Integer> {
  /** The version of the library. */
  static final class Version implements CommandLine.IVersionProvider {
    @Override
    public String[] getVersion() {
      return new String[] {"varnoth-spark " + NativeLibrary.version()};
    }
  }

  /** The table's file formats. */
  enum Format { parquet, csv }

  @Option(names = "--input", required = true, paramLabel = "DIR_OR_GLOB",
      description = "A folder (walked recursively) or a glob of image files, as Spark reads "
          + "paths (file:, hdfs:, s3a: ...).")
  String input;

  @Option(names = "--output", required = true, paramLabel = "DIR",
      description = "The folder the table is written to; it must not exist yet, unless "
          + "--mode overwrite.")
  String output;

  /** What to do when the output folder exists. */
  enum Mode { error, overwrite }

  @Option(names = "--mode", paramLabel = "error|overwrite", description = "When --output "
      + "exists: refuse before Spark starts (error, the default) or replace it (overwrite).")
  Mode mode = Mode.error;

  @CommandLine.Mixin MeasuringOptions measuring;

  @Option(names = "--format", paramLabel = "parquet|csv",
      description = "The table's format (default: ${DEFAULT-VALUE}).")
  Format format = Format.parquet;

  @CommandLine.Spec CommandLine.Model.CommandSpec spec;

  private SparkSession spark;
  private SpectralSlopes slopes;

  /**
   * Runs the job in a session of its own, started once the command line is
   * read and stopped at the end, and exits with its status.
   *
   * @param args the command line
   */
  public static void main(String[] args) {
    System.exit(run(null, new PrintWriter(System.out, true), new PrintWriter(System.err, true),
        args));
  }

  /**
   * Runs the job.
   *
   * @param spark the session to run in, or null for a session of the job's
   *     own (local mode on every core when no {@code spark.master} is set)
   * @param out where the summary goes
   * @param err where usage errors go
   * @param args the command line
   * @return the exit status: 0 written, 1 failed, 2 usage error
   */
  public static int run(SparkSession spark, PrintWriter out, PrintWriter err, String... args) {
    SpectralSlopesJob job = new SpectralSlopesJob();
    job.spark = spark;
    CommandLine cl = new CommandLine(job);
    cl.setOut(out);
    cl.setErr(err);
    cl.setCaseInsensitiveEnumValuesAllowed(true);
    // Spark's refusals of the paths (no such input, an output that exists)
    // are the user's to mend: their message, without a stack trace.
    cl.setExecutionExceptionHandler((e, command, parsed) -> {
      if (!(e instanceof AnalysisException)) {
        throw e;
      }
      command.getErr().println("varnoth-spark: " + e.getMessage());
      return 1;
    });
    int status = cl.execute(args);
    out.flush();
    err.flush();
    return status;
  }

  private static SparkSession ownSession() {
    SparkSession.Builder b = SparkSession.builder().appName("varnoth-spark");
    if (!new SparkConf().contains("spark.master")) {
      b.master("local[*]");
    }
    return b.getOrCreate();
  }

  /** A problem with the paths found before Spark starts: one line, exit status 1. */
  static final class PathProblem extends Exception {
    private static final long serialVersionUID = 1L;

    PathProblem(String message) {
      super(message);
    }
  }

  @Override
  public Integer call() throws IOException {
    this.slopes = SpectralSlopes.builder().analyzer(measuring.analyzer())
        .tiles(measuring.tiles()).build();
    Configuration hadoop = spark != null ? spark.sparkContext().hadoopConfiguration()
        : new Configuration();
    try {
      checkPaths(hadoop);
    } catch (PathProblem e) {
      spec.commandLine().getErr().println("varnoth-spark: " + e.getMessage());
      return 1;
    }
    if (spark != null) {
      return write(spark);
    }
    SparkSession own = ownSession();
    try {
      return write(own);
    } finally {
      own.stop();
    }
  }

  // The input must match something and the output must not exist (unless
  // overwritten): both are said before Spark starts.
  private void checkPaths(Configuration hadoop) throws IOException, PathProblem {
    org.apache.hadoop.fs.Path in = new org.apache.hadoop.fs.Path(input);
    FileStatus[] matches = in.getFileSystem(hadoop).globStatus(in);
    if (matches == null || matches.length == 0) {
      throw new PathProblem("no input matches " + input);
    }
    org.apache.hadoop.fs.Path out = new org.apache.hadoop.fs.Path(output);
    if (mode == Mode.error && out.getFileSystem(hadoop).exists(out)) {
      throw new PathProblem("--output " + output + " exists: remove it, or give --mode "
          + "overwrite to replace it");
    }
  }

  private int write(SparkSession session) {
    List<String> packingSet = packSmallFiles(session);
    try {
      Dataset<Row> files = session.read().format("binaryFile")
          .option("recursiveFileLookup", "true")
          .option("pathGlobFilter", imageNameGlob())
          .load(input).select("path", SpectralSlopes.CONTENT);
      Dataset<Row> table = slopes.transform(withEmptyFiles(session, files));
      SaveMode saveMode = mode == Mode.overwrite ? SaveMode.Overwrite : SaveMode.ErrorIfExists;
      if (format == Format.csv) {
        table.select(csvColumns(table)).write().mode(saveMode).option("header", "true")
            .csv(output);
      } else {
        // No dictionary: the profiles' doubles are all different, and
        // Parquet would try each one in a dictionary before writing it plain.
        table.write().mode(saveMode).option(PARQUET_DICTIONARY, false).parquet(output);
      }
    } finally {
      for (String key : packingSet) {
        session.conf().unset(key);
      }
    }
    session.read().format(format.name()).option("header", "true").load(output)
        .createOrReplaceTempView("varnoth_written");
    Row counts = session.sql("SELECT count(*), count(error) FROM varnoth_written").first();
    spec.commandLine().getOut().printf(Locale.ROOT,
        "varnoth-spark: %d rows (%d with an error) in %s%n", counts.getLong(0),
        counts.getLong(1), output);
    return 0;
  }

  /**
   * What the file reader counts for opening a file, in bytes, unless the
   * user set {@value #OPEN_COST}: Spark's 4 MiB default puts 31 small images
   * in a task of its 128 MiB ({@code spark.sql.files.maxPartitionBytes}), and
   * each task pays its own set-up (the Hadoop configuration read, a Parquet
   * writer, an output file whose permissions Hadoop sets by starting
   * processes); at 64 KiB a task takes about 1,600 of them (a second or two
   * of work), and up to 2,000 such images share out evenly over 2 cores
   * rather than in 3 tasks, while scenes of more than 64 MiB still get a
   * task each.
   */
  static final long PACKED_OPEN_COST = 64L << 10;

  /** Parquet's switch of dictionary encoding, as an option of the write. */
  private static final String PARQUET_DICTIONARY = "parquet.enable.dictionary";

  /** Spark's setting of what a file's opening costs the reader's packing. */
  static final String OPEN_COST = "spark.sql.files.openCostInBytes";

  // The reader's packing for many small files, unless the user set it: for
  // the job's write only, so that a session passed in is left as it was.
  // Returns the keys set.
  private static List<String> packSmallFiles(SparkSession session) {
    if (session.conf().contains(OPEN_COST)) {
      return List.of();
    }
    session.conf().set(OPEN_COST, PACKED_OPEN_COST);
    return List.of(OPEN_COST);
  }

  // Spark's file source gives no row for a file of 0 bytes: those of the
  // files it listed, with no content, so that each gets its error row. Their
  // sizes are those of the listing Spark made (no second pass over the files);
  // the path as the file source gives it (file:/a b).
  private static Dataset<Row> withEmptyFiles(SparkSession session, Dataset<Row> files) {
    List<String> empty = new ArrayList<>();
    boolean listed = false;
    for (LogicalPlan leaf : CollectionConverters.asJava(
        files.queryExecution().analyzed().collectLeaves())) {
      if (leaf instanceof LogicalRelation relation
          && relation.relation() instanceof HadoopFsRelation fs
          && fs.location() instanceof PartitioningAwareFileIndex index) {
        listed = true;
        for (FileStatus f : CollectionConverters.asJava(index.allFiles())) {
          if (f.getLen() == 0) {
            empty.add(f.getPath().toString());
          }
        }
      }
    }
    if (!listed) {
      return files.union(emptyFiles(session, files));
    }
    if (empty.isEmpty()) {
      return files;
    }
    return files.union(session.createDataset(empty, Encoders.STRING()).toDF("path")
        .withColumn(SpectralSlopes.CONTENT, functions.lit(new byte[0])));
  }

  // The same from the file names alone, for a listing of another kind: the
  // files that the source listed and read none of. The list names them by URI
  // (file:///a%20b), the path column as a Hadoop path (file:/a b).
  private static Dataset<Row> emptyFiles(SparkSession session, Dataset<Row> files) {
    List<String> listed = new ArrayList<>();
    for (String uri : files.inputFiles()) {
      listed.add(new org.apache.hadoop.fs.Path(URI.create(uri)).toString());
    }
    Dataset<Row> paths = session.createDataset(listed, Encoders.STRING()).toDF("path");
    return paths.except(files.select("path"))
        .withColumn(SpectralSlopes.CONTENT, functions.lit(new byte[0]));
  }

  // A glob of file names that matches every image extension in any case:
  // *.{[pP][nN][gG],...}.
  static String imageNameGlob() {
    List<String> alternatives = new ArrayList<>();
    for (String ext : ImageDecoding.FILE_EXTENSIONS) {
      StringBuilder any = new StringBuilder();
      for (char ch : ext.toCharArray()) {
        any.append('[').append(ch).append(Character.toUpperCase(ch)).append(']');
      }
      alternatives.add(any.toString());
    }
    return "*.{" + String.join(",", alternatives) + "}";
  }

  // The table with the profile spread over profile_0 .. profile_{N/2} and the
  // sectors over sector_I_KEY, as the tool's CSV has them.
  private Column[] csvColumns(Dataset<Row> table) {
    List<Column> columns = new ArrayList<>();
    for (String name : table.columns()) {
      if (name.equals(SpectralSlopes.PROFILE)) {
        for (int k = 0; k <= slopes.side() / 2; k++) {
          columns.add(functions.col(name).getItem(k).alias(ResultColumns.profile(k)));
        }
      } else if (name.equals(SpectralSlopes.SECTORS)) {
        for (int i = 0; i < slopes.sectors(); i++) {
          for (String key : ResultColumns.SECTOR_FIT) {
            columns.add(functions.col(name).getItem(i).getField(key)
                .alias(ResultColumns.sector(i, key)));
          }
        }
      } else {
        columns.add(functions.col(name));
      }
    }
    return columns.toArray(new Column[0]);
  }
}
