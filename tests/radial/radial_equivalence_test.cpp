// f_RadialAverageSpectra (constant ring lists, one sum per ring) against
// f_RadialAverageSpectra_reference (meshgrid, cart2pol, b_round, growable
// index lists, nanmean), all 65 results compared bit for bit, and the
// constant ring table against the reference's floating-point geometry.
//
// Random images are built from the raw output of std::mt19937_64 (whose
// sequence the C++ standard fixes), so every seed gives the same image on
// every platform.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bit_equal.h"
#include "radial/Varnoth_radial.h"
#include "radial/radial_rings.h"
#include "runtime/Varnoth_runtime.h"
#include "test_values.h"

using varnoth_radial::kRingList;
using varnoth_radial::kRingOf;
using varnoth_radial::kRingOutside;
using varnoth_test::ArraysBitsEqual;
using varnoth_test::bits_of;
using varnoth_test::from_bits;
using varnoth_test::kInf;
using varnoth_test::kLibraryNaN;
using varnoth_test::library_nan;

namespace {

using Profile = std::array<double, 65>;
using Image = std::vector<double>;

const double kMax = std::numeric_limits<double>::max();
const double kDenormMin = std::numeric_limits<double>::denorm_min();

// NaNs of several signs and payloads, signalling patterns included; all of
// them are left out of a mean.
const std::uint64_t kNaNPatterns[] = {
    0xFFF8000000000000ULL,  // rtNaN
    0x7FF8000000000000ULL,  // the default quiet NaN
    0x7FF0000000000001ULL,  // signalling, smallest payload
    0xFFF4000000000000ULL,  // signalling, sign set
    0x7FFFFFFFFFFFFFFFULL,  // quiet, all payload bits
    0xFFF800000000BEEFULL,  // quiet, sign set, payload
};

double random_nan(std::mt19937_64& gen) {
  return from_bits(
      kNaNPatterns[gen() % (sizeof kNaNPatterns / sizeof kNaNPatterns[0])]);
}

// A double with the given sign bit, 11-bit exponent field and 52 random
// mantissa bits.
double make_double(std::uint64_t sign, std::uint64_t exponent,
                   std::uint64_t mantissa) {
  return from_bits((sign << 63) | (exponent << 52) |
                   (mantissa & 0x000FFFFFFFFFFFFFULL));
}

// Exponent field uniform in [lo, hi].
std::uint64_t exponent_in(std::mt19937_64& gen, int lo, int hi) {
  return static_cast<std::uint64_t>(lo) +
         gen() % static_cast<std::uint64_t>(hi - lo + 1);
}

// The families of random images. Each value of a family is drawn
// independently; the corners (never read) get values of the same family.
struct Family {
  const char* name;
  std::function<double(std::mt19937_64&)> draw;
};

const Family kFamilies[] = {
    // Every normal magnitude from 2^-1022 to 2^1023, either sign: sums that
    // lose small terms completely, and overflow when huge terms meet.
    {"wide",
     [](std::mt19937_64& g) {
       return make_double(g() & 1, exponent_in(g, 1, 2046), g());
     }},
    // Positive values over 2^-26 .. 2^27 (about 16 decades), the shape of
    // a power spectrum: every addition rounds, so order shows in the bits.
    {"spectrum",
     [](std::mt19937_64& g) {
       return make_double(0, exponent_in(g, 1023 - 26, 1023 + 27), g());
     }},
    // Either sign over 2^-4 .. 2^60: heavy cancellation.
    {"cancelling",
     [](std::mt19937_64& g) {
       return make_double(g() & 1, exponent_in(g, 1019, 1083), g());
     }},
    // Subnormals of every size (the mantissa shifted right by 0..51 bits),
    // zeros of both signs (1 in 8) and the smallest normals (1 in 8).
    {"subnormal",
     [](std::mt19937_64& g) {
       const std::uint64_t sign = g() & 1;
       switch (g() % 8) {
         case 0:
           return make_double(sign, 0, 0);
         case 1:
           return make_double(sign, 1, g());
         default:
           return make_double(sign, 0, g() >> (g() % 52));
       }
     }},
    // 2^1016 .. 2^1023, one in eight negative: most ring sums overflow to
    // +inf (no finite term changes them after that); ring 0 stays finite.
    {"huge",
     [](std::mt19937_64& g) {
       return make_double(g() % 8 == 0, exponent_in(g, 2039, 2046), g());
     }},
    // Any 64-bit pattern: NaNs of many payloads and subnormals (about 1 in
    // 2048 each), normals of every size; infinities and zeros are too rare
    // to appear here and have tests of their own below.
    {"raw bits", [](std::mt19937_64& g) { return from_bits(g()); }},
};

Image random_image(const Family& f, std::uint64_t seed) {
  std::mt19937_64 gen(seed);
  Image v(kImageSize);
  for (double& x : v) x = f.draw(gen);
  return v;
}

// Replaces about one element in `every` by a NaN of a random pattern.
void sprinkle_nan(Image& v, std::uint64_t seed, unsigned every) {
  std::mt19937_64 gen(seed);
  for (double& x : v) {
    if (gen() % every == 0) x = random_nan(gen);
  }
}

// The members of ring k in ascending index order, from the per-element
// table.
std::vector<int> members_of(int k) {
  std::vector<int> m;
  for (int n = 0; n < kImageSize; n++) {
    if (kRingOf.ring[n] == k) m.push_back(n);
  }
  return m;
}

// Ring means summed in descending index order: the same values in another
// order, used to show that the test data can tell orders apart.
Profile descending_means(const Image& v) {
  Profile p;
  for (int k = 0; k < 65; k++) {
    const std::vector<int> m = members_of(k);
    double s = 0.0;
    int c = 0;
    for (auto it = m.rbegin(); it != m.rend(); ++it) {
      if (!std::isnan(v[*it])) s += v[*it], c++;
    }
    p[k] = c ? s / c : library_nan();
  }
  return p;
}

class FastVsReference : public ::testing::Test {
 protected:
  void SetUp() override { Varnoth_initialize(); }

