// The chart on arbitrary profiles: no fault under the sanitizers; N is a
// whole number from 0 to 65, the number of profile values above 0.0.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_input.h"
#include "regression/Varnoth_regression.h"
#include "runtime/Varnoth_runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static const bool initialised = (Varnoth_initialize(), true);
  (void)initialised;
  const std::vector<double> ps = varnoth_fuzz::doubles(data, size, 65);
  double range[4], scale[2], regress[2], n = -1.0, points[130];
  f_PlotSpectra_GetChartInfo(ps.data(), range, scale, regress, &n, points);
  int positive = 0;
  for (double v : ps) positive += v > 0.0;
  if (n != static_cast<double>(positive)) std::abort();
  return 0;
}
