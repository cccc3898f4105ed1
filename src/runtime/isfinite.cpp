#include "runtime/Varnoth_runtime.h"

// true when x is neither infinite nor NaN.
boolean_T b_isfinite(real_T x) {
  return (!rtIsInf(x) && !rtIsNaN(x)) ? 1U : 0U;
}
