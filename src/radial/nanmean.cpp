// Mean that leaves NaN out.
#include "radial/Varnoth_radial.h"
#include "runtime/Varnoth_runtime.h"

// Let v = varargin_1->data[0 .. n-1], n = size[0]. With S the elements of v
// that are not NaN, in ascending index order,
//   result = (((0.0 + s_1) + s_2) + ... + s_c) / (double)c,
// summed left to right exactly in that order. The result is rtNaN (the
// library's NaN, not one produced by the arithmetic) when n = 0 or c = 0.
// Infinities are summed like other values, so +inf and -inf together give
// the arithmetic's NaN.
real_T nanmean(const emxArray_real_T* varargin_1) {
  const int n = varargin_1->size[0];
  if (n == 0) {
    return rtNaN;
  }
  real_T y = 0.0;
  int c = 0;
  for (int k = 0; k < n; k++) {
    const real_T v = varargin_1->data[k];
    if (!rtIsNaN(v)) {
      y += v;
      c++;
    }
  }
  if (c == 0) {
    return rtNaN;
  }
  return y / static_cast<real_T>(c);
}
