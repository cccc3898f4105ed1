// Scalar and element-wise helpers, bit for bit.
#include <cmath>
#include <limits>
#include <vector>

#include "bit_equal.h"
#include "runtime/Varnoth_runtime.h"
#include "test_values.h"

using varnoth_test::bits_of;
using varnoth_test::from_bits;
using varnoth_test::kInf;
using varnoth_test::kLibraryNaN;
using varnoth_test::kNaN;
using varnoth_test::kPi;

namespace {
const double kHalfPi = from_bits(0x3FF921FB54442D18ULL);
}  // namespace

TEST(Atan2, ZeroAbscissaAndSignedZeros) {
  EXPECT_BITS_EQ(0.0, rt_atan2d_snf(0.0, 0.0));
  EXPECT_BITS_EQ(0.0, rt_atan2d_snf(-0.0, 0.0));
  EXPECT_BITS_EQ(0.0, rt_atan2d_snf(0.0, -0.0));  // the library atan2 gives pi
  EXPECT_BITS_EQ(0.0, rt_atan2d_snf(-0.0, -0.0));
  EXPECT_BITS_EQ(kHalfPi, rt_atan2d_snf(1.0, -0.0));
  EXPECT_BITS_EQ(-kHalfPi, rt_atan2d_snf(-2.0, 0.0));
  EXPECT_BITS_EQ(kHalfPi, rt_atan2d_snf(kInf, 0.0));
  EXPECT_BITS_EQ(kPi, rt_atan2d_snf(0.0, -5.0));
  EXPECT_BITS_EQ(std::atan2(1.0, 1.0), rt_atan2d_snf(3.0, 3.0));
}

TEST(Atan2, Infinities) {
  EXPECT_BITS_EQ(std::atan2(1.0, -1.0), rt_atan2d_snf(kInf, -kInf));
  EXPECT_BITS_EQ(std::atan2(-1.0, 1.0), rt_atan2d_snf(-kInf, kInf));
  EXPECT_BITS_EQ(std::atan2(1.0, 1.0), rt_atan2d_snf(kInf, kInf));
  EXPECT_BITS_EQ(std::atan2(-1.0, -1.0), rt_atan2d_snf(-kInf, -kInf));
  EXPECT_BITS_EQ(kHalfPi, rt_atan2d_snf(kInf, 3.0));
}

TEST(Atan2, NaNGivesTheLibraryNaN) {
  // A positive NaN in, the sign-set library NaN out.
  EXPECT_EQ(bits_of(rt_atan2d_snf(kNaN, 1.0)), kLibraryNaN);
  EXPECT_EQ(bits_of(rt_atan2d_snf(1.0, kNaN)), kLibraryNaN);
  EXPECT_EQ(bits_of(rt_atan2d_snf(kNaN, kInf)), kLibraryNaN);
}

TEST(Hypot, ExactAndSpecialValues) {
  EXPECT_BITS_EQ(5.0, rt_hypotd_snf(3.0, 4.0));
  EXPECT_BITS_EQ(5.0, rt_hypotd_snf(-4.0, 3.0));
  EXPECT_BITS_EQ(2.0 * 1.4142135623730951, rt_hypotd_snf(2.0, 2.0));
  EXPECT_BITS_EQ(0.0, rt_hypotd_snf(0.0, 0.0));
  EXPECT_BITS_EQ(0.0, rt_hypotd_snf(-0.0, 0.0));
  EXPECT_BITS_EQ(kInf, rt_hypotd_snf(kInf, 1.0));
  EXPECT_BITS_EQ(kInf, rt_hypotd_snf(1.0, -kInf));
  EXPECT_TRUE(std::isnan(rt_hypotd_snf(kInf, kNaN)));
  EXPECT_TRUE(std::isnan(rt_hypotd_snf(kNaN, kInf)));
  EXPECT_TRUE(std::isnan(rt_hypotd_snf(kNaN, 1.0)));
  const double big = rt_hypotd_snf(1e300, 1e300);
  EXPECT_TRUE(std::isfinite(big));
  EXPECT_BITS_EQ(1e300 * 1.4142135623730951, big);
  EXPECT_BITS_EQ(1e-300 * std::sqrt(1.0 + 0.25), rt_hypotd_snf(5e-301, 1e-300));
}

