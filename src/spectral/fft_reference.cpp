// The reference transforms: the 2-D FFT and the power spectrum in their
// straightforward form, one vector at a time through fft128_real and
// fft128_complex, with the transpositions through a local copy and
// SD->u1.f0.y1.
//
//   fft:   y(r, v) = sum_{n=0}^{127} x(r, n) exp(-2 pi i v n / 128)
//   fft2:  f(u, v) = sum_{m=0}^{127} y(m, v) exp(-2 pi i u m / 128)
//          (the rows first, then the columns of the row spectra)
//   power: ret[k] = (|F[k]| / 16384)^2, F = fftshift(f), magnitude by the
//          scaled hypotenuse, divided, then squared.
//
// Element (r, c) of an image at index r + 128 c. Everything runs on the
// calling thread, so fft may call fft_reference from a single step of its
// parallel region.
#include "spectral/fft_reference.h"

#include "runtime/Varnoth_runtime.h"
#include "spectral/Varnoth_spectral.h"
#include "spectral/fft128.h"

void fft_reference(VarnothStackData* SD, const real_T x[16384],
                   creal_T y[16384]) {
  real_T b_x[16384];
  for (int i1 = 0; i1 < 128; i1++) {
    for (int i2 = 0; i2 < 128; i2++) {
      b_x[i2 + 128 * i1] = x[i1 + 128 * i2];
    }
  }

  creal_T* const y1 = SD->u1.f0.y1;
  for (int r = 0; r < 128; r++) {
    creal_T rwork[128];
    fft128_real(&b_x[128 * r], rwork);
    for (int v = 0; v < 128; v++) {
      y1[v + 128 * r] = rwork[v];
    }
  }

  for (int i1 = 0; i1 < 128; i1++) {
    for (int i2 = 0; i2 < 128; i2++) {
      y[i2 + 128 * i1] = y1[i1 + 128 * i2];
    }
  }
}

void fft2_reference(VarnothStackData* SD, const real_T x[16384],
                    creal_T f[16384]) {
  fft_reference(SD, x, SD->f2.x);

  const creal_T* const g = SD->f2.x;
  for (int c = 0; c < 128; c++) {
    creal_T rwork[128];
    fft128_complex(&g[128 * c], rwork);
    for (int u = 0; u < 128; u++) {
      f[u + 128 * c] = rwork[u];
    }
  }
}

void f_ImageFFTPower_reference(VarnothStackData* SD, const real_T img[16384],
                               real_T ret[16384]) {
  creal_T* const imgf = SD->u3.f4.imgf;
  real_T* const dv4 = SD->u3.f4.dv4;
  real_T* const dv5 = SD->u3.f4.dv5;
  fft2_reference(SD, img, imgf);
  fftshift(imgf);
  b_abs(imgf, dv4);
  for (int i3 = 0; i3 < 16384; i3++) {
    dv5[i3] = dv4[i3] / 16384.0;
  }
  power(dv5, ret);
}
