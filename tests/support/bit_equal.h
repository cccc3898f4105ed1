// Bit-for-bit comparison of doubles, printing both values in %a form.
//
// EXPECT_DOUBLE_EQ tolerates 4 ULPs; results of this library are exact to
// the operation order, so tests compare the bits, which also tells +0.0
// from -0.0 and one NaN pattern from another.
#ifndef VARNOTH_TEST_BIT_EQUAL_H
#define VARNOTH_TEST_BIT_EQUAL_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace varnoth_test {

inline std::uint64_t bits_of(double v) {
  std::uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  return u;
}

inline std::uint32_t bits_of(float v) {
  std::uint32_t u;
  std::memcpy(&u, &v, sizeof u);
  return u;
}

inline double from_bits(std::uint64_t u) {
  double v;
  std::memcpy(&v, &u, sizeof v);
  return v;
}

inline std::string hex_float(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%a (0x%016llx)", v,
                static_cast<unsigned long long>(bits_of(v)));
  return buf;
}

inline ::testing::AssertionResult BitsEqual(const char* expected_expr,
                                            const char* actual_expr,
                                            double expected, double actual) {
  if (bits_of(expected) == bits_of(actual)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << actual_expr << " is " << hex_float(actual) << "\n"
         << "expected " << expected_expr << " = " << hex_float(expected);
}

// Compares n doubles bit for bit; reports the first difference and the count.
inline ::testing::AssertionResult ArraysBitsEqual(const double* expected,
                                                  const double* actual, int n) {
  int first = -1;
  int count = 0;
  for (int i = 0; i < n; i++) {
    if (bits_of(expected[i]) != bits_of(actual[i])) {
      if (first < 0) first = i;
      count++;
    }
  }
  if (count == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << count << " of " << n << " values differ; first at index " << first
         << ": " << hex_float(actual[first]) << ", expected "
         << hex_float(expected[first]);
}

}  // namespace varnoth_test

#define EXPECT_BITS_EQ(expected, actual) \
  EXPECT_PRED_FORMAT2(::varnoth_test::BitsEqual, expected, actual)
#define ASSERT_BITS_EQ(expected, actual) \
  ASSERT_PRED_FORMAT2(::varnoth_test::BitsEqual, expected, actual)

#endif