  // Runs both versions on `in`, and the fast one on `in` held row by row
  // (radial_average_by_rows), the outputs prefilled with different values
  // so that an element left unwritten shows; keeps the fast result in
  // `fast` and compares all 65 by bits.
  ::testing::AssertionResult Same(const Image& in) {
    fast.fill(-12345.0);
    ref.fill(54321.0);
    f_RadialAverageSpectra(sd.get(), in.data(), fast.data());
    f_RadialAverageSpectra_reference(sd.get(), in.data(), ref.data());
    ::testing::AssertionResult same =
        ArraysBitsEqual(ref.data(), fast.data(), 65);
    if (!same) return same;
    Image by_rows(16384);
    for (int r = 0; r < 128; r++) {
      for (int c = 0; c < 128; c++) by_rows[128 * r + c] = in[r + 128 * c];
    }
    Profile from_rows;
    from_rows.fill(-777.0);
    radial_average_by_rows(by_rows.data(), from_rows.data());
    same = ArraysBitsEqual(ref.data(), from_rows.data(), 65);
    if (!same) same << " (the spectrum held row by row)";
    return same;
  }

  std::unique_ptr<VarnothStackData> sd{new VarnothStackData};
  Profile fast{};
  Profile ref{};
};

// Counts of values by class, over the inputs or the results of a family,
// to show what the family exercised.
struct Seen {
  int nan = 0, inf = 0, zero = 0, subnormal = 0, finite = 0;
  void add(double v) {
    if (std::isnan(v)) {
      nan++;
    } else if (std::isinf(v)) {
      inf++;
    } else if (v == 0.0) {
      zero++;
    } else if (std::fpclassify(v) == FP_SUBNORMAL) {
      subnormal++;
    } else {
      finite++;
    }
  }
  void add(const Profile& p) {
    for (double v : p) add(v);
  }
};

}  // namespace

