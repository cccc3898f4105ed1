package Varnoth;

import java.lang.reflect.Method;
import java.util.Arrays;

/** Scenarios run in a child JVM by {@link ChildJvm}. */
public final class ChildMain {
  private ChildMain() {}

  public static void main(String[] args) {
    switch (args[0]) {
      case "initialize-twice":
        Varnoth.initialize();
        Varnoth.initialize();
        System.out.println("after=" + Varnoth.f_PSD_Dummy0());
        break;
      case "before-initialize":
        beforeInitialize();
        break;
      case "load":
        load();
        break;
      default:
        throw new IllegalArgumentException(args[0]);
    }
  }

  // Loads the library through the class and says from where, or why not;
  // then Varnoth_Spectra, through the first use of org.varnoth's
  // package-private SpectraNatives: ring 0 of a constant window's profile
  // (its power at frequency zero, 1.0), or why it did not load.
  private static void load() {
    try {
      System.out.println("dummy0=" + Varnoth.f_PSD_Dummy0());
      System.out.println("loaded from " + org.varnoth.NativeLibrary.loadedFrom().orElseThrow());
    } catch (UnsatisfiedLinkError e) {
      System.out.println("UnsatisfiedLinkError: " + e.getMessage());
    }
    try {
      Method spectrum = Class.forName("org.varnoth.SpectraNatives").getDeclaredMethod(
          "spectrum", double[].class, int.class, double[].class, double[].class);
      spectrum.setAccessible(true);
      double[] window = new double[32 * 32];
      Arrays.fill(window, 1.0);
      double[] profile = new double[17];
      spectrum.invoke(null, window, 32, profile, null);
      System.out.println("spectrum ring 0=" + profile[0]);
    } catch (UnsatisfiedLinkError e) {
      System.out.println("UnsatisfiedLinkError: " + e.getMessage());
    } catch (ReflectiveOperationException e) {
      throw new IllegalStateException(e);
    }
  }

  // Calls made before initialize: the dummy, and a phase of a NaN spectrum,
  // which is the library's NaN (sign bit set) only when the non-finite
  // values are already in place.
  private static void beforeInitialize() {
    System.out.println("dummy0=" + Varnoth.f_PSD_Dummy0());
    double[][] img = new double[128][128];
    img[3][4] = Double.NaN;
    double[][] power = new double[128][128];
    double[][] phase = new double[128][128];
    Varnoth.f_ImageFFTPowerPhase(img, power, phase);
    System.out.println("phase=" + Long.toHexString(Double.doubleToRawLongBits(phase[64][64])));
    double[][] zero = new double[128][128];
    Varnoth.f_ImageFFTPowerPhase(zero, power, phase);
    System.out.println("zerophase=" + Long.toHexString(Double.doubleToRawLongBits(phase[0][0])));
  }
}
