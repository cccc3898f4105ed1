// fft: the 128-point transforms of the 128 rows of a real image.
//
//   y(r, v) = sum_{n=0}^{127} x(r, n) exp(-2 pi i v n / 128),
//   r, v = 0..127, unscaled; element (r, c) of an image at index r + 128 c.
//
// Arguments:
//   SD  work record; not used unless x and y overlap (then as in
//       fft_reference: SD->u1.f0.y1 is scratch).
//   x   16384 real_T, read only.
//   y   16384 creal_T, written; must not overlap SD->u1.f0.y1.
//
// Method: W adjacent rows are transformed together, one in each lane of a
// W-lane value (fft_lanes.h; W = 2, 4 or 8 as the CPU allows, see
// spectral_kernels.h); element n of rows r .. r + W - 1 is the run
// x[r + 128 n] .. x[r + W - 1 + 128 n], and their spectra are written
// straight to y[r + 128 v] ... Each lane performs exactly the operations
// of the one-row transform fft128_real, so y equals the result of
// fft_reference bit for bit; the transpositions and the scratch of the
// reference are not needed.
//
// x is read completely before y is written in the reference, so a caller
// may pass overlapping arrays; since the lane kernels read x while they write
// y, such a call goes to fft_reference, which copies x first.
//
// The row loop may run on several threads (VARNOTH_PARALLEL_FOR): iteration
// b reads only rows 8b .. 8b + 7 of x and writes only those rows of y, so
// the results do not depend on the split.
#include <cstdint>

#include "runtime/memory_overlap.h"
#include "runtime/parallel_region.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/fft_reference.h"
#include "spectral/spectral_kernels.h"

using varnoth_runtime::overlap;

void fft(VarnothStackData* SD, const real_T x[16384], creal_T y[16384]) {
  if (overlap(x, sizeof(real_T) * kImageSize, y,
              sizeof(creal_T) * kImageSize)) {
    varnoth_parallel::single([&] { fft_reference(SD, x, y); });
    return;
  }
  varnoth_parallel::region([&] { varnoth_fft::spectral_kernels().rows(x, y); });
}
