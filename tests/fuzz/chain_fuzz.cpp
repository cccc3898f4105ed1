// The processing chain on arbitrary doubles: every fast form against the
// straightforward reference form, bit for bit (NaN as one value, since
// several patterns meet in arbitrary images and IEEE leaves open which one
// an operation returns): the power
// spectrum, each lane width's row, column and power kernels, the radial
// average, and the row-by-row chain of the Java calls against the chain.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "analysis/Varnoth_analysis.h"
#include "fuzz_input.h"
#include "radial/Varnoth_radial.h"
#include "runtime/Varnoth_runtime.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/fft_reference.h"
#include "spectral/spectral_kernels.h"

namespace {

void expect_same(const double* want, const double* got, int n, bool nan_as_one,
                 const char* what) {
  for (int i = 0; i < n; i++) {
    if (!varnoth_fuzz::same(want[i], got[i], nan_as_one)) {
      std::fprintf(stderr, "%s differs at %d: %a, expected %a\n", what, i,
                   got[i], want[i]);
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static const bool initialised = (Varnoth_initialize(), true);
  (void)initialised;
  const std::vector<double> img = varnoth_fuzz::doubles(data, size, 16384);
  // Arbitrary bytes bring NaN of many patterns, and infinities of both signs
  // make more: NaN compares as one value.
  const bool nan_as_one = true;

  std::unique_ptr<VarnothStackData> sd(new VarnothStackData);
  std::vector<double> want(16384), got(16384);
  f_ImageFFTPower_reference(sd.get(), img.data(), want.data());
  f_ImageFFTPower(sd.get(), img.data(), got.data());
  expect_same(want.data(), got.data(), 16384, nan_as_one, "f_ImageFFTPower");

  std::vector<creal_T> rows(16384), cols(16384), y(16384);
  fft_reference(sd.get(), img.data(), rows.data());
  fft2_reference(sd.get(), img.data(), cols.data());
  std::vector<double> by_rows(16384);
  for (int r = 0; r < 128; r++)
    for (int c = 0; c < 128; c++) by_rows[128 * r + c] = img[r + 128 * c];
  const varnoth_fft::RunnableKernels tables =
      varnoth_fft::runnable_spectral_kernels();
  for (int t = 0; t < tables.count; t++) {
    const varnoth_fft::SpectralKernels& k = *tables.table[t];
    k.rows(img.data(), y.data());
    expect_same(&rows[0].re, &y[0].re, 32768, nan_as_one, k.name);
    std::vector<double> tiles(32768), spectra(32768);
    k.row_tiles(img.data(), tiles.data());
    for (int r = 0; r < 128; r++)
      for (int v = 0; v < 64 + k.lanes; v++) {
        const int i = varnoth_fft::tile_index(k.lanes, r, v);
        spectra[2 * (r + 128 * v)] = tiles[i];
        spectra[2 * (r + 128 * v) + 1] = tiles[i + k.lanes];
      }
    // The tiles hold the values v < 64 + lanes, the first 2 * 128 * (64 +
    // lanes) doubles of the spectra.
    expect_same(&rows[0].re, spectra.data(), 256 * (64 + k.lanes), nan_as_one,
                k.name);
    k.columns(rows.data(), y.data());
    expect_same(&cols[0].re, &y[0].re, 32768, nan_as_one, k.name);
    k.power(cols.data(), got.data());
    expect_same(want.data(), got.data(), 16384, nan_as_one, k.name);
    k.tile_column_power(tiles.data(), got.data());
    expect_same(want.data(), got.data(), 16384, nan_as_one, k.name);
    std::vector<double> pt(16384);
    k.row_tiles_from_rows(by_rows.data(), tiles.data());
    k.tile_column_power_by_rows(tiles.data(), pt.data());
    for (int r = 0; r < 128; r++)
      for (int c = 0; c < 128; c++) got[r + 128 * c] = pt[128 * r + c];
    expect_same(want.data(), got.data(), 16384, nan_as_one, k.name);
  }

  double ps_want[65], ps_got[65];
  f_RadialAverageSpectra_reference(sd.get(), want.data(), ps_want);
  f_RadialAverageSpectra(sd.get(), want.data(), ps_got);
  expect_same(ps_want, ps_got, 65, nan_as_one, "f_RadialAverageSpectra");

  double regress_want[2], regress_got[2];
  std::vector<double> ft(16384), ftt(16384);
  profile_line_fit(sd.get(), img.data(), ft.data(), ps_want, regress_want);
  expect_same(want.data(), ft.data(), 16384, nan_as_one, "chain power");
  profile_line_fit_by_rows(sd.get(), by_rows.data(), ftt.data(), ps_got,
                           regress_got);
  expect_same(ps_want, ps_got, 65, nan_as_one, "profile by rows");
  expect_same(regress_want, regress_got, 2, nan_as_one, "line by rows");
  return 0;
}
