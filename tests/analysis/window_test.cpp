// Windows of any power-of-two side: the centred power spectrum, the ring
// profile and the chart (window_power.h, window_profile.h, profile_chart.h).
//  - At side 128 every value is the natives' own, bit for bit: the power of
//    f_ImageFFTPower (through the tuned passes, the general passes of every
//    lane width and the reference route), the profile of
//    f_RadialAverageSpectra (the rings followed down the columns too, the
//    form of every other side), the chart of f_PlotSpectra_GetChartInfo.
//  - The passes of every lane width equal the reference route bit for bit,
//    non-finite values and subnormals included, at two other sides.
//  - At several sides the values are the mathematics: a long double DFT,
//    Parseval's theorem, a cosine's ring, the rings as defined.
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "bit_equal.h"
#include "cross_build_images.h"
#include "radial/Varnoth_radial.h"
#include "radial/window_profile.h"
#include "regression/Varnoth_regression.h"
#include "regression/profile_chart.h"
#include "runtime/Varnoth_runtime.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/spectral_kernels.h"
#include "spectral/window_power.h"
#include "test_values.h"

using varnoth_test::ArraysBitsEqual;
using varnoth_test::bits_of;
using varnoth_test::kInf;

namespace {

using Values = std::vector<double>;
using varnoth_window::window_power;
using varnoth_window::window_power_reference;
using varnoth_window::window_profile;
using varnoth_window::window_profile_by_columns;

// Row by row (xt[n r + c]) from the library's layout (x[r + n c]).
Values by_rows(const Values& x, int n) {
  Values xt(x.size());
  for (int r = 0; r < n; r++) {
    for (int c = 0; c < n; c++) xt[n * r + c] = x[r + n * c];
  }
  return xt;
}

// In place, as the JNI method computes it: the power where the window was.
Values power_of(const Values& xt, int n) {
  std::vector<creal_T> spectra(static_cast<std::size_t>(n) * n);
  Values power = xt;
  window_power(power.data(), n, spectra.data(), power.data());
  return power;
}

// The centred power through the general passes of one kernel table.
Values general_power_of(const varnoth_fft::SpectralKernels& k, const Values& xt,
                        int n) {
  std::vector<creal_T> spectra(static_cast<std::size_t>(n) * n);
  Values power(static_cast<std::size_t>(n) * n);
  k.window_rows(xt.data(), n, spectra.data());
  k.window_column_power(spectra.data(), n, power.data());
  return power;
}

Values reference_power_of(const Values& xt, int n) {
  Values power(static_cast<std::size_t>(n) * n);
  window_power_reference(xt.data(), n, power.data());
  return power;
}

Values profile_of(const Values& power, int n) {
  Values profile(n / 2 + 1);
  window_profile(power.data(), n, profile.data());
  return profile;
}

// Every value bit for bit, or, where the image brings NaN and infinities
// together (which NaN survives an operation on two NaN is the compiler's
// choice of operand order, see spectral_fast_test.cpp), NaN at exactly
// the same places.
::testing::AssertionResult Agree(const Values& want, const Values& got,
                                 bool nanAsOne) {
  for (std::size_t i = 0; i < want.size(); i++) {
    const bool same = bits_of(want[i]) == bits_of(got[i]) ||
                      (nanAsOne && std::isnan(want[i]) && std::isnan(got[i]));
    if (!same) {
      return ::testing::AssertionFailure()
             << "element " << i << ": want " << varnoth_test::hex_float(want[i])
             << ", got " << varnoth_test::hex_float(got[i]);
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(WindowAt128, EveryValueIsTheNativesOnTheImageFamilies) {
  Varnoth_initialize();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  const varnoth_fft::RunnableKernels tables =
      varnoth_fft::runnable_spectral_kernels();
  for (int kind = 0; kind < 4; kind++) {
    for (std::uint64_t seed : {1u, 2u, 3u}) {
      const Values img = varnoth_test::cross_build_image(kind, seed);
      const Values xt = by_rows(img, 128);
      Values natives(16384);
      f_ImageFFTPower(sd.get(), img.data(), natives.data());
      const bool nanAsOne = kind == 2;
      EXPECT_TRUE(Agree(natives, power_of(xt, 128), nanAsOne)) << kind;
      EXPECT_TRUE(Agree(natives, reference_power_of(xt, 128), nanAsOne))
          << kind;
      for (int t = 0; t < tables.count; t++) {
        EXPECT_TRUE(Agree(natives, general_power_of(*tables.table[t], xt, 128),
                          nanAsOne))
            << tables.table[t]->name << ", kind " << kind;
      }

      Values profile(65);
      f_RadialAverageSpectra(sd.get(), natives.data(), profile.data());
      EXPECT_TRUE(
          ArraysBitsEqual(profile.data(), profile_of(natives, 128).data(), 65));
      Values byColumns(65);
      window_profile_by_columns(natives.data(), 128, byColumns.data());
      EXPECT_TRUE(ArraysBitsEqual(profile.data(), byColumns.data(), 65));

      double range[4], scale[2], line[2], count = 0.0, points[130];
      f_PlotSpectra_GetChartInfo(profile.data(), range, scale, line, &count,
                                 points);
      varnoth_regression::ProfileChart chart;
      Values x(65), y(65);
      varnoth_regression::profile_chart(profile.data(), 65, &chart, x.data(),
                                        y.data());
      EXPECT_TRUE(ArraysBitsEqual(range, chart.range, 4));
      EXPECT_TRUE(ArraysBitsEqual(scale, chart.scale, 2));
      EXPECT_TRUE(ArraysBitsEqual(line, chart.line, 2));
      EXPECT_EQ(count, chart.points);
      for (int k = 0; k < 65; k++) {
        EXPECT_EQ(bits_of(points[2 * k]), bits_of(x[k])) << k;
        EXPECT_EQ(bits_of(points[2 * k + 1]), bits_of(y[k])) << k;
      }
    }
  }
}

// Random windows over wide magnitude ranges (subnormal to 2^600), with and
// without signed zeros, infinities and NaN.
Values wide_window(int n, std::uint64_t seed, bool specials) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-1074, 600);
  Values xt(static_cast<std::size_t>(n) * n);
  for (double& v : xt) v = std::ldexp(mantissa(gen), exponent(gen) / 8);
  if (specials) {
    std::uniform_int_distribution<std::size_t> at(0, xt.size() - 1);
    xt[at(gen)] = -0.0;
    xt[at(gen)] = 0x1p-1074;
    xt[at(gen)] = kInf;
    xt[at(gen)] = -kInf;
    xt[at(gen)] = std::numeric_limits<double>::quiet_NaN();
  }
  return xt;
}

TEST(WindowLanes, EveryLaneWidthEqualsTheReferenceRoute) {
  const varnoth_fft::RunnableKernels tables =
      varnoth_fft::runnable_spectral_kernels();
  for (int n : {32, 256}) {
    for (std::uint64_t seed = 1; seed <= 4; seed++) {
      const bool specials = seed > 2;
      const Values xt = wide_window(n, seed, specials);
      const Values want = reference_power_of(xt, n);
      EXPECT_TRUE(Agree(want, power_of(xt, n), specials)) << n;
      for (int t = 0; t < tables.count; t++) {
        EXPECT_TRUE(
            Agree(want, general_power_of(*tables.table[t], xt, n), specials))
            << tables.table[t]->name << ", side " << n << ", seed " << seed;
      }
    }
  }
}

// Grey levels 0 .. 255 from a fixed seed.
Values grey_window(int n, std::uint64_t seed) {
  std::mt19937_64 gen(seed);
  Values xt(static_cast<std::size_t>(n) * n);
  for (double& v : xt) v = static_cast<double>(gen() >> 56);
  return xt;
}

// The power of the long double DFT, rows then columns, centred.
Values textbook_power(const Values& xt, int n) {
  typedef std::complex<long double> cld;
  const long double pi = 3.141592653589793238462643383279502884L;
  std::vector<cld> w(n);
  for (int k = 0; k < n; k++) {
    w[k] = cld(cosl(2.0L * pi * k / n), -sinl(2.0L * pi * k / n));
  }
  std::vector<cld> rows(static_cast<std::size_t>(n) * n);
  for (int m = 0; m < n; m++) {
    for (int v = 0; v < n; v++) {
      cld s = 0.0L;
      for (int k = 0; k < n; k++)
        s += static_cast<long double>(xt[n * m + k]) * w[(v * k) % n];
      rows[n * m + v] = s;
    }
  }
  Values power(static_cast<std::size_t>(n) * n);
  for (int v = 0; v < n; v++) {
    for (int u = 0; u < n; u++) {
      cld s = 0.0L;
      for (int m = 0; m < n; m++) s += w[(u * m) % n] * rows[n * m + v];
      const long double d = std::abs(s) / (static_cast<long double>(n) * n);
      power[(u + n / 2) % n + n * ((v + n / 2) % n)] =
          static_cast<double>(d * d);
    }
  }
  return power;
}

TEST(WindowProperties, TheSpectrumAndProfileAreTheMathematics) {
  for (int n : {32, 256, 1024}) {
    SCOPED_TRACE(n);
    const Values xt = grey_window(n, 7);
    const Values power = power_of(xt, n);

    // Parseval: sum |F|^2 = n^2 sum x^2, so sum power = sum x^2 / n^2.
    long double energy = 0.0L, total = 0.0L;
    for (double v : xt) energy += static_cast<long double>(v) * v;
    for (double p : power) total += p;
    const long double expected = energy / (static_cast<long double>(n) * n);
    EXPECT_NEAR(static_cast<double>(total / expected), 1.0, 1e-12);

    // Against the long double DFT, to rounding: every |F| within 1e-13 of
    // the largest.
    if (n <= 256) {
      const Values want = textbook_power(xt, n);
      const double peak = std::sqrt(want[n / 2 + n * (n / 2)]);
      for (std::size_t i = 0; i < power.size(); i++) {
        ASSERT_NEAR(std::sqrt(power[i]), std::sqrt(want[i]), 1e-13 * peak) << i;
      }
    }

    // The rings as defined: the distance rounded half up by the library's
    // own std::round of the floating distance, means added column by column.
    const Values profile = profile_of(power, n);
    Values sum(n / 2 + 1, 0.0), count(n / 2 + 1, 0.0);
    for (int c = 0; c < n; c++) {
      for (int r = 0; r < n; r++) {
        const int k = static_cast<int>(
            std::round(std::hypot(static_cast<double>(c - n / 2), r - n / 2)));
        if (k <= n / 2) {
          sum[k] += power[r + static_cast<std::size_t>(n) * c];
          count[k] += 1.0;
        }
      }
    }
    for (int k = 0; k <= n / 2; k++) {
      EXPECT_EQ(bits_of(sum[k] / count[k]), bits_of(profile[k])) << k;
    }

    // A cosine of (3, 4) q cycles per window peaks at ring 5 q.
    const int q = n / 32;
    Values wave(xt.size());
    for (int r = 0; r < n; r++) {
      for (int c = 0; c < n; c++) {
        wave[n * r + c] =
            std::cos(2.0 * varnoth_test::kPi * (3.0 * q * c + 4.0 * q * r) / n);
      }
    }
    const Values waveProfile = profile_of(power_of(wave, n), n);
    int peak = 1;
    for (int k = 1; k <= n / 2; k++) {
      if (waveProfile[k] > waveProfile[peak]) peak = k;
    }
    EXPECT_EQ(peak, 5 * q);
  }
}

}  // namespace
