// The centred power spectrum of a window (window_power.h) through the lane
// kernels of this CPU (spectral_kernels.h). At side 128 the tuned passes of
// the 128 x 128 natives give the same values as the general passes, bit for
// bit, and run faster.
#include "spectral/window_power.h"

#include "spectral/spectral_kernels.h"

namespace varnoth_window {

void window_power(const real_T* xt, int n, creal_T* spectra, real_T* power) {
  const varnoth_fft::SpectralKernels& kernels = varnoth_fft::spectral_kernels();
  if (n == kImageSide) {
    kernels.row_tiles_from_rows(xt, &spectra[0].re);
    kernels.tile_column_power(&spectra[0].re, power);
    return;
  }
  kernels.window_rows(xt, n, spectra);
  kernels.window_column_power(spectra, n, power);
}

}  // namespace varnoth_window
