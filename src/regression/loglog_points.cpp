// The log-log point set of a 65-value radial profile.
#include <cmath>

#include "regression/Varnoth_regression.h"
#include "regression/fit_line.h"
#include "runtime/Varnoth_runtime.h"

// For each radius k = 0 .. 64, in increasing k:
//   xpts[k] = ln(k * 1.546875 + 1.0)   (product, then sum; 1.546875 = 99/64
//             maps the radii onto 1 .. 100, so xpts[0] = 0.0 and
//             xpts[64] = ln 100 exactly as the logarithm rounds it)
//   ypts[k] = ln(imgPS[k])             (0.0 gives -infinity, a negative
//             value or NaN gives NaN)
//   trueCount = #{k : imgPS[k] > 0.0}  (strictly; NaN is not counted)
// The fit rows have size {1, trueCount}. Their entries receive, in
// increasing k, the points (xpts[k], ypts[k]) whose ypts[k] is finite; all
// other entries are 0.0.
//
// Invariant: a finite ypts[k] needs 0 < imgPS[k] < +infinity, so the number
// of collected points never exceeds trueCount. They are equal unless some
// imgPS[k] = +infinity: such a bin is counted but yields no point, so a
// point (0.0, 0.0) stays at the end of the rows for each such bin and takes
// part in any fit made on them.
//
// The values equal those of b_log applied to the 65 abscissae and to a copy
// of the profile, and b_isfinite is the test !rtIsInf && !rtIsNaN, so the
// one routine serves the chain, the slope and regression, and the chart.
//
// Arguments:
//   imgPS on entry, the profile; unchanged.
//   pts   on exit, every member written.
namespace {

// The 65 abscissae ln(k * 1.546875 + 1.0). They do not depend on the
// profile, so they are computed once, on first use, by the same std::log
// on the same operands, which gives the same doubles as computing them on
// every call in the default rounding mode, the one every result of the
// library assumes. (A function-local static is initialised once, safely
// when threads race to it.)
struct Abscissae {
  real_T x[kProfileSize];
};

const Abscissae& loglog_abscissae() {
  static const Abscissae table = [] {
    Abscissae t;
    for (int k = 0; k < kProfileSize; k++) {
      t.x[k] = std::log(static_cast<real_T>(k) * 1.546875 + 1.0);
    }
    return t;
  }();
  return table;
}

}  // namespace

int loglog_fit_points(const real_T profile[], int count, const real_T xpts[],
                      real_T ypts[], real_T xvalid[], real_T yvalid[]) {
  int trueCount = 0;
  for (int k = 0; k < count; k++) {
    if (profile[k] > 0.0) {
      trueCount++;
    }
    ypts[k] = std::log(profile[k]);
    xvalid[k] = 0.0;
    yvalid[k] = 0.0;
  }
  int ivalid = 0;
  for (int k = 0; k < count; k++) {
    if (b_isfinite(ypts[k])) {
      yvalid[ivalid] = ypts[k];
      xvalid[ivalid] = xpts[k];
      ivalid++;
    }
  }
  return trueCount;
}

void loglog_points(const real_T imgPS[65], LogLogPoints* pts) {
  const Abscissae& abscissae = loglog_abscissae();
  for (int k = 0; k < kProfileSize; k++) {
    pts->xpts[k] = abscissae.x[k];
  }
  pts->trueCount =
      loglog_fit_points(imgPS, kProfileSize, abscissae.x, pts->ypts,
                        pts->Xvalid_data, pts->Yvalid_data);
  pts->Xvalid_size[0] = 1;
  pts->Xvalid_size[1] = pts->trueCount;
  pts->Yvalid_size[0] = 1;
  pts->Yvalid_size[1] = pts->trueCount;
}
