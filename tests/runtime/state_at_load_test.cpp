// The non-finite values hold their bits from load on, before any
// initialisation, so early computations see real NaN and infinities.
#include <cmath>

#include "bit_equal.h"
#include "runtime/Varnoth_runtime.h"
#include "test_values.h"

using varnoth_test::bits_of;
using varnoth_test::kLibraryNaN;

TEST(StateAtLoad, NonFiniteValuesAreSetBeforeInitialize) {
  EXPECT_EQ(bits_of(rtNaN), kLibraryNaN);
  EXPECT_EQ(bits_of(rtInf), 0x7FF0000000000000ULL);
  EXPECT_EQ(bits_of(rtMinusInf), 0xFFF0000000000000ULL);
  EXPECT_EQ(bits_of(rtNaNF), 0xFFC00000U);
  EXPECT_EQ(bits_of(rtInfF), 0x7F800000U);
  EXPECT_EQ(bits_of(rtMinusInfF), 0xFF800000U);
}

TEST(StateAtLoad, HelpersTreatZeroAsFiniteBeforeInitialize) {
  EXPECT_FALSE(rtIsInf(0.0));
  EXPECT_TRUE(b_isfinite(0.0));
  EXPECT_BITS_EQ(rtNaN, rt_atan2d_snf(NAN, 1.0));
}
