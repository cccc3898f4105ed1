// Timings of the row transforms, the 2-D transform and the power spectrum on
// one random image, the library's fast forms beside the straightforward
// reference forms they reproduce bit for bit, with one work record
// allocated outside the timed loop (as each Java call allocates one record
// and reuses it for the whole computation).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "runtime/Varnoth_runtime.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/fft_reference.h"
#include "spectral/spectral_kernels.h"

namespace {

std::vector<real_T> random_image() {
  std::mt19937_64 gen(12345u);
  std::uniform_real_distribution<real_T> dist(0.0, 255.0);
  std::vector<real_T> img(16384);
  for (real_T& p : img) p = dist(gen);
  return img;
}

typedef void (*Spectrum)(VarnothStackData*, const real_T*, real_T*);

template <typename Transform>
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

// The row, column and power kernels of every lane width this CPU runs,
// and the passes of the processing chain.
void RegisterKernelBenchmarks() {
  const varnoth_fft::RunnableKernels tables =
      varnoth_fft::runnable_spectral_kernels();
  for (int t = 0; t < tables.count; t++) {
    const varnoth_fft::SpectralKernels* k = tables.table[t];
    const std::string name = k->name;
    benchmark::RegisterBenchmark(
        ("BM_rows/" + name).c_str(), [k](benchmark::State& state) {
          RunTransform(state, [k](VarnothStackData*, const real_T* x,
                                  creal_T* y) { k->rows(x, y); });
        });
    benchmark::RegisterBenchmark(
        ("BM_columns/" + name).c_str(), [k](benchmark::State& state) {
          std::vector<creal_T> g(16384, creal_T{1.0, -0.5});
          std::vector<creal_T> f(16384);
          for (auto _ : state) {
            k->columns(g.data(), f.data());
            benchmark::DoNotOptimize(f.data());
            benchmark::ClobberMemory();
          }
        });
    // The passes of the processing chain: the row spectra into tiles from
    // the image in the library's layout or held row by row, and the column
    // pass fused with the power from the tiles, in either layout.
    benchmark::RegisterBenchmark(
        ("BM_row_tiles/" + name).c_str(), [k](benchmark::State& state) {
          const std::vector<real_T> img = random_image();
          std::vector<real_T> tiles(32768);
          for (auto _ : state) {
            k->row_tiles(img.data(), tiles.data());
            benchmark::DoNotOptimize(tiles.data());
            benchmark::ClobberMemory();
          }
        });
    benchmark::RegisterBenchmark(
        ("BM_row_tiles_from_rows/" + name).c_str(),
        [k](benchmark::State& state) {
          const std::vector<real_T> img = random_image();
          std::vector<real_T> tiles(32768);
          for (auto _ : state) {
            k->row_tiles_from_rows(img.data(), tiles.data());
            benchmark::DoNotOptimize(tiles.data());
            benchmark::ClobberMemory();
          }
        });
    benchmark::RegisterBenchmark(
        ("BM_column_power/" + name).c_str(), [k](benchmark::State& state) {
          std::vector<real_T> tiles(32768, 0.75);
          std::vector<real_T> ret(16384);
          for (auto _ : state) {
            k->tile_column_power(tiles.data(), ret.data());
            benchmark::DoNotOptimize(ret.data());
            benchmark::ClobberMemory();
          }
        });
    benchmark::RegisterBenchmark(("BM_column_power_by_rows/" + name).c_str(),
                                 [k](benchmark::State& state) {
                                   std::vector<real_T> tiles(32768, 0.75);
                                   std::vector<real_T> pt(16384);
                                   for (auto _ : state) {
                                     k->tile_column_power_by_rows(tiles.data(),
                                                                  pt.data());
                                     benchmark::DoNotOptimize(pt.data());
                                     benchmark::ClobberMemory();
                                   }
                                 });
    benchmark::RegisterBenchmark(
        ("BM_power/" + name).c_str(), [k](benchmark::State& state) {
          std::vector<creal_T> f(16384, creal_T{1.0, -0.5});
          std::vector<real_T> ret(16384);
          for (auto _ : state) {
            k->power(f.data(), ret.data());
            benchmark::DoNotOptimize(ret.data());
            benchmark::ClobberMemory();
          }
        });
  }
}

const bool kRegistered = (RegisterKernelBenchmarks(), true);

void BM_f_ImageFFT(benchmark::State& state) {
  const std::vector<real_T> img = random_image();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  std::vector<real_T> re(16384), im(16384);
  for (auto _ : state) {
    f_ImageFFT(sd.get(), img.data(), re.data(), im.data());
    benchmark::DoNotOptimize(im.data());
    benchmark::ClobberMemory();
  }
}

void BM_f_ImageFFTPowerPhase(benchmark::State& state) {
  const std::vector<real_T> img = random_image();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  std::vector<real_T> pw(16384), ph(16384);
  for (auto _ : state) {
    f_ImageFFTPowerPhase(sd.get(), img.data(), pw.data(), ph.data());
    benchmark::DoNotOptimize(ph.data());
    benchmark::ClobberMemory();
  }
}

// The 16384 calls of the maths library's atan2 that the phase makes, on a
// spectrum of the random image.
void BM_angle(benchmark::State& state) {
  const std::vector<real_T> img = random_image();
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  std::vector<creal_T> f(16384);
  fft2(sd.get(), img.data(), f.data());
  std::vector<real_T> ph(16384);
  for (auto _ : state) {
    angle(f.data(), ph.data());
    benchmark::DoNotOptimize(ph.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_f_ImageFFT);
BENCHMARK(BM_f_ImageFFTPowerPhase);
BENCHMARK(BM_angle);
BENCHMARK(BM_fft);
BENCHMARK(BM_fft_reference);
BENCHMARK(BM_fft2);
BENCHMARK(BM_fft2_reference);
BENCHMARK(BM_f_ImageFFTPower);
BENCHMARK(BM_f_ImageFFTPower_reference);

}  // namespace
