// The library's NaN: the quiet NaN with the sign bit set on little-endian
// machines (0xFFF8000000000000, 0xFFC00000), all ones but the sign bit on
// big-endian ones.
#include "runtime/Varnoth_runtime.h"
#include "runtime/rt_bits.h"

real_T rtGetNaN(void) {
  const machByteOrder order = probe_byte_order();
  if (order == LittleEndian) {
    return double_from_words(order, 0xFFF80000U, 0x00000000U);
  }
  return double_from_words(order, 0x7FFFFFFFU, 0xFFFFFFFFU);
}

real32_T rtGetNaNF(void) {
  return float_from_word(probe_byte_order() == LittleEndian ? 0xFFC00000U
                                                            : 0x7FFFFFFFU);
}
