// Rounding half away from zero.
#include <cmath>

#include "runtime/Varnoth_runtime.h"

// From 2^52 on every double is an integer; larger values, infinities and
// NaN are returned unchanged. Values in (-0.5, 0.5) become a zero with the
// sign of u.
static real_T rt_roundd_snf(real_T u) {
  if (std::fabs(u) < 4503599627370496.0) {
    if (u >= 0.5) {
      return std::floor(u + 0.5);
    }
    if (u > -0.5) {
      return u * 0.0;
    }
    return std::ceil(u - 0.5);
  }
  return u;
}

void b_round(real_T x[16384]) {
  for (int k = 0; k < kImageSize; k++) {
    x[k] = rt_roundd_snf(x[k]);
  }
}
