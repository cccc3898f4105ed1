// The least-squares line fit.
#include <cmath>
#include <cstdint>
#include <limits>

#include "bit_equal.h"
#include "regression/Varnoth_regression.h"

namespace {

// Independent oracle: the normal equations in long double, on abscissae
// centred at their mean so that they are well conditioned.
void oracle(const double* x, const double* y, int m, long double* slope,
            long double* intercept) {
  long double mx = 0.0L, my = 0.0L;
  for (int r = 0; r < m; r++) {
    mx += x[r];
    my += y[r];
  }
  mx /= m;
  my /= m;
  long double sxx = 0.0L, sxy = 0.0L;
  for (int r = 0; r < m; r++) {
    sxx += (x[r] - mx) * (x[r] - mx);
    sxy += (x[r] - mx) * (y[r] - my);
  }
  *slope = sxy / sxx;
  *intercept = my - *slope * mx;
}

void fit(const double* x, const double* y, int m, double p[2]) {
  const int size[2] = {1, m};
  polyfit(x, size, y, size, p);
}

// Deterministic values in [-1, 1).
double noise(std::uint64_t* s) {
  *s = *s * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<double>(*s >> 11) * 0x1p-52 - 1.0;
}

}  // namespace

TEST(Polyfit, TwoPointsGiveTheLineThroughThem) {
  const double x[] = {1.0, 3.0}, y[] = {2.0, 8.0};
  double p[2];
  fit(x, y, 2, p);
  // Two or three roundings per coefficient.
  EXPECT_NEAR(3.0, p[0], 4e-15);
  EXPECT_NEAR(-1.0, p[1], 4e-15);
  const double xs[] = {0.25, 0.0}, ys[] = {-1.0, 5.0};  // exchanged columns
  fit(xs, ys, 2, p);
  EXPECT_NEAR(-24.0, p[0], 24 * 4e-15);
  EXPECT_NEAR(5.0, p[1], 5 * 4e-15);
}

TEST(Polyfit, CollinearPointsGiveTheLine) {
  double x[10], y[10], p[2];
  for (int r = 0; r < 10; r++) {
    x[r] = r;
    y[r] = 2.0 * r + 1.0;
  }
  fit(x, y, 10, p);
  EXPECT_NEAR(2.0, p[0], 1e-14);
  EXPECT_NEAR(1.0, p[1], 1e-14);
}

TEST(Polyfit, SmallAbscissaeExchangeTheColumns) {
  // ||x|| = 0.37 < sqrt(3): the column of ones is factored first.
  double V[6] = {0.1, 0.2, 0.3, 1.0, 1.0, 1.0}, tau[2];
  const int size[2] = {3, 2};
  int tau_size[1], jpvt[2];
  xgeqp3(V, size, tau, tau_size, jpvt);
  EXPECT_EQ(2, jpvt[0]);
  EXPECT_EQ(1, jpvt[1]);
  const double x[] = {0.1, 0.2, 0.3}, y[] = {6.6, 6.2, 5.8};  // y = -4x + 7
  double p[2];
  fit(x, y, 3, p);
  EXPECT_NEAR(-4.0, p[0], 1e-13);
  EXPECT_NEAR(7.0, p[1], 1e-13);
}

TEST(Polyfit, EqualNormsFitWithoutExchange) {
  const double x[] = {1.0, -1.0}, y[] = {5.0, 1.0};  // ||x|| = ||1|| = sqrt 2
  double p[2];
  fit(x, y, 2, p);
  EXPECT_NEAR(2.0, p[0], 4e-15);
  EXPECT_NEAR(3.0, p[1], 4e-15);
}

TEST(Polyfit, AllAbscissaeZeroGiveNonFiniteCoefficients) {
  const double x[] = {0.0, 0.0, 0.0};
  const double y1[] = {1.0, 2.0, 4.0}, y2[] = {3.0, 3.0, 3.0};
  double p[2];
  fit(x, y1, 2, p);
  EXPECT_TRUE(std::isinf(p[0]) || std::isnan(p[0])) << p[0];
  EXPECT_TRUE(std::isnan(p[1])) << p[1];
  fit(x, y1, 3, p);
  EXPECT_TRUE(std::isinf(p[0]) || std::isnan(p[0])) << p[0];
  EXPECT_TRUE(std::isnan(p[1])) << p[1];
  fit(x, y2, 3, p);
  EXPECT_TRUE(std::isinf(p[0]) || std::isnan(p[0])) << p[0];
  EXPECT_TRUE(std::isnan(p[1])) << p[1];
}

