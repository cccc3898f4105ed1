#include "runtime/Varnoth_runtime.h"

// Phase angles in radians, -pi to pi: y[k] = rt_atan2d_snf(Im x[k], Re x[k]).
void angle(const creal_T x[16384], real_T y[16384]) {
  for (int k = 0; k < kImageSize; k++) {
    y[k] = rt_atan2d_snf(x[k].im, x[k].re);
  }
}
