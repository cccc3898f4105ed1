// Guarded arctangent and scaled hypotenuse.
#include <cmath>

#include "runtime/Varnoth_runtime.h"

// Angle of the point (u1, u0):
//   NaN in either argument      -> rtNaN (the library's own NaN)
//   both infinite               -> atan2(+-1, +-1): +-pi/4 or +-3pi/4
//   u1 == 0 (either signed zero) -> +pi/2 if u0 > 0, -pi/2 if u0 < 0, else +0.0
//   otherwise                   -> atan2(u0, u1)
real_T rt_atan2d_snf(real_T u0, real_T u1) {
  if (rtIsNaN(u0) || rtIsNaN(u1)) {
    return rtNaN;
  }
  if (rtIsInf(u0) && rtIsInf(u1)) {
    const int b_u0 = (u0 > 0.0) ? 1 : -1;
    const int b_u1 = (u1 > 0.0) ? 1 : -1;
    return std::atan2(static_cast<real_T>(b_u0), static_cast<real_T>(b_u1));
  }
  if (u1 == 0.0) {
    if (u0 > 0.0) {
      return 1.5707963267948966;  // pi/2, 0x3FF921FB54442D18
    }
    if (u0 < 0.0) {
      return -1.5707963267948966;
    }
    return 0.0;
  }
  return std::atan2(u0, u1);
}

// sqrt(u0^2 + u1^2) as max(a, b) * sqrt(1 + (min/max)^2), a = |u0|, b = |u1|:
//   a < b: b * sqrt(1.0 + (a/b)^2)
//   a > b: a * sqrt((b/a)^2 + 1.0)
//   a == b or a NaN: b if b is NaN, else a * sqrt(2) (0x3FF6A09E667F3BCD).
real_T rt_hypotd_snf(real_T u0, real_T u1) {
  real_T a = std::fabs(u0);
  real_T b = std::fabs(u1);
  if (a < b) {
    a /= b;
    return b * std::sqrt(1.0 + a * a);
  }
  if (a > b) {
    b /= a;
    return a * std::sqrt(b * b + 1.0);
  }
  if (rtIsNaN(b)) {
    return b;
  }
  return a * 1.4142135623730951;
}
