// The fast transforms (fft, fft2: several vectors per lane value) and the
// fused power spectrum (f_ImageFFTPower) against the straightforward
// reference forms (fft_reference, fft2_reference, f_ImageFFTPower_reference),
// bit for bit: every real and imaginary part, signed zeros included, and
// NaN patterns wherever the reference fixes them (see NaNRule). Every lane
// width this machine can run (portable, SSE2 or NEON, AVX2, AVX-512; the
// library itself runs the widest) and the scalar power column are checked
// against the same references.
//
// Inputs: hundreds of random images from fixed seeds over wide magnitude
// ranges (subnormal bit patterns, values whose sums overflow), images
// sprinkled with NaN of both signs and several payloads, infinities and
// signed zeros, constant images, and impulses at a sample of positions.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "spectral/centred_power.h"
#include "spectral/fft_lanes.h"
#include "spectral/fft_reference.h"
#include "spectral/spectral_kernels.h"
#include "spectral_fixture.h"
#include "test_values.h"

using varnoth_test::ArraysBitsEqual;
using varnoth_test::bits_of;
using varnoth_test::from_bits;
using varnoth_test::kInf;

namespace {

// The NaN that this machine's arithmetic makes from inf - inf or 0 inf (the
// default NaN): 0xFFF8000000000000 on x86, 0x7FF8000000000000 on aarch64.
std::uint64_t default_nan_bits() {
  volatile double inf = std::numeric_limits<double>::infinity();
  return bits_of(inf - inf);
}

// Other NaN patterns: quiet NaN of both signs with and without payloads,
// signalling NaN of both signs.
const std::uint64_t kNaNBits[] = {
    0x7FF8000000000000ULL, 0xFFF8000000000000ULL, 0x7FF8000000000ABCULL,
    0xFFF800000000F00DULL, 0x7FF4000000000000ULL, 0xFFF0000000000001ULL,
};

// An output element never written keeps this signalling NaN, which no
// arithmetic produces.
const std::uint64_t kUnwritten = 0x7FF00000DEADBEEFULL;

// Which NaN an operation returns when both operands are NaN with different
// bit patterns is left open by IEEE 754; x86 returns its first operand, and
// C++ compilers swap the operands of + and * freely. So when an image
// brings more than one NaN pattern into play (two input patterns, or one
// input pattern besides infinities, whose differences make the default
// NaN), the NaN patterns of the reference are not a property of its
// operation order: the reference alone, built with -O0 and with -O2 from
// the same source and flags, already disagrees on them. Such images are
// compared with this rule: every non-NaN value bit for bit, and NaN at
// exactly the same places (an element left unwritten does not count as
// NaN). With a single NaN pattern in play every
// operation on NaN gives that pattern whatever the operand order, and all
// bits are compared.
enum class NaNRule { kSameBits, kAnyNaN };

::testing::AssertionResult BitsEqualNaNAsOne(const double* expected,
                                             const double* actual, int n) {
  int first = -1;
  int count = 0;
  for (int i = 0; i < n; i++) {
    const bool same = bits_of(expected[i]) == bits_of(actual[i]) ||
                      (std::isnan(expected[i]) && std::isnan(actual[i]) &&
                       bits_of(actual[i]) != kUnwritten);
    if (!same) {
      if (first < 0) first = i;
      count++;
    }
  }
  if (count == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << count << " of " << n << " values differ; first at index " << first
         << ": " << varnoth_test::hex_float(actual[first]) << ", expected "
         << varnoth_test::hex_float(expected[first]);
}

::testing::AssertionResult Agree(NaNRule rule, const double* expected,
                                 const double* actual, int n) {
  return rule == NaNRule::kSameBits ? ArraysBitsEqual(expected, actual, n)
                                    : BitsEqualNaNAsOne(expected, actual, n);
}

std::vector<creal_T> unwritten_spectrum() {
  const double u = from_bits(kUnwritten);
  return std::vector<creal_T>(16384, creal_T{u, u});
}

std::vector<double> unwritten_image() {
  return std::vector<double>(16384, from_bits(kUnwritten));
}

const double* parts(const std::vector<creal_T>& v) { return &v[0].re; }

// Row spectra in the tiled layout of table k, and back (tile_index); the
// tiles hold the values v < 64 + k.lanes, and untiled gives the rest as
// zero.
std::vector<double> tiled(const varnoth_fft::SpectralKernels& k,
                          const std::vector<creal_T>& y) {
  std::vector<double> t(32768);
  for (int r = 0; r < 128; r++) {
    for (int v = 0; v < 128; v++) {
      const int i = varnoth_fft::tile_index(k.lanes, r, v);
      t[i] = y[r + 128 * v].re;
      t[i + k.lanes] = y[r + 128 * v].im;
    }
  }
  return t;
}

std::vector<creal_T> untiled(const varnoth_fft::SpectralKernels& k,
                             const std::vector<double>& t) {
  std::vector<creal_T> y(16384, creal_T{0.0, 0.0});
  for (int r = 0; r < 128; r++) {
    for (int v = 0; v < 64 + k.lanes; v++) {
      const int i = varnoth_fft::tile_index(k.lanes, r, v);
      y[r + 128 * v] = creal_T{t[i], t[i + k.lanes]};
    }
  }
  return y;
}

// The image held row by row: element (r, c) at 128 r + c.
std::vector<double> by_rows(const std::vector<double>& img) {
  std::vector<double> t(16384);
  for (int r = 0; r < 128; r++) {
    for (int c = 0; c < 128; c++) t[128 * r + c] = img[r + 128 * c];
  }
  return t;
}

// One family of random images.
enum class Kind {
  kUnit,           // uniform in [-1, 1)
  kGrey,           // integers 0..255
  kExponents60,    // +-[1, 2) 2^e, e uniform in -60..60
  kAllExponents,   // +-[1, 2) 2^e, e uniform in -1074..1000: subnormal to
                   // huge, the sums stay finite
  kSubnormalBits,  // random subnormal bit patterns of both signs
  kNearOverflow,   // +-[1, 2) 2^e, e uniform in 1012..1020: some row and
                   // column sums overflow, inf - inf makes NaN
  kSpecials,       // kExponents60 with the library NaN, +-inf and +-0.0
                   // at random places
  kOneNaN,         // kExponents60 with one NaN pattern (kNaNBits[i % 6]
                   // for image i) at random places, no infinity
  kMixedNaN,       // kExponents60 with all NaN patterns, +-inf and +-0.0
};

// Sets about 40 random pixels to values from `specials`.
void sprinkle(std::vector<double>& img, const std::vector<double>& specials,
              std::mt19937_64& gen) {
  std::uniform_int_distribution<int> where(0, 16383);
  std::uniform_int_distribution<std::size_t> which(0, specials.size() - 1);
  for (int s = 0; s < 40; s++) img[where(gen)] = specials[which(gen)];
}

std::vector<double> random_image(Kind kind, int index, std::mt19937_64& gen) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_real_distribution<double> mant(1.0, 2.0);
  std::uniform_int_distribution<int> grey(0, 255);
  std::uniform_int_distribution<int> coin(0, 1);
  int emin = -60, emax = 60;
  if (kind == Kind::kAllExponents) emin = -1074, emax = 1000;
  if (kind == Kind::kNearOverflow) emin = 1012, emax = 1020;
  std::uniform_int_distribution<int> exponent(emin, emax);
  std::vector<double> img(16384);
  for (double& p : img) {
    const double sign = coin(gen) ? -1.0 : 1.0;
    if (kind == Kind::kUnit) {
      p = unit(gen);
    } else if (kind == Kind::kGrey) {
      p = grey(gen);
    } else if (kind == Kind::kSubnormalBits) {
      p = from_bits((gen() & 0x000FFFFFFFFFFFFFULL) |
                    (coin(gen) ? 0x8000000000000000ULL : 0));
    } else {
      p = sign * std::ldexp(mant(gen), exponent(gen));
    }
  }
  const std::vector<double> signed_specials = {kInf, -kInf, 0.0, -0.0};
  if (kind == Kind::kSpecials) {
    std::vector<double> v = signed_specials;
    // The default NaN, so that the only NaN pattern in play is the one the
    // infinities' differences make too.
    v.push_back(from_bits(default_nan_bits()));
    sprinkle(img, v, gen);
  } else if (kind == Kind::kOneNaN) {
    sprinkle(img, {from_bits(kNaNBits[index % 6])}, gen);
  } else if (kind == Kind::kMixedNaN) {
    std::vector<double> v = signed_specials;
    for (std::uint64_t b : kNaNBits) v.push_back(from_bits(b));
    sprinkle(img, v, gen);
  }
  return img;
}

class FastSpectral : public varnoth_test::SpectralTest {
 protected:
  // Every fast form against its reference on img: fft, fft2 and
  // f_ImageFFTPower as the library runs them, and the row and column passes
  // in the portable lanes. Adds a failure naming the form and `what`.
  void ExpectAllFormsAgree(const std::vector<double>& img,
                           const std::string& what,
                           NaNRule rule = NaNRule::kSameBits) {
    std::vector<creal_T> rows = unwritten_spectrum();
    std::vector<creal_T> want = unwritten_spectrum();
    std::vector<creal_T> got = unwritten_spectrum();

    fft_reference(poisoned(), img.data(), rows.data());
    fft(poisoned(), img.data(), got.data());
    EXPECT_TRUE(Agree(rule, parts(rows), parts(got), 32768)) << "fft, " << what;

    fft2_reference(poisoned(), img.data(), want.data());
    got = unwritten_spectrum();
    fft2(poisoned(), img.data(), got.data());
    EXPECT_TRUE(Agree(rule, parts(want), parts(got), 32768))
        << "fft2, " << what;

    std::vector<double> pw_want = unwritten_image();
    std::vector<double> pw_got = unwritten_image();
    f_ImageFFTPower_reference(poisoned(), img.data(), pw_want.data());
    f_ImageFFTPower(poisoned(), img.data(), pw_got.data());
    EXPECT_TRUE(Agree(rule, pw_want.data(), pw_got.data(), 16384))
        << "f_ImageFFTPower, " << what;
    pw_got = unwritten_image();
    for (int c = 0; c < 128; c++) {
      varnoth_fft::centred_power_column_scalar(want.data(), pw_got.data(), c);
    }
    EXPECT_TRUE(Agree(rule, pw_want.data(), pw_got.data(), 16384))
        << "scalar power columns, " << what;

    // Each lane width's row, column and power kernels on the reference's
    // own intermediate values.
    const varnoth_fft::RunnableKernels tables =
        varnoth_fft::runnable_spectral_kernels();
    for (int t = 0; t < tables.count; t++) {
      const varnoth_fft::SpectralKernels& k = *tables.table[t];
      got = unwritten_spectrum();
      k.rows(img.data(), got.data());
      EXPECT_TRUE(Agree(rule, parts(rows), parts(got), 32768))
          << k.name << " rows, " << what;
      got = unwritten_spectrum();
      k.columns(rows.data(), got.data());
      EXPECT_TRUE(Agree(rule, parts(want), parts(got), 32768))
          << k.name << " columns, " << what;
      pw_got = unwritten_image();
      k.power(want.data(), pw_got.data());
      EXPECT_TRUE(Agree(rule, pw_want.data(), pw_got.data(), 16384))
          << k.name << " power, " << what;

      // The passes of the processing chain: the row spectra in tiles from
      // the image in either order, and the power from the reference's row
      // spectra in tiles, in either order.
      const int used = 2 * 128 * (64 + k.lanes);  // doubles of v < 64 + W
      std::vector<double> tiles(32768, from_bits(kUnwritten));
      k.row_tiles(img.data(), tiles.data());
      EXPECT_TRUE(Agree(rule, parts(rows), parts(untiled(k, tiles)), used))
          << k.name << " row tiles, " << what;
      tiles.assign(32768, from_bits(kUnwritten));
      k.row_tiles_from_rows(by_rows(img).data(), tiles.data());
      EXPECT_TRUE(Agree(rule, parts(rows), parts(untiled(k, tiles)), used))
          << k.name << " row tiles from rows, " << what;
      tiles = tiled(k, rows);
      pw_got = unwritten_image();
      k.tile_column_power(tiles.data(), pw_got.data());
      EXPECT_TRUE(Agree(rule, pw_want.data(), pw_got.data(), 16384))
          << k.name << " tile column power, " << what;
      pw_got = unwritten_image();
      k.tile_column_power_by_rows(tiles.data(), pw_got.data());
      EXPECT_TRUE(Agree(rule, by_rows(pw_want).data(), pw_got.data(), 16384))
          << k.name << " tile column power by rows, " << what;
    }

    // Power and phase: the power as above, the phase of the centred
    // reference spectrum.
    std::vector<creal_T> centred = want;
    fftshift(centred.data());
    std::vector<double> ph_want(16384);
    angle(centred.data(), ph_want.data());
    pw_got = unwritten_image();
    std::vector<double> ph_got = unwritten_image();
    f_ImageFFTPowerPhase(poisoned(), img.data(), pw_got.data(), ph_got.data());
    EXPECT_TRUE(Agree(rule, pw_want.data(), pw_got.data(), 16384))
        << "f_ImageFFTPowerPhase power, " << what;
    EXPECT_TRUE(Agree(rule, ph_want.data(), ph_got.data(), 16384))
        << "f_ImageFFTPowerPhase phase, " << what;
  }
};

struct Census {
  int nan = 0, inf = 0, finite = 0;
};

Census census(const std::vector<creal_T>& f) {
  Census c;
  for (const creal_T& z : f) {
    for (double p : {z.re, z.im}) {
      if (std::isnan(p)) {
        c.nan++;
      } else if (std::isinf(p)) {
        c.inf++;
      } else {
        c.finite++;
      }
    }
  }
  return c;
}

const struct Family {
  Kind kind;
  std::uint64_t seed;
  int count;
  NaNRule rule;
} kFamilies[] = {
    {Kind::kUnit, 101u, 60, NaNRule::kSameBits},
    {Kind::kGrey, 202u, 40, NaNRule::kSameBits},
    {Kind::kExponents60, 303u, 60, NaNRule::kSameBits},
    {Kind::kAllExponents, 404u, 40, NaNRule::kSameBits},
    {Kind::kSubnormalBits, 505u, 40, NaNRule::kSameBits},
    {Kind::kNearOverflow, 606u, 40, NaNRule::kSameBits},
    {Kind::kSpecials, 707u, 40, NaNRule::kSameBits},
    {Kind::kOneNaN, 808u, 24, NaNRule::kSameBits},
    {Kind::kMixedNaN, 909u, 40, NaNRule::kAnyNaN},
};

}  // namespace

