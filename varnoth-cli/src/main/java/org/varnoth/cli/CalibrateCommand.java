package org.varnoth.cli;

import java.io.PrintWriter;
import java.util.List;
import java.util.Locale;
import java.util.concurrent.Callable;
import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;
import org.varnoth.SyntheticImages;
import picocli.CommandLine;
import picocli.CommandLine.Command;
import picocli.CommandLine.Option;

/**
 * {@code varnoth calibrate}: how well each estimator recovers a known
 * exponent. Gaussian random fields whose power falls exactly as 1/f^alpha
 * (white noise shaped in the frequency domain, {@link SyntheticImages}) are
 * measured with the mean removed, on the frequency axis, over rings 2 to
 * 3N/8; per estimator, taper and kind of field (periodic, or the centre of a
 * field twice as large, whose opposite edges do not meet) the table gives the
 * bias and RMSE of the exponent and the share of fields whose true exponent
 * lies within the reported standard error and within the 95 % interval.
 */
@Command(name = "calibrate", mixinStandardHelpOptions = true,
    description = {"Measures Gaussian random fields of known exponent alpha (power ~ 1/f^alpha) "
        + "and prints, per estimator, taper and field: bias, RMSE and the coverage of the "
        + "reported +-1 standard error and 95 % interval (a Markdown table).",
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

  /** One line of the table. */
  private record Outcome(double bias, double rmse, double withinStdErr, double within95) {}

  @Override
  public Integer call() {
    if (seeds < 2) {
      throw new CommandLine.ParameterException(spec.commandLine(),
          "--seeds must be at least 2, got " + seeds);
    }
    List<SpectrumAnalyzer> analyzers;
    try {
      SpectrumAnalyzer base = SpectrumAnalyzer.builder().side(side).removeMean(true)
          .axis(SpectrumAnalyzer.Axis.FREQUENCY).fitRange(2, side * 3 / 8).build();
      analyzers = List.of(base, base.toBuilder().fit(SpectrumAnalyzer.Fit.WLS).build(),
          base.toBuilder().taper(SpectrumAnalyzer.Taper.HANN).build(),
          base.toBuilder().taper(SpectrumAnalyzer.Taper.HANN).fit(SpectrumAnalyzer.Fit.WLS)
              .build());
    } catch (IllegalArgumentException e) {
      throw new CommandLine.ParameterException(spec.commandLine(), e.getMessage());
    }
    PrintWriter out = spec.commandLine().getOut();
    out.printf(Locale.ROOT, "Side %d, rings 2:%d, frequency axis, mean removed, %d fields each%n%n",
        side, side * 3 / 8, seeds);
    out.println("| field | alpha | fit | taper | bias | RMSE | within 1 SE | within 95 % |");
    out.println("|---|---|---|---|---|---|---|---|");
    for (boolean periodic : new boolean[] {true, false}) {
      for (double alpha : ALPHAS) {
        Outcome[] outcomes = measure(analyzers, alpha, periodic);
        for (int i = 0; i < analyzers.size(); i++) {
          SpectrumAnalyzer a = analyzers.get(i);
          Outcome o = outcomes[i];
          out.printf(Locale.ROOT, "| %s | %.1f | %s | %s | %+.4f | %.4f | %.2f | %.2f |%n",
              periodic ? "periodic" : "cut", alpha, lower(a.estimator()), lower(a.taper()),
              o.bias(), o.rmse(), o.withinStdErr(), o.within95());
        }
        out.flush();
      }
    }
    return 0;
  }

  // Every analyser on the same fields; a cut field is the centre of one of
  // twice the side.
  private Outcome[] measure(List<SpectrumAnalyzer> analyzers, double alpha, boolean periodic) {
    int n = analyzers.size();
    double[] sum = new double[n];
    double[] sum2 = new double[n];
    int[] withinStdErr = new int[n];
    int[] within95 = new int[n];
    for (int s = 0; s < seeds; s++) {
      double[][] field = SyntheticImages.powerLaw(periodic ? side : 2 * side, alpha, 1000 + s);
      for (int i = 0; i < n; i++) {
        SpectrumResult r = analyzers.get(i).analyze(field);
        double error = -r.slope() - alpha;
        sum[i] += error;
        sum2[i] += error * error;
        if (Math.abs(error) <= r.slopeStdErr()) {
          withinStdErr[i]++;
        }
        double[] ci = r.fit().slopeCi95();
        if (ci[0] <= -alpha && -alpha <= ci[1]) {
          within95[i]++;
        }
      }
    }
    Outcome[] outcomes = new Outcome[n];
    for (int i = 0; i < n; i++) {
      outcomes[i] = new Outcome(sum[i] / seeds, Math.sqrt(sum2[i] / seeds),
          withinStdErr[i] / (double) seeds, within95[i] / (double) seeds);
    }
    return outcomes;
  }

  private static String lower(Enum<?> e) {
    return e.name().toLowerCase(Locale.ROOT);
  }
}
