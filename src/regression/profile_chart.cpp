// The chart and the line of a radial profile of any window (profile_chart.h).
#include "regression/profile_chart.h"

#include <cmath>

#include "regression/fit_line.h"
#include "runtime/scratch_array.h"

namespace varnoth_regression {

void profile_chart(const real_T* profile, int count, ProfileChart* chart,
                   real_T* x, real_T* y) {
  for (int i = 0; i < 4; i++) chart->range[i] = kChartRange[i];
  for (int i = 0; i < 2; i++) chart->scale[i] = kChartScale[i];

  // Radii 0 .. count - 1 onto 1 .. 100: a = 99 / (count - 1), exact.
  const real_T a = 99.0 / static_cast<real_T>(count - 1);
  using varnoth_runtime::ScratchArray;
  ScratchArray<real_T> xpts(count), ypts(count), xvalid(count), yvalid(count);
  for (int k = 0; k < count; k++) {
    xpts[k] = std::log(static_cast<real_T>(k) * a + 1.0);
  }
  const int trueCount = loglog_fit_points(
      profile, count, xpts.data(), ypts.data(), xvalid.data(), yvalid.data());
  chart->points = trueCount;

  // With no positive value there is no first point: the intercept is 0.0.
  chart->line[0] = 0.0;
  chart->line[1] = trueCount > 0 ? yvalid[0] : 0.0;
  if (trueCount > 1) {
    ScratchArray<real_T> V(2 * static_cast<std::size_t>(trueCount));
    ScratchArray<real_T> B(trueCount);
    fit_line(xvalid.data(), yvalid.data(), trueCount, V.data(), B.data(),
             chart->line);
  }

  for (int k = 0; k < count; k++) {
    x[k] = 0.0;
    y[k] = 0.0;
  }
  for (int k = 0; k < trueCount; k++) {
    x[k] = kChartScale[0] * xvalid[k];
    y[k] = 255.0 - (kChartScale[1] * yvalid[k] + 127.5);
  }
}

}  // namespace varnoth_regression
