package org.varnoth.cli;

import java.util.Arrays;
import java.util.Map;
import java.util.Stack;
import org.varnoth.FitRange;
import org.varnoth.SpectrumAnalyzer;
import picocli.CommandLine;
import picocli.CommandLine.Model.ArgSpec;
import picocli.CommandLine.Model.CommandSpec;
import picocli.CommandLine.Option;

/**
 * The measuring options of every command that analyses images ({@code varnoth
 * analyze}, the Spark job), declared once: their names, defaults and help
 * text, their conversion from text, and the analyser they build. What each
 * option means, and its checks, are the analyser's ({@link SpectrumAnalyzer}).
 */
public final class MeasuringOptions {
  @CommandLine.Spec(CommandLine.Spec.Target.MIXEE) CommandSpec command;

  @Option(names = "--side", paramLabel = "N", description = "The window's side: a power of "
      + "two from 32 to 4096 (default 128); its profile has N/2 + 1 rings.")
  int side = SpectrumAnalyzer.SIDE;

  @Option(names = "--resize", arity = "0..1", fallbackValue = "lowpass",
      preprocessor = ResizeValue.class, paramLabel = "lowpass|area", description = "Analyse "
      + "a reduction of the largest centred square whose side is a multiple of N, not the "
      + "centre N x N crop: low-pass filtered (lowpass, the default: rings up to N/2 - h kept "
      + "within 1e-3, from N/2 + h on stopped 60 dB, h = min(16, N/8); fit no higher than "
      + "N/2 - h) or area-averaged (area: aliases leak in and spectra read steeper).")
  Reduction resize;

  @Option(names = "--tiles", description = "Analyse every whole N x N tile, then the fit of "
      + "the tiles' mean profile.")
  boolean tiles;

  @Option(names = "--remove-mean", description = "Subtract each window's mean before the "
      + "transform; ring 0 is then left out of the fit, so brightness does not move the slope.")
  boolean removeMean;

  @Option(names = "--fit-range", paramLabel = "KMIN:KMAX", converter = FitRangeConverter.class,
      description = "Fit the line through rings KMIN to KMAX (0 <= KMIN < KMAX <= N/2; default "
          + "0:N/2, or 1:N/2 when the mean is removed).")
  FitRange fitRange;

  @Option(names = "--literature", description = "Measure the exponent alpha of P(f) ~ "
      + "f^-alpha as the literature does, with the options this tool recommends for it: "
      + "--remove-mean --window hann --axis frequency --fit wls and rings 6:3N/8; options "
      + "given beside it replace its own.")
  boolean literature;

  // Null when not given: the default, or the literature's.
  @Option(names = "--axis", paramLabel = "natives|frequency", description = "The fit's "
      + "abscissa: ln(1 + (99 / (N/2)) k), radii 0 to N/2 onto 1 to 100 (natives, the "
      + "default), or ln(k / N) in cycles per pixel (frequency: the slope is minus the "
      + "exponent alpha of P(f) ~ f^-alpha).")
  SpectrumAnalyzer.Axis axis;

  @Option(names = "--fit", paramLabel = "ols|wls", description = "How the line is fitted: "
      + "ordinary least squares (ols, the default; the natives' line on their axis) or weighted "
      + "(wls: each ring's log mean corrected for its bias and weighted by the inverse of its "
      + "variance, from the ring's number of elements).")
  SpectrumAnalyzer.Fit fit;

  @Option(names = "--window", paramLabel = "none|hann", description = "Taper the window: "
      + "hann subtracts its mean, then multiplies by the 2-D periodic Hann taper, so the jump "
      + "between opposite edges adds no false power (default none).")
  SpectrumAnalyzer.Taper taper;

  @Option(names = "--sectors", paramLabel = "N", description = "Also fit N direction sectors "
      + "(2 to 36) of the spectrum, 0 degrees the horizontal frequency, and their anisotropy.")
  int sectors;

  /**
   * Whether every whole tile is analysed (with the tiles' mean) rather than one
   * window per image.
   *
   * @return the tiles option
   */
  public boolean tiles() {
    return tiles;
  }

  /**
   * The analyser of these options; the analyser's refusal of an option is a
   * usage error of the command.
   *
   * @return the analyser
   * @throws CommandLine.ParameterException for options that exclude each other
   *     or that the analyser refuses
   */
  public SpectrumAnalyzer analyzer() {
    if (resize != null && tiles) {
      throw new CommandLine.ParameterException(command.commandLine(),
          "--resize and --tiles exclude each other");
    }
    try {
      SpectrumAnalyzer.Builder b = SpectrumAnalyzer.builder().side(side)
          .window(resize == null ? SpectrumAnalyzer.Window.CROP : resize.window)
          .fitRange(fitRange).sectors(sectors);
      if (literature) {
        b.literature();
      }
      if (removeMean) {
        b.removeMean(true);
      }
      if (axis != null) {
        b.axis(axis);
      }
      if (taper != null) {
        b.taper(taper);
      }
      if (fit != null) {
        b.fit(fit);
      }
      return b.build();
    } catch (IllegalArgumentException e) {
      throw new CommandLine.ParameterException(command.commandLine(), e.getMessage());
    }
  }

  /** The reductions that {@code --resize} names, and the window each takes. */
  enum Reduction {
    LOWPASS(SpectrumAnalyzer.Window.RESIZE),
    AREA(SpectrumAnalyzer.Window.AREA_AVERAGE);

    final SpectrumAnalyzer.Window window;

    Reduction(SpectrumAnalyzer.Window window) {
      this.window = window;
    }
  }

  /**
   * Gives {@code --resize} a value only when one is attached
   * ({@code --resize=area}) or the next argument names a reduction in any
   * case ({@code --resize area}); otherwise it is {@code --resize=lowpass},
   * and the next argument stays a file or an option.
   */
  static final class ResizeValue implements CommandLine.IParameterPreprocessor {
    @Override
    public boolean preprocess(Stack<String> args, CommandSpec command, ArgSpec option,
        Map<String, Object> info) {
      boolean attached = !" ".equals(info.get("separator"));
      if (!attached && (args.isEmpty() || !namesAReduction(args.peek()))) {
        args.push(Reduction.LOWPASS.name());
      }
      return false;
    }

    private static boolean namesAReduction(String arg) {
      return Arrays.stream(Reduction.values()).anyMatch(r -> r.name().equalsIgnoreCase(arg));
    }
  }

  /** {@code KMIN:KMAX} as a fit range, checked by the range itself. */
  static final class FitRangeConverter implements CommandLine.ITypeConverter<FitRange> {
    @Override
    public FitRange convert(String text) {
      String[] ends = text.split(":", -1);
      try {
        if (ends.length == 2) {
          return new FitRange(Integer.parseInt(ends[0].trim()), Integer.parseInt(ends[1].trim()));
        }
      } catch (NumberFormatException e) {
        // said below
      } catch (IllegalArgumentException e) {
        throw new CommandLine.TypeConversionException(e.getMessage());
      }
      throw new CommandLine.TypeConversionException(
          "expected KMIN:KMAX with whole numbers, got " + text);
    }
  }
}
