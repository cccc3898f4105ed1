// One square window's spectrum, ring profile and line, at sides 128, 256,
// 1024 and 4096, beside its peers in one run:
//   - BM_window_chain: the library's chain, window_power, window_profile and
//     profile_chart of the whole profile;
//   - BM_window_fftw (when FFTW is installed): FFTW's real-input 2-D
//     transform, planned once (FFTW_MEASURE), the centred power of the full
//     window from its half spectrum, then the library's own ring average and
//     line fit, so that only the transform and the power differ;
//   - BM_window_reference (256 and 1024): the chain on the library's
//     straightforward route, window_power_reference;
//   - the stages one by one: the row pass and the column pass with the power
//     of the kernels the library runs (and of every lane width this CPU
//     runs, at 1024 and 4096), the ring average, the chart, and FFTW's
//     transform and power apart.
// Inputs are grey levels 0..255 from a fixed seed (splitmix64). Every buffer of
// a side is allocated (and FFTW planned) once, when that side is first timed,
// and kept for the whole run, outside the timed loops. One thread.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Varnoth_types.h"
#include "radial/window_profile.h"
#include "regression/profile_chart.h"
#include "spectral/spectral_kernels.h"
#include "spectral/window_power.h"
#if defined(VARNOTH_BENCH_FFTW)
#include <fftw3.h>
#endif

namespace {

std::size_t area(int n) { return static_cast<std::size_t>(n) * n; }

// Grey levels 0..255, x(r, c) at xt[n r + c]: the top 8 bits of output
// n r + c of splitmix64 seeded with 2026, so that benchmarks/window_numpy.py
// builds the same window.
std::vector<real_T> grey_window(int n) {
  std::vector<real_T> xt(area(n));
  std::uint64_t state = 2026u;
  for (real_T& p : xt) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    z ^= z >> 31;
    p = static_cast<real_T>(z >> 56);
  }
  return xt;
}

// The outputs of one chain: the centred power in the library's layout, the
// n / 2 + 1 ring means, the line and the chart's points.
struct ChainOutputs {
  explicit ChainOutputs(int n)
      : power(area(n)), profile(n / 2 + 1), x(n / 2 + 1), y(n / 2 + 1) {}
  std::vector<real_T> power, profile, x, y;
  varnoth_regression::ProfileChart chart{};
};

// The ring average and the line, the same for every chain.
void profile_and_line(int n, ChainOutputs& o) {
  varnoth_window::window_profile(o.power.data(), n, o.profile.data());
  varnoth_regression::profile_chart(o.profile.data(), n / 2 + 1, &o.chart,
                                    o.x.data(), o.y.data());
}

#if defined(VARNOTH_BENCH_FFTW)
// FFTW's real-input transform of a window held row by row. FFTW's 2-D
// arrays are row-major, as the window: out[(n / 2 + 1) u + v] is F(u, v)
// for v = 0 .. n / 2, with u the frequency along the rows' index r; for
// v > n / 2, F(u, v) is the conjugate of F((n - u) mod n, n - v), of the
// same power. Not bit-exact with the library (FFTW adds in another order).
class FftwWindow {
 public:
  FftwWindow(int n, const std::vector<real_T>& xt) : n_(n) {
    in_ = fftw_alloc_real(area(n));
    out_ = fftw_alloc_complex(static_cast<std::size_t>(n) * (n / 2 + 1));
    // Planning with FFTW_MEASURE overwrites in_: the window goes in after.
    plan_ = fftw_plan_dft_r2c_2d(n, n, in_, out_, FFTW_MEASURE);
    for (std::size_t i = 0; i < area(n); i++) in_[i] = xt[i];
  }
  ~FftwWindow() {
    fftw_destroy_plan(plan_);
    fftw_free(out_);
    fftw_free(in_);
  }
  FftwWindow(const FftwWindow&) = delete;
  FftwWindow& operator=(const FftwWindow&) = delete;

  void transform() { fftw_execute(plan_); }

