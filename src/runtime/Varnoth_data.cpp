// The library's one lock. It is initialised and destroyed, never taken.
#include "runtime/Varnoth_data.h"

#include "runtime/Varnoth_runtime.h"

omp_nest_lock_t emlrtNestLockGlobal;

std::atomic<bool> emlrtNestLockReady{false};