// 384 random images in nine families.
TEST_F(FastSpectral, RandomImagesOverWideRangesAgreeBitForBit) {
  for (const Family& f : kFamilies) {
    std::mt19937_64 gen(f.seed);
    for (int i = 0; i < f.count; i++) {
      std::ostringstream what;
      what << "seed " << f.seed << " image " << i;
      ExpectAllFormsAgree(random_image(f.kind, i, gen), what.str(), f.rule);
      if (HasFailure()) return;  // the first differing image is reported
    }
  }
}

// The families reach what they are meant to test: the near-overflow images
// make infinities, NaN and finite values in the spectra; the images with
// special values make NaN (all of it, for one pattern, in that pattern,
// quietened) and the images of one NaN pattern make no infinity.
TEST_F(FastSpectral, FamiliesReachTheValuesTheyAreMeantFor) {
  std::vector<creal_T> f(16384);
  for (const Family& fam : kFamilies) {
    std::mt19937_64 gen(fam.seed);
    for (int i = 0; i < 6; i++) {
      const std::vector<double> img = random_image(fam.kind, i, gen);
      fft2_reference(poisoned(), img.data(), f.data());
      const Census c = census(f);
      if (fam.kind == Kind::kNearOverflow) {
        EXPECT_GT(c.inf, 0) << i;
        EXPECT_GT(c.nan, 0) << i;
        EXPECT_GT(c.finite, 0) << i;
      } else if (fam.kind == Kind::kSpecials || fam.kind == Kind::kMixedNaN) {
        EXPECT_GT(c.nan, 0) << i;
      } else if (fam.kind == Kind::kOneNaN) {
        EXPECT_GT(c.nan, 0) << i;
        EXPECT_EQ(0, c.inf) << i;
        const std::uint64_t quiet = kNaNBits[i % 6] | 0x0008000000000000ULL;
        for (const creal_T& z : f) {
          for (double p : {z.re, z.im}) {
            if (std::isnan(p)) {
              ASSERT_EQ(quiet, bits_of(p)) << i;
            }
          }
        }
      } else {
        EXPECT_EQ(0, c.nan + c.inf) << i;
      }
    }
  }
}

