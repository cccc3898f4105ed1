// fft: the 128-point transforms of the 128 rows of a real image.
//
//   y(r, v) = sum_{n=0}^{127} x(r, n) exp(-2 pi i v n / 128),
//   r, v = 0..127, unscaled; element (r, c) of an image at index r + 128 c.
//
// Arguments:
//   SD  work record; SD->u1.f0.y1 (16384 creal_T) is scratch: column r of
//       it receives the spectrum of row r before the final transposition.
//   x   16384 real_T, read only; read completely before y is written.
//   y   16384 creal_T, written; must not overlap SD->u1.f0.y1.
//
// Method: transpose x into the local b_x (128 KiB of automatic storage) so
// that row r lies contiguously at b_x[128 r .. 128 r + 127]; transform each
// row with fft128_real (imaginary parts +0.0) into its own rwork and copy it
// into column r of y1; transpose y1 into y.
//
// The row loop may run on several threads (VARNOTH_PARALLEL_FOR): iteration
// r reads only row r of b_x, has its own rwork and writes only column r of
// y1, so the results do not depend on the split. The transpositions stay on
// the calling thread.
#include "Varnoth_spectral.h"
#include "fft128.h"

void fft(VarnothStackData* SD, const real_T x[16384], creal_T y[16384]) {
  real_T b_x[16384];
  for (int i1 = 0; i1 < 128; i1++) {
    for (int i2 = 0; i2 < 128; i2++) {
      b_x[i2 + 128 * i1] = x[i1 + 128 * i2];
    }
  }

  creal_T* const y1 = SD->u1.f0.y1;
  VARNOTH_PARALLEL_FOR
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
