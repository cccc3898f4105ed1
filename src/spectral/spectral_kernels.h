// The lane kernels of the transforms and the power spectrum, one table per
// lane width, and the choice among them by the CPU at run time. Internal to
// the library, not exported.
//
// Every table computes the same values bit for bit (lanes.h says why); they
// differ only in how many vectors one instruction carries. The library runs
// the widest table the CPU and the operating system support, chosen once:
// AVX-512F (eight lanes), AVX2 (four), SSE2 (two, the x86 baseline), NEON
// (two, the aarch64 baseline), otherwise the portable lanes. The tests run
// every table the machine can run against the reference forms.
#ifndef VARNOTH_SPECTRAL_KERNELS_H
#define VARNOTH_SPECTRAL_KERNELS_H

#include "Varnoth_types.h"

namespace varnoth_fft {

struct SpectralKernels {
  const char* name;  // "portable", "sse2", "neon", "avx2", "avx512"
  int lanes;
  // y(r, v) = sum_n x(r, n) W^(v n), the 128 row spectra; y must not
  // overlap x.
  void (*rows)(const real_T x[16384], creal_T y[16384]);
  // f(u, c) = sum_m g(m, c) W^(u m), the 128 column spectra; f must not
  // overlap g.
  void (*columns)(const creal_T g[16384], creal_T f[16384]);
  // ret = the centred power spectrum (|fftshift(f)| / 16384)^2 of the
  // uncentred spectrum f.
  void (*power)(const creal_T f[16384], real_T ret[16384]);

  // The passes of the processing chain (f_ImageFFTPower, the Java calls
  // of the chain): the row spectra of an image go to tiles, the layout of
  // fft_lanes.h (tile_index; the values v < 64 + lanes only), and from the
  // tiles the column pass hands each value straight to the centred power,
  // without storing the 2-D spectrum.
  // row_tiles reads the image in the library's layout, row_tiles_from_rows
  // held row by row (xt[128 r + n] = x(r, n), the order of a Java image);
  // tiles overlaps neither. tile_column_power writes the power in the
  // library's layout (ret as columns followed by power give it),
  // tile_column_power_by_rows row by row (pt[128 R + C] = ret[R + 128 C]);
  // neither overlaps tiles.
  void (*row_tiles)(const real_T x[16384], real_T tiles[32768]);
  void (*row_tiles_from_rows)(const real_T xt[16384], real_T tiles[32768]);
  void (*tile_column_power)(const real_T tiles[32768], real_T ret[16384]);
  void (*tile_column_power_by_rows)(const real_T tiles[32768],
                                    real_T pt[16384]);

  // The passes of a window of side n (window_power.h, window_lanes.h): the
  // row spectra of the window xt held row by row, into spectra row by row;
  // then the centred power of their column spectra, in the library's
  // layout. spectra must overlap neither xt nor power.
  void (*window_rows)(const real_T* xt, int n, creal_T* spectra);
  void (*window_column_power)(const creal_T* spectra, int n, real_T* power);
};

// Where the tiles of a table with `lanes` lanes keep the real part of the
// row spectrum value y(r, v); the imaginary part lies `lanes` doubles
// further on (fft_lanes.h).
constexpr int tile_index(int lanes, int r, int v) {
  return 2 * lanes * (128 * (r % (128 / lanes)) + v) + r / (128 / lanes);
}

// The table the library runs: the widest this CPU supports.
const SpectralKernels& spectral_kernels();

// Every table of this build that this CPU can run, narrowest first.
struct RunnableKernels {
  const SpectralKernels* table[4];
  int count;
};
RunnableKernels runnable_spectral_kernels();

// The tables built with wider lanes (spectral_kernels_avx2.cpp and
// spectral_kernels_avx512.cpp), present in x86 builds only
// (VARNOTH_WIDE_LANES).
extern const SpectralKernels kAvx2Kernels;
extern const SpectralKernels kAvx512Kernels;

}  // namespace varnoth_fft

#endif