TEST_F(FastSpectral, ConstantAndSpecialImagesAgreeBitForBit) {
  std::vector<std::pair<std::string, std::vector<double>>> cases;
  for (double v : {0.0, -0.0, 1.0, -3.5, kInf, -kInf, 1e308, -4.9e-324}) {
    cases.emplace_back("constant " + varnoth_test::hex_float(v), image(v));
  }
  for (std::uint64_t b : kNaNBits) {
    cases.emplace_back("constant " + varnoth_test::hex_float(from_bits(b)),
                       image(from_bits(b)));
  }
  std::vector<double> checker = image(), zeros = image(), stripes = image();
  for (int r = 0; r < 128; r++) {
    for (int c = 0; c < 128; c++) {
      checker[image_at(r, c)] = ((r + c) % 2) ? kInf : -kInf;
      zeros[image_at(r, c)] = ((r * 7 + c * 3) % 5) ? -0.0 : 0.0;
      stripes[image_at(r, c)] = (c % 2) ? -1e300 : 1e300;
    }
  }
  cases.emplace_back("checkerboard of +inf and -inf", checker);
  cases.emplace_back("mixed signed zeros", zeros);
  cases.emplace_back("overflowing stripes", stripes);
  for (const auto& c : cases) ExpectAllFormsAgree(c.second, c.first);
}

