#include "runtime/Varnoth_data.h"
#include "runtime/Varnoth_runtime.h"

// Destroys the lock if it is initialised; the non-finite values stay.
void Varnoth_terminate(void) {
  if (emlrtNestLockReady.exchange(false)) {
    omp_destroy_nest_lock(&emlrtNestLockGlobal);
  }
}
