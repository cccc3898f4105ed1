import Varnoth.Varnoth;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Random;

/**
 * Calls every native method of Varnoth.Varnoth many times, first with good
 * arguments, then with arguments that fail their checks, and samples the
 * process's resident memory after forced collections. Fails (exit 1) when
 * it grows by more than 2 MiB after the warm-up of a phase: a leak of native
 * buffers, work records or local references would show there.
 *   java -Xcheck:jni -cp varnoth-jni.jar scripts/soak/Soak.java [CALLS]
 */
public final class Soak {
  private static final long LIMIT_KIB = 2048;

  private Soak() {}

  interface Call {
    void run();
  }

  record Method(String name, Call call) {}

  static long residentKib() throws IOException {
    for (int i = 0; i < 3; i++) {
      System.gc();
      try {
        Thread.sleep(20);
      } catch (InterruptedException e) {
        Thread.currentThread().interrupt();
      }
    }
    for (String line : Files.readAllLines(Path.of("/proc/self/status"))) {
      if (line.startsWith("VmRSS:")) {
        return Long.parseLong(line.replaceAll("[^0-9]", ""));
      }
    }
    throw new IOException("no VmRSS in /proc/self/status");
  }

  /** Runs every method `calls` times, a tenth of them as warm-up; the growth in KiB. */
  static long phase(String title, List<Method> methods, int calls) throws IOException {
    final int warmUp = Math.max(1, calls / 10);
    for (Method m : methods) {
      for (int i = 0; i < warmUp; i++) m.call().run();
    }
    final long before = residentKib();
    for (Method m : methods) {
      final long start = System.nanoTime();
      for (int i = 0; i < calls; i++) m.call().run();
      System.out.printf("  %-32s %8d calls %8.1f s%n", m.name(), calls,
          (System.nanoTime() - start) * 1e-9);
    }
    final long after = residentKib();
    System.out.printf("%s: resident %d KiB -> %d KiB (%+d KiB)%n", title, before, after,
        after - before);
    return after - before;
  }

  static void expectFailure(Call call) {
    try {
      call.run();
    } catch (IllegalArgumentException | NullPointerException expected) {
      return;
    }
    throw new AssertionError("a bad call returned normally");
  }

  public static void main(String[] args) throws IOException {
    final int calls = args.length > 0 ? Integer.parseInt(args[0]) : 100_000;
    Varnoth.initialize();
    final Random random = new Random(1);
    final double[][] img = new double[128][128];
    for (double[] row : img) {
      for (int c = 0; c < 128; c++) row[c] = random.nextInt(256);
    }
    final double[][] a = new double[128][128];
    final double[][] b = new double[128][128];
    final double[] ps = new double[65];
    final double[] range = new double[4];
    final double[] scale = new double[2];
    final double[] line = new double[2];
    final double[][] points = new double[2][65];
    Varnoth.f_PSD_Processing(img, ps, a, b);

    final List<Method> good = new ArrayList<>(List.of(
        new Method("f_PSD_Dummy0", Varnoth::f_PSD_Dummy0),
        new Method("f_PSD_Dummy1", () -> Varnoth.f_PSD_Dummy1(img)),
        new Method("f_PSD_Dummy2", () -> Varnoth.f_PSD_Dummy2(img)),
        new Method("f_PSD_Dummy3", () -> Varnoth.f_PSD_Dummy3(null)),
        new Method("f_PSD_Slope", () -> Varnoth.f_PSD_Slope(img)),
        new Method("f_PSD_LinearRegression", () -> Varnoth.f_PSD_LinearRegression(img)),
        new Method("f_ImageFFT", () -> Varnoth.f_ImageFFT(img, a, b)),
        new Method("f_ImageFFTPowerPhase", () -> Varnoth.f_ImageFFTPowerPhase(img, a, b)),
        new Method("f_ImageFFTPower", () -> Varnoth.f_ImageFFTPower(img)),
        new Method("f_RadialAverageSpectra", () -> Varnoth.f_RadialAverageSpectra(a)),
        new Method("f_PSD_Processing", () -> Varnoth.f_PSD_Processing(img, ps, a, b)),
        new Method("f_PSD_Processing_FTOnly", () -> Varnoth.f_PSD_Processing_FTOnly(img, a)),
        new Method("f_PSD_Processing_PSOnly", () -> Varnoth.f_PSD_Processing_PSOnly(img, ps)),
        new Method("f_PlotSpectra_GetChartInfo",
            () -> Varnoth.f_PlotSpectra_GetChartInfo(ps, range, scale, line, points))));

    final double[][] shortRow = new double[128][128];
    shortRow[100] = new double[127];
    final double[][] nullRow = new double[128][128];
    nullRow[64] = null;
    final List<Method> bad = List.of(
        new Method("f_PSD_Slope(null row)", () -> expectFailure(() -> Varnoth.f_PSD_Slope(nullRow))),
        new Method("f_ImageFFT(short output row)",
            () -> expectFailure(() -> Varnoth.f_ImageFFT(img, a, shortRow))),
        new Method("f_ImageFFTPower(short row)",
            () -> expectFailure(() -> Varnoth.f_ImageFFTPower(shortRow))),
        new Method("f_PSD_Processing(short profile)",
            () -> expectFailure(() -> Varnoth.f_PSD_Processing(img, new double[64], a, b))),
        new Method("f_PSD_Processing(null output row)",
            () -> expectFailure(() -> Varnoth.f_PSD_Processing(img, ps, a, nullRow))),
        new Method("f_RadialAverageSpectra(null)",
            () -> expectFailure(() -> Varnoth.f_RadialAverageSpectra(null))),
        new Method("f_PlotSpectra_GetChartInfo(short points)",
            () -> expectFailure(() -> Varnoth.f_PlotSpectra_GetChartInfo(ps, range, scale, line,
                new double[][] {new double[65], new double[3]}))));

    final long grewGood = phase("good calls", good, calls);
    final long grewBad = phase("failing calls", bad, calls);
    if (grewGood > LIMIT_KIB || grewBad > LIMIT_KIB) {
      System.out.println("FAILED: resident memory grew by more than " + LIMIT_KIB + " KiB");
      System.exit(1);
    }
    System.out.println("soak passed");
  }
}
