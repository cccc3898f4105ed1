// Chart information of a radial profile.
#include <cmath>

#include "bit_equal.h"
#include "regression/Varnoth_regression.h"
#include "test_values.h"

using varnoth_test::ArraysBitsEqual;
using varnoth_test::kInf;
using varnoth_test::kNaN;

namespace {

struct Chart {
  double range[4], scale[2], regress[2], N, points[130];
  // Every output starts as NaN, so anything left unwritten shows.
  explicit Chart(const double ps[65]) : N(kNaN) {
    for (double& v : range) v = kNaN;
    for (double& v : scale) v = kNaN;
    for (double& v : regress) v = kNaN;
    for (double& v : points) v = kNaN;
    f_PlotSpectra_GetChartInfo(ps, range, scale, regress, &N, points);
  }
};
}  // namespace

TEST(Chart, ConstantTables) {
  const double want_range[4] = {0.0, 4.605170185988092, -11.090354888959125,
                                11.090354888959125};
  const double want_scale[2] = {55.3725464426646, 11.496476107083927};
  double ps[65];
  for (double v : {1.0, 0.0, kNaN}) {
    for (int k = 0; k < 65; k++) ps[k] = v;
    Chart c(ps);
    EXPECT_TRUE(ArraysBitsEqual(want_range, c.range, 4));
    EXPECT_TRUE(ArraysBitsEqual(want_scale, c.scale, 2));
  }
  // What the literals stand for, as this machine's log rounds them.
  EXPECT_BITS_EQ(std::log(100.0), want_range[1]);
  EXPECT_BITS_EQ(std::log(65536.0), want_range[3]);
  EXPECT_BITS_EQ(255.0 / std::log(100.0), want_scale[0]);
  EXPECT_BITS_EQ(255.0 / (2.0 * std::log(65536.0)), want_scale[1]);
}

TEST(Chart, AllBinsPositiveSpanTheChart) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = std::pow(1.0 + 1.546875 * k, -2.0);
  Chart c(ps);
  EXPECT_BITS_EQ(65.0, c.N);
  EXPECT_BITS_EQ(0.0, c.points[0]);
  EXPECT_BITS_EQ(255.0, c.points[128]);
  EXPECT_BITS_EQ(127.5, c.points[1]);  // ln 1.0 = 0
  // An exact power law: slope -2, intercept 0, up to rounding of pow/log.
  EXPECT_NEAR(-2.0, c.regress[0], 1e-13);
  EXPECT_NEAR(0.0, c.regress[1], 1e-13);
  // The fit is polyfit's on the same points.
  LogLogPoints pts;
  loglog_points(ps, &pts);
  double p[2];
  polyfit(pts.Xvalid_data, pts.Xvalid_size, pts.Yvalid_data, pts.Yvalid_size,
          p);
  EXPECT_TRUE(ArraysBitsEqual(p, c.regress, 2));
}

TEST(Chart, OrdinateMapping) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = 0.0;
  ps[0] = 1.0;            // ln = 0.0       -> 127.5
  ps[1] = 65536.0;        // ln 65536       -> 0.0
  ps[2] = 1.0 / 65536.0;  // -ln 65536 -> 255.0
  ps[3] = 1e20;           // beyond the range: not clipped
  Chart c(ps);
  EXPECT_BITS_EQ(4.0, c.N);
  EXPECT_BITS_EQ(127.5, c.points[1]);
  EXPECT_BITS_EQ(0.0, c.points[3]);
  EXPECT_BITS_EQ(255.0, c.points[5]);
  EXPECT_LT(c.points[7], 0.0);
  EXPECT_BITS_EQ(55.3725464426646 * std::log(1.0 + 1.546875), c.points[2]);
}

TEST(Chart, OnePositiveBinIsAHorizontalLine) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = (k == 10) ? 0.25 : 0.0;
  ps[20] = kNaN;
  Chart c(ps);
  EXPECT_BITS_EQ(1.0, c.N);
  EXPECT_BITS_EQ(0.0, c.regress[0]);
  EXPECT_BITS_EQ(std::log(0.25), c.regress[1]);
  EXPECT_BITS_EQ(55.3725464426646 * std::log(10 * 1.546875 + 1.0), c.points[0]);
  EXPECT_BITS_EQ(255.0 - (11.496476107083927 * std::log(0.25) + 127.5),
                 c.points[1]);
  double zeros[128] = {};
  EXPECT_TRUE(ArraysBitsEqual(zeros, c.points + 2, 128));
}

TEST(Chart, NoPositiveBin) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = (k % 2) ? kNaN : -1.0;
  ps[0] = 0.0;
  Chart c(ps);
  EXPECT_BITS_EQ(0.0, c.N);
  EXPECT_BITS_EQ(0.0, c.regress[0]);
  EXPECT_BITS_EQ(0.0, c.regress[1]);
  double zeros[130] = {};
  EXPECT_TRUE(ArraysBitsEqual(zeros, c.points, 130));
}

TEST(Chart, SkippedBinsCloseUpInOrder) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = std::exp(-0.5 * k);
  ps[0] = kNaN;
  ps[1] = 0.0;
  ps[30] = -3.0;
  Chart c(ps);
  EXPECT_BITS_EQ(62.0, c.N);
  int pair = 0;
  for (int k = 0; k < 65; k++) {
    if (k == 0 || k == 1 || k == 30) continue;
    EXPECT_BITS_EQ(55.3725464426646 * std::log(k * 1.546875 + 1.0),
                   c.points[2 * pair])
        << k;
    EXPECT_BITS_EQ(255.0 - (11.496476107083927 * std::log(ps[k]) + 127.5),
                   c.points[2 * pair + 1])
        << k;
    pair++;
  }
  double zeros[6] = {};
  EXPECT_TRUE(ArraysBitsEqual(zeros, c.points + 124, 6));
}

TEST(Chart, PlusInfinityAddsTheZeroPoint) {
  double ps[65];
  for (int k = 0; k < 65; k++) ps[k] = 0.0;
  ps[3] = 2.0;
  ps[9] = 0.5;
  ps[12] = kInf;
  Chart c(ps);
  EXPECT_BITS_EQ(3.0, c.N);
  // The third pair is (0.0, 0.0) mapped to (0.0, 127.5).
  EXPECT_BITS_EQ(0.0, c.points[4]);
  EXPECT_BITS_EQ(127.5, c.points[5]);
  // The fit includes that point: the line through the three points.
  const double x[3] = {std::log(3 * 1.546875 + 1.0),
                       std::log(9 * 1.546875 + 1.0), 0.0};
  const double y[3] = {std::log(2.0), std::log(0.5), 0.0};
  const int size[2] = {1, 3};
  double p[2];
  polyfit(x, size, y, size, p);
  EXPECT_TRUE(ArraysBitsEqual(p, c.regress, 2));
  // Without the zero point the two points would give a different line.
  double p2[2];
  const int size2[2] = {1, 2};
  polyfit(x, size2, y, size2, p2);
  EXPECT_GT(std::fabs(p2[0] - p[0]), 0.1);
}
