#include "runtime/Varnoth_data.h"
#include "runtime/Varnoth_runtime.h"

// Sets the non-finite values (to the bits they already hold since load),
// then initialises the lock. A repeated call finds the lock initialised and
// leaves it: initialising it twice is not allowed, and nothing takes it.
void Varnoth_initialize(void) {
  rt_InitInfAndNaN(sizeof(real_T));
  if (!emlrtNestLockReady.exchange(true)) {
    omp_init_nest_lock(&emlrtNestLockGlobal);
  }
}
