package org.varnoth;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import java.util.Arrays;
import java.util.List;
import java.util.stream.Stream;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * Varnoth_Spectra's own boundary: every malformed argument of its three
 * natives ends in the exception naming the failed condition, with nothing
 * written to any output, whichever of the window's types is given.
 */
class SpectraNativesTest {
  private static final double MARK = 42.0;
  private static final String SIDE = "side is a power of two from 32 to 4096";
  private static final String PROFILE_LENGTH =
      "profile.length == side / 2 + 1, side a power of two from 32 to 4096";

  /** The outputs of one call, filled with a marker value beforehand. */
  private record Outputs(double[]... arrays) {
    static Outputs marked(int... lengths) {
      return new Outputs(Arrays.stream(lengths).mapToObj(n -> {
        double[] a = new double[n];
        Arrays.fill(a, MARK);
        return a;
      }).toArray(double[][]::new));
    }

    double[] get(int i) {
      return arrays[i];
    }
  }

  /** A call of one of the natives with some outputs of its own. */
  private interface Call {
    void run(Outputs out);
  }

  /** A window of either type, of the given number of values. */
  private interface Spectrum {
    void run(int values, int side, double[] profile, double[] power);
  }

  static Stream<Arguments> rejected() {
    Spectrum doubles = (values, side, profile, power) ->
        SpectraNatives.spectrum(values < 0 ? null : new double[values], side, profile, power);
    Spectrum bytes = (values, side, profile, power) ->
        SpectraNatives.spectrumOfBytes(values < 0 ? null : new byte[values], side, profile, power);
    Stream<Arguments> spectra = Stream.of(doubles, bytes).flatMap(s -> Stream.of(
        // The side before the arrays: a window sized for it says nothing.
        bad(s, 0, 0, 17, 0, IllegalArgumentException.class, SIDE),
        bad(s, 31 * 31, 31, 17, 0, IllegalArgumentException.class, SIDE),
        bad(s, 48 * 48, 48, 25, 0, IllegalArgumentException.class, SIDE),
        bad(s, 1024, -32, 17, 0, IllegalArgumentException.class, SIDE),
        bad(s, 0, 8192, 4097, 0, IllegalArgumentException.class, SIDE),
        bad(s, -1, 32, 17, 1024, NullPointerException.class, "window != null"),
        bad(s, 1023, 32, 17, 1024, IllegalArgumentException.class, "window.length == side * side"),
        bad(s, 4096, 32, 17, 1024, IllegalArgumentException.class, "window.length == side * side"),
        bad(s, 1024, 32, 16, 1024, IllegalArgumentException.class, "profile.length >= 17"),
        bad(s, 4096, 64, 33, 4095, IllegalArgumentException.class, "power.length >= 4096"),
        Arguments.of("profile null", (Call) out ->
            s.run(1024, 32, null, out.get(0)), Outputs.marked(1024),
            NullPointerException.class, "profile != null")));
    Stream<Arguments> charts = Stream.of(
        chart(new int[] {-1, 4, 2, 2, 17, 17}, NullPointerException.class, "profile != null"),
        chart(new int[] {0, 4, 2, 2, 1, 1}, IllegalArgumentException.class, PROFILE_LENGTH),
        chart(new int[] {1, 4, 2, 2, 1, 1}, IllegalArgumentException.class, PROFILE_LENGTH),
        chart(new int[] {9, 4, 2, 2, 9, 9}, IllegalArgumentException.class, PROFILE_LENGTH),
        chart(new int[] {18, 4, 2, 2, 18, 18}, IllegalArgumentException.class, PROFILE_LENGTH),
        chart(new int[] {4097, 4, 2, 2, 4097, 4097}, IllegalArgumentException.class,
            PROFILE_LENGTH),
        chart(new int[] {17, 3, 2, 2, 17, 17}, IllegalArgumentException.class,
            "range.length >= 4"),
        chart(new int[] {17, 4, 1, 2, 17, 17}, IllegalArgumentException.class,
            "scale.length >= 2"),
        chart(new int[] {17, 4, 2, 1, 17, 17}, IllegalArgumentException.class,
            "line.length >= 2"),
        chart(new int[] {65, 4, 2, 2, 64, 65}, IllegalArgumentException.class,
            "x.length >= 65"),
        chart(new int[] {65, 4, 2, 2, 65, -1}, NullPointerException.class, "y != null"));
    return Stream.concat(spectra, charts);
  }

  private static Arguments bad(Spectrum s, int values, int side, int profile, int power,
      Class<? extends RuntimeException> type, String message) {
    String label = values + " values, side " + side + ", profile " + profile + ", power " + power;
    Call call = out -> s.run(values, side, out.get(0), power == 0 ? null : out.get(1));
    return Arguments.of(label, call, power == 0 ? Outputs.marked(profile)
        : Outputs.marked(profile, power), type, message);
  }

  /**
   * The chart's six arrays by their lengths, -1 for null: the profile (of
   * the side 32's 17 values but for the marker, since it is an input) and
   * the five outputs.
   */
  private static Arguments chart(int[] lengths, Class<? extends RuntimeException> type,
      String message) {
    int[] present = Arrays.stream(lengths).map(n -> Math.max(n, 0)).toArray();
    Outputs out = Outputs.marked(present);
    Call call = o -> SpectraNatives.chart(lengths[0] < 0 ? null : o.get(0),
        o.get(1), o.get(2), o.get(3), o.get(4), lengths[5] < 0 ? null : o.get(5));
    return Arguments.of("chart " + Arrays.toString(lengths), call, out, type, message);
  }

  @ParameterizedTest(name = "{0}: {4}")
  @MethodSource("rejected")
  void aMalformedArgumentIsNamedAndNothingIsWritten(String label, Call call, Outputs out,
      Class<? extends RuntimeException> type, String message) {
    List<double[]> before = Arrays.stream(out.arrays()).map(double[]::clone).toList();
    RuntimeException e = assertThrows(type, () -> call.run(out), label);
    assertEquals(message, e.getMessage(), label);
    for (int i = 0; i < before.size(); i++) {
      assertArrayEquals(before.get(i), out.get(i), label + ": output " + i);
    }
  }
}
