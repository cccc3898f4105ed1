// fft2: the unscaled two-dimensional transform of a real 128 x 128 image.
//
//   f(u, v) = sum_{m=0}^{127} sum_{n=0}^{127} x(m, n)
//                 exp(-2 pi i (u m + v n) / 128),
//   element (r, c) of an image at index r + 128 c.
//
// Arguments:
//   SD  work record; SD->f2.x (16384 creal_T) is scratch and holds the row
//       spectra.
//   x   16384 real_T, read only; read completely before f is written.
//   f   16384 creal_T, written; must not overlap SD->f2.x or SD->u1.f0.y1.
//
// Method: the rows first, g = fft(x) into f2.x; then the 128-point
// transform of every column of g, W adjacent columns together in the lanes
// of a W-lane value (fft_lanes.h, spectral_kernels.h), each lane performing
// exactly the operations of fft128_complex on its own column. This
// evaluation order (rows, then columns) is part of the result; other orders
// agree only to rounding. f equals the result of fft2_reference bit for bit.
//
// The column loop may run on several threads (VARNOTH_PARALLEL_FOR):
// iteration p reads only columns W p .. W p + W - 1 of f2.x and writes only
// those columns of f. The row loop of fft comes first, on the same team (its
// end is a barrier).
#include "runtime/parallel_region.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/spectral_kernels.h"

void fft2(VarnothStackData* SD, const real_T x[16384], creal_T f[16384]) {
  varnoth_parallel::region([&] {
    fft(SD, x, SD->f2.x);
    varnoth_fft::spectral_kernels().columns(SD->f2.x, f);
  });
}
