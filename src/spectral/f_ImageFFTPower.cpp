// f_ImageFFTPower: the power spectrum of an image, centred.
//
//   F = fftshift(fft2(img)),   ret[k] = (|F[k]| / 16384)^2,
//   k = 0..16383, index r + 128 c, zero frequency at index 8256.
//
// Evaluated element by element in this order: the magnitude by the scaled
// hypotenuse (rt_hypotd_snf), the division by 16384 (the number of pixels,
// exact unless the quotient is subnormal), then the square. Dividing before
// squaring keeps (|F| / 16384)^2 finite where |F|^2 would overflow.
//
// Arguments:
//   SD   work record; SD->f2.x holds the row spectra of img in the tiled
//        layout of the lane kernels (spectral_kernels.h), and SD->u1.f0
//        holds a copy of img when img lies in SD->f2.x. No other member is
//        used.
//   img  16384 real_T, read only; may lie anywhere, in the work record too.
//   ret  16384 real_T, written; may lie in SD->u4 or outside the record,
//        not in SD->u1, SD->f2 or SD->u3.
//
// Method: instead of fft2, fftshift, b_abs, the division and power over
// five arrays, the row pass of fft2 hands the row spectra over in tiles, and
// its column pass hands each spectral value f(r, c) straight to its power,
// written to its centred place ret((r + 64) mod 128, (c + 64) mod 128) by
// the operations that f_ImageFFTPower_reference performs for it
// (centred_power.h, fft_lanes.h), so ret equals its result bit for bit. The
// 2-D spectrum is never stored.
//
// The loops may run on several threads (VARNOTH_PARALLEL_FOR): an iteration
// of the row pass reads and writes its own rows, one of the column pass
// reads its own columns of the row spectra and writes only the columns of
// ret they centre to.
#include <cstdint>
#include <cstring>

#include "runtime/memory_overlap.h"
#include "runtime/parallel_region.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/spectral_kernels.h"

using varnoth_runtime::overlap;

void f_ImageFFTPower(VarnothStackData* SD, const real_T img[16384],
                     real_T ret[16384]) {
  const varnoth_fft::SpectralKernels& kernels = varnoth_fft::spectral_kernels();
  real_T* const tiles = &SD->f2.x[0].re;
  varnoth_parallel::region([&] {
    // The tiles must not overlap the image: an image in SD->f2.x is first
    // copied to SD->u1.f0, another member (memmove, right even where the
    // image reaches into SD->u1).
    const real_T* x = img;
    if (overlap(img, sizeof(real_T) * kImageSize, SD->f2.x, sizeof(SD->f2.x))) {
      real_T* const copy = &SD->u1.f0.y1[0].re;
      varnoth_parallel::single(
          [&] { std::memmove(copy, img, sizeof(real_T) * kImageSize); });
      x = copy;
    }
    kernels.row_tiles(x, tiles);
    kernels.tile_column_power(tiles, ret);
  });
}
