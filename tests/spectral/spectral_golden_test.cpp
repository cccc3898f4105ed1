// Golden values of the transforms and spectra, bit for bit, signed zeros
// included. Each expectation follows by hand from the butterflies: a sum
// whose other terms are all zero is exact, x - x is +0.0, and a zero
// multiplied by a twiddle changes no nonzero value it is added to.
#include <cmath>
#include <vector>

#include "spectral/fft_twiddles.h"
#include "spectral_fixture.h"
#include "test_values.h"

using varnoth_test::bits_of;
using varnoth_test::kLibraryNaN;
using varnoth_test::kPi;

namespace {
const double kPower1 = 3.725290298461914e-09;  // (1 / 16384)^2 = 2^-28

class SpectralGolden : public varnoth_test::SpectralTest {};
}  // namespace

TEST_F(SpectralGolden, ImpulseAtOriginHasAFlatSpectrum) {
  std::vector<double> img = image(), pw = image(), ph = image();
  img[0] = 1.0;
  std::vector<creal_T> f(16384);
  fft2(poisoned(), img.data(), f.data());
  f_ImageFFTPowerPhase(poisoned(), img.data(), pw.data(), ph.data());
  for (int k = 0; k < 16384; k++) {
    ASSERT_BITS_EQ(1.0, f[k].re) << k;
    ASSERT_BITS_EQ(0.0, f[k].im) << k;
    ASSERT_BITS_EQ(kPower1, pw[k]) << k;
    ASSERT_BITS_EQ(0.0, ph[k]) << k;
  }
}

// x = 1 at row 0, column 1: the column index carries the frequency v, and
// the kernel's sign makes Im f(u, 1) negative.
TEST_F(SpectralGolden, ImpulseAtColumnOneGivesTheTwiddleFactors) {
  std::vector<double> img = image(), pw = image(), ph = image();
  img[image_at(0, 1)] = 1.0;
  std::vector<creal_T> y(16384), f(16384);
  fft(poisoned(), img.data(), y.data());
  // Row 0 of y is W^v; from v = 64 on it is -W^(v - 64), whose zero parts
  // come out of 0.0 - 0.0 as +0.0 (W^64 = -1 - 0i in the table).
  for (int v = 0; v < 128; v++) {
    const int j = v % 64;
    double re = (v < 64) ? fft_cosine[j] : -fft_cosine[j];
    double im = (v < 64) ? fft_sine[j] : -fft_sine[j];
    if (v == 64) im = 0.0;
    if (v == 96) re = 0.0;
    EXPECT_BITS_EQ(re, y[image_at(0, v)].re) << "v " << v;
    EXPECT_BITS_EQ(im, y[image_at(0, v)].im) << "v " << v;
    for (int r = 1; r < 128; r++) {
      ASSERT_BITS_EQ(0.0, y[image_at(r, v)].re) << r << "," << v;
      ASSERT_BITS_EQ(0.0, y[image_at(r, v)].im) << r << "," << v;
    }
  }
  fft2(poisoned(), img.data(), f.data());
  f_ImageFFTPowerPhase(poisoned(), img.data(), pw.data(), ph.data());
  for (int u = 0; u < 128; u++) {
    EXPECT_BITS_EQ(0.9987954562051724, f[image_at(u, 1)].re) << u;
    EXPECT_BITS_EQ(-0.049067674327418015, f[image_at(u, 1)].im) << u;
    EXPECT_BITS_EQ(-0.04908738521234052, ph[image_at(u, 65)]) << u;
  }
}

