// The same bits on every build. The power spectrum, the radial profile and
// the copy of the chain use only correctly rounded operations (+, -, *, /,
// sqrt) in a fixed order, so the Linux x86-64 library and the Windows x86
// DLL must give identical bits for them; these checksums were taken from
// the Linux build and are checked by every build's test run. (The phase
// and the slope also call the maths library's atan2 and log, which differ
// between platforms in the last bit now and then; they are left out.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "analysis/Varnoth_analysis.h"
#include "radial/Varnoth_radial.h"
#include "spectral/Varnoth_spectral.h"

namespace {

// FNV-1a over the bytes of n doubles (little-endian on both targets).
std::uint64_t checksum(const double* v, int n) {
  std::uint64_t h = 14695981039346656037ULL;
  const auto* bytes = reinterpret_cast<const unsigned char*>(v);
  for (std::size_t i = 0; i < sizeof(double) * static_cast<std::size_t>(n);
       i++) {
    h = (h ^ bytes[i]) * 1099511628211ULL;
  }
  return h;
}

// A platform-independent image: raw mt19937_64 output (the engine is fully
// specified by the C++ standard) turned into doubles by exact arithmetic.
// Image `kind` 0: grey levels 0..255 in steps of 1/256; 1: zero-mean values
// spanning 2^-20 .. 2^20; 2: grey levels with one infinity and a -0.0 (the
// NaN that inf - inf makes is the one default NaN; an input NaN beside it
// would leave which NaN pattern survives to the compiler's operand order).
std::vector<double> image(int kind, std::uint64_t seed) {
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
  return img;
}

struct Expected {
  int kind;
  std::uint64_t seed;
  std::uint64_t power;    // checksum of imgFT
  std::uint64_t profile;  // checksum of imgPS
};

}  // namespace

TEST(CrossBuild, SpectraAndProfilesHaveTheSameBitsOnEveryBuild) {
  const Expected expected[] = {
      {0, 1, 0x94d4ee4047b6445bULL, 0x406bb2c6698df4edULL},
      {0, 2, 0x38dab125ac72a3c7ULL, 0x537bbd1dc7416147ULL},
      {1, 3, 0xaf138074a36094f6ULL, 0xea41e06d3ca55406ULL},
      {1, 4, 0x73ef705e64115ccaULL, 0x8749c54a3f7ee5a6ULL},
      {2, 5, 0xdbab50910a20e325ULL, 0x64d9b81dbc3cc830ULL},
  };
  auto SD = std::make_unique<VarnothStackData>();
  std::vector<double> imgFT(16384), imgWD(16384), imgPS(65);
  for (const Expected& e : expected) {
    const std::vector<double> img = image(e.kind, e.seed);
    double slope = 0.0;
    f_PSD_Processing(SD.get(), img.data(), &slope, imgPS.data(), imgFT.data(),
                     imgWD.data());
    EXPECT_EQ(checksum(img.data(), 16384), checksum(imgWD.data(), 16384));
    EXPECT_EQ(e.power, checksum(imgFT.data(), 16384))
        << "kind " << e.kind << " seed " << e.seed;
    EXPECT_EQ(e.profile, checksum(imgPS.data(), 65))
        << "kind " << e.kind << " seed " << e.seed;
  }
}