// Two NaN patterns of opposite signs in every row: the values agree bit for
// bit and the NaN lie at the same places (which of the two patterns a NaN
// carries is not fixed, see NaNRule).
TEST_F(FastSpectral, TwoNaNPatternsPerRowGiveNaNAtTheSamePlaces) {
  std::vector<double> img = image(1.0);
  for (int r = 0; r < 128; r++) {
    img[image_at(r, (r * 5) % 128)] = from_bits(kNaNBits[0]);
    img[image_at(r, (r * 11 + 3) % 128)] = from_bits(kNaNBits[3]);
  }
  ExpectAllFormsAgree(img, "two NaN patterns per row", NaNRule::kAnyNaN);
  // NaN in every row spreads to every spectral value except the imaginary
  // parts at (0, 0), (64, 0), (0, 64) and (64, 64): those are sums of the
  // imaginary +0.0 of the real input through twiddle-1 butterflies only,
  // +0.0 whatever the real parts hold.
  std::vector<creal_T> f(16384);
  fft2(poisoned(), img.data(), f.data());
  EXPECT_EQ(32764, census(f).nan);
  for (int k :
       {image_at(0, 0), image_at(64, 0), image_at(0, 64), image_at(64, 64)}) {
    EXPECT_BITS_EQ(0.0, f[k].im) << k;
    EXPECT_TRUE(std::isnan(f[k].re)) << k;
  }
}

