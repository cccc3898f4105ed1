// Special values that the tests of several parts of the library share.
//
// The library's own NaN, rtNaN, is the quiet NaN with the sign bit set: the
// NaN its routines make themselves (rt_atan2d_snf of a NaN, the mean of a
// ring with no value). The tests compare NaN by their bits, so that this
// NaN is told from the NaN that C++ makes (sign bit clear) and from any
// other pattern.
#ifndef VARNOTH_TEST_TEST_VALUES_H
#define VARNOTH_TEST_TEST_VALUES_H

#include <cstdint>
#include <limits>

#include "bit_equal.h"

namespace varnoth_test {

// Positive infinity, bits 0x7FF0000000000000.
inline constexpr double kInf = std::numeric_limits<double>::infinity();

// The quiet NaN of C++, sign bit clear (0x7FF8000000000000 on the machines
// the library is built for): a NaN that is not the library's.
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// pi rounded to the nearest double, bits 0x400921FB54442D18.
inline constexpr double kPi = 0x1.921FB54442D18p+1;

// The bits of the library's NaN (rtNaN): sign set, exponent all ones,
// quiet bit set, no payload.
inline constexpr std::uint64_t kLibraryNaN = 0xFFF8000000000000ULL;

// The library's NaN as a double.
inline double library_nan() { return from_bits(kLibraryNaN); }

}  // namespace varnoth_test

#endif
