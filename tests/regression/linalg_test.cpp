// The kernels of the line fit: scaled norm, column exchange, QR with
// column pivoting.
#include <cmath>

#include "bit_equal.h"
#include "regression/Varnoth_regression.h"
#include "test_values.h"

using varnoth_test::kInf;
using varnoth_test::kNaN;

TEST(Xnrm2, DegenerateLengths) {
  const double x[] = {-3.5, -7.0, 2.0};
  EXPECT_BITS_EQ(0.0, xnrm2(0, x, 1));
  EXPECT_BITS_EQ(0.0, xnrm2(-2, x, 1));
  EXPECT_BITS_EQ(3.5, xnrm2(1, x, 1));  // |x|, no scaling
  EXPECT_BITS_EQ(7.0, xnrm2(1, x, 2));
  // A single subnormal element comes back unchanged.
  const double sub[] = {-4.9e-324};
  EXPECT_BITS_EQ(4.9e-324, xnrm2(1, sub, 1));
}

TEST(Xnrm2, OffsetsAndExactValues) {
  const double x[] = {100.0, 3.0, -4.0, 100.0};
  EXPECT_BITS_EQ(5.0, xnrm2(2, x, 2));
  const double z[] = {0.0, -0.0, 0.0};
  EXPECT_BITS_EQ(0.0, xnrm2(3, z, 1));
}

TEST(Xnrm2, HugeAndTinyValuesDoNotOverflowOrUnderflow) {
  const double huge[] = {1e300, -1e300};
  EXPECT_BITS_EQ(1e300 * std::sqrt(2.0), xnrm2(2, huge, 1));
  const double big[] = {3e200, 4e200, 0.0};  // squares would overflow
  EXPECT_NEAR(5e200, xnrm2(3, big, 1), 5e200 * 4e-16);
  const double tiny[] = {3e-200, 4e-200};  // squares would underflow to 0
  EXPECT_NEAR(5e-200, xnrm2(2, tiny, 1), 5e-200 * 4e-16);
  // Subnormal elements: both below the starting scale 2^-1022.
  const double sub[] = {3.0 * 0x1p-1060, 4.0 * 0x1p-1060};
  EXPECT_BITS_EQ(5.0 * 0x1p-1060, xnrm2(2, sub, 1));
  // Mixed magnitudes: the smaller ones still count.
  const double mixed[] = {1e-300, 1.0, 1e-300};
  EXPECT_BITS_EQ(1.0, xnrm2(3, mixed, 1));
}

TEST(Xnrm2, MatchesLongDoubleSumOf65) {
  double x[65];
  long double s = 0.0L;
  for (int k = 0; k < 65; k++) {
    x[k] = std::sin(0.37 * k + 0.1) * (1.0 + k);
    s += static_cast<long double>(x[k]) * x[k];
  }
  const double ref = static_cast<double>(std::sqrt(s));
  // Each of the 65 steps rounds a few times: 1e-15 relative is ~5 ulp.
  EXPECT_NEAR(ref, xnrm2(65, x, 1), ref * 1e-15);
}

TEST(Xnrm2, NonFiniteElements) {
  const double a[] = {1.0, kNaN, 2.0};
  EXPECT_TRUE(std::isnan(xnrm2(3, a, 1)));
  const double b[] = {kInf, kNaN};
  EXPECT_TRUE(std::isnan(xnrm2(2, b, 1)));
  const double c[] = {1.0, -kInf, 2.0};
  EXPECT_BITS_EQ(kInf, xnrm2(3, c, 1));
}

TEST(Xnrm2, SecondNameIsTheSameRoutine) {
  const double x[] = {1e-300, 3.0, kNaN, -4.0, 2e300, 0.5};
  for (int n = 0; n <= 6; n++) {
    for (int ix0 = 1; ix0 + n <= 7; ix0++) {
      const double a = xnrm2(n, x, ix0);
      const double b = b_xnrm2(n, x, ix0);
      EXPECT_BITS_EQ(a, b) << "n=" << n << " ix0=" << ix0;
    }
  }
}

TEST(Xswap, ExchangesTwoRuns) {
  double x[] = {1, 2, 3, 4, 5, 6, 7, 8};
  xswap(3, x, 1, 5);
  const double want[] = {5, 6, 7, 4, 1, 2, 3, 8};
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(want, x, 8));
  xswap(0, x, 1, 5);
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(want, x, 8));
  xswap(3, x, 5, 1);  // swapping back restores the order
  const double back[] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(back, x, 8));
}

// Rebuilds A P = Q R from xgeqp3's output in long double and returns the
// largest |(Q R)(r, c) - A(r, jpvt[c] - 1)| relative to max |A|.
static long double qr_residual(const double* A0, const double* F,
                               const double* tau, const int* jpvt, int m) {
  long double M[130] = {};
  for (int c = 0; c < 2; c++) {
    for (int r = 0; r <= c && r < m; r++) M[r + m * c] = F[r + m * c];
  }
  for (int i = (m < 2 ? m : 2) - 1; i >= 0; i--) {  // M = H_i M
    for (int c = 0; c < 2; c++) {
      long double w = M[i + m * c];
      for (int r = i + 1; r < m; r++) w += F[r + m * i] * M[r + m * c];
      M[i + m * c] -= tau[i] * w;
      for (int r = i + 1; r < m; r++) M[r + m * c] -= tau[i] * F[r + m * i] * w;
    }
  }
  long double err = 0.0L, amax = 0.0L;
  for (int c = 0; c < 2; c++) {
    for (int r = 0; r < m; r++) {
      const long double a = A0[r + m * (jpvt[c] - 1)];
      err = std::fmax(err, std::fabs(M[r + m * c] - a));
      amax = std::fmax(amax, std::fabs(a));
    }
  }
  return err / amax;
}

