// Radial average and its helpers, bit for bit. The rings are checked against
// an oracle built from integer arithmetic alone (no hypot, no rounding), and
// every mean against a plain loop in ascending index order.
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "bit_equal.h"
#include "radial/Varnoth_radial.h"
#include "runtime/Varnoth_runtime.h"
#include "test_values.h"

using varnoth_test::ArraysBitsEqual;
using varnoth_test::bits_of;
using varnoth_test::kInf;
using varnoth_test::kLibraryNaN;
using varnoth_test::kNaN;
using varnoth_test::library_nan;

namespace {

const int kRingCount[65] = {
    1,   8,   12,  16,  32,  28,  40,  40,  48,  68,  56,  72,  68,
    88,  88,  84,  112, 112, 112, 116, 112, 144, 140, 144, 144, 168,
    164, 160, 184, 172, 200, 192, 188, 208, 224, 224, 228, 224, 248,
    236, 264, 248, 264, 276, 264, 288, 276, 304, 304, 312, 316, 320,
    344, 316, 336, 352, 340, 376, 336, 392, 380, 368, 400, 364, 406};

// Ring of element n = r + 128 c from integers only; -1 beyond radius 64.
int ring_of(int n) {
  const int x = n / 128 - 64;
  const int y = n % 128 - 64;
  const int d2 = x * x + y * y;
  if (d2 == 0) return 0;
  for (int k = 1; k <= 64; k++) {
    if (k * k - k + 1 <= d2 && d2 <= k * k + k) return k;
  }
  return -1;
}

// Means over the integer rings, NaN skipped, summed in ascending (or, for
// the power check, descending) index order.
std::array<double, 65> oracle(const std::vector<double>& in,
                              bool descending = false) {
  std::array<double, 65> sum{};
  std::array<int, 65> cnt{};
  for (int i = 0; i < 16384; i++) {
    const int n = descending ? 16383 - i : i;
    const int k = ring_of(n);
    if (k >= 0 && !std::isnan(in[n])) {
      sum[k] += in[n];
      cnt[k]++;
    }
  }
  std::array<double, 65> mean;
  for (int k = 0; k < 65; k++) {
    mean[k] = cnt[k] ? sum[k] / cnt[k] : library_nan();
  }
  return mean;
}

class Radial : public ::testing::Test {
 protected:
  void SetUp() override { Varnoth_initialize(); }
  std::array<double, 65> run(const std::vector<double>& in) {
    std::array<double, 65> ret;
    ret.fill(-12345.0);
    f_RadialAverageSpectra(sd.get(), in.data(), ret.data());
    return ret;
  }
  std::unique_ptr<VarnothStackData> sd{new VarnothStackData};
};

// Positive values over 16 decades, so that the summation order shows.
std::vector<double> random_spectrum(unsigned seed) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<double> e(-8.0, 8.0);
  std::vector<double> v(16384);
  for (double& x : v) x = std::pow(10.0, e(gen));
  return v;
}

}  // namespace

TEST(RadialOracle, RingsFromIntegerArithmetic) {
  int count[65] = {};
  int outside = 0;
  for (int n = 0; n < 16384; n++) {
    const int k = ring_of(n);
    (k < 0 ? outside : count[k])++;
  }
  for (int k = 0; k < 65; k++)
    EXPECT_EQ(count[k], kRingCount[k]) << "ring " << k;
  EXPECT_EQ(outside, 3333);
  EXPECT_EQ(ring_of(kCentreIndex), 0);
  EXPECT_EQ(ring_of(64), 64);    // row 64, column 0: x = -64
  EXPECT_EQ(ring_of(8192), 64);  // row 0, column 64: y = -64
  EXPECT_EQ(ring_of(0), -1);     // distance 90.51
}

