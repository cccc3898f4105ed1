// The same bits on every build. The power spectrum, the radial profile and
// the copy of the chain use only correctly rounded operations (+, -, *, /,
// sqrt) in a fixed order, so every build (Linux x86-64 and aarch64, Windows
// x86 and x86-64) must give identical bits for them; these checksums were taken
// from the Linux build and are checked by every build's test run. (The phase
// and the slope also call the maths library's atan2 and log, which differ
// between platforms in the last bit now and then; they are left out here,
// and tests/cross_build compares every output of every build.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "analysis/Varnoth_analysis.h"
#include "cross_build_images.h"
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
    const std::vector<double> img =
        varnoth_test::cross_build_image(e.kind, e.seed);
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
