// The library's own calls must reach its own routines, even in a process
// where another library already defines functions of the same names
// globally (loaded with RTLD_GLOBAL, or by LD_PRELOAD): here the test's
// interposer, loaded first, whose functions only count their calls.
// Varnoth_JNI is then loaded and its exported analyses run; none of them
// may call into the interposer, and their results must be right (the power
// spectrum obeys Parseval's theorem, the slope is the chain's).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "Varnoth_types.h"

namespace {

template <typename F>
F symbol(void* library, const char* name) {
  void* p = dlsym(library, name);
  EXPECT_NE(p, nullptr) << name;
  return reinterpret_cast<F>(p);
}

}  // namespace

TEST(Interposition, TheLibrarysCallsReachItsOwnRoutines) {
  void* interposer = dlopen(VARNOTH_INTERPOSER, RTLD_NOW | RTLD_GLOBAL);
  ASSERT_NE(interposer, nullptr) << dlerror();
  void* library = dlopen(VARNOTH_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  int* calls = symbol<int*>(interposer, "interposer_calls");
  ASSERT_NE(calls, nullptr);

  auto initialize = symbol<void (*)()>(library, "Varnoth_initialize");
  auto power = symbol<void (*)(VarnothStackData*, const real_T*, real_T*)>(
      library, "f_ImageFFTPower");
  auto phase =
      symbol<void (*)(VarnothStackData*, const real_T*, real_T*, real_T*)>(
          library, "f_ImageFFTPowerPhase");
  auto chain =
      symbol<void (*)(VarnothStackData*, const real_T*, real_T*, real_T*,
                      real_T*, real_T*)>(library, "f_PSD_Processing");
  auto slope_of = symbol<real_T (*)(VarnothStackData*, const real_T*)>(
      library, "f_PSD_Slope");
  ASSERT_FALSE(::testing::Test::HasFailure());

  initialize();
  std::mt19937_64 gen(7u);
  std::uniform_real_distribution<double> grey(0.0, 255.0);
  std::vector<real_T> img(16384), ft(16384), ph(16384), wd(16384);
  for (real_T& p : img) p = grey(gen);
  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);

  power(sd.get(), img.data(), ft.data());
  double energy = 0.0, spectrum = 0.0;
  for (int i = 0; i < 16384; i++) {
    energy += img[i] * img[i];
    spectrum += ft[i];
  }
  // sum |F|^2 = 16384 sum x^2, so sum (|F| / 16384)^2 = sum x^2 / 16384.
  EXPECT_NEAR(spectrum, energy / 16384.0, 1e-9 * energy / 16384.0);

  phase(sd.get(), img.data(), ft.data(), ph.data());
  EXPECT_NE(ph[100], 0.0);
  real_T ps[65], slope = 0.0;
  chain(sd.get(), img.data(), &slope, ps, ft.data(), wd.data());
  EXPECT_NE(slope, 0.0);
  EXPECT_EQ(slope, slope_of(sd.get(), img.data()));
  EXPECT_EQ(*calls, 0) << "calls that reached the interposer";
  dlclose(library);
  dlclose(interposer);
}