// ---------------------------------------------------------------------------
// The constant geometry.

TEST(RingGeometry, TableMatchesRoundedHypotOfEveryElement) {
  Varnoth_initialize();
  // The reference's route: coordinates k - 64.0, meshgrid, cart2pol,
  // b_round.
  std::vector<double> v(128), xx(kImageSize), yy(kImageSize), th(kImageSize),
      rho(kImageSize);
  for (int k = 0; k < 128; k++) v[k] = static_cast<double>(k) - 64.0;
  meshgrid(v.data(), v.data(), xx.data(), yy.data());
  cart2pol(xx.data(), yy.data(), th.data(), rho.data());
  b_round(rho.data());

  // The same distances element by element: rt_hypotd_snf(x, y), x = c - 64,
  // y = r - 64. Their distance from the nearest half-integer is what makes
  // the rounding independent of the last bits.
  std::vector<double> direct(kImageSize);
  double closest_to_half = 1.0;
  for (int c = 0; c < 128; c++) {
    for (int r = 0; r < 128; r++) {
      const double h = rt_hypotd_snf(c - 64.0, r - 64.0);
      direct[image_at(r, c)] = h;
      closest_to_half =
          std::min(closest_to_half, std::fabs(h - std::floor(h) - 0.5));
    }
  }
  b_round(direct.data());
  EXPECT_GT(closest_to_half, 0.0017);
  EXPECT_LT(closest_to_half, 0.0018);  // the margin the comments quote

  int outside = 0;
  for (int n = 0; n < kImageSize; n++) {
    ASSERT_BITS_EQ(rho[n], direct[n]) << "element " << n;
    const int want = rho[n] <= 64.0 ? static_cast<int>(rho[n]) : kRingOutside;
    ASSERT_EQ(want, static_cast<int>(kRingOf.ring[n]))
        << "element " << n << ", distance " << rho[n];
    outside += static_cast<int>(kRingOf.ring[n]) == kRingOutside;
  }
  EXPECT_EQ(outside, 3333);
}

TEST(RingGeometry, ListsHoldEachRingAscendingAndNothingElse) {
  EXPECT_EQ(kRingList.first[0], 0);
  EXPECT_EQ(kRingList.first[65], varnoth_radial::kRingMembers);
  for (int k = 0; k < 65; k++) {
    const std::vector<int> want = members_of(k);
    ASSERT_FALSE(want.empty()) << "ring " << k;
    const std::vector<int> got(kRingList.member + kRingList.first[k],
                               kRingList.member + kRingList.first[k + 1]);
    EXPECT_EQ(want, got) << "ring " << k;
  }
  EXPECT_EQ(kRingList.first[65] - kRingList.first[64], 406);  // ring 64
}

// ---------------------------------------------------------------------------
// Random images: 6 families x 50 seeds, each image as drawn and again with
// NaNs sprinkled in (densities 1/64, 1/8 and 1/2 in turn): 600 comparisons.

