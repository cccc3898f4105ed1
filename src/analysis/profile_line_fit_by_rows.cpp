// profile_line_fit for an image held row by row, as the Java calls of the
// processing chain, the slope and the regression hold it.
#include "analysis/Varnoth_analysis.h"
#include "radial/Varnoth_radial.h"
#include "regression/Varnoth_regression.h"
#include "runtime/parallel_region.h"
#include "spectral/spectral_kernels.h"

// With img(r, c) = imgT[128 r + c]:
//   imgFTT[128 r + c] = the centred power spectrum at (r, c),
//   imgPS, regress    as profile_line_fit gives them for img,
// bit for bit. The row spectra go to SD->f2.x, in tiles; the 2-D spectrum
// itself is never stored: the column pass hands each value straight to the
// power (spectral_kernels.h), and the ring means read the power where it
// lies (radial_average_by_rows).
void profile_line_fit_by_rows(VarnothStackData* SD, const real_T imgT[16384],
                              real_T imgFTT[16384], real_T imgPS[65],
                              real_T regress[2]) {
  const varnoth_fft::SpectralKernels& kernels = varnoth_fft::spectral_kernels();
  real_T* const tiles = &SD->f2.x[0].re;
  varnoth_parallel::region([&] {
    kernels.row_tiles_from_rows(imgT, tiles);
    kernels.tile_column_power_by_rows(tiles, imgFTT);
    varnoth_parallel::single([&] {
      radial_average_by_rows(imgFTT, imgPS);
      profile_line(imgPS, regress);
    });
  });
}
