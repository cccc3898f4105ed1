package org.varnoth;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import Varnoth.TestImages;
import Varnoth.Varnoth;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/**
 * Fit range, frequency axis, uncertainty, taper and direction sectors of the
 * analyser, against values the test computes from the definitions.
 */
class MeasuringOptionsTest {
  /** An independent two-pass least-squares fit of the points (x, y). */
  record Expected(double slope, double intercept, int n, double stderr, double r2,
      double[] curvature) {
    static Expected of(List<double[]> points) {
      int n = points.size();
      if (n < 2) {
        return new Expected(0.0, 0.0, n, Double.NaN, Double.NaN, quadratic(points, false));
      }
      double mx = points.stream().mapToDouble(p -> p[0]).sum() / n;
      double my = points.stream().mapToDouble(p -> p[1]).sum() / n;
      double sxx = 0;
      double sxy = 0;
      double syy = 0;
      for (double[] p : points) {
        sxx += (p[0] - mx) * (p[0] - mx);
        sxy += (p[0] - mx) * (p[1] - my);
        syy += (p[1] - my) * (p[1] - my);
      }
      double b = sxy / sxx;
      double a = my - b * mx;
      double ssr = 0;
      for (double[] p : points) {
        ssr += (p[1] - a - b * p[0]) * (p[1] - a - b * p[0]);
      }
      return new Expected(b, a, n, n > 2 ? Math.sqrt(ssr / (n - 2) / sxx) : Double.NaN,
          n > 2 && syy != 0 ? 1 - ssr / syy : Double.NaN, quadratic(points, false));
    }

    /**
     * {c, its standard error} of the quadratic a + b x + c x^2 through points
     * (x, y, w), weighted by w or not, from its normal equations on x less the plain mean of
     * x, by Cramer's rule; the weighted residual variance floored at 1 when
     * the weights are inverse variances. NaN below four points.
     */
    static double[] quadratic(List<double[]> points, boolean weighted) {
      int n = points.size();
      if (n < 4) {
        return new double[] {Double.NaN, Double.NaN};
      }
      double shift = points.stream().mapToDouble(p -> p[0]).sum() / n;
      double[] m = new double[5];
      double[] t = new double[3];
      for (double[] p : points) {
        double x = p[0] - shift;
        double w = weighted ? p[2] : 1;
        for (int j = 0; j < 5; j++) {
          m[j] += w * Math.pow(x, j);
        }
        for (int j = 0; j < 3; j++) {
          t[j] += w * Math.pow(x, j) * p[1];
        }
      }
      double[][] a = {{m[0], m[1], m[2]}, {m[1], m[2], m[3]}, {m[2], m[3], m[4]}};
      double det = det3(a);
      double[] coef = new double[3];
      for (int j = 0; j < 3; j++) {
        double[][] aj = {a[0].clone(), a[1].clone(), a[2].clone()};
        for (int i = 0; i < 3; i++) {
          aj[i][j] = t[i];
        }
        coef[j] = det3(aj) / det;
      }
      double chi2 = 0;
      for (double[] p : points) {
        double x = p[0] - shift;
        double e = p[1] - coef[0] - coef[1] * x - coef[2] * x * x;
        chi2 += (weighted ? p[2] : 1) * e * e;
      }
      double s2 = weighted ? Math.max(1, chi2 / (n - 3)) : chi2 / (n - 3);
      double inverse22 = (m[0] * m[2] - m[1] * m[1]) / det;
      return new double[] {coef[2], Math.sqrt(s2 * inverse22)};
    }

    static double det3(double[][] a) {
      return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1])
          - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
          + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    }

    /**
     * The weighted fit of points (x, y, w) from its normal equations, the
     * standard error widened by the scatter where that exceeds the weights'.
     */
    static Expected weighted(List<double[]> points) {
      int n = points.size();
      double s = 0;
      double sx = 0;
      double sy = 0;
      double sxx = 0;
      double sxy = 0;
      for (double[] p : points) {
        s += p[2];
        sx += p[2] * p[0];
        sy += p[2] * p[1];
        sxx += p[2] * p[0] * p[0];
        sxy += p[2] * p[0] * p[1];
      }
      double det = s * sxx - sx * sx;
      double b = (s * sxy - sx * sy) / det;
      double a = (sxx * sy - sx * sxy) / det;
      double chi2 = 0;
      double syy = 0;
      for (double[] p : points) {
        chi2 += p[2] * (p[1] - a - b * p[0]) * (p[1] - a - b * p[0]);
        syy += p[2] * (p[1] - sy / s) * (p[1] - sy / s);
      }
      return new Expected(b, a, n, Math.sqrt(Math.max(1, chi2 / (n - 2)) * s / det),
          1 - chi2 / syy, quadratic(points, true));
    }

    /** The log-log points of rings kmin..kmax of a profile on an axis. */
    static Expected ofProfile(double[] profile, int kmin, int kmax, boolean frequency) {
      return ofProfile(profile, kmin, kmax, frequency, false);
    }

    /**
     * The same, weighted: ring k's ordinate less psi(q) - ln q and its weight
     * 1 / psi'(q), q half the ring's elements, psi from its closed forms at
     * whole and half-whole q.
     */
    static Expected ofProfile(double[] profile, int kmin, int kmax, boolean frequency,
        boolean weighted) {
      int[] counts = SectorProfiles.ringCounts(128);
      List<double[]> pts = new ArrayList<>();
      for (int k = kmin; k <= kmax; k++) {
        boolean usable = profile[k] > 0 && (!frequency || k > 0 && profile[k] < 1e308);
        if (usable) {
          double x = frequency ? Math.log(k / 128.0) : Math.log(1 + 1.546875 * k);
          double[] psi = weighted ? psiOfHalf(counts[k]) : new double[] {0, 0, 1};
          pts.add(new double[] {x, Math.log(profile[k]) - psi[0], 1 / psi[1]});
        }
      }
      return weighted ? weighted(pts) : of(pts);
    }

    // {psi(q) - ln q, psi'(q)} for q = m / 2.
    static double[] psiOfHalf(int m) {
      double euler = 0.5772156649015329;
      double psi;
      double trigamma;
      if (m % 2 == 0) {  // q = m / 2 whole
        psi = -euler;
        trigamma = Math.PI * Math.PI / 6;
        for (int k = 1; k < m / 2; k++) {
          psi += 1.0 / k;
          trigamma -= 1.0 / ((double) k * k);
        }
      } else {  // q = j + 1/2, j = (m - 1) / 2
        psi = -euler - 2 * Math.log(2);
        trigamma = Math.PI * Math.PI / 2;
        for (int k = 1; k <= (m - 1) / 2; k++) {
          psi += 2.0 / (2 * k - 1);
          trigamma -= 4.0 / ((2.0 * k - 1) * (2 * k - 1));
        }
      }
      return new double[] {psi - Math.log(m / 2.0), trigamma};
    }

    void assertMatches(LineFit fit, String what) {
      assertEquals(n, fit.points(), what + " points");
      assertEquals(n >= 2, fit.fitted(), what + " fitted");
      close(slope, fit.slope(), what + " slope");
      close(intercept, fit.intercept(), what + " intercept");
      close(stderr, fit.slopeStdErr(), what + " stderr");
      close(r2, fit.r2(), what + " r2");
    }

    /** The quadratic term and its standard error, to 1e-7 of the larger of them and 1e-3. */
    void assertCurvature(Curvature c, String what) {
      assertEquals(n, c.points(), what + " curvature points");
      double scale = Math.max(1e-3, Math.max(Math.abs(curvature[0]), curvature[1]));
      for (int i = 0; i < 2; i++) {
        double got = i == 0 ? c.coefficient() : c.stdErr();
        if (Double.isNaN(curvature[i])) {
          assertEquals(curvature[i], got, what);
        } else {
          assertEquals(curvature[i], got, scale * 1e-7, what + (i == 0 ? " c" : " c stderr"));
        }
      }
    }
  }

  static void close(double want, double got, String what) {
    if (Double.isNaN(want) || want == 0.0) {
      assertEquals(want, got, what);
    } else {
      assertEquals(want, got, Math.max(Math.abs(want), 1.0) * 1e-9, what);
    }
  }

  private static double[][] field(double betaH, double betaV, long seed) {
    return SyntheticImages.powerLaw(128, betaH, betaV, seed);
  }

  @ParameterizedTest
  @CsvSource({
      "0, 64, natives, ols", "1, 64, natives, ols", "2, 48, natives, ols",
      "10, 11, natives, ols", "63, 64, natives, ols", "0, 64, frequency, ols",
      "2, 48, frequency, ols", "1, 2, frequency, ols", "2, 48, frequency, wls",
      "0, 64, natives, wls", "10, 12, natives, wls"})
  void fitRangeAndUncertaintyFollowTheirDefinitions(int kmin, int kmax, String axis,
      String estimator) {
    boolean frequency = axis.equals("frequency");
    boolean weighted = estimator.equals("wls");
    SpectrumAnalyzer a = SpectrumAnalyzer.builder().fitRange(kmin, kmax)
        .axis(frequency ? SpectrumAnalyzer.Axis.FREQUENCY : SpectrumAnalyzer.Axis.NATIVES)
        .fit(weighted ? SpectrumAnalyzer.Fit.WLS : SpectrumAnalyzer.Fit.OLS).build();
    for (long seed : new long[] {1, 2}) {
      SpectrumResult r = a.analyze(field(2.0, 2.0, seed));
      String what = kmin + ":" + kmax + " " + axis + " " + estimator + " seed " + seed;
      Expected want = Expected.ofProfile(r.profile(), kmin, kmax, frequency, weighted);
      want.assertMatches(r.fit(), what);
      want.assertCurvature(r.curvature(), what);
      // The 95 % interval: slope -+ Student's t quantile times the standard error.
      double[] ci = r.fit().slopeCi95();
      if (r.points() > 2) {
        double t = (ci[1] - ci[0]) / (2 * r.slopeStdErr());
        double exact = r.points() == 3 ? 12.7062 : r.points() == 47 ? 2.01410 : Double.NaN;
        if (!Double.isNaN(exact)) {
          assertEquals(exact, t, exact * 2e-3, what + " t");
        }
        close(r.slope(), (ci[0] + ci[1]) / 2, what + " interval's centre");
      }
    }
    // Fewer than two points in the range: slope 0.0, not fitted.
    double[] sparse = new double[65];
    sparse[kmin + 1 > kmax ? kmax : kmin + 1] = 2.0;
    sparse[0] = frequency ? 5.0 : 0.0;  // ring 0: never a point on the frequency axis
    LineFit none = a.fit(sparse).fit();
    assertFalse(none.fitted());
    assertEquals(0.0, none.slope());
    assertEquals(0.0, none.intercept());
  }

  @Test
  void aFitThatMeasuresNothingSaysWhyAndKeepsTheNativesNumbers() {
    SpectrumAnalyzer a = SpectrumAnalyzer.builder().sectors(4).build();
    SpectrumResult finite = a.analyze(field(2.0, 2.0, 3));
    assertTrue(finite.fitted() && finite.notFittedReason().isEmpty());
    for (double bad : new double[] {Double.NaN, Double.POSITIVE_INFINITY}) {
      double[][] image = field(2.0, 2.0, 3);
      image[70][40] = bad;
      SpectrumResult r = a.analyze(image);
      assertFalse(r.fitted(), "pixel " + bad);
      assertEquals("the window holds non-finite pixels (NaN or infinity)",
          r.notFittedReason().orElseThrow());
      assertEquals(Double.doubleToRawLongBits(Varnoth.f_PSD_Slope(image)),
          Double.doubleToRawLongBits(r.slope()), "the natives' slope, pixel " + bad);
    }
    // A tile with a NaN pixel: the tiles' mean says so too.
    double[][] twoTiles = new double[128][];
    double[][] field = field(2.0, 2.0, 4);
    for (int r = 0; r < 128; r++) {
      twoTiles[r] = Arrays.copyOf(field[r], 256);
      System.arraycopy(field[r], 0, twoTiles[r], 128, 128);
    }
    twoTiles[3][200] = Double.NaN;
    List<TileResult> tiles = a.analyzeTiles(twoTiles);
    assertEquals(List.of(true, false), List.of(tiles.get(0).result().fitted(),
        tiles.get(1).result().fitted()));
    assertEquals("the window holds non-finite pixels (NaN or infinity)",
        a.tilesMean(tiles).notFittedReason().orElseThrow());
    double[] infinite = new double[65];
    Arrays.fill(infinite, 1.0);
    infinite[9] = Double.POSITIVE_INFINITY;
    SpectrumResult line = a.fit(infinite);
    assertFalse(line.fitted());
    assertEquals("an infinite profile value in rings 0:64", line.notFittedReason().orElseThrow());
    assertEquals("fewer than two points in rings 0:64",
        a.fit(new double[65]).notFittedReason().orElseThrow());
  }

  /**
   * A small calibration of the literature's measurement, untapered and
   * tapered: on fields of known exponent the weighted fit's error bars hold,
   * and the curvature test calls few pure power laws curved and most broken
   * ones (exponent 1.5 below ring 17, 2.5 above).
   */
  @ParameterizedTest
  @CsvSource({"none", "hann"})
  void theWeightedFitsUncertaintyCoversTheTrueExponent(String taper) {
    SpectrumAnalyzer a = SpectrumAnalyzer.builder().literature()
        .taper(SpectrumAnalyzer.Taper.valueOf(taper.toUpperCase(java.util.Locale.ROOT))).build();
    assertEquals(new FitRange(6, 48), a.fitRange());
    int fields = 40;
    double bias = 0;
    int withinStdErr = 0;
    int within95 = 0;
    int pureCurved = 0;
    int brokenCurved = 0;
    for (long seed = 0; seed < fields; seed++) {
      SpectrumResult r = a.analyze(SyntheticImages.powerLaw(128, 2.0, 500 + seed));
      bias += (-r.slope() - 2.0) / fields;
      withinStdErr += Math.abs(r.slope() + 2.0) <= r.slopeStdErr() ? 1 : 0;
      double[] ci = r.fit().slopeCi95();
      within95 += ci[0] <= -2.0 && -2.0 <= ci[1] ? 1 : 0;
      pureCurved += r.curvature().verdict() == Curvature.Verdict.CURVED ? 1 : 0;
      SpectrumResult broken = a.analyze(
          SyntheticImages.brokenPowerLaw(128, 1.5, 2.5, 17, 500 + seed));
      brokenCurved += broken.curvature().verdict() == Curvature.Verdict.CURVED ? 1 : 0;
    }
    assertTrue(Math.abs(bias) < 0.05, "bias " + bias);
    assertTrue(withinStdErr >= 18 && withinStdErr <= 36, withinStdErr + " of 40 within 1 SE");
    assertTrue(within95 >= 34, within95 + " of 40 within the 95 % interval");
    assertTrue(pureCurved <= 6, pureCurved + " of 40 power laws called curved");
    assertTrue(brokenCurved >= 28, brokenCurved + " of 40 broken power laws called curved");
  }

  @ParameterizedTest
  @CsvSource({"ols, natives", "wls, frequency", "wls, natives"})
  void brightnessAndGainLeaveTheSlopeOnceTheMeanIsRemoved(String estimator, String axis) {
    SpectrumAnalyzer a = SpectrumAnalyzer.builder().removeMean(true).fitRange(2, 48)
        .fit(SpectrumAnalyzer.Fit.valueOf(estimator.toUpperCase(java.util.Locale.ROOT)))
        .axis(SpectrumAnalyzer.Axis.valueOf(axis.toUpperCase(java.util.Locale.ROOT))).build();
    double[][] image = field(2.0, 2.0, 5);
    SpectrumResult base = a.analyze(image);
    double s = 3.0;
    double[][] brighter = new double[128][128];
    double[][] stronger = new double[128][128];
    for (int r = 0; r < 128; r++) {
      for (int c = 0; c < 128; c++) {
        brighter[r][c] = image[r][c] + 1000.0;
        stronger[r][c] = image[r][c] * s;
      }
    }
    SpectrumResult b = a.analyze(brighter);
    assertEquals(base.slope(), b.slope(), 1e-9, "slope, brighter");
    assertEquals(base.intercept(), b.intercept(), 1e-9, "intercept, brighter");
    SpectrumResult g = a.analyze(stronger);
    for (SpectrumResult moved : List.of(b, g)) {
      assertEquals(base.curvature().coefficient(), moved.curvature().coefficient(), 1e-9);
      assertEquals(base.curvature().stdErr(), moved.curvature().stdErr(), 1e-9);
    }
    assertEquals(base.slope(), g.slope(), 1e-9, "slope, gain");
    assertEquals(base.intercept() + 2 * Math.log(s), g.intercept(), 1e-9, "intercept, gain");
    assertEquals(base.slope() / 2, base.amplitudeSlope(), 0.0, "amplitude slope");
  }

  @Test
  void rangesOutsideTheRingsSidesAndSectorCountsAreRefused() {
    SpectrumAnalyzer.Builder b = SpectrumAnalyzer.builder();
    for (int[] bad : new int[][] {{-1, 10}, {5, 5}, {6, 5}, {0, 2049}}) {
      IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
          () -> b.fitRange(bad[0], bad[1]));
      assertTrue(e.getMessage().contains("0 <= KMIN < KMAX <= 2048"), e.getMessage());
    }
    // Beyond the last ring of the window's side: refused when built.
    IllegalArgumentException beyond = assertThrows(IllegalArgumentException.class,
        () -> SpectrumAnalyzer.builder().fitRange(10, 256).build());
    assertEquals("expected a fit range within rings 0:64 of a 128 x 128 window, got 10:256",
        beyond.getMessage());
    assertEquals(new FitRange(10, 256),
        SpectrumAnalyzer.builder().side(512).fitRange(10, 256).build().fitRange());
    assertEquals(new FitRange(1, 512), SpectrumAnalyzer.builder().side(1024).removeMean(true)
        .build().fitRange());
    for (int bad : new int[] {16, 100, 8192, 0, -128}) {
      assertThrows(IllegalArgumentException.class, () -> b.side(bad));
    }
    for (int bad : new int[] {1, -2, 37}) {
      assertThrows(IllegalArgumentException.class, () -> b.sectors(bad));
    }
    // The mean removed: ring 0 leaves the default range.
    assertEquals(1, SpectrumAnalyzer.builder().removeMean(true).build()
        .fit(new double[65]).fitRange().kmin());
    assertEquals(1, SpectrumAnalyzer.builder().taper(SpectrumAnalyzer.Taper.HANN).build()
        .fit(new double[65]).fitRange().kmin());
  }

  @ParameterizedTest
  @CsvSource({"2.0, 128", "3.0, 128", "2.0, 256", "2.5, 1024"})
  void onTheFrequencyAxisTheSlopeIsMinusAlpha(double alpha, int side) {
    SpectrumAnalyzer a = SpectrumAnalyzer.builder().side(side).fitRange(2, side * 3 / 8)
        .axis(SpectrumAnalyzer.Axis.FREQUENCY).build();
    for (long seed : new long[] {11, 12, 13}) {
      double slope = a.analyze(SyntheticImages.powerLaw(side, alpha, seed)).slope();
      assertEquals(-alpha, slope, 0.15, "alpha " + alpha + " side " + side + " seed " + seed);
    }
  }

  @Test
  void theHannTaperRemovesTheLeakOfAFrequencyBetweenRings() {
    double[][] img = new double[128][128];
    for (int r = 0; r < 128; r++) {
      for (int c = 0; c < 128; c++) {
        img[r][c] = 100.0 + Math.cos(2 * Math.PI * 10.5 * c / 128);
      }
    }
    double[] plain = SpectrumAnalyzer.create().analyze(img).profile();
    double[] tapered = SpectrumAnalyzer.builder().taper(SpectrumAnalyzer.Taper.HANN).build()
        .analyze(img).profile();
    assertTrue(plain[30] > 1e-4 * plain[10], plain[30] + " against " + plain[10]);
    assertTrue(tapered[30] < 1e-6 * tapered[10], tapered[30] + " against " + tapered[10]);

    // The taper is the mean removed, then h(r) h(c), before the natives' chain.
    double sum = 0;
    for (double[] row : img) {
      for (double v : row) {
        sum += v;
      }
    }
    double[][] w = new double[128][128];
    for (int r = 0; r < 128; r++) {
      for (int c = 0; c < 128; c++) {
        double hr = 0.5 - 0.5 * StrictMath.cos(2 * Math.PI * r / 128);
        double hc = 0.5 - 0.5 * StrictMath.cos(2 * Math.PI * c / 128);
        w[r][c] = (img[r][c] - sum / 16384) * (hr * hc);
      }
    }
    double[] want = new double[65];
    Varnoth.f_PSD_Processing_PSOnly(w, want);
    TestImages.assertBits(want, tapered, "tapered profile");
  }

  @Test
  void sectorsFollowTheDirectionOfThePower() {
    double[][] img = field(1.5, 2.5, 5);
    SpectrumResult r = SpectrumAnalyzer.builder().sectors(4).fitRange(2, 48).powerSpectrum(true)
        .build().analyze(img);
    List<SectorResult> s = r.sectors();
    assertEquals(4, s.size());
    double[] slopes = s.stream().mapToDouble(x -> x.fit().slope()).toArray();
    for (int i = 1; i < 4; i++) {
      assertTrue(slopes[0] > slopes[i], "0 degrees shallowest: " + List.of(slopes));
      assertTrue(i == 2 || slopes[2] < slopes[i], "90 degrees steepest");
    }
    assertEquals(slopes[0] - slopes[2], r.anisotropy(), 1e-12);

    // Each sector's profile and fit from the definition.
    double[][] power = r.powerSpectrum().orElseThrow();
    for (int i = 0; i < 4; i++) {
      double centre = i * 45.0;
      assertEquals(centre, s.get(i).angle());
      double[] sum = new double[65];
      int[] count = new int[65];
      for (int row = 0; row < 128; row++) {
        for (int col = 0; col < 128; col++) {
          double d = Math.hypot(row - 64, col - 64);
          int k = (int) Math.floor(d + 0.5);
          if (k > 64) {
            continue;
          }
          double deg = Math.toDegrees(Math.atan2(row - 64, col - 64));
          double folded = ((deg % 180) + 180) % 180;
          double off = ((folded - centre) % 180 + 180 + 22.5) % 180 - 22.5;
          if (k == 0 || off >= -22.5 && off < 22.5) {
            sum[k] += power[row][col];
            count[k]++;
          }
        }
      }
      double[] profile = new double[65];
      for (int k = 0; k < 65; k++) {
        profile[k] = count[k] == 0 ? Double.NaN : sum[k] / count[k];
        close(profile[k], s.get(i).profile()[k], "sector " + i + " ring " + k);
      }
      Expected.ofProfile(profile, 2, 48, false).assertMatches(s.get(i).fit(), "sector " + i);
    }

    // The tiles' mean: each sector's profile the mean of the tiles' profiles of it.
    double[][] twoTiles = new double[128][];
    double[][] other = field(2.5, 1.5, 6);
    for (int row = 0; row < 128; row++) {
      twoTiles[row] = Arrays.copyOf(img[row], 256);
      System.arraycopy(other[row], 0, twoTiles[row], 128, 128);
    }
    SpectrumAnalyzer a = SpectrumAnalyzer.builder().sectors(4).fitRange(2, 48).build();
    List<TileResult> tiles = a.analyzeTiles(twoTiles);
    List<SectorResult> mean = a.tilesMean(tiles).sectors();
    assertEquals(4, mean.size());
    for (int i = 0; i < 4; i++) {
      double[] want = new double[65];
      for (int k = 0; k < 65; k++) {
        want[k] = (0.0 + tiles.get(0).result().sectors().get(i).profile()[k]
            + tiles.get(1).result().sectors().get(i).profile()[k]) / 2;
      }
      assertTrue(Arrays.equals(want, mean.get(i).profile()), "mean sector " + i);
      Expected.ofProfile(want, 2, 48, false).assertMatches(mean.get(i).fit(), "mean sector " + i);
    }
  }
}