TEST_F(FastVsReference, RandomImagesOfEveryFamilyWithAndWithoutNaN) {
  constexpr int kSeeds = 50;
  const unsigned density[3] = {64, 8, 2};
  for (const Family& f : kFamilies) {
    const std::string name = f.name;
    Seen in_rings;  // the ring elements of the images as drawn
    Seen out;       // their results
    int order_visible = 0;
    int nan_out_sprinkled = 0;
    for (int s = 0; s < kSeeds; s++) {
      const std::uint64_t seed =
          1000 * static_cast<std::uint64_t>(&f - kFamilies) + s;
      Image in = random_image(f, seed);
      ASSERT_TRUE(Same(in)) << name << ", seed " << seed;
      out.add(fast);
      for (int j = 0; j < varnoth_radial::kRingMembers; j++) {
        in_rings.add(in[kRingList.member[j]]);
      }
      order_visible +=
          !ArraysBitsEqual(ref.data(), descending_means(in).data(), 65);

      sprinkle_nan(in, seed + 7, density[s % 3]);
      ASSERT_TRUE(Same(in)) << name << " with NaN, seed " << seed;
      for (double v : fast) nan_out_sprinkled += std::isnan(v);
    }
    std::printf(
        "%-10s ring inputs: %d NaN, %d inf, %d zero, %d subnormal, %d normal;"
        " results: %d NaN, %d inf, %d zero, %d subnormal, %d normal\n",
        f.name, in_rings.nan, in_rings.inf, in_rings.zero, in_rings.subnormal,
        in_rings.finite, out.nan, out.inf, out.zero, out.subnormal, out.finite);
    // What the family exercised, so that a change to the generators that
    // left a case untested shows.
    if (name == "spectrum" || name == "cancelling") {
      EXPECT_EQ(order_visible, kSeeds) << name;  // order shows in the bits
    }
    if (name == "wide" || name == "huge") {
      EXPECT_GT(out.inf, 0) << name;  // sums overflowed
    }
    if (name == "subnormal") {
      EXPECT_GT(in_rings.zero, 0);
      EXPECT_GT(out.subnormal, 0);
    }
    if (name == "raw bits") {
      EXPECT_GT(in_rings.nan, 0);
      EXPECT_GT(in_rings.subnormal, 0);
    }
    EXPECT_GT(nan_out_sprinkled, 0) << name;  // some ring was all NaN
  }
}

// ---------------------------------------------------------------------------
// Special values placed ring by ring.

TEST_F(FastVsReference, AllNaNRingsGiveTheLibraryNaN) {
  // Ring sets made all-NaN: the centre, the border ring, every third ring,
  // and all rings.
  std::vector<std::vector<int>> sets = {{0}, {64}, {}, {}};
  for (int k = 0; k < 65; k += 3) sets[2].push_back(k);
  for (int k = 0; k < 65; k++) sets[3].push_back(k);
  for (std::size_t i = 0; i < sets.size(); i++) {
    std::mt19937_64 gen(77 + i);
    Image in = random_image(kFamilies[1], 500 + i);
    for (int k : sets[i]) {
      for (int n : members_of(k)) in[n] = random_nan(gen);
    }
    ASSERT_TRUE(Same(in)) << "set " << i;
    for (int k : sets[i]) EXPECT_EQ(bits_of(fast[k]), kLibraryNaN) << k;
    if (i < 3) {
      EXPECT_FALSE(std::isnan(fast[1])) << "set " << i;
    }
  }
  // An image of NaN only, corners included.
  Image nan_only(kImageSize, from_bits(0x7FF8000000000000ULL));
  ASSERT_TRUE(Same(nan_only));
  for (int k = 0; k < 65; k++) EXPECT_EQ(bits_of(fast[k]), kLibraryNaN) << k;
}

TEST_F(FastVsReference, InfinitiesInRings) {
  // Ring k gets, by k % 4: one +inf, one -inf, both (NaN), +inf and a NaN
  // (skipped), placed at random members; the rest finite.
  for (std::uint64_t seed = 1; seed <= 20; seed++) {
    std::mt19937_64 gen(seed);
    Image in = random_image(kFamilies[2], 700 + seed);
    for (int k = 0; k < 65; k++) {
      const std::vector<int> m = members_of(k);
      // Two different members a and b (ring 0, with one member, is case 0).
      const std::size_t i = gen() % m.size();
      const std::size_t j =
          (i + 1 + gen() % (m.size() - 1 + (k == 0))) % m.size();
      const int a = m[i];
      const int b = m[j];
      switch (k % 4) {
        case 0:
          in[a] = kInf;
          break;
        case 1:
          in[a] = -kInf;
          break;
        case 2:
          in[a] = kInf;
          in[b] = -kInf;
          break;
        default:
          in[a] = kInf;
          in[b] = random_nan(gen);
          break;
      }
    }
    ASSERT_TRUE(Same(in)) << "seed " << seed;
    EXPECT_BITS_EQ(kInf, fast[4]);
    EXPECT_BITS_EQ(-kInf, fast[5]);
    EXPECT_TRUE(std::isnan(fast[6]));
    EXPECT_BITS_EQ(kInf, fast[7]);
  }
}

