// Turning a fuzzer's bytes into the library's inputs.
#ifndef VARNOTH_FUZZ_INPUT_H
#define VARNOTH_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace varnoth_fuzz {

// n doubles from the bytes, their bit patterns as given (NaN payloads,
// infinities, subnormals, huge values, signed zeros), the bytes repeated
// when there are fewer than 8 n; zeros when there are none.
inline std::vector<double> doubles(const std::uint8_t* data, std::size_t size,
                                   std::size_t n) {
  std::vector<double> v(n, 0.0);
  if (size == 0) return v;
  std::vector<std::uint8_t> bytes(8 * n);
  for (std::size_t i = 0; i < bytes.size(); i++) bytes[i] = data[i % size];
  std::memcpy(v.data(), bytes.data(), bytes.size());
  return v;
}

// Two results agree bit for bit, or, where more than one NaN pattern may
// meet in an operation (IEEE leaves open which one survives), are both NaN.
inline bool same(double a, double b, bool nan_as_one) {
  std::uint64_t x, y;
  std::memcpy(&x, &a, 8);
  std::memcpy(&y, &b, 8);
  return x == y || (nan_as_one && a != a && b != b);
}

}  // namespace varnoth_fuzz

#endif