TEST(Round, HalfAwayFromZero) {
  std::vector<double> x(16384, 0.0);
  const double in[] = {2.5,
                       -2.5,
                       0.49999999999999994,
                       -0.3,
                       4503599627370497.0,
                       kInf,
                       -kInf,
                       0.5,
                       -0.5,
                       1.4999999999999998,
                       -0.0,
                       7.0};
  const double out[] = {3.0,  -3.0,  0.0, -0.0, 4503599627370497.0,
                        kInf, -kInf, 1.0, -1.0, 1.0,
                        -0.0, 7.0};
  const int n = sizeof in / sizeof in[0];
  for (int i = 0; i < n; i++) x[i] = in[i];
  x[16383] = kNaN;
  x[16382] = 2.5;  // the last elements are rounded too
  b_round(x.data());
  for (int i = 0; i < n; i++) EXPECT_BITS_EQ(out[i], x[i]) << "input " << in[i];
  EXPECT_TRUE(std::isnan(x[16383]));
  EXPECT_BITS_EQ(3.0, x[16382]);
}

TEST(IsFinite, NonFiniteAndExtremes) {
  EXPECT_FALSE(b_isfinite(kInf));
  EXPECT_FALSE(b_isfinite(-kInf));
  EXPECT_FALSE(b_isfinite(kNaN));
  EXPECT_TRUE(b_isfinite(std::numeric_limits<double>::max()));
  EXPECT_TRUE(b_isfinite(-std::numeric_limits<double>::max()));
  EXPECT_TRUE(b_isfinite(std::numeric_limits<double>::denorm_min()));
  EXPECT_TRUE(b_isfinite(-0.0));
}

TEST(Log, TouchesExactlyTheFirst65Elements) {
  std::vector<double> x(70, 7.0);
  x[0] = 1.0;
  x[1] = 0.0;
  x[2] = -1.0;
  x[64] = std::exp(2.0);
  b_log(x.data());
  EXPECT_BITS_EQ(0.0, x[0]);
  EXPECT_BITS_EQ(-kInf, x[1]);
  EXPECT_TRUE(std::isnan(x[2]));
  EXPECT_BITS_EQ(std::log(7.0), x[3]);
  EXPECT_BITS_EQ(std::log(std::exp(2.0)), x[64]);
  for (int i = 65; i < 70; i++) EXPECT_BITS_EQ(7.0, x[i]);
}

TEST(AbsAngle, ElementWise) {
  std::vector<creal_T> x(16384, creal_T{0.0, 0.0});
  x[0] = {3.0, 4.0};
  x[1] = {-1.0, 0.0};
  x[2] = {0.0, -0.0};
  x[3] = {kNaN, 1.0};
  x[16383] = {0.0, -2.0};
  std::vector<double> mag(16384), ph(16384);
  b_abs(x.data(), mag.data());
  angle(x.data(), ph.data());
  EXPECT_BITS_EQ(5.0, mag[0]);
  EXPECT_BITS_EQ(std::atan2(4.0, 3.0), ph[0]);
  EXPECT_BITS_EQ(1.0, mag[1]);
  EXPECT_BITS_EQ(kPi, ph[1]);
  EXPECT_BITS_EQ(0.0, mag[2]);
  EXPECT_BITS_EQ(0.0, ph[2]);
  EXPECT_TRUE(std::isnan(mag[3]));
  EXPECT_EQ(bits_of(ph[3]), kLibraryNaN);
  EXPECT_BITS_EQ(2.0, mag[16383]);
  EXPECT_BITS_EQ(-kHalfPi, ph[16383]);
}

TEST(Power, SquaresEveryElementOnceEvenInPlace) {
  std::vector<double> a(16384);
  for (int i = 0; i < 16384; i++) a[i] = 0.001 * (i - 8000) + 0.1;
  a[5] = -0.0;
  a[6] = kNaN;
  a[7] = -kInf;
  std::vector<double> expected(16384);
  for (int i = 0; i < 16384; i++) expected[i] = a[i] * a[i];
  std::vector<double> y(16384, 99.0);
  power(a.data(), y.data());
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(expected.data(), y.data(), 16384));
  power(a.data(), a.data());
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(expected.data(), a.data(), 16384));
  EXPECT_BITS_EQ(0.0, a[5]);
  EXPECT_BITS_EQ(kInf, a[7]);
}