TEST_F(Radial, EachRingAveragesExactlyItsCountAndNothingOutside) {
  // One 1.0 per ring, +inf wherever no ring reaches: any read outside the
  // rings, or a wrong count, changes a result.
  std::vector<double> in(16384, 0.0);
  bool marked[65] = {};
  for (int n = 0; n < 16384; n++) {
    const int k = ring_of(n);
    if (k < 0) {
      in[n] = kInf;
    } else if (!marked[k]) {
      in[n] = 1.0;
      marked[k] = true;
    }
  }
  const std::array<double, 65> ret = run(in);
  for (int k = 0; k < 65; k++) EXPECT_BITS_EQ(1.0 / kRingCount[k], ret[k]) << k;
}

TEST_F(Radial, MatchesPlainLoopBitForBit) {
  for (unsigned seed = 1; seed <= 4; seed++) {
    std::vector<double> in = random_spectrum(seed);
    std::mt19937 pick(seed);
    for (int n = 0; n < 16384; n++) {
      if (ring_of(n) < 0)
        in[n] = kInf;  // never read
      else if (seed % 2 == 0 && pick() % 16 == 0)
        in[n] = kNaN;  // skipped
    }
    const std::array<double, 65> want = oracle(in);
    EXPECT_TRUE(ArraysBitsEqual(want.data(), run(in).data(), 65))
        << "seed " << seed;
    // The data are able to tell the order of summation apart.
    EXPECT_FALSE(ArraysBitsEqual(want.data(), oracle(in, true).data(), 65));
  }
}

TEST_F(Radial, Ring64BorderIsOneSided) {
  std::vector<double> in(16384, 0.0);
  in[0] = kInf;  // corner: ignored
  in[64] = 1.0;
  in[8192] = 2.0;
  const std::array<double, 65> ret = run(in);
  EXPECT_BITS_EQ(3.0 / 406.0, ret[64]);
  for (int k = 0; k < 64; k++) EXPECT_BITS_EQ(0.0, ret[k]) << k;
}

TEST_F(Radial, AllOnesAndCentreOnly) {
  std::vector<double> ones(16384, 1.0);
  std::array<double, 65> ret = run(ones);
  for (int k = 0; k < 65; k++) EXPECT_BITS_EQ(1.0, ret[k]) << k;

  std::vector<double> centre(16384, 0.0);
  centre[kCentreIndex] = -2.5;
  ret = run(centre);
  EXPECT_BITS_EQ(-2.5, ret[0]);
  for (int k = 1; k < 65; k++) EXPECT_BITS_EQ(0.0, ret[k]) << k;

  centre[kCentreIndex] = kNaN;  // a NaN of the other sign comes back as rtNaN
  ret = run(centre);
  EXPECT_EQ(bits_of(ret[0]), kLibraryNaN);
  EXPECT_BITS_EQ(0.0, ret[1]);
}

TEST_F(Radial, RadiusOneIsTheEightNeighbours) {
  std::vector<double> in(16384, 0.0);
  const int nb[8] = {image_at(63, 63), image_at(64, 63), image_at(65, 63),
                     image_at(63, 64), image_at(65, 64), image_at(63, 65),
                     image_at(64, 65), image_at(65, 65)};
  const double v[8] = {0.1, 1e17, 0.3, -1e17, 0.7, 1.1, 1.3, 2.9};
  for (int i = 0; i < 8; i++) in[nb[i]] = v[i];
  const double want =
      (((((((0.0 + 0.1) + 1e17) + 0.3) + -1e17) + 0.7) + 1.1) + 1.3 + 2.9) /
      8.0;
  EXPECT_BITS_EQ(want, run(in)[1]);
}

TEST_F(Radial, InfinitiesAndAllNaNRing) {
  std::vector<double> in(16384, 1.0);
  int seen3 = 0;
  bool seen4 = false;
  for (int n = 0; n < 16384; n++) {
    const int k = ring_of(n);
    if (k == 3 && seen3 < 2) in[n] = (seen3++ == 0) ? kInf : -kInf;
    if (k == 4 && !seen4) in[n] = kInf, seen4 = true;
    if (k == 5) in[n] = kNaN;
  }
  const std::array<double, 65> ret = run(in);
  EXPECT_TRUE(std::isnan(ret[3]));
  EXPECT_BITS_EQ(kInf, ret[4]);
  EXPECT_EQ(bits_of(ret[5]), kLibraryNaN);
  EXPECT_BITS_EQ(1.0, ret[6]);
}

