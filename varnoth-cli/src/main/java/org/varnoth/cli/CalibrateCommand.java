package org.varnoth.cli;

import java.io.PrintWriter;
import java.util.Arrays;
import java.util.List;
import java.util.Locale;
import java.util.concurrent.Callable;
import java.util.stream.IntStream;
import org.varnoth.Curvature;
import org.varnoth.FitRange;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.SyntheticImages;
import picocli.CommandLine;
import picocli.CommandLine.Command;
import picocli.CommandLine.Option;

/**
 * {@code varnoth calibrate}: how well each estimator recovers a known
 * exponent, and how often the curvature test calls a spectrum curved.
 * Gaussian random fields whose power falls exactly as 1/f^alpha (white noise
 * shaped in the frequency domain, {@link SyntheticImages}) are measured with
 * the mean removed, on the frequency axis, over the literature's rings
 * ({@link FitRange#literature}) or the chosen ones; per estimator, taper and
 * kind of field (periodic, or the centre of a field twice as large, whose
 * opposite edges do not meet) the table gives the bias and RMSE of the
 * exponent, the share of fields whose true exponent lies within the reported
 * standard error and within the 95 % interval, and the share called curved:
 * of these pure power laws, and of broken ones whose exponent steps from
 * alpha - 0.5 to alpha + 0.5 at the range's geometric middle. With
 * {@code --reduce F} it measures instead the bias of the exponent through
 * each reduction of periodic fields F times the side.
 */
@Command(name = "calibrate", mixinStandardHelpOptions = true,
    description = {"Measures Gaussian random fields of known exponent alpha (power ~ 1/f^alpha) "
        + "and prints, per estimator, taper and field: bias, RMSE, the coverage of the "
        + "reported +-1 standard error and 95 % interval, and the share of pure and of broken "
        + "power laws called curved (a Markdown table).",
        "The same options give the same table on every machine."})
final class CalibrateCommand implements Callable<Integer> {
  private static final double[] ALPHAS = {1.0, 1.5, 2.0, 2.5, 3.0};

  @CommandLine.Spec CommandLine.Model.CommandSpec spec;

  @Option(names = "--side", paramLabel = "N",
      description = "The window's side, a power of two from 32 to 4096 (default 128).")
  int side = SpectrumAnalyzer.SIDE;

  @Option(names = "--seeds", paramLabel = "K",
      description = "Fields per exponent and kind (default 100).")
  int seeds = 100;

  @Option(names = "--fit-range", paramLabel = "KMIN:KMAX",
      converter = MeasuringOptions.FitRangeConverter.class,
      description = "The rings to fit (default the literature's, 6:3N/8).")
  FitRange fitRange;

  @Option(names = "--reduce", paramLabel = "F",
      description = "Instead: measure periodic fields of side F x N reduced to N by --resize "
          + "(low-pass) and by --resize=area, over rings 2, 4 and 8 to N/2 - min(16, N/8) and "
          + "8 to N/2, and print the bias of each reduction.")
  Integer reduce;

  /** One line of the table. */
  private record Outcome(double bias, double rmse, double withinStdErr, double within95,
      double curvedPure, double curvedBroken) {}

  /** Running sums of one analyser's errors over the fields. */
  private static final class Tally {
    double sum;
    double sum2;
    int withinStdErr;
    int within95;
    int curvedPure;
    int curvedBroken;

    void pure(SpectrumResult r, double alpha) {
      double error = -r.slope() - alpha;
      sum += error;
      sum2 += error * error;
      if (Math.abs(error) <= r.slopeStdErr()) {
        withinStdErr++;
      }
      double[] ci = r.fit().slopeCi95();
      if (ci[0] <= -alpha && -alpha <= ci[1]) {
        within95++;
      }
      if (r.curvature().verdict() == Curvature.Verdict.CURVED) {
        curvedPure++;
      }
    }

    void broken(SpectrumResult r) {
      if (r.curvature().verdict() == Curvature.Verdict.CURVED) {
        curvedBroken++;
      }
    }

    Outcome outcome(int fields) {
      double k = fields;
      return new Outcome(sum / k, Math.sqrt(sum2 / k), withinStdErr / k, within95 / k,
          curvedPure / k, curvedBroken / k);
    }
  }

  @Override
  public Integer call() {
    if (seeds < 2) {
      throw new CommandLine.ParameterException(spec.commandLine(),
          "--seeds must be at least 2, got " + seeds);
    }
    if (reduce != null) {
      return reductions();
    }
    List<SpectrumAnalyzer> analyzers;
    try {
      SpectrumAnalyzer recommended = SpectrumAnalyzer.builder().side(side).literature()
          .fitRange(fitRange).build();
      SpectrumAnalyzer untapered = recommended.toBuilder().taper(SpectrumAnalyzer.Taper.NONE)
          .build();
      analyzers = List.of(untapered.toBuilder().fit(SpectrumAnalyzer.Fit.OLS).build(),
          untapered,
          recommended.toBuilder().fit(SpectrumAnalyzer.Fit.OLS).build(),
          recommended);
    } catch (IllegalArgumentException e) {
      throw new CommandLine.ParameterException(spec.commandLine(), e.getMessage());
    }
    FitRange range = analyzers.get(0).fitRange();
    PrintWriter out = spec.commandLine().getOut();
    out.printf(Locale.ROOT, "Side %d, rings %s, frequency axis, mean removed, %d fields each; "
        + "broken fields step at ring %d%n%n", side, range, seeds, breakRing(range));
    out.println("| field | alpha | fit | taper | bias | RMSE | within 1 SE | within 95 % "
        + "| curved: pure | curved: broken |");
    out.println("|---|---|---|---|---|---|---|---|---|---|");
    for (boolean periodic : new boolean[] {true, false}) {
      for (double alpha : ALPHAS) {
        Outcome[] outcomes = measure(analyzers, alpha, periodic, breakRing(range));
        for (int i = 0; i < analyzers.size(); i++) {
          SpectrumAnalyzer a = analyzers.get(i);
          Outcome o = outcomes[i];
          out.printf(Locale.ROOT,
              "| %s | %.1f | %s | %s | %+.4f | %.4f | %.2f | %.2f | %.2f | %.2f |%n",
              periodic ? "periodic" : "cut", alpha, lower(a.estimator()), lower(a.taper()),
              o.bias(), o.rmse(), o.withinStdErr(), o.within95(), o.curvedPure(),
              o.curvedBroken());
        }
        out.flush();
      }
    }
    return 0;
  }

