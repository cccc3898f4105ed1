import Varnoth.Varnoth;
import java.util.Random;

/**
 * Times each computing native method from Java, marshalling included:
 * warm-up, then the median of several timed batches. Timings depend on the
 * machine and its load; compare runs on one machine only.
 *   java -cp varnoth-jni/target/varnoth-jni-VERSION.jar benchmarks/java/VarnothBench.java
 */
public final class VarnothBench {
  private VarnothBench() {}

  interface Call {
    void run();
  }

  public static void main(String[] args) {
    Varnoth.initialize();
    Random rnd = new Random(1);
    double[][] img = new double[128][128];
    for (double[] row : img) {
      for (int y = 0; y < 128; y++) row[y] = rnd.nextDouble() * 255;
    }
    double[][] a = new double[128][128];
    double[][] b = new double[128][128];
    double[] ps = new double[65];
    Varnoth.f_PSD_Processing_PSOnly(img, ps);
    time("f_PSD_Dummy2 (marshalling in)", () -> Varnoth.f_PSD_Dummy2(img));
    time("f_ImageFFT", () -> Varnoth.f_ImageFFT(img, a, b));
    time("f_ImageFFTPowerPhase", () -> Varnoth.f_ImageFFTPowerPhase(img, a, b));
    time("f_ImageFFTPower", () -> Varnoth.f_ImageFFTPower(img));
    time("f_RadialAverageSpectra", () -> Varnoth.f_RadialAverageSpectra(a));
    time("f_PSD_Processing", () -> Varnoth.f_PSD_Processing(img, ps, a, b));
    time("f_PSD_Slope", () -> Varnoth.f_PSD_Slope(img));
    time("f_PlotSpectra_GetChartInfo", () -> Varnoth.f_PlotSpectra_GetChartInfo(ps,
        new double[4], new double[2], new double[2], new double[2][65]));
  }

  private static void time(String name, Call call) {
    for (int i = 0; i < 200; i++) call.run();
    int batches = 7;
    int perBatch = 100;
    long[] nanos = new long[batches];
    for (int k = 0; k < batches; k++) {
      long t0 = System.nanoTime();
      for (int i = 0; i < perBatch; i++) call.run();
      nanos[k] = (System.nanoTime() - t0) / perBatch;
    }
    java.util.Arrays.sort(nanos);
    System.out.printf("%-32s %10.1f us/call (median of %d batches)%n", name,
        nanos[batches / 2] / 1000.0, batches);
  }
}
