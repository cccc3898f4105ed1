// Regression and charting: the least-squares line fit, the log-log point set
// of a radial profile, the spectral slope and regression, chart information.
#ifndef VARNOTH_REGRESSION_H
#define VARNOTH_REGRESSION_H

#include "Varnoth_api.h"
#include "Varnoth_types.h"

extern "C" {
// Euclidean norm of the n elements starting at the 1-based index ix0,
// accumulated with scaling. xnrm2 and b_xnrm2 are the same routine.
VARNOTH_API real_T xnrm2(int n, const real_T x_data[], int ix0);
VARNOTH_API real_T b_xnrm2(int n, const real_T x_data[], int ix0);

// Exchanges x[ix0-1+k] and x[iy0-1+k] for k = 0..n-1 (1-based starts).
VARNOTH_API void xswap(int n, real_T x_data[], int ix0, int iy0);

// Householder QR with column pivoting of an m x 2 column-major matrix,
// m = A_size[0]. On exit: R in the upper triangle, reflector tails below
// the diagonal, tau_data[0..mn-1] with mn = min(m, 2) = tau_size[0], and
// the 1-based column permutation jpvt.
VARNOTH_API void xgeqp3(real_T A_data[], const int A_size[2], real_T tau_data[],
                        int tau_size[1], int jpvt[2]);

// Least-squares line y = p[0] x + p[1] through m = x_size[1] points
// (2 <= m <= 65).
VARNOTH_API void polyfit(const real_T x_data[], const int x_size[2],
                         const real_T y_data[], const int y_size[2],
                         real_T p[2]);

// Chart of a 65-value profile: fixed ranges and scales, the line fit, the
// number N of positive values and N points in chart coordinates,
// interleaved (x at 2k, y at 2k + 1) in scaledPoints[130].
VARNOTH_API void f_PlotSpectra_GetChartInfo(const real_T imgPS[65],
                                            real_T plotRange[4],
                                            real_T plotScale[2],
                                            real_T regress[2], real_T* N,
                                            real_T scaledPoints[130]);
}

// The log-log point set of a radial profile, shared by the processing chain,
// the slope and regression, and the chart:
//   xpts[k] = log(k * 1.546875 + 1.0)   (radii 0..64 onto 1..100)
//   ypts[k] = log(imgPS[k])
//   trueCount = number of k with imgPS[k] > 0.0 (strictly; NaN fails)
//   Xvalid/Yvalid: the points with finite ypts[k], in ascending k, in rows
//   of size {1, trueCount} whose unfilled entries are 0.0.
// trueCount and the finite points differ only for a +infinity value: it is
// counted but yields no point, so a (0.0, 0.0) point stays at the end of
// the rows and takes part in the fit.
struct LogLogPoints {
  real_T xpts[65];
  real_T ypts[65];
  int trueCount;
  real_T Xvalid_data[65];
  int Xvalid_size[2];
  real_T Yvalid_data[65];
  int Yvalid_size[2];
};

void loglog_points(const real_T imgPS[65], LogLogPoints* pts);

// The line of the chain, the slope and the regression: regress = {0.0, 0.0},
// then, when more than one profile value is positive, the least-squares
// line through the log-log points of imgPS.
void profile_line(const real_T imgPS[65], real_T regress[2]);

#endif
