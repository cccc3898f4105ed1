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
//   SD   work record; SD->u3.f4.imgf (16384 creal_T) holds the uncentred
//        spectrum f = fft2(img); fft2 uses SD->f2 besides. dv4 and dv5 are
//        not used.
//   img  16384 real_T, read only.
//   ret  16384 real_T, written; may lie in SD->u4 or outside the record, not
//        in SD->u1, SD->f2 or SD->u3.
//
// Method: one pass over f instead of fftshift, b_abs, the division and
// power over four arrays: the value for f(r, c) is written straight to its
// centred place ret((r + 64) mod 128, (c + 64) mod 128), by the operations
// that f_ImageFFTPower_reference performs for it (centred_power.h,
// spectral_kernels.h), so ret equals its result bit for bit.
//
// The column loop may run on several threads (VARNOTH_PARALLEL_FOR):
// iteration c reads column c of f and writes only column (c + 64) mod 128
// of ret.
#include "runtime/parallel_region.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/spectral_kernels.h"

void f_ImageFFTPower(VarnothStackData* SD, const real_T img[16384],
                     real_T ret[16384]) {
  varnoth_parallel::region([&] {
    fft2(SD, img, SD->u3.f4.imgf);
    varnoth_fft::spectral_kernels().power(SD->u3.f4.imgf, ret);
  });
}