TEST(Xgeqp3, FactorsAndPivotsOnTheInitialNorms) {
  struct Case {
    int m;
    double scale;  // column 0 = scale * (varying values), column 1 = 1
    int jpvt0;
  } cases[] = {{3, 10.0, 1},  {3, 0.1, 2},  {65, 3.0, 1},
               {65, 0.05, 2}, {2, 1e-3, 2}, {5, -7.0, 1}};
  for (const Case& c : cases) {
    double A[130], F[130], tau[2];
    for (int r = 0; r < c.m; r++) {
      A[r] = c.scale * std::cos(1.3 * r + 0.2);
      A[r + c.m] = 1.0;
    }
    for (int i = 0; i < 2 * c.m; i++) F[i] = A[i];
    const int size[2] = {c.m, 2};
    int tau_size[1] = {-1};
    int jpvt[2] = {0, 0};
    xgeqp3(F, size, tau, tau_size, jpvt);
    SCOPED_TRACE(testing::Message() << "m=" << c.m << " scale=" << c.scale);
    EXPECT_EQ(2, tau_size[0]);
    EXPECT_EQ(c.jpvt0, jpvt[0]);
    EXPECT_EQ(3 - c.jpvt0, jpvt[1]);
    // |R(0,0)| is the norm of the pivot column; tau of a real reflector
    // lies in [1, 2]; the last reflector is skipped when m = 2.
    EXPECT_NEAR(xnrm2(c.m, A, c.m * (jpvt[0] - 1) + 1), std::fabs(F[0]),
                std::fabs(F[0]) * 1e-15);
    EXPECT_TRUE(tau[0] >= 1.0 && tau[0] <= 2.0) << tau[0];
    if (c.m == 2) {
      EXPECT_BITS_EQ(0.0, tau[1]);
    }
    EXPECT_LT(qr_residual(A, F, tau, jpvt, c.m), 1e-15L);
  }
}

TEST(Xgeqp3, EqualNormsKeepTheOrder) {
  double F[] = {1.0, -1.0, 1.0, 1.0};  // both columns have norm sqrt(2)
  const int size[2] = {2, 2};
  double tau[2];
  int tau_size[1], jpvt[2];
  xgeqp3(F, size, tau, tau_size, jpvt);
  EXPECT_EQ(1, jpvt[0]);
  EXPECT_EQ(2, jpvt[1]);
  EXPECT_BITS_EQ(-std::sqrt(2.0), F[0]);  // beta = -hypot(1, 1)
}

TEST(Xgeqp3, DegenerateSizes) {
  double F[2] = {0.5, 1.0};
  double tau[2] = {kNaN, kNaN};
  int tau_size[1], jpvt[2] = {0, 0};
  const int size0[2] = {0, 2};
  xgeqp3(F, size0, tau, tau_size, jpvt);
  EXPECT_EQ(0, tau_size[0]);
  EXPECT_EQ(1, jpvt[0]);
  EXPECT_EQ(2, jpvt[1]);
  EXPECT_BITS_EQ(0.5, F[0]);
  // One row: no reflector, but the larger column still goes first.
  const int size1[2] = {1, 2};
  xgeqp3(F, size1, tau, tau_size, jpvt);
  EXPECT_EQ(1, tau_size[0]);
  EXPECT_BITS_EQ(0.0, tau[0]);
  EXPECT_EQ(2, jpvt[0]);
  EXPECT_BITS_EQ(1.0, F[0]);
  EXPECT_BITS_EQ(0.5, F[1]);
}

// |beta| = 5 * 2^-1040 < 2^-970: the rescaled path gives exact values where
// the direct one would overflow 1 / (alpha - beta) = 2^1037 / 8.
TEST(Xgeqp3, RescalesTinyColumns) {
  double F[] = {3.0 * 0x1p-1040, 4.0 * 0x1p-1040, 1.0 * 0x1p-1042,
                2.0 * 0x1p-1042};
  const int size[2] = {2, 2};
  double tau[2];
  int tau_size[1], jpvt[2];
  xgeqp3(F, size, tau, tau_size, jpvt);
  EXPECT_EQ(1, jpvt[0]);
  EXPECT_BITS_EQ(-5.0 * 0x1p-1040, F[0]);  // R(0,0), scaled back down
  EXPECT_BITS_EQ(8.0 / 5.0, tau[0]);
  EXPECT_BITS_EQ(0.5, F[1]);  // v = [1; 4 / (3 + 5)]
  // H_0 [1; 2] 2^-1042 = [-11/5; 2/5] 2^-1042, rounded to the subnormal
  // grid (2^-1074, i.e. 2^-32 relative here).
  EXPECT_NEAR(-2.2 * 0x1p-1042, F[2], 0x1p-1072);
  EXPECT_NEAR(0.4 * 0x1p-1042, F[3], 0x1p-1072);
}