// Impulses on the borders and around the middle of both axes (64
// positions) and at 200 random positions, with several values.
TEST_F(FastSpectral, ImpulsesAtSampledPositionsAgreeBitForBit) {
  std::vector<int> positions;
  for (int r : {0, 1, 2, 63, 64, 65, 126, 127}) {
    for (int c : {0, 1, 2, 63, 64, 65, 126, 127}) {
      positions.push_back(image_at(r, c));
    }
  }
  std::mt19937_64 gen(1010u);
  std::uniform_int_distribution<int> where(0, 16383);
  for (int i = 0; i < 200; i++) positions.push_back(where(gen));
  const double others[] = {-0.0, -2.718281828459045, 1.5e-310, kInf,
                           from_bits(kNaNBits[2])};
  int n = 0;
  for (int k : positions) {
    // Every position with 1.0, and with one of the other values in turn.
    for (double v : {1.0, others[n % 5]}) {
      std::vector<double> img = image();
      img[k] = v;
      std::ostringstream what;
      what << "impulse " << varnoth_test::hex_float(v) << " at (" << k % 128
           << ", " << k / 128 << ")";
      ExpectAllFormsAgree(img, what.str());
    }
    n++;
    if (HasFailure()) return;
  }
}

// fft reads x while it writes y; when the two overlap it must still give
// the reference result (which copies x before writing y).
TEST_F(FastSpectral, OverlappingInputAndOutputGiveTheReferenceResult) {
  std::mt19937_64 gen(1234u);
  const std::vector<double> img = random_image(Kind::kUnit, 0, gen);
  std::vector<creal_T> want(16384);
  fft_reference(poisoned(), img.data(), want.data());
  for (int offset : {0, 8192, 16384}) {
    // x occupies doubles offset .. offset + 16383 of y's 32768.
    std::vector<creal_T> y = unwritten_spectrum();
    double* x = &y[0].re + offset;
    std::memcpy(x, img.data(), sizeof(double) * 16384);
    fft(poisoned(), x, y.data());
    EXPECT_TRUE(ArraysBitsEqual(parts(want), parts(y), 32768))
        << "offset " << offset;
  }
  // An image that lies in the work record's row spectra, SD->f2.x, or
  // reaches into them from SD->u1 (offset -8192).
  std::vector<double> pw_want(16384), pw_got(16384);
  f_ImageFFTPower_reference(poisoned(), img.data(), pw_want.data());
  for (int offset : {-8192, 0, 8192, 16384}) {
    VarnothStackData* sd = poisoned();
    double* x = &sd->f2.x[0].re + offset;
    std::memcpy(x, img.data(), sizeof(double) * 16384);
    f_ImageFFTPower(sd, x, pw_got.data());
    EXPECT_TRUE(ArraysBitsEqual(pw_want.data(), pw_got.data(), 16384))
        << "f_ImageFFTPower, offset " << offset;
  }
}

// The constant table equals the reverse-carry walk of the reference: the
// position of element n is reached by the n-th step of the walk.
TEST(FastSpectralTable, BitReversalTableFollowsTheReverseCarry) {
  int ju = 0;
  int iy = 0;
  for (int n = 0; n < 127; n++) {
    EXPECT_EQ(iy, varnoth_fft::kBitReverse7.at[n]) << n;
    iy = 128;
    bool tst = true;
    while (tst) {
      iy >>= 1;
      ju ^= iy;
      tst = ((ju & iy) == 0);
    }
    iy = ju;
  }
  EXPECT_EQ(iy, varnoth_fft::kBitReverse7.at[127]);
  EXPECT_EQ(127, iy);
}
