// The log-log point set shared by the chain, the slope and the chart.
#include <cmath>

#include "bit_equal.h"
#include "regression/Varnoth_regression.h"
#include "runtime/Varnoth_runtime.h"
#include "test_values.h"

using varnoth_test::kInf;
using varnoth_test::kNaN;

TEST(LogLogPoints, AbscissaeRunFromLn1ToLn100) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = 1.0;
  LogLogPoints pts;
  loglog_points(ps, &pts);
  EXPECT_BITS_EQ(0.0, pts.xpts[0]);
  EXPECT_BITS_EQ(std::log(100.0), pts.xpts[64]);
  EXPECT_BITS_EQ(4.605170185988092, pts.xpts[64]);
  // 1 + 1.546875 k = (64 + 99 k) / 64 exactly, so the logarithms agree.
  for (int k = 0; k < 65; k++) {
    EXPECT_BITS_EQ(std::log((64.0 + 99.0 * k) / 64.0), pts.xpts[k]) << k;
    EXPECT_BITS_EQ(0.0, pts.ypts[k]);
  }
  EXPECT_EQ(65, pts.trueCount);
  EXPECT_EQ(1, pts.Xvalid_size[0]);
  EXPECT_EQ(65, pts.Xvalid_size[1]);
  EXPECT_EQ(1, pts.Yvalid_size[0]);
  EXPECT_EQ(65, pts.Yvalid_size[1]);
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(pts.xpts, pts.Xvalid_data, 65));
}

TEST(LogLogPoints, SkippedBinsCloseUpInOrder) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = 0.0;
  ps[2] = 4.0;
  ps[3] = -1.0;
  ps[5] = kNaN;
  ps[7] = 0x1p-1074;  // subnormal: positive, finite logarithm
  ps[8] = -kInf;
  ps[40] = 0.5;
  LogLogPoints pts;
  loglog_points(ps, &pts);
  EXPECT_EQ(3, pts.trueCount);
  EXPECT_EQ(3, pts.Yvalid_size[1]);
  const int bins[] = {2, 7, 40};
  for (int i = 0; i < 3; i++) {
    EXPECT_BITS_EQ(std::log(ps[bins[i]]), pts.Yvalid_data[i]);
    EXPECT_BITS_EQ(pts.xpts[bins[i]], pts.Xvalid_data[i]);
  }
  for (int i = 3; i < 65; i++) {
    EXPECT_BITS_EQ(0.0, pts.Xvalid_data[i]);
    EXPECT_BITS_EQ(0.0, pts.Yvalid_data[i]);
  }
  EXPECT_BITS_EQ(-kInf, pts.ypts[0]);
  EXPECT_TRUE(std::isnan(pts.ypts[3]));
  EXPECT_TRUE(std::isnan(pts.ypts[5]));
  EXPECT_TRUE(std::isnan(pts.ypts[8]));
}

TEST(LogLogPoints, PlusInfinityIsCountedButLeavesAZeroPoint) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = (k % 2 == 0) ? 0.0 : 2.0 + k;
  ps[0] = kInf;  // bin 0 counted, not collected
  ps[6] = kInf;
  LogLogPoints pts;
  loglog_points(ps, &pts);
  EXPECT_EQ(34, pts.trueCount);  // 32 odd bins and two infinities
  EXPECT_EQ(34, pts.Xvalid_size[1]);
  for (int i = 0; i < 32; i++) {
    EXPECT_BITS_EQ(pts.xpts[2 * i + 1], pts.Xvalid_data[i]);
    EXPECT_BITS_EQ(std::log(2.0 + (2 * i + 1)), pts.Yvalid_data[i]);
  }
  // The two rows entries past the 32 points are (0.0, 0.0).
  for (int i = 32; i < 34; i++) {
    EXPECT_BITS_EQ(0.0, pts.Xvalid_data[i]);
    EXPECT_BITS_EQ(0.0, pts.Yvalid_data[i]);
  }
}

TEST(LogLogPoints, NoPositiveBin) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = (k % 3 == 0) ? kNaN : -0.0;
  LogLogPoints pts;
  loglog_points(ps, &pts);
  EXPECT_EQ(0, pts.trueCount);
  EXPECT_EQ(0, pts.Xvalid_size[1]);
  EXPECT_EQ(0, pts.Yvalid_size[1]);
  EXPECT_BITS_EQ(0.0, pts.Yvalid_data[0]);
}

// The slope and regression spell the recipe with b_log on whole arrays and
// b_isfinite; the one routine must give the same bits.
TEST(LogLogPoints, EqualsTheElementwiseRecipe) {
  double ps[65];
  for (int k = 0; k < 65; k++)
    ps[k] = std::exp(-0.3 * k) * (1.0 + 0.1 * (k % 7));
  ps[4] = 0.0;
  ps[9] = kNaN;
  ps[11] = -2.0;
  ps[50] = 1e-320;
  double x[65], y[65];
  for (int k = 0; k < 65; k++) {
    x[k] = static_cast<double>(k) * 1.546875 + 1.0;
    y[k] = ps[k];
  }
  b_log(x);
  b_log(y);
  int count = 0, n = 0;
  double X[65] = {}, Y[65] = {};
  for (int k = 0; k < 65; k++) {
    if (ps[k] > 0.0) count++;
  }
  for (int k = 0; k < 65; k++) {
    if (b_isfinite(y[k])) {
      X[n] = x[k];
      Y[n] = y[k];
      n++;
    }
  }
  LogLogPoints pts;
  loglog_points(ps, &pts);
  EXPECT_EQ(count, pts.trueCount);
  EXPECT_EQ(62, pts.trueCount);
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(x, pts.xpts, 65));
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(y, pts.ypts, 65));
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(X, pts.Xvalid_data, 65));
  EXPECT_TRUE(varnoth_test::ArraysBitsEqual(Y, pts.Yvalid_data, 65));
}
