// The processing chain, the slope and the regression of an image.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "analysis/Varnoth_analysis.h"
#include "bit_equal.h"
#include "radial/Varnoth_radial.h"
#include "regression/Varnoth_regression.h"
#include "spectral/Varnoth_spectral.h"
#include "test_values.h"

using varnoth_test::ArraysBitsEqual;
using varnoth_test::kInf;
using varnoth_test::kNaN;
using varnoth_test::kPi;

namespace {

// Outputs of one run of everything on one image; every output is NaN
// before the run, so anything left unwritten shows.
struct Analysis {
  std::unique_ptr<VarnothStackData> sd{new VarnothStackData};
  std::vector<double> imgFT = std::vector<double>(16384, kNaN);
  std::vector<double> imgWD = std::vector<double>(16384, kNaN);
  double imgPS[65], slope = kNaN, psd_slope = kNaN, regress[2] = {kNaN, kNaN};

  explicit Analysis(const std::vector<double>& img, unsigned char fill = 0xA5) {
    for (double& v : imgPS) v = kNaN;
    std::memset(static_cast<void*>(sd.get()), fill, sizeof(VarnothStackData));
    f_PSD_Processing(sd.get(), img.data(), &slope, imgPS, imgFT.data(),
                     imgWD.data());
    psd_slope = f_PSD_Slope(sd.get(), img.data());
    f_PSD_LinearRegression(sd.get(), img.data(), regress);
  }
};

std::vector<double> random_image(std::uint64_t seed) {
  std::mt19937_64 g(seed);
  std::vector<double> img(16384);
  for (double& v : img) v = static_cast<double>(g() >> 11) * 0x1p-53 * 255.0;
  return img;
}

// A real image whose power spectrum is |f|^-beta at every frequency
// f = (u, v) != 0 (u, v in -64 .. 63) and 1 at f = 0: amplitude
// |f|^(-beta/2), random phase made odd, phi(-f) = -phi(f), so the spectrum
// is Hermitian and the image real. The image is 16384 times the inverse
// DFT, so that (|FFT(img)| / 16384)^2 is the power itself. Separable
// inverse DFT: over v for each u, then over u.
std::vector<double> power_law_image(double beta, std::uint64_t seed) {
  const int n = 128;
  auto freq = [](int i) { return i < 64 ? i : i - 128; };
  std::mt19937_64 g(seed);
  std::vector<double> phi(n * n);
  for (double& p : phi) p = static_cast<double>(g() >> 11) * 0x1p-53 * 2 * kPi;
  std::vector<double> fr(n * n), fi(n * n);
  for (int u = 0; u < n; u++) {
    for (int v = 0; v < n; v++) {
      const int fu = freq(u), fv = freq(v);
      const double f2 = static_cast<double>(fu * fu + fv * fv);
      const double a = (f2 == 0.0) ? 1.0 : std::pow(f2, -beta / 4.0);
      const double ph =
          0.5 * (phi[u * n + v] - phi[((n - u) % n) * n + (n - v) % n]);
      fr[u * n + v] = a * std::cos(ph);
      fi[u * n + v] = a * std::sin(ph);
    }
  }
  double wc[128], ws[128];
  for (int j = 0; j < n; j++) {
    wc[j] = std::cos(2 * kPi * j / n);
    ws[j] = std::sin(2 * kPi * j / n);
  }
  std::vector<double> tr(n * n), ti(n * n);  // T(u, c)
  for (int u = 0; u < n; u++) {
    for (int c = 0; c < n; c++) {
      double sr = 0.0, si = 0.0;
      for (int v = 0; v < n; v++) {
        const int j = (v * c) % n;
        sr += fr[u * n + v] * wc[j] - fi[u * n + v] * ws[j];
        si += fr[u * n + v] * ws[j] + fi[u * n + v] * wc[j];
      }
      tr[u * n + c] = sr;
      ti[u * n + c] = si;
    }
  }
  std::vector<double> img(16384);
  for (int r = 0; r < n; r++) {
    for (int c = 0; c < n; c++) {
      double sr = 0.0;
      for (int u = 0; u < n; u++) {
        const int j = (u * r) % n;
        sr += tr[u * n + c] * wc[j] - ti[u * n + c] * ws[j];
      }
      img[image_at(r, c)] = sr;
    }
  }
  return img;
}

// The profile the image above should give: the mean of |f|^-beta over the
// frequencies whose distance rounds to k, without any transform.
void model_profile(double beta, double ps[65]) {
  double sum[65] = {}, cnt[65] = {};
  for (int u = -64; u < 64; u++) {
    for (int v = -64; v < 64; v++) {
      const double f2 = static_cast<double>(u * u + v * v);
      const int k = static_cast<int>(std::floor(std::sqrt(f2) + 0.5));
      if (k > 64) continue;
      sum[k] += (f2 == 0.0) ? 1.0 : std::pow(f2, -beta / 2.0);
      cnt[k] += 1.0;
    }
  }
  for (int k = 0; k < 65; k++) ps[k] = sum[k] / cnt[k];
}

double fit_slope(const double ps[65], double* intercept) {
  LogLogPoints pts;
  loglog_points(ps, &pts);
  double p[2];
  polyfit(pts.Xvalid_data, pts.Xvalid_size, pts.Yvalid_data, pts.Yvalid_size,
          p);
  *intercept = p[1];
  return p[0];
}
}  // namespace

