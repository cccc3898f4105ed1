// f_ImageFFT: real and imaginary parts of the centred spectrum of an image.
//
//   F = fftshift(fft2(img)),   mag[k] = Re F[k],   phs[k] = Im F[k],
//   k = 0..16383, index r + 128 c; F(r, c) belongs to the frequency pair
//   (r - 64, c - 64), the zero frequency at index 8256. Unscaled: neither
//   the amplitude nor the angle is formed.
//
// Arguments:
//   SD   work record; SD->u3.f3.imgf (16384 creal_T) is scratch and holds F;
//        fft2 uses SD->f2 and SD->u1.f0 besides.
//   img  16384 real_T, read only.
//   mag, phs  16384 real_T each, written; neither may lie in SD->u1, SD->f2
//        or SD->u3.
#include "runtime/parallel_region.h"
#include "spectral/Varnoth_spectral.h"

void f_ImageFFT(VarnothStackData* SD, const real_T img[16384],
                real_T mag[16384], real_T phs[16384]) {
  creal_T* const imgf = SD->u3.f3.imgf;
  varnoth_parallel::region([&] {
    fft2(SD, img, imgf);
    varnoth_parallel::single([&] {
      fftshift(imgf);
      for (int i0 = 0; i0 < 16384; i0++) {
        mag[i0] = imgf[i0].re;
        phs[i0] = imgf[i0].im;
      }
    });
  });
}
