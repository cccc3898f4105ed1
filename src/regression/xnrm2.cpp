// Euclidean norm of a strided-by-one vector, accumulated with scaling.
#include <cmath>

#include "regression/Varnoth_regression.h"

// Returns ||x||_2 of the n consecutive elements x_data[ix0-1 .. ix0-2+n]
// (ix0 is 1-based).
//
// The norm is kept as scale * sqrt(sum) with every element a = |x_k| seen
// as t = a / scale, so no square can overflow and none of the elements at
// or above the smallest normal double can underflow:
//   a > scale:  sum = 1 + sum * (scale / a)^2,  scale = a
//   otherwise:  sum = sum + (a / scale)^2
// scale starts at 2^-1022 (the smallest normal double) and sum at 0.0; the
// result is scale * sqrt(sum).
//
// Degenerate cases: n < 1 gives 0.0; n = 1 gives |x_data[ix0-1]| with no
// scaling. All-zero elements give 0.0. A NaN element fails "a > scale",
// takes the second branch and makes the result NaN. An infinite element
// becomes the scale (sum = 1), and every later element then adds 0.0, so
// the result is +infinity unless a NaN follows.
//
// Arguments:
//   n      on entry, the number of elements; unchanged.
//   x_data on entry, the array holding the vector; unchanged.
//   ix0    on entry, the 1-based index of the first element; unchanged.
real_T xnrm2(int n, const real_T x_data[], int ix0) {
  if (n < 1) {
    return 0.0;
  }
  if (n == 1) {
    return std::fabs(x_data[ix0 - 1]);
  }
  real_T scale = 2.2250738585072014E-308;
  real_T sum = 0.0;
  const int kend = ix0 - 1 + n;
  for (int k = ix0 - 1; k < kend; k++) {
    const real_T absxk = std::fabs(x_data[k]);
    if (absxk > scale) {
      const real_T t = scale / absxk;
      sum = 1.0 + sum * t * t;
      scale = absxk;
    } else {
      const real_T t = absxk / scale;
      sum += t * t;
    }
  }
  return scale * std::sqrt(sum);
}

// The same routine under the name that serves the Householder tails.
real_T b_xnrm2(int n, const real_T x_data[], int ix0) {
  return xnrm2(n, x_data, ix0);
}
