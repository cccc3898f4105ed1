// fftshift: centres a 128 x 128 spectrum in place,
//
//   x(r, c) <- x((r + 64) mod 128, (c + 64) mod 128),
//
// so that the zero frequency moves from (0, 0) to (64, 64), index 8256.
// Because 128 is even the shift is its own inverse.
//
// Method: one half-swap along each dimension. For dimension dim the
// elements of one vector lie vstride apart (1 along the columns, 128 along
// the rows); there are npages groups of vstride such vectors; the first
// element of the second half is midoffset = 64 vstride further on. Dim 0
// swaps row r with row r + 64 in every column, dim 1 column c with column
// c + 64 in every row. Only whole elements are exchanged; no arithmetic.
#include <utility>

#include "Varnoth_spectral.h"

void fftshift(creal_T x[16384]) {
  for (int dim = 0; dim < 2; dim++) {
    const int vstride = (dim == 0) ? 1 : 128;  // sizes before dim
    const int npages = (dim == 0) ? 128 : 1;   // sizes after dim
    const int vspread = 127 * vstride;
    const int midoffset = 64 * vstride;
    int i2 = 0;
    for (int i = 1; i <= npages; i++) {
      int i1 = i2 - 1;
      i2 += vspread;
      for (int j = 1; j <= vstride; j++) {
        i1++;
        i2++;
        int ia = i1;
        int ib = i1 + midoffset;
        for (int k = 0; k < 64; k++) {
          std::swap(x[ia], x[ib]);
          ia += vstride;
          ib += vstride;
        }
      }
    }
  }
}