  // The bias of the exponent through each reduction, on the same fields.
  private int reductions() {
    if (reduce < 2 || (long) reduce * side > 8192) {
      throw new CommandLine.ParameterException(spec.commandLine(),
          "--reduce must be from 2 to " + 8192 / side + " for side " + side + ", got " + reduce);
    }
    int passband = side / 2 - Math.min(16, side / 8);
    List<FitRange> ranges = List.of(new FitRange(2, passband), new FitRange(4, passband),
        new FitRange(8, passband), new FitRange(8, side / 2));
    PrintWriter out = spec.commandLine().getOut();
    out.printf(Locale.ROOT, "Periodic fields of side %d reduced to %d, frequency axis, mean "
        + "removed, wls, %d fields each%n%n", reduce * side, side, seeds);
    out.println("| rings | alpha | area average bias | low-pass bias |");
    out.println("|---|---|---|---|");
    for (FitRange range : ranges) {
      SpectrumAnalyzer lowPass;
      try {
        lowPass = SpectrumAnalyzer.builder().side(side).removeMean(true)
            .axis(SpectrumAnalyzer.Axis.FREQUENCY).fit(SpectrumAnalyzer.Fit.WLS)
            .fitRange(range).window(SpectrumAnalyzer.Window.RESIZE).build();
      } catch (IllegalArgumentException e) {
        throw new CommandLine.ParameterException(spec.commandLine(), e.getMessage());
      }
      SpectrumAnalyzer area = lowPass.toBuilder().window(SpectrumAnalyzer.Window.AREA_AVERAGE)
          .build();
      for (double alpha : new double[] {1.0, 2.0, 3.0}) {
        List<double[]> errors = IntStream.range(0, seeds).parallel().mapToObj(s -> {
          double[][] field = SyntheticImages.powerLaw(reduce * side, alpha, 1000 + s);
          return new double[] {-area.analyze(field).slope() - alpha,
              -lowPass.analyze(field).slope() - alpha};
        }).toList();
        double[] bias = new double[2];
        for (double[] e : errors) {
          bias[0] += e[0];
          bias[1] += e[1];
        }
        out.printf(Locale.ROOT, "| %s | %.1f | %+.4f | %+.4f |%n", range, alpha,
            bias[0] / seeds, bias[1] / seeds);
        out.flush();
      }
    }
    return 0;
  }

  // The ring nearest the geometric middle of a range (its first ring at least 1).
  static int breakRing(FitRange range) {
    return (int) Math.round(Math.sqrt((double) Math.max(1, range.kmin()) * range.kmax()));
  }

  // Every analyser on the same fields; a cut field is the centre of one of
  // twice the side, whose frequencies in cycles per field are twice the
  // window's rings. The seeds are measured in parallel and tallied in order.
  private Outcome[] measure(List<SpectrumAnalyzer> analyzers, double alpha, boolean periodic,
      int breakRing) {
    int fieldSide = periodic ? side : 2 * side;
    double breakFrequency = breakRing * (double) fieldSide / side;
    List<SpectrumResult[][]> bySeed = IntStream.range(0, seeds).parallel().mapToObj(s -> {
      double[][] pure = SyntheticImages.powerLaw(fieldSide, alpha, 1000 + s);
      double[][] broken = SyntheticImages.brokenPowerLaw(fieldSide, alpha - 0.5, alpha + 0.5,
          breakFrequency, 1000 + s);
      SpectrumResult[][] r = new SpectrumResult[analyzers.size()][];
      for (int i = 0; i < r.length; i++) {
        r[i] = new SpectrumResult[] {analyzers.get(i).analyze(pure),
            analyzers.get(i).analyze(broken)};
      }
      return r;
    }).toList();
    Tally[] tallies = new Tally[analyzers.size()];
    Arrays.setAll(tallies, i -> new Tally());
    for (SpectrumResult[][] r : bySeed) {
      for (int i = 0; i < tallies.length; i++) {
        tallies[i].pure(r[i][0], alpha);
        tallies[i].broken(r[i][1]);
      }
    }
    Outcome[] outcomes = new Outcome[analyzers.size()];
    Arrays.setAll(outcomes, i -> tallies[i].outcome(seeds));
    return outcomes;
  }

  private static String lower(Enum<?> e) {
    return e.name().toLowerCase(Locale.ROOT);
  }
}
