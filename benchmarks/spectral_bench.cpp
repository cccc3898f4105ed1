// Timings of the 2-D transform and the power spectrum on one random image,
// with one work record allocated outside the timed loop (as each Java call
// allocates one record and reuses it for the whole computation).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "Varnoth_spectral.h"

namespace {

std::vector<real_T> random_image() {
  std::mt19937_64 gen(12345u);
  std::uniform_real_distribution<real_T> dist(0.0, 255.0);
  std::vector<real_T> img(16384);
  for (real_T& p : img) p = dist(gen);
  return img;
}

void BM_fft2(benchmark::State& state) {
  const std::vector<real_T> img = random_image();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  std::vector<creal_T> f(16384);
  for (auto _ : state) {
    fft2(sd.get(), img.data(), f.data());
    benchmark::DoNotOptimize(f.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_fft2);

void BM_f_ImageFFTPower(benchmark::State& state) {
  const std::vector<real_T> img = random_image();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  std::vector<real_T> ret(16384);
  for (auto _ : state) {
    f_ImageFFTPower(sd.get(), img.data(), ret.data());
    benchmark::DoNotOptimize(ret.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_f_ImageFFTPower);

}  // namespace
