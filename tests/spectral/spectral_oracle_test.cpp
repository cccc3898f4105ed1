// The transforms against an independent long double DFT, and the twiddle
// table against long double trigonometry and its quarter-wave values.
#include <cmath>
#include <random>
#include <vector>

#include "dft_oracle.h"
#include "spectral/fft_twiddles.h"
#include "spectral_fixture.h"

using varnoth_test::bits_of;
using varnoth_test::cld;

namespace {

class SpectralOracle : public varnoth_test::SpectralTest {
 protected:
  // Pixels uniform in [lo, hi) from a fixed seed.
  static std::vector<double> random_image(unsigned seed, double lo, double hi) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> dist(lo, hi);
    std::vector<double> img(16384);
    for (double& p : img) p = dist(gen);
    return img;
  }

  // max_k |got[k] - want[k]| <= 1e-13 max_k |want[k]|.
  static ::testing::AssertionResult Near(const std::vector<creal_T>& got,
                                         const std::vector<cld>& want) {
    long double err = 0.0L, scale = 0.0L;
    for (int k = 0; k < 16384; k++) {
      err = std::fmax(err, std::abs(cld(got[k].re, got[k].im) - want[k]));
      scale = std::fmax(scale, std::abs(want[k]));
    }
    if (err <= 1e-13L * scale) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "max error " << double(err) << " for max magnitude "
           << double(scale);
  }
};

// Zero-mean noise (no dominant zero frequency) and grey levels 0..255.
const struct {
  unsigned seed;
  double lo, hi;
} kImages[] = {{20240611u, -1.0, 1.0}, {77u, 0.0, 255.0}};

}  // namespace

TEST_F(SpectralOracle, RowTransformsMatchTheDft) {
  for (const auto& c : kImages) {
    const std::vector<double> img = random_image(c.seed, c.lo, c.hi);
    std::vector<creal_T> y(16384);
    fft(poisoned(), img.data(), y.data());
    EXPECT_TRUE(Near(y, varnoth_test::oracle_dft_rows(img.data()))) << c.seed;
  }
}

TEST_F(SpectralOracle, TwoDimensionalTransformMatchesTheDft) {
  for (const auto& c : kImages) {
    const std::vector<double> img = random_image(c.seed, c.lo, c.hi);
    std::vector<creal_T> f(16384);
    fft2(poisoned(), img.data(), f.data());
    EXPECT_TRUE(Near(f, varnoth_test::oracle_dft2(img.data()))) << c.seed;
  }
}

// The centred spectra: element (r, c) is F((r + 64) mod 128, (c + 64) mod
// 128). Power is compared relative to its largest value. An error e in F
// turns the angle by at most about e / |F|, so the phase is held to
// 2e-13 max|F| / |F| where |F| is not tiny against max|F|.
TEST_F(SpectralOracle, CentredSpectraMatchTheDft) {
  const std::vector<double> img = random_image(20240611u, -1.0, 1.0);
  const std::vector<cld> F = varnoth_test::oracle_dft2(img.data());
  std::vector<creal_T> centred(16384);
  std::vector<double> mag = image(), phs = image(), ret = image();
  std::vector<double> pw = image(), ph = image();
  f_ImageFFT(poisoned(), img.data(), mag.data(), phs.data());
  f_ImageFFTPower(poisoned(), img.data(), ret.data());
  f_ImageFFTPowerPhase(poisoned(), img.data(), pw.data(), ph.data());
  std::vector<cld> want(16384);
  long double fmax = 0.0L, pmax = 0.0L;
  for (int r = 0; r < 128; r++) {
    for (int c = 0; c < 128; c++) {
      const int k = image_at(r, c);
      want[k] = F[image_at((r + 64) % 128, (c + 64) % 128)];
      centred[k] = creal_T{mag[k], phs[k]};
      fmax = std::fmax(fmax, std::abs(want[k]));
    }
  }
  pmax = (fmax / 16384.0L) * (fmax / 16384.0L);
  EXPECT_TRUE(Near(centred, want));
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(ret.data(), pw.data(), 16384));
  int phases_checked = 0;
  for (int k = 0; k < 16384; k++) {
    const long double a = std::abs(want[k]) / 16384.0L;
    ASSERT_LE(std::fabs(ret[k] - a * a), 1e-13L * pmax) << k;
    if (std::abs(want[k]) > 1e-6L * fmax) {
      const long double d = std::remainder(ph[k] - std::arg(want[k]),
                                           2.0L * 3.141592653589793238L);
      ASSERT_LE(std::fabs(d), 2e-13L * fmax / std::abs(want[k])) << k;
      phases_checked++;
    }
  }
  EXPECT_GT(phases_checked, 16000);
}