// x = 1 at row 0, column 3. Before the last butterfly pass, rwork[64 + m]
// holds W^(2m) for m < 32 and 0.0 - W^(2m - 64) for m >= 32, rwork[0..63]
// is zero; the last pass forms y(0, j) = 0.0 + t and y(0, 64 + j) = 0.0 - t
// from the single complex product t = W^(2j) W^j, each real product rounded
// on its own (no fused multiply-add).
TEST_F(SpectralGolden, ImpulseAtColumnThreeRoundsEachTwiddleProduct) {
  std::vector<double> img = image();
  img[image_at(0, 3)] = 1.0;
  std::vector<creal_T> y(16384);
  fft(poisoned(), img.data(), y.data());
  for (int j = 1; j < 64; j++) {
    const int m = (2 * j) % 64;
    const double a_re = (j < 32) ? fft_cosine[m] : 0.0 - fft_cosine[m];
    const double a_im = (j < 32) ? fft_sine[m] : 0.0 - fft_sine[m];
    volatile double p[4] = {a_re * fft_cosine[j], a_im * fft_sine[j],
                            a_im * fft_cosine[j], a_re * fft_sine[j]};
    const double t_re = p[0] - p[1];
    const double t_im = p[2] + p[3];
    EXPECT_BITS_EQ(0.0 + t_re, y[image_at(0, j)].re) << j;
    EXPECT_BITS_EQ(0.0 + t_im, y[image_at(0, j)].im) << j;
    EXPECT_BITS_EQ(0.0 - t_re, y[image_at(0, 64 + j)].re) << j;
    EXPECT_BITS_EQ(0.0 - t_im, y[image_at(0, 64 + j)].im) << j;
  }
}

// x = 1 at row 0, column 64: F(u, v) = (-1)^v + 0i. The imaginary zeros
// are +0.0, so the phase of the -1 columns is +pi, not -pi.
TEST_F(SpectralGolden, NyquistImpulseAlternatesSignByColumn) {
  std::vector<double> img = image(), mag = image(), phs = image();
  std::vector<double> pw = image(), ph = image();
  img[image_at(0, 64)] = 1.0;
  f_ImageFFT(poisoned(), img.data(), mag.data(), phs.data());
  f_ImageFFTPowerPhase(poisoned(), img.data(), pw.data(), ph.data());
  for (int k = 0; k < 16384; k++) {
    const bool odd = (k / 128) % 2 == 1;
    ASSERT_BITS_EQ(odd ? -1.0 : 1.0, mag[k]) << k;
    ASSERT_BITS_EQ(0.0, phs[k]) << k;
    ASSERT_BITS_EQ(kPower1, pw[k]) << k;
    ASSERT_BITS_EQ(odd ? kPi : 0.0, ph[k]) << k;
  }
}

// A constant v: every other frequency is v - v = +0.0 exactly; the phase
// at the centre is +0.0 for v > 0 and +pi for v < 0.
TEST_F(SpectralGolden, ConstantImageHasOnlyTheZeroFrequency) {
  for (double v : {0.7, -3.25}) {
    std::vector<double> img = image(v), mag = image(), phs = image();
    std::vector<double> ret = image(), pw = image(), ph = image();
    std::vector<creal_T> f(16384);
    fft2(poisoned(), img.data(), f.data());
    f_ImageFFT(poisoned(), img.data(), mag.data(), phs.data());
    f_ImageFFTPower(poisoned(), img.data(), ret.data());
    f_ImageFFTPowerPhase(poisoned(), img.data(), pw.data(), ph.data());
    EXPECT_BITS_EQ(16384.0 * v, mag[kCentreIndex]);
    EXPECT_BITS_EQ(v * v, ret[kCentreIndex]);
    EXPECT_BITS_EQ(v > 0.0 ? 0.0 : kPi, ph[kCentreIndex]);
    EXPECT_TRUE(varnoth_test::ArraysBitsEqual(ret.data(), pw.data(), 16384));
    for (int k = 0; k < 16384; k++) {
      ASSERT_BITS_EQ(k == 0 ? 16384.0 * v : 0.0, f[k].re) << k;
      ASSERT_BITS_EQ(0.0, f[k].im) << k;
      ASSERT_BITS_EQ(0.0, phs[k]) << k;
      if (k == kCentreIndex) continue;
      ASSERT_BITS_EQ(0.0, mag[k]) << k;
      ASSERT_BITS_EQ(0.0, ret[k]) << k;
      ASSERT_BITS_EQ(0.0, ph[k]) << k;
    }
  }
}

