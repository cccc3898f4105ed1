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
//   SD   work record; SD->u3.f5 is scratch: imgf (16384 creal_T) holds F,
//        dv6 the magnitudes, dv7 the magnitudes / 16384; fft2 uses SD->f2
//        and SD->u1.f0 besides.
//   img  16384 real_T, read only.
//   b_power, phase  16384 real_T each, written; not in SD->u1, SD->f2 or
//        SD->u3.
#include "Varnoth_runtime.h"
#include "Varnoth_spectral.h"

void f_ImageFFTPowerPhase(VarnothStackData* SD, const real_T img[16384],
                          real_T b_power[16384], real_T phase[16384]) {
  creal_T* const imgf = SD->u3.f5.imgf;
  real_T* const dv6 = SD->u3.f5.dv6;
  real_T* const dv7 = SD->u3.f5.dv7;
  fft2(SD, img, imgf);
  fftshift(imgf);
  b_abs(imgf, dv6);
  for (int i3 = 0; i3 < 16384; i3++) {
    dv7[i3] = dv6[i3] / 16384.0;
  }
  power(dv7, b_power);
  angle(imgf, phase);
}
