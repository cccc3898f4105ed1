// Bit-pattern records through which the non-finite values are built.
#ifndef VARNOTH_RT_BITS_H
#define VARNOTH_RT_BITS_H

#include "Varnoth_types.h"

enum machByteOrder { LittleEndian = 0, BigEndian = 1 };

// The two 32-bit halves of a double as they lie in memory.
struct LittleEndianIEEEDouble {
  struct {
    uint32_T wordL;  // low 32 bits
    uint32_T wordH;  // high 32 bits: sign, exponent, top of the mantissa
  } words;
};

struct BigEndianIEEEDouble {
  struct {
    uint32_T wordH;
    uint32_T wordL;
  } words;
};

struct IEEESingle {
  union {
    real32_T wordLreal;
    uint32_T wordLuint;
  } wordL;
};

// The byte order of this machine: the first byte of the 16-bit value 1.
inline machByteOrder probe_byte_order() {
  uint16_T one = 1U;
  return (*reinterpret_cast<const unsigned char*>(&one) == 1U) ? LittleEndian
                                                               : BigEndian;
}

// The double whose high and low words are hi and lo, laid out for the
// machine's byte order.
inline real_T double_from_words(machByteOrder order, uint32_T hi, uint32_T lo) {
  if (order == LittleEndian) {
    union {
      LittleEndianIEEEDouble bitVal;
      real_T fltVal;
    } tmpVal;
    tmpVal.bitVal.words.wordH = hi;
    tmpVal.bitVal.words.wordL = lo;
    return tmpVal.fltVal;
  }
  union {
    BigEndianIEEEDouble bitVal;
    real_T fltVal;
  } tmpVal;
  tmpVal.bitVal.words.wordH = hi;
  tmpVal.bitVal.words.wordL = lo;
  return tmpVal.fltVal;
}

inline real32_T float_from_word(uint32_T word) {
  IEEESingle value;
  value.wordL.wordLuint = word;
  return value.wordL.wordLreal;
}

#endif
