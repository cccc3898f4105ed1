// Polar form of 16384 Cartesian points.
#include "radial/Varnoth_radial.h"
#include "runtime/Varnoth_runtime.h"

// For n = 0..16383: th[n] = rt_atan2d_snf(y[n], x[n]), the angle in
// (-pi, pi] of the point (x[n], y[n]); r[n] = rt_hypotd_snf(x[n], y[n]),
// its distance from the origin. Neither output may alias x or y.
void cart2pol(const real_T x[16384], const real_T y[16384], real_T th[16384],
              real_T r[16384]) {
  for (int n = 0; n < kImageSize; n++) {
    th[n] = rt_atan2d_snf(y[n], x[n]);
    r[n] = rt_hypotd_snf(x[n], y[n]);
  }
}