TEST(Chain, StagesComposeBitForBit) {
  const std::vector<double> img = random_image(7);
  Analysis run(img);
  EXPECT_TRUE(ArraysBitsEqual(img.data(), run.imgWD.data(), 16384));
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  std::vector<double> ft(16384);
  double ps[65];
  f_ImageFFTPower(sd.get(), img.data(), ft.data());
  f_RadialAverageSpectra(sd.get(), ft.data(), ps);
  EXPECT_TRUE(ArraysBitsEqual(ft.data(), run.imgFT.data(), 16384));
  EXPECT_TRUE(ArraysBitsEqual(ps, run.imgPS, 65));
  double b;
  const double a = fit_slope(ps, &b);
  EXPECT_LT(a, 0.0);
  EXPECT_BITS_EQ(a, run.slope);
  EXPECT_BITS_EQ(a, run.psd_slope);
  EXPECT_BITS_EQ(a, run.regress[0]);
  EXPECT_BITS_EQ(b, run.regress[1]);
}

// Callers that run their own OpenMP threads, each on its own image: the
// library's parallel loops must share out the work of one call among its
// own team, never among the caller's threads.
TEST(Chain, EachThreadOfACallersParallelRegionGetsItsOwnWholeResult) {
  constexpr int kThreads = 4;
  std::vector<std::vector<double>> imgs;
  std::vector<std::unique_ptr<Analysis>> alone;
  for (int t = 0; t < kThreads; t++) {
    imgs.push_back(random_image(100 + t));
    alone.emplace_back(new Analysis(imgs.back()));
  }
  std::vector<std::unique_ptr<Analysis>> together(kThreads);
#pragma omp parallel for num_threads(kThreads) schedule(static, 1)
  for (int t = 0; t < kThreads; t++) together[t].reset(new Analysis(imgs[t]));
  for (int t = 0; t < kThreads; t++) {
    EXPECT_TRUE(ArraysBitsEqual(alone[t]->imgFT.data(),
                                together[t]->imgFT.data(), 16384));
    EXPECT_TRUE(ArraysBitsEqual(alone[t]->imgPS, together[t]->imgPS, 65));
    EXPECT_BITS_EQ(alone[t]->slope, together[t]->slope);
    EXPECT_BITS_EQ(alone[t]->regress[1], together[t]->regress[1]);
  }
}

TEST(Chain, AllZeroImage) {
  Analysis run(std::vector<double>(16384, 0.0));
  const std::vector<double> zeros(16384, 0.0);
  EXPECT_TRUE(ArraysBitsEqual(zeros.data(), run.imgWD.data(), 16384));
  EXPECT_TRUE(ArraysBitsEqual(zeros.data(), run.imgFT.data(), 16384));
  EXPECT_TRUE(ArraysBitsEqual(zeros.data(), run.imgPS, 65));
  EXPECT_BITS_EQ(0.0, run.slope);
  EXPECT_BITS_EQ(0.0, run.psd_slope);
  EXPECT_BITS_EQ(0.0, run.regress[0]);
  EXPECT_BITS_EQ(0.0, run.regress[1]);
}

TEST(Chain, ConstantImageHasOnePositiveBin) {
  Analysis run(std::vector<double>(16384, 3.0));
  EXPECT_BITS_EQ(9.0, run.imgPS[0]);
  EXPECT_BITS_EQ(9.0, run.imgFT[kCentreIndex]);
  const double zeros[65] = {};
  EXPECT_TRUE(ArraysBitsEqual(zeros, run.imgPS + 1, 64));
  EXPECT_BITS_EQ(0.0, run.slope);
  EXPECT_BITS_EQ(0.0, run.psd_slope);
  EXPECT_BITS_EQ(0.0, run.regress[0]);
  EXPECT_BITS_EQ(0.0, run.regress[1]);
}