TEST_F(FastVsReference, SignedZerosSumFromPositiveZero) {
  // 0.0 + -0.0 is +0.0, so a ring of -0.0 averages to +0.0: a sum started
  // from the first element, or from -0.0, would give -0.0.
  Image in(kImageSize, -0.0);
  ASSERT_TRUE(Same(in));
  for (int k = 0; k < 65; k++) EXPECT_EQ(bits_of(fast[k]), 0ULL) << k;

  // -0.0 with NaNs among it, and -0.0 mixed with +0.0.
  sprinkle_nan(in, 11, 3);
  ASSERT_TRUE(Same(in));
  std::mt19937_64 gen(12);
  for (double& x : in) x = (gen() & 1) ? -0.0 : 0.0;
  ASSERT_TRUE(Same(in));
  for (int k = 0; k < 65; k++) EXPECT_EQ(bits_of(fast[k]), 0ULL) << k;

  // A ring whose values cancel exactly: +0.0, not -0.0.
  in.assign(kImageSize, 1.0);
  const std::vector<int> m = members_of(2);
  for (std::size_t j = 0; j < m.size(); j++) in[m[j]] = (j % 2) ? -1.5 : 1.5;
  ASSERT_TRUE(Same(in));
  EXPECT_EQ(bits_of(fast[2]), 0ULL);
}

TEST_F(FastVsReference, SubnormalsAndOverflow) {
  // The smallest subnormal everywhere: exact sums, mean exactly itself.
  Image in(kImageSize, kDenormMin);
  ASSERT_TRUE(Same(in));
  for (int k = 0; k < 65; k++) EXPECT_BITS_EQ(kDenormMin, fast[k]) << k;

  // Subnormals of both signs whose means round.
  in = random_image(kFamilies[3], 900);
  ASSERT_TRUE(Same(in));

  // The largest double everywhere: every ring of two or more overflows.
  in.assign(kImageSize, kMax);
  ASSERT_TRUE(Same(in));
  EXPECT_BITS_EQ(kMax, fast[0]);
  for (int k = 1; k < 65; k++) EXPECT_BITS_EQ(kInf, fast[k]) << k;

  // +max, +max, -max, ... in index order: overflow to +inf, which no later
  // finite term undoes; in the other order -max + -max overflows to -inf.
  std::mt19937_64 gen(901);
  for (int k = 0; k < 65; k++) {
    const std::vector<int> m = members_of(k);
    for (std::size_t j = 0; j < m.size(); j++) {
      in[m[j]] = (j < 2 || gen() % 3 != 0) ? kMax : -kMax;
    }
  }
  ASSERT_TRUE(Same(in));
  for (int k = 1; k < 65; k++) EXPECT_BITS_EQ(kInf, fast[k]) << k;

  // Alternating +max and -max: no overflow in index order, a finite mean.
  for (int k = 0; k < 65; k++) {
    const std::vector<int> m = members_of(k);
    for (std::size_t j = 0; j < m.size(); j++) {
      in[m[j]] = (j % 2) ? -kMax : kMax;
    }
  }
  ASSERT_TRUE(Same(in));
  for (int k = 1; k < 65; k++) EXPECT_TRUE(std::isfinite(fast[k])) << k;
}

TEST_F(FastVsReference, InputMayLieInTheWorkRecordScratch) {
  // The fast version uses no scratch, so its input may even be
  // SD->u1.f1.X; the reference is given a copy elsewhere.
  const Image in = random_image(kFamilies[0], 1234);
  std::memcpy(sd->u1.f1.X, in.data(), sizeof(sd->u1.f1.X));
  Profile from_scratch;
  f_RadialAverageSpectra(sd.get(), sd->u1.f1.X, from_scratch.data());
  ASSERT_TRUE(Same(in));
  EXPECT_TRUE(ArraysBitsEqual(ref.data(), from_scratch.data(), 65));
}