  // power[R + n C] = (|F(u, v)| / n^2)^2, R = (u + n / 2) mod n and
  // C = (v + n / 2) mod n, each half-spectrum value written to both of its
  // places. kBlock rows of the half spectrum at a time, so that each column
  // of power receives kBlock adjacent values (a cache line) per visit.
  void centred_power(real_T* power) const {
    constexpr int kBlock = 8;
    const int n = n_, h = n / 2, mask = n - 1;
    const std::size_t half = static_cast<std::size_t>(h) + 1;
    const real_T scale = 1.0 / (static_cast<real_T>(area(n)) * area(n));
    for (int u0 = 0; u0 < n; u0 += kBlock) {
      for (int v = 0; v <= h; v++) {
        real_T* column = power + static_cast<std::size_t>(n) * ((v + h) & mask);
        real_T* mirror = power + static_cast<std::size_t>(n) * ((h - v) & mask);
        const bool mirrored = v > 0 && v < h;
        for (int i = 0; i < kBlock; i++) {
          const int u = u0 + i;
          const fftw_complex& f = out_[half * u + v];
          const real_T p = (f[0] * f[0] + f[1] * f[1]) * scale;
          column[(u + h) & mask] = p;
          if (mirrored) mirror[(h - u) & mask] = p;
        }
      }
    }
  }

 private:
  int n_;
  double* in_;
  fftw_complex* out_;
  fftw_plan plan_;
};
#endif

// Everything of one side, kept for the run.
struct Side {
  explicit Side(int n)
      : n(n), xt(grey_window(n)), spectra(area(n)), ours(n), theirs(n) {
#if defined(VARNOTH_BENCH_FFTW)
    fftw.reset(new FftwWindow(n, xt));
#endif
  }
  int n;
  std::vector<real_T> xt;
  std::vector<creal_T> spectra;
  ChainOutputs ours, theirs;
#if defined(VARNOTH_BENCH_FFTW)
  std::unique_ptr<FftwWindow> fftw;
#endif
};

Side& side(int n) {
  static std::map<int, std::unique_ptr<Side>> sides;
  std::unique_ptr<Side>& s = sides[n];
  if (!s) s.reset(new Side(n));
  return *s;
}

void chain(Side& s) {
  varnoth_window::window_power(s.xt.data(), s.n, s.spectra.data(),
                               s.ours.power.data());
  profile_and_line(s.n, s.ours);
}

template <typename Run>
void Time(benchmark::State& state, int n, Run run, const real_T* result) {
  for (auto _ : state) {
    run();
    benchmark::DoNotOptimize(result);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(area(n)));
}

void BM_window_chain(benchmark::State& state) {
  Side& s = side(static_cast<int>(state.range(0)));
  Time(
      state, s.n, [&] { chain(s); }, s.ours.profile.data());
  state.counters["slope"] = s.ours.chart.line[0];
}

void BM_window_reference(benchmark::State& state) {
  Side& s = side(static_cast<int>(state.range(0)));
  Time(
      state, s.n,
      [&] {
        varnoth_window::window_power_reference(s.xt.data(), s.n,
                                               s.theirs.power.data());
        profile_and_line(s.n, s.theirs);
      },
      s.theirs.profile.data());
  state.counters["slope"] = s.theirs.chart.line[0];
}

// The passes of window_power at sides other than 128 (128 runs the
// natives' own passes), through one kernel table.
void RunRows(benchmark::State& state, const varnoth_fft::SpectralKernels* k) {
  Side& s = side(static_cast<int>(state.range(0)));
  Time(
      state, s.n, [&] { k->window_rows(s.xt.data(), s.n, s.spectra.data()); },
      &s.spectra[0].re);
  state.SetLabel(k->name);
}

void RunColumnPower(benchmark::State& state,
                    const varnoth_fft::SpectralKernels* k) {
  Side& s = side(static_cast<int>(state.range(0)));
  k->window_rows(s.xt.data(), s.n, s.spectra.data());
  Time(
      state, s.n,
      [&] {
        k->window_column_power(s.spectra.data(), s.n, s.ours.power.data());
      },
      s.ours.power.data());
  state.SetLabel(k->name);
}