// +0.0 pixels give +0.0 everywhere. -0.0 pixels (imaginary parts load as
// +0.0) give -0.0 + 0i at the zero frequency, since only -0.0 + -0.0 keeps
// the sign, and +0.0 elsewhere; power and phase stay +0.0.
TEST_F(SpectralGolden, SignedZeroImages) {
  for (double z : {0.0, -0.0}) {
    std::vector<double> img = image(z), mag = image(), phs = image();
    std::vector<double> pw = image(), ph = image();
    std::vector<creal_T> f(16384);
    fft2(poisoned(), img.data(), f.data());
    f_ImageFFT(poisoned(), img.data(), mag.data(), phs.data());
    f_ImageFFTPowerPhase(poisoned(), img.data(), pw.data(), ph.data());
    for (int k = 0; k < 16384; k++) {
      ASSERT_BITS_EQ(k == 0 ? z : 0.0, f[k].re) << k;
      ASSERT_BITS_EQ(0.0, f[k].im) << k;
      ASSERT_BITS_EQ(k == kCentreIndex ? z : 0.0, mag[k]) << k;
      ASSERT_BITS_EQ(0.0, phs[k]) << k;
      ASSERT_BITS_EQ(0.0, pw[k]) << k;
      ASSERT_BITS_EQ(0.0, ph[k]) << k;
    }
  }
}

// |F| = 1e156 everywhere: (|F| / 16384)^2 is finite, |F|^2 / 16384^2 would
// overflow, so this fixes the order divide-then-square.
TEST_F(SpectralGolden, PowerDividesBeforeSquaring) {
  std::vector<double> img = image(), ret = image();
  img[0] = 1e156;
  f_ImageFFTPower(poisoned(), img.data(), ret.data());
  const double q = 1e156 / 16384.0;
  for (int k = 0; k < 16384; k++) ASSERT_BITS_EQ(q * q, ret[k]) << k;
  EXPECT_TRUE(std::isfinite(ret[0]));
}

TEST_F(SpectralGolden, NaNPixelSpreadsToEverySpectralValue) {
  std::vector<double> img = image(), mag = image(), phs = image();
  std::vector<double> ret = image(), pw = image(), ph = image();
  for (int k = 0; k < 16384; k++) img[k] = 0.25 * (k % 7);
  img[image_at(5, 9)] = std::nan("");
  f_ImageFFT(poisoned(), img.data(), mag.data(), phs.data());
  f_ImageFFTPower(poisoned(), img.data(), ret.data());
  f_ImageFFTPowerPhase(poisoned(), img.data(), pw.data(), ph.data());
  for (int k = 0; k < 16384; k++) {
    ASSERT_TRUE(std::isnan(mag[k])) << k;
    ASSERT_TRUE(std::isnan(ret[k])) << k;
    ASSERT_TRUE(std::isnan(pw[k])) << k;
    ASSERT_EQ(kLibraryNaN, bits_of(ph[k])) << k;
  }
}

// Element (r, c) goes to ((r + 64) mod 128, (c + 64) mod 128).
TEST(FftShift, SwapsQuadrantsAndIsItsOwnInverse) {
  std::vector<creal_T> x(16384), y(16384);
  for (int k = 0; k < 16384; k++) x[k] = creal_T{double(k), -double(k)};
  y = x;
  fftshift(y.data());
  EXPECT_BITS_EQ(0.0, y[kCentreIndex].re);
  EXPECT_BITS_EQ(double(kCentreIndex), y[0].re);
  for (int r = 0; r < 128; r++) {
    for (int c = 0; c < 128; c++) {
      const int from = image_at(r, c);
      const int to = image_at((r + 64) % 128, (c + 64) % 128);
      ASSERT_BITS_EQ(x[from].re, y[to].re) << r << "," << c;
      ASSERT_BITS_EQ(x[from].im, y[to].im) << r << "," << c;
    }
  }
  fftshift(y.data());
  for (int k = 0; k < 16384; k++) {
    ASSERT_BITS_EQ(x[k].re, y[k].re) << k;
    ASSERT_BITS_EQ(x[k].im, y[k].im) << k;
  }
}
