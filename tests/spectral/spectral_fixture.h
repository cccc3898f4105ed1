// Shared set-up of the spectral tests: a work record whose every byte is
// 0xFF (a NaN pattern) before each call, so that a routine that read its
// scratch before writing it would leave NaN in its results.
#ifndef VARNOTH_TEST_SPECTRAL_FIXTURE_H
#define VARNOTH_TEST_SPECTRAL_FIXTURE_H

#include <cstring>
#include <memory>
#include <vector>

#include "bit_equal.h"
#include "runtime/Varnoth_runtime.h"
#include "spectral/Varnoth_spectral.h"

namespace varnoth_test {

class SpectralTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Varnoth_initialize(); }

  VarnothStackData* poisoned() {
    std::memset(static_cast<void*>(sd_.get()), 0xFF, sizeof(VarnothStackData));
    return sd_.get();
  }

  static std::vector<double> image(double fill = 0.0) {
    return std::vector<double>(16384, fill);
  }

 private:
  std::unique_ptr<VarnothStackData> sd_{new VarnothStackData};
};

}  // namespace varnoth_test

#endif
