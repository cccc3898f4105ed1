// The log-log line of a radial profile.
#include "regression/Varnoth_regression.h"

// regress = {0.0, 0.0}, then, when more than one profile value is positive,
// the least-squares line (polyfit) through the log-log points of imgPS
// (loglog_points). A fit is never made on fewer than two points, so
// polyfit's m >= 2.
void profile_line(const real_T imgPS[65], real_T regress[2]) {
  LogLogPoints pts;
  loglog_points(imgPS, &pts);
  regress[0] = 0.0;
  regress[1] = 0.0;
  if (pts.trueCount > 1) {
    polyfit(pts.Xvalid_data, pts.Xvalid_size, pts.Yvalid_data, pts.Yvalid_size,
            regress);
  }
}