// A real image that is nonzero in one row or one column only: the column
// pass of fft2 must reproduce, bit for bit, the 128-point transform that
// fft applies to rows.
TEST_F(SpectralOracle, ColumnAndRowTransformsAgreeBitForBit) {
  const std::vector<double> noise = random_image(5u, -1.0, 1.0);
  std::vector<double> row0 = image(), col0 = image(), col0_t = image();
  for (int n = 0; n < 128; n++) {
    row0[image_at(0, n)] = noise[n];
    col0[image_at(n, 0)] = noise[n];
    col0_t[image_at(0, n)] = noise[n];  // col0 transposed
  }
  std::vector<creal_T> y(16384), f(16384);
  fft(poisoned(), row0.data(), y.data());
  fft2(poisoned(), row0.data(), f.data());
  for (int k = 0; k < 16384; k++) {
    const creal_T& w = y[image_at(0, k / 128)];  // f(u, v) = y(0, v)
    ASSERT_BITS_EQ(w.re, f[k].re) << k;
    ASSERT_BITS_EQ(w.im, f[k].im) << k;
  }
  fft(poisoned(), col0_t.data(), y.data());
  fft2(poisoned(), col0.data(), f.data());
  for (int k = 0; k < 16384; k++) {
    const creal_T& w = y[image_at(0, k % 128)];  // f(u, v) = y(0, u)
    ASSERT_BITS_EQ(w.re, f[k].re) << k;
    ASSERT_BITS_EQ(w.im, f[k].im) << k;
  }
}

// Every entry within two units in the last place of the long double value
// (some quarter-wave values are one unit off the correctly rounded one);
// the exact zeros by their bits.
TEST(Twiddles, AgreeWithLongDoubleTrigonometry) {
  const std::vector<cld> w = varnoth_test::oracle_twiddles();
  for (int j = 0; j <= 64; j++) {
    const cld e = w[j];
    const double t[2] = {fft_cosine[j], fft_sine[j]};
    const long double x[2] = {e.real(), e.imag()};
    for (int p = 0; p < 2; p++) {
      if (std::fabs(x[p]) < 1e-15L) continue;  // an exact zero
      const double ulp = std::nextafter(std::fabs(t[p]), 2.0) - std::fabs(t[p]);
      EXPECT_LE(std::fabs(t[p] - x[p]), 2.0L * ulp)
          << j << (p ? " sin" : " cos");
    }
  }
  EXPECT_EQ(0x0000000000000000ULL, bits_of(fft_cosine[32]));
  EXPECT_EQ(0x0000000000000000ULL, bits_of(fft_sine[0]));
  EXPECT_EQ(0x8000000000000000ULL, bits_of(fft_sine[64]));
}

// The two tables unfold from the 33 stored values c[j] = cos(2 pi j / 128):
// cos[j] = c[j], cos[64 - j] = -c[j], sin[j] = -c[32 - j], sin[j] = -c[j - 32].
TEST(Twiddles, UnfoldFromTheQuarterWaveValues) {
  const double c[33] = {1.0,
                        0.9987954562051724,
                        0.9951847266721969,
                        0.989176509964781,
                        0.9807852804032304,
                        0.970031253194544,
                        0.9569403357322088,
                        0.9415440651830208,
                        0.9238795325112867,
                        0.9039892931234433,
                        0.881921264348355,
                        0.8577286100002721,
                        0.8314696123025452,
                        0.8032075314806449,
                        0.773010453362737,
                        0.7409511253549592,
                        0.7071067811865476,
                        0.6715589548470183,
                        0.6343932841636455,
                        0.5956993044924334,
                        0.5555702330196022,
                        0.5141027441932217,
                        0.47139673682599764,
                        0.4275550934302821,
                        0.3826834323650898,
                        0.33688985339222005,
                        0.29028467725446233,
                        0.24298017990326387,
                        0.19509032201612825,
                        0.14673047445536175,
                        0.0980171403295606,
                        0.049067674327418015,
                        0.0};
  for (int j = 0; j <= 32; j++) EXPECT_BITS_EQ(c[j], fft_cosine[j]) << j;
  for (int j = 0; j <= 31; j++) EXPECT_BITS_EQ(-c[j], fft_cosine[64 - j]) << j;
  for (int j = 1; j <= 32; j++) EXPECT_BITS_EQ(-c[32 - j], fft_sine[j]) << j;
  for (int j = 32; j <= 64; j++) EXPECT_BITS_EQ(-c[j - 32], fft_sine[j]) << j;
}
