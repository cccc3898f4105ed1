// f_ImageFFTPowerPhase: power spectrum and phase of an image, centred.
//
//   F = fftshift(fft2(img)),
//   b_power[k] = (|F[k]| / 16384)^2        (as f_ImageFFTPower: magnitude,
//                                           divide, then square)
//   phase[k]   = rt_atan2d_snf(Im F[k], Re F[k]), radians in [-pi, pi];
//                +0.0 where Re F[k] is a zero and Im F[k] is a zero, the
//                library NaN (rtNaN) where either part is NaN.
//   k = 0..16383, index r + 128 c, zero frequency at index 8256.
//
// Arguments:
//   SD   work record; SD->u3.f5.imgf (16384 creal_T) holds the spectrum,
//        first uncentred, then F; fft2 uses SD->f2 besides. dv6 and dv7 are
//        not used.
//   img  16384 real_T, read only.
//   b_power, phase  16384 real_T each, written; not in SD->u1, SD->f2 or
//        SD->u3.
//
// Method: the power comes from the uncentred spectrum in one pass that
// writes each value to its centred place (centred_power.h, spectral_kernels.h),
// the same operations and bits as f_ImageFFTPower; then the spectrum is centred
// in place and the phase taken from it.
#include "runtime/Varnoth_runtime.h"
#include "runtime/parallel_region.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/spectral_kernels.h"

void f_ImageFFTPowerPhase(VarnothStackData* SD, const real_T img[16384],
                          real_T b_power[16384], real_T phase[16384]) {
  creal_T* const imgf = SD->u3.f5.imgf;
  varnoth_parallel::region([&] {
    fft2(SD, img, imgf);
    varnoth_fft::spectral_kernels().power(imgf, b_power);
    varnoth_parallel::single([&] {
      fftshift(imgf);
      angle(imgf, phase);
    });
  });
}
