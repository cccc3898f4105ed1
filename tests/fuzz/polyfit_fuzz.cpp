// The line fit on arbitrary points, 2 to 65 of them: no fault under the
// sanitizers, and the same bits on a second call (no state, nothing read
// beyond the points).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "regression/Varnoth_regression.h"
#include "runtime/Varnoth_runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static const bool initialised = (Varnoth_initialize(), true);
  (void)initialised;
  if (size < 1) return 0;
  const int m = 2 + data[0] % 64;
  const std::vector<double> v =
      varnoth_fuzz::doubles(data + 1, size - 1, 2 * m);
  // Exactly m points each, on the heap, so that a read beyond them shows.
  std::vector<double> x(v.begin(), v.begin() + m), y(v.begin() + m, v.end());
  const int size_x[2] = {1, m}, size_y[2] = {1, m};
  double p[2], q[2];
  polyfit(x.data(), size_x, y.data(), size_y, p);
  polyfit(x.data(), size_x, y.data(), size_y, q);
  if (std::memcmp(p, q, sizeof p) != 0) std::abort();
  return 0;
}
