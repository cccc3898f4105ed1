// f_ImageFFTPower: the power spectrum of an image, centred.
//
//   F = fftshift(fft2(img)),   ret[k] = (|F[k]| / 16384)^2,
//   k = 0..16383, index r + 128 c, zero frequency at index 8256.
//
// Evaluated in this order, element by element: the magnitude by the scaled
// hypotenuse (b_abs), the division by 16384 (the number of pixels, exact
// unless the quotient is subnormal), then the square (power). Dividing
// before squaring keeps (|F| / 16384)^2 finite where |F|^2 would overflow.
//
// Arguments:
//   SD   work record; SD->u3.f4 is scratch: imgf (16384 creal_T) holds F,
//        dv4 the magnitudes |F|, dv5 the quotients |F| / 16384; fft2 uses
//        SD->f2 and SD->u1.f0 besides.
//   img  16384 real_T, read only.
//   ret  16384 real_T, written; may lie in SD->u4 or outside the record, not
//        in SD->u1, SD->f2 or SD->u3.
#include "Varnoth_runtime.h"
#include "Varnoth_spectral.h"

void f_ImageFFTPower(VarnothStackData* SD, const real_T img[16384],
                     real_T ret[16384]) {
  creal_T* const imgf = SD->u3.f4.imgf;
  real_T* const dv4 = SD->u3.f4.dv4;
  real_T* const dv5 = SD->u3.f4.dv5;
  fft2(SD, img, imgf);
  fftshift(imgf);
  b_abs(imgf, dv4);
  for (int i3 = 0; i3 < 16384; i3++) {
    dv5[i3] = dv4[i3] / 16384.0;
  }
  power(dv5, ret);
}
