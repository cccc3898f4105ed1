// Axis ranges, scales, regression line and chart coordinates of a profile.
#include "regression/Varnoth_regression.h"
#include "regression/profile_chart.h"

// Chart of the log-log profile on a 256-unit area (coordinates 0 .. 255):
//   plotRange = kChartRange, plotScale = kChartScale (profile_chart.h);
//   N         = trueCount, the number of positive profile values;
//   regress   = the least-squares line through the log-log points when
//               trueCount > 1; the horizontal line {0.0, y_0} through the
//               first point when trueCount = 1; {0.0, 0.0} when
//               trueCount = 0;
//   pair k < trueCount of scaledPoints, for the k-th point (x_k, y_k) of
//   loglog_points:
//     scaledPoints[2k]     = 55.3725464426646 * x_k
//     scaledPoints[2k + 1] = 255.0 - (11.496476107083927 * y_k + 127.5)
//   so x in [0, ln 100] maps onto [0, 255] and y in [-ln 65536, ln 65536]
//   onto [255, 0] (the ordinate inverted); points are not clipped. Every
//   other element of scaledPoints is 0.0.
// A +infinity profile value is counted but yields no point, so the point
// list ends in (0.0, 0.0), plotted at (0.0, 127.5) and fitted.
//
// Arguments:
//   imgPS        on entry, the 65-value profile; unchanged.
//   plotRange    on exit, {x min, x max, y min, y max} in log units.
//   plotScale    on exit, {x scale, y scale} in chart units per log unit.
//   regress      on exit, {slope, intercept} in log units.
//   N            on exit, trueCount as a double.
//   scaledPoints on exit, 65 (x, y) pairs in chart coordinates.
void f_PlotSpectra_GetChartInfo(const real_T imgPS[65], real_T plotRange[4],
                                real_T plotScale[2], real_T regress[2],
                                real_T* N, real_T scaledPoints[130]) {
  for (int i = 0; i < 4; i++) {
    plotRange[i] = varnoth_regression::kChartRange[i];
  }
  for (int i = 0; i < 2; i++) {
    plotScale[i] = varnoth_regression::kChartScale[i];
  }

  LogLogPoints pts;
  loglog_points(imgPS, &pts);
  *N = static_cast<real_T>(pts.trueCount);

  // With no positive value there is no first point: the intercept is 0.0.
  regress[0] = 0.0;
  regress[1] = (pts.trueCount > 0) ? pts.Yvalid_data[0] : 0.0;
  if (pts.trueCount > 1) {
    polyfit(pts.Xvalid_data, pts.Xvalid_size, pts.Yvalid_data, pts.Yvalid_size,
            regress);
  }

  for (int i = 0; i < 130; i++) {
    scaledPoints[i] = 0.0;
  }
  for (int k = 0; k < pts.trueCount; k++) {
    scaledPoints[2 * k] =
        varnoth_regression::kChartScale[0] * pts.Xvalid_data[k];
    scaledPoints[2 * k + 1] =
        255.0 -
        (varnoth_regression::kChartScale[1] * pts.Yvalid_data[k] + 127.5);
  }
}
