// The six non-finite values and the tests that recognise them.
#include <cstring>

#include "runtime/Varnoth_runtime.h"

// Constant initialisation: the values hold from the moment the library is
// loaded, so a computation made before Varnoth_initialize already sees a
// real NaN and real infinities, never zeros.
real_T rtInf = __builtin_bit_cast(real_T, UINT64_C(0x7FF0000000000000));
real_T rtMinusInf = __builtin_bit_cast(real_T, UINT64_C(0xFFF0000000000000));
real_T rtNaN = __builtin_bit_cast(real_T, UINT64_C(0xFFF8000000000000));
real32_T rtInfF = __builtin_bit_cast(real32_T, UINT32_C(0x7F800000));
real32_T rtMinusInfF = __builtin_bit_cast(real32_T, UINT32_C(0xFF800000));
real32_T rtNaNF = __builtin_bit_cast(real32_T, UINT32_C(0xFFC00000));

namespace {

// Writes value into target only when their bits differ. After load the
// values already hold their bits, so a repeated initialisation writes
// nothing that a concurrent computation might be reading.
template <typename T>
void store_bits(T& target, T value) {
  if (std::memcmp(&target, &value, sizeof(T)) != 0) {
    target = value;
  }
}

}  // namespace

void rt_InitInfAndNaN(std::size_t realSize) {
  (void)realSize;
  store_bits(rtNaN, rtGetNaN());
  store_bits(rtNaNF, rtGetNaNF());
  store_bits(rtInf, rtGetInf());
  store_bits(rtInfF, rtGetInfF());
  store_bits(rtMinusInf, rtGetMinusInf());
  store_bits(rtMinusInfF, rtGetMinusInfF());
}

// Ordinary equality against the two infinities: NaN gives false.
boolean_T rtIsInf(real_T value) {
  return (value == rtInf || value == rtMinusInf) ? 1U : 0U;
}

boolean_T rtIsInfF(real32_T value) {
  return (value == rtInfF || value == rtMinusInfF) ? 1U : 0U;
}

// NaN is the only value that does not compare equal to itself.
boolean_T rtIsNaN(real_T value) { return (value != value) ? 1U : 0U; }

boolean_T rtIsNaNF(real32_T value) { return (value != value) ? 1U : 0U; }
