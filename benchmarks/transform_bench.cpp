// Timings of the row transforms, the 2-D transform and the power spectrum on
// one random image, the library's fast forms beside the straightforward
// reference forms they reproduce bit for bit, with one work record
// allocated outside the timed loop (as each Java call allocates one record
// and reuses it for the whole computation).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "spectral/Varnoth_spectral.h"
#include "spectral/fft_reference.h"

namespace {

std::vector<real_T> random_image() {
  std::mt19937_64 gen(12345u);
  std::uniform_real_distribution<real_T> dist(0.0, 255.0);
  std::vector<real_T> img(16384);
  for (real_T& p : img) p = dist(gen);
  return img;
}

typedef void (*Transform)(VarnothStackData*, const real_T*, creal_T*);
typedef void (*Spectrum)(VarnothStackData*, const real_T*, real_T*);

void RunTransform(benchmark::State& state, Transform t) {
  const std::vector<real_T> img = random_image();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  std::vector<creal_T> f(16384);
  for (auto _ : state) {
    t(sd.get(), img.data(), f.data());
    benchmark::DoNotOptimize(f.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}

void RunSpectrum(benchmark::State& state, Spectrum s) {
  const std::vector<real_T> img = random_image();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  std::vector<real_T> ret(16384);
  for (auto _ : state) {
    s(sd.get(), img.data(), ret.data());
    benchmark::DoNotOptimize(ret.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_fft(benchmark::State& state) { RunTransform(state, fft); }
void BM_fft_reference(benchmark::State& state) {
  RunTransform(state, fft_reference);
}
void BM_fft2(benchmark::State& state) { RunTransform(state, fft2); }
void BM_fft2_reference(benchmark::State& state) {
  RunTransform(state, fft2_reference);
}
void BM_f_ImageFFTPower(benchmark::State& state) {
  RunSpectrum(state, f_ImageFFTPower);
}
void BM_f_ImageFFTPower_reference(benchmark::State& state) {
  RunSpectrum(state, f_ImageFFTPower_reference);
}

BENCHMARK(BM_fft);
BENCHMARK(BM_fft_reference);
BENCHMARK(BM_fft2);
BENCHMARK(BM_fft2_reference);
BENCHMARK(BM_f_ImageFFTPower);
BENCHMARK(BM_f_ImageFFTPower_reference);

}  // namespace