// BM_window_rows/n and BM_window_column_power/n run the table the library
// runs; BM_window_rows_<lanes>/n and BM_window_column_power_<lanes>/n every
// table this CPU runs, at the sides whose scratch outgrows the first-level
// cache (n vectors of lanes complex values).
void RegisterPassBenchmarks() {
  const varnoth_fft::SpectralKernels* library =
      &varnoth_fft::spectral_kernels();
  benchmark::RegisterBenchmark("BM_window_rows", RunRows, library)
      ->Arg(256)
      ->Arg(1024)
      ->Arg(4096)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("BM_window_column_power", RunColumnPower,
                               library)
      ->Arg(256)
      ->Arg(1024)
      ->Arg(4096)
      ->Unit(benchmark::kMicrosecond);
  const varnoth_fft::RunnableKernels tables =
      varnoth_fft::runnable_spectral_kernels();
  for (int t = 0; t < tables.count; t++) {
    const varnoth_fft::SpectralKernels* k = tables.table[t];
    const std::string name = k->name;
    benchmark::RegisterBenchmark(("BM_window_rows_" + name).c_str(), RunRows, k)
        ->Arg(1024)
        ->Arg(4096)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BM_window_column_power_" + name).c_str(),
                                 RunColumnPower, k)
        ->Arg(1024)
        ->Arg(4096)
        ->Unit(benchmark::kMicrosecond);
  }
}

const bool kRegistered = (RegisterPassBenchmarks(), true);

void BM_window_profile(benchmark::State& state) {
  Side& s = side(static_cast<int>(state.range(0)));
  chain(s);
  Time(
      state, s.n,
      [&] {
        varnoth_window::window_profile(s.ours.power.data(), s.n,
                                       s.ours.profile.data());
      },
      s.ours.profile.data());
}

void BM_profile_chart(benchmark::State& state) {
  Side& s = side(static_cast<int>(state.range(0)));
  chain(s);
  Time(
      state, s.n,
      [&] {
        varnoth_regression::profile_chart(s.ours.profile.data(), s.n / 2 + 1,
                                          &s.ours.chart, s.ours.x.data(),
                                          s.ours.y.data());
      },
      s.ours.x.data());
}

#if defined(VARNOTH_BENCH_FFTW)
void BM_window_fftw(benchmark::State& state) {
  Side& s = side(static_cast<int>(state.range(0)));
  // The peer must compute the same analysis: its line agrees with the
  // library's to rounding.
  chain(s);
  s.fftw->transform();
  s.fftw->centred_power(s.theirs.power.data());
  profile_and_line(s.n, s.theirs);
  for (int i = 0; i < 2; i++) {
    const real_T mine = s.ours.chart.line[i], peer = s.theirs.chart.line[i];
    if (!(std::fabs(mine - peer) <= 1e-9 * std::fabs(mine))) {
      state.SkipWithError("the FFTW chain's line differs from the library's");
      return;
    }
  }
  Time(
      state, s.n,
      [&] {
        s.fftw->transform();
        s.fftw->centred_power(s.theirs.power.data());
        profile_and_line(s.n, s.theirs);
      },
      s.theirs.profile.data());
  state.counters["slope"] = s.theirs.chart.line[0];
}

void BM_fftw_transform(benchmark::State& state) {
  Side& s = side(static_cast<int>(state.range(0)));
  Time(
      state, s.n, [&] { s.fftw->transform(); }, s.theirs.power.data());
}

void BM_fftw_power(benchmark::State& state) {
  Side& s = side(static_cast<int>(state.range(0)));
  s.fftw->transform();
  Time(
      state, s.n, [&] { s.fftw->centred_power(s.theirs.power.data()); },
      s.theirs.power.data());
}

BENCHMARK(BM_window_fftw)
    ->Arg(128)
    ->Arg(256)
    ->Arg(1024)
    ->Arg(4096)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_fftw_transform)
    ->Arg(256)
    ->Arg(1024)
    ->Arg(4096)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_fftw_power)
    ->Arg(256)
    ->Arg(1024)
    ->Arg(4096)
    ->Unit(benchmark::kMicrosecond);
#endif

BENCHMARK(BM_window_chain)
    ->Arg(128)
    ->Arg(256)
    ->Arg(1024)
    ->Arg(4096)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_window_reference)
    ->Arg(256)
    ->Arg(1024)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_window_profile)
    ->Arg(256)
    ->Arg(1024)
    ->Arg(4096)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_profile_chart)
    ->Arg(256)
    ->Arg(1024)
    ->Arg(4096)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