TEST(Chain, ImpulseGivesAFlatProfile) {
  std::vector<double> img(16384, 0.0);
  img[image_at(0, 0)] = 1.0;
  Analysis run(img);
  for (int k = 0; k < 65; k++) {
    EXPECT_BITS_EQ(0x1p-28, run.imgPS[k]) << k;
  }
  EXPECT_BITS_EQ(3.725290298461914e-09, run.imgPS[64]);
  // 65 points of equal ordinate y = ln 2^-28 = -19.4: the exact slope is
  // 0; the reflectors' rounding leaves 3.8e-15 (about one ulp of y,
  // 3.6e-15). The chain gives what polyfit makes of these points, bit for
  // bit, and the bound allows a few ulp of y.
  double b;
  const double a = fit_slope(run.imgPS, &b);
  EXPECT_BITS_EQ(a, run.slope);
  EXPECT_BITS_EQ(a, run.psd_slope);
  EXPECT_LE(std::fabs(run.slope), 1e-14);
  EXPECT_NEAR(-28.0 * std::log(2.0), run.regress[1], 1e-13);
}

TEST(Chain, NaNPixelGivesNaNSpectrumAndNoFit) {
  std::vector<double> img = random_image(3);
  img[image_at(17, 90)] = kNaN;
  Analysis run(img);
  for (int i = 0; i < 16384; i++) ASSERT_TRUE(std::isnan(run.imgFT[i])) << i;
  for (int k = 0; k < 65; k++) EXPECT_TRUE(std::isnan(run.imgPS[k])) << k;
  EXPECT_TRUE(ArraysBitsEqual(img.data(), run.imgWD.data(), 16384));
  EXPECT_BITS_EQ(0.0, run.slope);
  EXPECT_BITS_EQ(0.0, run.psd_slope);
  EXPECT_BITS_EQ(0.0, run.regress[0]);
  EXPECT_BITS_EQ(0.0, run.regress[1]);
}

// Every bin +infinity: 65 counted bins, no point, so the fit runs on 65
// points (0.0, 0.0) and its zero design column gives NaN coefficients.
TEST(Chain, InfiniteProfileFitsZeroPoints) {
  std::vector<double> img(16384, 0.0);
  img[image_at(0, 0)] = 1e300;  // power (1e300 / 16384)^2 overflows
  Analysis run(img);
  for (int k = 0; k < 65; k++) EXPECT_BITS_EQ(kInf, run.imgPS[k]) << k;
  EXPECT_TRUE(std::isnan(run.slope));
  EXPECT_TRUE(std::isnan(run.psd_slope));
  EXPECT_TRUE(std::isnan(run.regress[0]));
  EXPECT_TRUE(std::isnan(run.regress[1]));
}

TEST(Chain, WorkRecordContentsDoNotMatter) {
  const std::vector<double> img = power_law_image(2.0, 11);
  Analysis a(img, 0x00), b(img, 0xFF);  // 0xFF.. is a NaN pattern
  EXPECT_TRUE(ArraysBitsEqual(a.imgFT.data(), b.imgFT.data(), 16384));
  EXPECT_TRUE(ArraysBitsEqual(a.imgPS, b.imgPS, 65));
  EXPECT_BITS_EQ(a.slope, b.slope);
  EXPECT_BITS_EQ(a.psd_slope, b.psd_slope);
  EXPECT_TRUE(ArraysBitsEqual(a.regress, b.regress, 2));
}

// Known answer: images whose power falls as |f|^-beta. The amplitudes are
// exact, so the random phases change nothing in the power: the profile must
// equal the ring means of |f|^-beta computed without any transform
// (observed within 3.3e-15 relative per bin; the bound 1e-11 leaves room
// for the transform's rounding, while a wrong bin, shift or scale misses
// by far more than 1e-3), and the slope must equal the fit of that model
// profile (observed within 5e-16).
// Against -beta itself: ln P = -beta ln k while the abscissa is
// x = ln(1 + 1.546875 k), and d(ln k)/dx = (1 + 1.546875 k) / (1.546875 k)
// exceeds 1, most at small k, so the fitted line is steeper than -beta;
// bin 0 (power 1 at x = 0) is one point of 65. Measured: -1.0135, -2.0288,
// -3.0459 for beta = 1, 2, 3, i.e. 1.3 to 1.6 % steeper; the bound is 3 %.
TEST(PowerLaw, SlopesFollowTheExponent) {
  double previous = 0.0;
  for (double beta : {1.0, 2.0, 3.0}) {
    SCOPED_TRACE(testing::Message() << "beta " << beta);
    Analysis run(power_law_image(beta, 2024));
    double model[65], b;
    model_profile(beta, model);
    for (int k = 0; k < 65; k++) {
      EXPECT_NEAR(1.0, run.imgPS[k] / model[k], 1e-11) << "bin " << k;
    }
    const double want = fit_slope(model, &b);
    std::printf("beta %.1f: slope %.17g (model profile %.17g)\n", beta,
                run.slope, want);
    EXPECT_NEAR(want, run.slope, 1e-11);
    EXPECT_BITS_EQ(run.slope, run.psd_slope);
    EXPECT_BITS_EQ(run.slope, run.regress[0]);
    EXPECT_GT(-run.slope / beta, 1.0);
    EXPECT_LT(-run.slope / beta, 1.03);
    EXPECT_LT(run.slope, previous);
    previous = run.slope;
  }
}
