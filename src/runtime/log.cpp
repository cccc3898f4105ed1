#include <cmath>

#include "runtime/Varnoth_runtime.h"

// Natural logarithm of a 65-value profile, in place: log(0) = -inf,
// log of a negative value or NaN = NaN.
void b_log(real_T x[65]) {
  for (int k = 0; k < kProfileSize; k++) {
    x[k] = std::log(x[k]);
  }
}