TEST(Polyfit, SixtyFivePointsMatchTheOracle) {
  double x[65], y[65], p[2];
  std::uint64_t s = 12345;
  for (int k = 0; k < 65; k++) {
    x[k] = std::log(k * 1.546875 + 1.0);
    y[k] = -2.3 * x[k] + 1.7 + 0.3 * noise(&s);
  }
  fit(x, y, 65, p);
  long double a, b;
  oracle(x, y, 65, &a, &b);
  // The QR solution is backward stable and cond(V) is about 20: 2e-14 is
  // some 40 ulp of the coefficients (about 3e-15 is observed).
  EXPECT_NEAR(static_cast<double>(a), p[0], 2e-14);
  EXPECT_NEAR(static_cast<double>(b), p[1], 2e-14);
}

TEST(Polyfit, RandomPointSetsMatchTheOracle) {
  std::uint64_t s = 99;
  for (int trial = 0; trial < 500; trial++) {
    const int m = 2 + trial % 64;
    const double shift = 4.0 * noise(&s), spread = std::exp2(6.0 * noise(&s));
    double x[65], y[65], p[2];
    for (int r = 0; r < m; r++) {
      x[r] = shift + spread * noise(&s);
      y[r] = 3.0 * noise(&s);
    }
    fit(x, y, m, p);
    long double a, b;
    oracle(x, y, m, &a, &b);
    // Relative to the size of the coefficients, scaled by the square of
    // the design's condition (large for a narrow spread far from 0); the
    // worst error seen over these trials is a third of this bound.
    const double cond = (std::fabs(shift) + spread) / spread;
    const double tol = 2e-15 * cond * cond;
    ASSERT_NEAR(static_cast<double>(a), p[0], tol * (1.0 + std::fabs(a)))
        << "trial " << trial << " m=" << m;
    ASSERT_NEAR(static_cast<double>(b), p[1],
                tol * (1.0 + std::fabs(b) + std::fabs(a * shift)))
        << "trial " << trial << " m=" << m;
  }
}

// The residual of the abscissa column is about 2^-999: the second
// reflector takes the rescaled path.
TEST(Polyfit, TinyAbscissaeGiveTheRightLine) {
  double x[5], y[5], p[2];
  for (int r = 0; r < 5; r++) {
    x[r] = r * 0x1p-1000;
    y[r] = r - 2.0;  // slope 2^1000, intercept -2
  }
  fit(x, y, 5, p);
  EXPECT_NEAR(1.0, p[0] / 0x1p1000, 1e-14);
  EXPECT_NEAR(-2.0, p[1], 1e-14);
  // Subnormal abscissae: 1 / (alpha - beta) would overflow without the
  // rescaling. Products with the subnormal column round to multiples of
  // 2^-1074, about 2^-34 = 6e-11 of its size, hence the looser bound
  // (about 8e-12 is observed).
  for (int r = 0; r < 5; r++) {
    x[r] = r * 0x1p-1040;
    y[r] = (r + 3.0) * 0x1p-30;  // slope 2^1010, intercept 3 * 2^-30
  }
  fit(x, y, 5, p);
  ASSERT_TRUE(std::isfinite(p[0]));
  EXPECT_NEAR(1.0, p[0] / 0x1p1010, 1e-9);
  EXPECT_NEAR(3.0, p[1] / 0x1p-30, 1e-9);
}

TEST(Polyfit, FewerThanTwoPoints) {
  double p[2] = {7.0, 7.0};
  const double x[] = {2.0}, y[] = {6.0}, xs[] = {0.5};
  fit(x, y, 0, p);
  EXPECT_BITS_EQ(0.0, p[0]);
  EXPECT_BITS_EQ(0.0, p[1]);
  fit(x, y, 1, p);  // x column first: slope y / x
  EXPECT_BITS_EQ(3.0, p[0]);
  EXPECT_BITS_EQ(0.0, p[1]);
  fit(xs, y, 1, p);  // column of ones first: intercept y
  EXPECT_BITS_EQ(0.0, p[0]);
  EXPECT_BITS_EQ(6.0, p[1]);
}
