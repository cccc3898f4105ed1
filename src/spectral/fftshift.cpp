// fftshift: centres a 128 x 128 spectrum in place,
//
//   x(r, c) <- x((r + 64) mod 128, (c + 64) mod 128),
//
// so that the zero frequency moves from (0, 0) to (64, 64), index 8256.
// Because 128 is even the shift is its own inverse.
//
// Method: the composition of the two half-swaps (row r with r + 64 in every
// column, column c with c + 64 in every row) exchanges diagonally opposite
// quadrants: element (r, c), c < 64, trades places with element
// ((r + 64) mod 128, c + 64). One swap per pair, walking both columns
// contiguously; only whole elements move, no arithmetic, so the result is
// the same permutation bit for bit.
#include <utility>

#include "spectral/Varnoth_spectral.h"

void fftshift(creal_T x[16384]) {
  for (int c = 0; c < 64; c++) {
    creal_T* const left = &x[128 * c];
    creal_T* const right = &x[128 * (c + 64)];
    for (int r = 0; r < 64; r++) {
      std::swap(left[r], right[r + 64]);
      std::swap(left[r + 64], right[r]);
    }
  }
}