TEST_F(Radial, ScratchContentsDoNotMatterAndInputMayBeImgFT) {
  const std::vector<double> in = random_spectrum(7);
  const std::array<double, 65> want = oracle(in);
  std::memset(static_cast<void*>(sd.get()), 0xFF, sizeof(VarnothStackData));
  std::memcpy(sd->u4.f7.imgFT, in.data(), sizeof(sd->u4.f7.imgFT));
  const std::vector<unsigned char> before(
      reinterpret_cast<const unsigned char*>(sd.get()),
      reinterpret_cast<const unsigned char*>(sd.get()) +
          sizeof(VarnothStackData));
  std::array<double, 65> ret;
  f_RadialAverageSpectra(sd.get(), sd->u4.f7.imgFT, ret.data());
  EXPECT_TRUE(ArraysBitsEqual(want.data(), ret.data(), 65));
  // The work record is left exactly as it was: no scratch is used.
  EXPECT_EQ(0, std::memcmp(before.data(), sd.get(), before.size()));

  // The reference version builds its grids in SD->u1.f1.
  ret.fill(-12345.0);
  f_RadialAverageSpectra_reference(sd.get(), sd->u4.f7.imgFT, ret.data());
  EXPECT_TRUE(ArraysBitsEqual(want.data(), ret.data(), 65));
  EXPECT_BITS_EQ(-64.0, sd->u1.f1.X[image_at(5, 0)]);   // X = c - 64
  EXPECT_BITS_EQ(63.0, sd->u1.f1.Y[image_at(127, 3)]);  // Y = r - 64
}

TEST(RadialHelpers, MeshgridAndCart2pol) {
  std::vector<double> x(128), y(128), xx(16384), yy(16384), th(16384), r(16384);
  for (int i = 0; i < 128; i++) x[i] = 1000.0 + i, y[i] = -i - 0.5;
  meshgrid(x.data(), y.data(), xx.data(), yy.data());
  for (int c = 0; c < 128; c++) {
    for (int rr = 0; rr < 128; rr++) {
      ASSERT_BITS_EQ(x[c], xx[image_at(rr, c)]);
      ASSERT_BITS_EQ(y[rr], yy[image_at(rr, c)]);
    }
  }
  xx[0] = 3.0, yy[0] = 4.0;
  xx[16383] = 0.0, yy[16383] = -2.0;
  cart2pol(xx.data(), yy.data(), th.data(), r.data());
  EXPECT_BITS_EQ(5.0, r[0]);
  EXPECT_BITS_EQ(std::atan2(4.0, 3.0), th[0]);  // angle of (x, y), not (y, x)
  EXPECT_BITS_EQ(2.0, r[16383]);
  EXPECT_BITS_EQ(-1.5707963267948966, th[16383]);
}

TEST(RadialHelpers, NanmeanOrderLengthAndEmpty) {
  Varnoth_initialize();
  emxArray_real_T* a = nullptr;
  emxInit_real_T(&a, 1);
  EXPECT_EQ(bits_of(nanmean(a)), kLibraryNaN);  // empty

  a->size[0] = 16;
  emxEnsureCapacity(reinterpret_cast<emxArray__common*>(a), 0, sizeof(real_T));
  for (int i = 0; i < 16; i++) a->data[i] = 1e300;  // beyond the length
  const double two53 = 9007199254740992.0;
  a->data[0] = two53;
  a->data[1] = kNaN;
  a->data[2] = 1.0;
  a->data[3] = -two53;
  a->size[0] = 4;
  // ((0 + 2^53) + 1) - 2^53 = 0 in this order; other orders give 1/3.
  EXPECT_BITS_EQ(0.0, nanmean(a));
  a->data[0] = a->data[2] = a->data[3] = kNaN;
  EXPECT_EQ(bits_of(nanmean(a)), kLibraryNaN);  // all NaN
  emxFree_real_T(&a);
}
