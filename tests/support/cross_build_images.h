// Images that every build computes alike: raw mt19937_64 output (the engine
// is fully specified by the C++ standard) turned into doubles by exact
// arithmetic, so that the input bits are the same on every platform.
#ifndef VARNOTH_TEST_CROSS_BUILD_IMAGES_H
#define VARNOTH_TEST_CROSS_BUILD_IMAGES_H

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace varnoth_test {

// Image `kind`
//   0: grey levels 0..255 in steps of 1/256;
//   1: zero-mean values spanning 2^-20 .. 2^20;
//   2: grey levels with one infinity and a -0.0 (the NaN that inf - inf
//      makes is the machine's default NaN; an input NaN beside it would leave
//      which NaN pattern survives to the compiler's operand order);
//   3: a Brownian surface, the 2-D running sum of grey levels less their
//      midpoint (a power spectrum falling as 1/f^2, as natural images do;
//      every partial sum is a multiple of 1/256 below 2^53, hence exact).
inline std::vector<double> cross_build_image(int kind, std::uint64_t seed) {
  std::mt19937_64 gen(seed);
  std::vector<double> img(16384);
  for (double& v : img) {
    const std::uint64_t r = gen();
    if (kind == 1) {
      const double mantissa = static_cast<double>(r >> 11) * 0x1p-53 - 0.5;
      const int exponent = static_cast<int>(r & 31) - 15;  // -15..16
      double scale = 1.0;
      for (int e = 0; e < exponent; e++) scale *= 2.0;
      for (int e = 0; e > exponent; e--) scale *= 0.5;
      v = mantissa * scale * 16.0;
    } else {
      v = static_cast<double>(r >> 48) / 256.0;
    }
  }
  if (kind == 2) {
    img[1234] = -0.0;
    img[9000] = std::numeric_limits<double>::infinity();
  }
  if (kind == 3) {
    for (double& v : img) v -= 128.0;
    for (int i = 1; i < 16384; i++) {
      if (i % 128 != 0) img[i] += img[i - 1];  // along each column
    }
    for (int i = 128; i < 16384; i++) img[i] += img[i - 128];  // across
  }
  return img;
}

}  // namespace varnoth_test

#endif
