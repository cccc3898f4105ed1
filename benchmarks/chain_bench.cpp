// The whole processing chain beside its peers, in one run: the library's
// f_PSD_Processing, the same outputs on FFTW's real-input transform (when
// FFTW is installed) and the literal chain of reference forms. Work
// records, inputs and outputs are allocated once, outside the timed loops.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "analysis/Varnoth_analysis.h"
#include "literal_chain.h"
#include "runtime/Varnoth_runtime.h"
#if defined(VARNOTH_BENCH_FFTW)
#include "fftw_chain.h"
#endif

namespace {

std::vector<real_T> random_image() {
  std::mt19937_64 gen(2026u);
  std::uniform_real_distribution<real_T> dist(0.0, 255.0);
  std::vector<real_T> img(kImageSize);
  for (real_T& p : img) p = dist(gen);
  return img;
}

struct ChainOutputs {
  std::vector<real_T> imgFT = std::vector<real_T>(kImageSize);
  std::vector<real_T> imgWD = std::vector<real_T>(kImageSize);
  real_T imgPS[kProfileSize];
  real_T slope = 0.0;
};

template <typename Chain>
void RunChain(benchmark::State& state, Chain chain) {
  const std::vector<real_T> img = random_image();
  ChainOutputs out;
  for (auto _ : state) {
    chain(img.data(), out);
    benchmark::DoNotOptimize(out.imgPS);
    benchmark::ClobberMemory();
  }
  state.counters["slope"] = out.slope;
}

void BM_chain_library(benchmark::State& state) {
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  RunChain(state, [&](const real_T* img, ChainOutputs& o) {
    f_PSD_Processing(sd.get(), img, &o.slope, o.imgPS, o.imgFT.data(),
                     o.imgWD.data());
  });
}

// The chain as the Java calls run it, on the image and the power held row
// by row (the same bits); the copy of the image is the caller's.
void BM_chain_by_rows(benchmark::State& state) {
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  RunChain(state, [&](const real_T* img, ChainOutputs& o) {
    real_T regress[2];
    profile_line_fit_by_rows(sd.get(), img, o.imgFT.data(), o.imgPS, regress);
    o.slope = regress[0];
  });
}

void BM_chain_literal(benchmark::State& state) {
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  RunChain(state, [&](const real_T* img, ChainOutputs& o) {
    literal_chain(sd.get(), img, &o.slope, o.imgPS, o.imgFT.data(),
                  o.imgWD.data());
  });
}

#if defined(VARNOTH_BENCH_FFTW)
void BM_chain_fftw(benchmark::State& state) {
  FftwChain fftw;
  // The peer must compute the same analysis: its slope agrees with the
  // library's to rounding.
  const std::vector<real_T> img = random_image();
  ChainOutputs mine, theirs;
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  f_PSD_Processing(sd.get(), img.data(), &mine.slope, mine.imgPS,
                   mine.imgFT.data(), mine.imgWD.data());
  fftw.run(img.data(), &theirs.slope, theirs.imgPS, theirs.imgFT.data(),
           theirs.imgWD.data());
  if (std::fabs(mine.slope - theirs.slope) > 1e-9 * std::fabs(mine.slope)) {
    state.SkipWithError("the FFTW chain's slope differs from the library's");
    return;
  }
  RunChain(state, [&](const real_T* in, ChainOutputs& o) {
    fftw.run(in, &o.slope, o.imgPS, o.imgFT.data(), o.imgWD.data());
  });
}
BENCHMARK(BM_chain_fftw)->Unit(benchmark::kMicrosecond);
#endif

BENCHMARK(BM_chain_library)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_chain_by_rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_chain_literal)->Unit(benchmark::kMicrosecond);

}  // namespace
