package org.varnoth.bench;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.TimeUnit;
import java.util.stream.Stream;
import org.openjdk.jmh.annotations.Benchmark;
import org.openjdk.jmh.annotations.BenchmarkMode;
import org.openjdk.jmh.annotations.Fork;
import org.openjdk.jmh.annotations.Measurement;
import org.openjdk.jmh.annotations.Mode;
import org.openjdk.jmh.annotations.OutputTimeUnit;
import org.openjdk.jmh.annotations.Param;
import org.openjdk.jmh.annotations.Scope;
import org.openjdk.jmh.annotations.Setup;
import org.openjdk.jmh.annotations.State;
import org.openjdk.jmh.annotations.Warmup;
import org.openjdk.jmh.infra.Blackhole;
import org.varnoth.ImageDecoding;
import org.varnoth.SpectrumAnalyzer;

/**
 * What the files of one folder cost once they are in memory: one operation
 * decodes every file and analyses it as the tool does by default (the centre
 * 128 x 128 crop), so the score divided by the number of files is the cost of
 * one file on one thread, the parts of which {@code varnoth analyze FOLDER} is
 * made. The files are read once, before the first operation.
 */
@BenchmarkMode(Mode.AverageTime)
@OutputTimeUnit(TimeUnit.MILLISECONDS)
@Warmup(iterations = 3, time = 2)
@Measurement(iterations = 5, time = 2)
@Fork(1)
@State(Scope.Thread)
public class Folder {
  /** The folder; every regular file in it (not below it) is read. */
  @Param("")
  String folder;

  List<byte[]> files;
  SpectrumAnalyzer analyzer = SpectrumAnalyzer.create();

  @Setup
  public void setUp() throws IOException {
    files = new ArrayList<>();
    try (Stream<Path> list = Files.list(Path.of(folder))) {
      for (Path p : list.filter(Files::isRegularFile).sorted().toList()) {
        files.add(Files.readAllBytes(p));
      }
    }
    if (files.isEmpty()) {
      throw new IOException("no files in " + folder);
    }
  }

  @Benchmark
  public void decodeAndAnalyze(Blackhole sink) throws IOException {
    for (byte[] file : files) {
      sink.consume(analyzer.analyze(ImageDecoding.decode(file)));
    }
  }
}
