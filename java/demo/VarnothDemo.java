import Varnoth.Varnoth;

/**
 * The spectral analysis of synthetic images with a known power-law spectrum,
 * through the Java API: the log-log slope of the radial profile falls with
 * the exponent beta of the spectrum 1 / f^beta.
 */
public final class VarnothDemo {
  private VarnothDemo() {}

  public static void main(String[] args) {
    Varnoth.initialize();
    System.out.println(" beta   slope      intercept   points  profile[1]      profile[64]");
    for (double beta : new double[] {0.0, 1.0, 2.0, 3.0}) {
      double[][] img = SyntheticImages.powerLaw(beta, 2026);
      double[] profile = new double[Varnoth.PROFILE_SIZE];
      double[][] spectrum = new double[Varnoth.SIDE][Varnoth.SIDE];
      double[][] copy = new double[Varnoth.SIDE][Varnoth.SIDE];
      double slope = Varnoth.f_PSD_Processing(img, profile, spectrum, copy);
      double[] line = Varnoth.f_PSD_LinearRegression(img);
      int n = Varnoth.f_PlotSpectra_GetChartInfo(profile, new double[4], new double[2],
          new double[2], new double[2][Varnoth.PROFILE_SIZE]);
      System.out.printf("%5.1f  %9.5f  %10.5f  %6d  %14.6e  %14.6e%n", beta, slope, line[1], n,
          profile[1], profile[64]);
    }
  }
}
