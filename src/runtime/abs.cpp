#include "runtime/Varnoth_runtime.h"

// Magnitudes: y[k] = |x[k]| by the scaled hypotenuse.
void b_abs(const creal_T x[16384], real_T y[16384]) {
  for (int k = 0; k < kImageSize; k++) {
    y[k] = rt_hypotd_snf(x[k].re, x[k].im);
  }
}
