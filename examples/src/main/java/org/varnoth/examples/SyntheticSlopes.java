package org.varnoth.examples;

import org.varnoth.SpectrumAnalyzer;
import org.varnoth.SpectrumResult;

/**
 * The spectral slope of synthetic images with a known power-law spectrum
 * 1 / f^beta: the slope follows beta.
 *
 * <p>Ring 0 of the profile holds the power of the image's mean and is one of
 * the fitted points. With mean 1 its power is 1, the value the power law has
 * at radius 1, and the slope follows beta; with a grey-level mean of 128 it is
 * a large point at the left end of the line, which the least-squares fit
 * follows, and every slope is shifted, unless the mean is removed.
 */
public final class SyntheticSlopes {
  private SyntheticSlopes() {}

  public static void main(String[] args) {
    SpectrumAnalyzer kept = SpectrumAnalyzer.create();
    SpectrumAnalyzer removed = SpectrumAnalyzer.builder().removeMean(true).build();
    System.out.println(" mean   beta   slope      intercept  points   slope, mean removed");
    for (double mean : new double[] {1.0, 128.0}) {
      for (double beta : new double[] {0.0, 1.0, 2.0, 3.0}) {
        double[][] img = SyntheticImages.powerLaw(beta, mean, 2026);
        SpectrumResult r = kept.analyze(img);
        SpectrumResult m = removed.analyze(img);
        System.out.printf("%5.0f  %5.1f  %9.5f  %10.5f  %6d  %9.5f%n", mean, beta, r.slope(),
            r.intercept(), r.points(), m.slope());
      }
    }
  }
}
