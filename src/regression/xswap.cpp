// Exchange of two runs of a vector.
#include "regression/Varnoth_regression.h"

// Exchanges x_data[ix0-1+k] and x_data[iy0-1+k] for k = 0 .. n-1, pair by
// pair in increasing k (ix0 and iy0 are 1-based). The runs are meant to be
// disjoint (two columns of a matrix); n < 1 does nothing.
//
// Arguments:
//   n       on entry, the number of pairs; unchanged.
//   x_data  on entry, the array; on exit, the two runs exchanged.
//   ix0     on entry, the 1-based start of the first run; unchanged.
//   iy0     on entry, the 1-based start of the second run; unchanged.
void xswap(int n, real_T x_data[], int ix0, int iy0) {
  int ix = ix0 - 1;
  int iy = iy0 - 1;
  for (int k = 0; k < n; k++) {
    const real_T temp = x_data[ix];
    x_data[ix] = x_data[iy];
    x_data[iy] = temp;
    ix++;
    iy++;
  }
}
