// Radial average of one 128 x 128 power spectrum: f_RadialAverageSpectra and
// the straightforward f_RadialAverageSpectra_reference, whose results it
// matches bit for bit. The work record and the input are allocated once,
// outside the timed loop.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "radial/Varnoth_radial.h"
#include "runtime/Varnoth_runtime.h"

namespace {

using RadialFn = void (*)(VarnothStackData*, const real_T*, real_T*);

void run(benchmark::State& state, RadialFn fn) {
  Varnoth_initialize();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  // A smooth power-law spectrum with its peak at the centre.
  std::vector<real_T> spectrum(kImageSize);
  for (int c = 0; c < kImageSide; c++) {
    for (int r = 0; r < kImageSide; r++) {
      const real_T x = c - 64;
      const real_T y = r - 64;
      spectrum[image_at(r, c)] = 1.0 / (1.0 + x * x + y * y);
    }
  }
  real_T ret[kProfileSize];
  for (auto _ : state) {
    fn(sd.get(), spectrum.data(), ret);
    benchmark::DoNotOptimize(ret);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kImageSize);
}

void BM_RadialAverageSpectra(benchmark::State& state) {
  run(state, f_RadialAverageSpectra);
}
void BM_RadialAverageSpectra_reference(benchmark::State& state) {
  run(state, f_RadialAverageSpectra_reference);
}

}  // namespace

BENCHMARK(BM_RadialAverageSpectra);
BENCHMARK(BM_RadialAverageSpectra_reference);
