#include "runtime/Varnoth_runtime.h"
#include "runtime/parallel_region.h"

// Squares: y[k] = a[k] * a[k]. Element k of y depends on element k of a
// alone and is written after a[k] is read, so y may be the array a itself
// and the iterations may run on several threads in any split.
void power(const real_T a[16384], real_T y[16384]) {
  varnoth_parallel::region([&] {
    VARNOTH_PARALLEL_FOR
    for (int k = 0; k < kImageSize; k++) {
      const real_T ak = a[k];
      y[k] = ak * ak;
    }
  });
}
