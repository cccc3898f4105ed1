// The line fit on 65 points, the whole processing chain and the slope of
// one 128 x 128 image. Work records, inputs and outputs are allocated once,
// outside the timed loops.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "analysis/Varnoth_analysis.h"
#include "radial/Varnoth_radial.h"
#include "regression/Varnoth_regression.h"
#include "runtime/Varnoth_runtime.h"

namespace {

// A smooth image with detail at several scales.
std::vector<real_T> test_image() {
  std::vector<real_T> img(kImageSize);
  for (int c = 0; c < kImageSide; c++) {
    for (int r = 0; r < kImageSide; r++) {
      img[image_at(r, c)] = 128.0 + 60.0 * std::sin(0.05 * r * c) +
                            20.0 * std::cos(0.9 * r - 0.3 * c);
    }
  }
  return img;
}

}  // namespace

static void BM_Polyfit65(benchmark::State& state) {
  real_T x[65], y[65], p[2];
  for (int k = 0; k < 65; k++) {
    x[k] = std::log(k * 1.546875 + 1.0);
    y[k] = -2.0 * x[k] + 0.1 * std::sin(3.0 * k);
  }
  const int size[2] = {1, 65};
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    polyfit(x, size, y, size, p);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_Polyfit65);

static void BM_PSD_Processing(benchmark::State& state) {
  Varnoth_initialize();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  const std::vector<real_T> img = test_image();
  std::vector<real_T> imgFT(kImageSize), imgWD(kImageSize);
  real_T imgPS[kProfileSize], slope;
  for (auto _ : state) {
    f_PSD_Processing(sd.get(), img.data(), &slope, imgPS, imgFT.data(),
                     imgWD.data());
    benchmark::DoNotOptimize(slope);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PSD_Processing)->Unit(benchmark::kMicrosecond);

static void BM_PSD_Slope(benchmark::State& state) {
  Varnoth_initialize();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  const std::vector<real_T> img = test_image();
  for (auto _ : state) {
    real_T slope = f_PSD_Slope(sd.get(), img.data());
    benchmark::DoNotOptimize(&slope);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PSD_Slope)->Unit(benchmark::kMicrosecond);

static void BM_PSD_LinearRegression(benchmark::State& state) {
  Varnoth_initialize();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  const std::vector<real_T> img = test_image();
  real_T regress[2];
  for (auto _ : state) {
    f_PSD_LinearRegression(sd.get(), img.data(), regress);
    benchmark::DoNotOptimize(regress);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PSD_LinearRegression)->Unit(benchmark::kMicrosecond);

static void BM_PlotSpectra_GetChartInfo(benchmark::State& state) {
  Varnoth_initialize();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  const std::vector<real_T> img = test_image();
  std::vector<real_T> imgFT(kImageSize), imgWD(kImageSize);
  real_T imgPS[kProfileSize], slope;
  f_PSD_Processing(sd.get(), img.data(), &slope, imgPS, imgFT.data(),
                   imgWD.data());
  real_T range[4], scale[2], regress[2], n, points[130];
  for (auto _ : state) {
    f_PlotSpectra_GetChartInfo(imgPS, range, scale, regress, &n, points);
    benchmark::DoNotOptimize(points);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlotSpectra_GetChartInfo);
