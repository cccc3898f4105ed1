// fft2: the unscaled two-dimensional transform of a real 128 x 128 image.
//
//   f(u, v) = sum_{m=0}^{127} sum_{n=0}^{127} x(m, n)
//                 exp(-2 pi i (u m + v n) / 128),
//   element (r, c) of an image at index r + 128 c.
//
// Arguments:
//   SD  work record; SD->f2.x (16384 creal_T) is scratch and holds the row
//       spectra; fft uses SD->u1.f0.y1 besides.
//   x   16384 real_T, read only; read completely before f is written.
//   f   16384 creal_T, written; must not overlap SD->f2.x or SD->u1.f0.y1.
//
// Method: the rows first, g = fft(x) into f2.x; then the 128-point
// transform of every column c of g (fft128_complex) into its own rwork,
// copied into column c of f. This evaluation order (rows, then columns) is
// part of the result; other orders agree only to rounding.
//
// The column loop may run on several threads (VARNOTH_PARALLEL_FOR):
// iteration c reads only column c of f2.x, has its own rwork and writes only
// column c of f. The call of fft stays on the calling thread.
#include "Varnoth_spectral.h"
#include "fft128.h"

void fft2(VarnothStackData* SD, const real_T x[16384], creal_T f[16384]) {
  fft(SD, x, SD->f2.x);

  const creal_T* const g = SD->f2.x;
  VARNOTH_PARALLEL_FOR
  for (int c = 0; c < 128; c++) {
    creal_T rwork[128];
    fft128_complex(&g[128 * c], rwork);
    for (int u = 0; u < 128; u++) {
      f[u + 128 * c] = rwork[u];
    }
  }
}
