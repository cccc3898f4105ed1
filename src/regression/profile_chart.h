// The chart and the line of a radial profile of any length count = n / 2 + 1
// (n a power of two from 32 to 4096): f_PlotSpectra_GetChartInfo
// generalised. Internal to the library, not exported.
//
// The abscissa of ring k is ln(k a + 1.0), a = 99 / (count - 1) (exact, a
// power of two divides 99), so radii 0 .. count - 1 map onto 1 .. 100 as the
// natives' 1.546875 = 99 / 64 does for 65 values; the points are those of
// loglog_points (the strictly positive values counted, the finite
// logarithms taken in ascending k), the line that of polyfit on them, the
// ranges, scales and chart coordinates those of f_PlotSpectra_GetChartInfo.
// For count = 65 every value is that routine's, bit for bit.
#ifndef VARNOTH_PROFILE_CHART_H
#define VARNOTH_PROFILE_CHART_H

#include "Varnoth_types.h"

namespace varnoth_regression {

// The chart's frame, the same for every profile: axis ranges in natural-log
// units, abscissa [ln 1, ln 100], ordinate [-ln 65536, ln 65536]
// (ln 65536 = 16 ln 2); chart units per log unit, 255 / ln 100 for the
// abscissa and 255 / (2 ln 65536) for the ordinate.
inline constexpr real_T kChartRange[4] = {
    0.0, 4.605170185988092, -11.090354888959125, 11.090354888959125};
inline constexpr real_T kChartScale[2] = {55.3725464426646, 11.496476107083927};

struct ProfileChart {
  real_T range[4];  // {x min, x max, y min, y max} in log units
  real_T scale[2];  // {x, y} chart units per log unit
  real_T line[2];   // {slope, intercept}
  int points;       // the number of strictly positive profile values
};

// x and y receive the chart coordinates of the points, count values each
// (those from chart->points on are 0.0).
void profile_chart(const real_T* profile, int count, ProfileChart* chart,
                   real_T* x, real_T* y);

}  // namespace varnoth_regression

#endif
