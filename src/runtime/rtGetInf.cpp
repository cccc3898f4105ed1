// The two infinities; their patterns are the same in either byte order.
#include "runtime/Varnoth_runtime.h"
#include "runtime/rt_bits.h"

real_T rtGetInf(void) {
  return double_from_words(probe_byte_order(), 0x7FF00000U, 0U);
}

real32_T rtGetInfF(void) { return float_from_word(0x7F800000U); }

real_T rtGetMinusInf(void) {
  return double_from_words(probe_byte_order(), 0xFFF00000U, 0U);
}

real32_T rtGetMinusInfF(void) { return float_from_word(0xFF800000U); }
