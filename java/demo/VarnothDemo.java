import Varnoth.Varnoth;

/**
 * The spectral analysis of synthetic images with a known power-law spectrum,
 * through the Java API: the log-log slope of the radial profile follows the
 * exponent beta of the spectrum 1 / f^beta.
 *
 * <p>Radius 0 of the profile holds the power of the image's mean, and it is
 * one of the fitted points. With mean 1 its power is 1, the value the power
 * law has at radius 1, and the slope follows beta; with a grey-level mean of
 * 128 it is a large point at the left end of the line, which the
 * least-squares fit follows, and every slope is shifted.
 */
public final class VarnothDemo {
  private VarnothDemo() {}

  public static void main(String[] args) {
    Varnoth.initialize();
    System.out.println(" mean   beta   slope      intercept   points  profile[0]      profile[1]");
    for (double mean : new double[] {1.0, 128.0}) {
      for (double beta : new double[] {0.0, 1.0, 2.0, 3.0}) {
        double[][] img = SyntheticImages.powerLaw(beta, mean, 2026);
        double[] profile = new double[Varnoth.PROFILE_SIZE];
        double[][] spectrum = new double[Varnoth.SIDE][Varnoth.SIDE];
        double[][] copy = new double[Varnoth.SIDE][Varnoth.SIDE];
        double slope = Varnoth.f_PSD_Processing(img, profile, spectrum, copy);
        double[] line = Varnoth.f_PSD_LinearRegression(img);
        int n = Varnoth.f_PlotSpectra_GetChartInfo(profile, new double[4], new double[2],
            new double[2], new double[2][Varnoth.PROFILE_SIZE]);
        System.out.printf("%5.0f  %5.1f  %9.5f  %10.5f  %6d  %14.6e  %14.6e%n", mean, beta,
            slope, line[1], n, profile[0], profile[1]);
      }
    }
  }
}
