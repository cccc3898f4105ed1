// Writes every output of every computing function for the images of
// cross_build_images.h to one file, for cross_build_compare to set the
// builds side by side.
//   cross_build_outputs FILE
//
// The file is a sequence of sections, each
//   u32 name length, the name, u8 exact, u32 count, count doubles
// (little-endian, as on every target). `exact` marks outputs made by
// correctly rounded operations alone (+, -, *, /, sqrt, in a fixed order),
// which must agree to the bit on every build; the others pass through the
// maths library's log or atan2.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis/Varnoth_analysis.h"
#include "cross_build_images.h"
#include "radial/Varnoth_radial.h"
#include "radial/window_profile.h"
#include "regression/Varnoth_regression.h"
#include "regression/profile_chart.h"
#include "runtime/Varnoth_runtime.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/window_power.h"

namespace {

struct Section {
  std::string name;
  bool exact;
  std::vector<double> values;
};

class Outputs {
 public:
  void add(const std::string& name, bool exact, const double* v, int n) {
    for (Section& s : sections_) {
      if (s.name == name) {
        s.values.insert(s.values.end(), v, v + n);
        return;
      }
    }
    sections_.push_back(Section{name, exact, std::vector<double>(v, v + n)});
  }

  bool write(const char* path) const {
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    bool ok = true;
    for (const Section& s : sections_) {
      const auto nameLength = static_cast<std::uint32_t>(s.name.size());
      const auto count = static_cast<std::uint32_t>(s.values.size());
      const unsigned char exact = s.exact ? 1 : 0;
      ok = ok && std::fwrite(&nameLength, 4, 1, f) == 1 &&
           std::fwrite(s.name.data(), 1, nameLength, f) == nameLength &&
           std::fwrite(&exact, 1, 1, f) == 1 &&
           std::fwrite(&count, 4, 1, f) == 1 &&
           std::fwrite(s.values.data(), 8, count, f) == count;
    }
    return std::fclose(f) == 0 && ok;
  }

 private:
  std::vector<Section> sections_;
};

void add_outputs_of(const std::vector<double>& img, VarnothStackData* SD,
                    Outputs& out) {
  const double* x = img.data();
  std::vector<double> a(16384), b(16384), c(16384), profile(65);

  f_ImageFFT(SD, x, a.data(), b.data());
  out.add("f_ImageFFT real part", true, a.data(), 16384);
  out.add("f_ImageFFT imaginary part", true, b.data(), 16384);

  f_ImageFFTPower(SD, x, a.data());
  out.add("f_ImageFFTPower", true, a.data(), 16384);
  f_RadialAverageSpectra(SD, a.data(), profile.data());
  out.add("f_RadialAverageSpectra", true, profile.data(), 65);

  f_ImageFFTPowerPhase(SD, x, a.data(), b.data());
  out.add("f_ImageFFTPowerPhase power", true, a.data(), 16384);
  out.add("f_ImageFFTPowerPhase phase (atan2)", false, b.data(), 16384);

  double slope = 0.0;
  f_PSD_Processing(SD, x, &slope, profile.data(), a.data(), c.data());
  out.add("f_PSD_Processing image copy", true, c.data(), 16384);
  out.add("f_PSD_Processing power", true, a.data(), 16384);
  out.add("f_PSD_Processing profile", true, profile.data(), 65);
  out.add("f_PSD_Processing slope (log)", false, &slope, 1);

  slope = f_PSD_Slope(SD, x);
  out.add("f_PSD_Slope (log)", false, &slope, 1);
  double regress[2];
  f_PSD_LinearRegression(SD, x, regress);
  out.add("f_PSD_LinearRegression slope, intercept (log)", false, regress, 2);

  double range[4], scale[2], line[2], n = 0.0, points[130];
  f_PlotSpectra_GetChartInfo(profile.data(), range, scale, line, &n, points);
  out.add("f_PlotSpectra_GetChartInfo range, scale, N", true, range, 4);
  out.add("f_PlotSpectra_GetChartInfo range, scale, N", true, scale, 2);
  out.add("f_PlotSpectra_GetChartInfo range, scale, N", true, &n, 1);
  out.add("f_PlotSpectra_GetChartInfo line (log)", false, line, 2);
  out.add("f_PlotSpectra_GetChartInfo points (log)", false, points, 130);
}

// A window of side n, row by row: grey levels in steps of 1/256 from raw
// mt19937_64 output, exact on every build; with centred, the levels less
// their midpoint, so that the profile's ring 0 is small.
std::vector<double> window_of(int n, std::uint64_t seed, bool centred) {
  std::mt19937_64 gen(seed);
  std::vector<double> xt(static_cast<std::size_t>(n) * n);
  for (double& v : xt) {
    v = static_cast<double>(gen() >> 48) / 256.0 - (centred ? 128.0 : 0.0);
  }
  return xt;
}

// The spectrum, profile and chart of windows of several sides.
void add_window_outputs(int n, std::uint64_t seed, bool centred, Outputs& out) {
  const std::vector<double> xt = window_of(n, seed, centred);
  const std::size_t values = static_cast<std::size_t>(n) * n;
  std::vector<creal_T> spectra(values);
  std::vector<double> power(values), profile(n / 2 + 1), x(n / 2 + 1),
      y(n / 2 + 1);
  const std::string side = " (side " + std::to_string(n) + ")";
  varnoth_window::window_power(xt.data(), n, spectra.data(), power.data());
  out.add("window_power" + side, true, power.data(), static_cast<int>(values));
  varnoth_window::window_profile(power.data(), n, profile.data());
  out.add("window_profile" + side, true, profile.data(), n / 2 + 1);
  varnoth_regression::ProfileChart chart;
  varnoth_regression::profile_chart(profile.data(), n / 2 + 1, &chart, x.data(),
                                    y.data());
  out.add("profile_chart line" + side + " (log)", false, chart.line, 2);
  out.add("profile_chart points" + side + " (log)", false, x.data(), n / 2 + 1);
  out.add("profile_chart points" + side + " (log)", false, y.data(), n / 2 + 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  Varnoth_initialize();
  auto SD = std::make_unique<VarnothStackData>();
  Outputs out;
  const struct {
    int kind;
    std::uint64_t seed;
  } images[] = {{0, 1}, {0, 2}, {1, 3}, {1, 4}, {2, 5}, {3, 6}, {3, 7}, {3, 8}};
  for (const auto& image : images) {
    add_outputs_of(varnoth_test::cross_build_image(image.kind, image.seed),
                   SD.get(), out);
  }
  for (int n : {32, 256, 1024}) {
    add_window_outputs(n, 100 + n, false, out);
    add_window_outputs(n, 200 + n, true, out);
  }
  if (!out.write(argv[1])) {
    std::fprintf(stderr, "cross_build_outputs: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("cross_build_outputs: wrote %s\n", argv[1]);
  return 0;
}
