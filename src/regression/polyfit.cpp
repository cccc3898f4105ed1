// Least-squares straight line through m points: fit_line for any m, with
// its scratch from the caller; polyfit, at most 65 points, scratch on the
// stack.
#include "regression/Varnoth_regression.h"
#include "regression/fit_line.h"

// Fits y = p[0] x + p[1] to the m = x_size[1] points (x_data[r], y_data[r])
// by least squares: p minimises ||V p - y||_2 for the m x 2 design matrix
// V = [x 1] (powers of x in decreasing order).
//
// Method: V P = Q R by Householder QR with column pivoting (xgeqp3); then
//   B = Q^T y            (H_0 first, then H_1),
//   R z = B(0 .. mn-1)   (back-substitution, mn = min(m, 2)),
//   p = P z              (z(i) belongs to input column jpvt[i]).
// Applying H_j = I - tau_j v_j v_j^T to B:
//   w = B(j) + sum_{r > j} v_j(r) B(r)  (increasing r),  w = tau_j w,
//   B(j) -= w,  B(r) -= v_j(r) w  for r > j;
// skipped when tau_j = 0.0 and the subtraction skipped when w = 0.0.
//
// No rank test: R(1,1) is used as a divisor whatever its size. Collinear
// design columns (all abscissae equal) give meaningless coefficients; all
// abscissae 0.0 give R(1,1) = 0.0 and so a slope of +-infinity or NaN and
// a NaN intercept. Non-finite points propagate.
//
// Arguments:
//   x_data on entry, the abscissae x_data[0 .. m-1]; unchanged.
//   x_size on entry, {1, m}; only x_size[1] is read. 2 <= m <= 65 for a
//          line; m = 1 solves for one coefficient (the other stays 0.0)
//          and m = 0 gives p = {0.0, 0.0}.
//   y_data on entry, the ordinates; unchanged.
//   y_size on entry, {1, m}; y_size[1] ordinates are copied and must equal
//          m.
//   p      on exit, p[0] = slope, p[1] = intercept.
// fit_line takes x, y and m directly, and scratch V_data (2 m values) and
// B_data (m values).
void fit_line(const real_T x[], const real_T y[], int m, real_T V_data[],
              real_T B_data[], real_T p[2]) {
  // Design matrix V = [x 1], column-major with leading dimension m.
  int V_size[2];
  V_size[0] = m;
  V_size[1] = 2;
  for (int r = 0; r < m; r++) {
    V_data[r + m] = 1.0;
    V_data[r] = x[r];
  }
  const int mn = (m < 2) ? m : 2;

  real_T tau_data[2];
  int tau_size[1];
  int jpvt[2];
  xgeqp3(V_data, V_size, tau_data, tau_size, jpvt);

  real_T p1[2] = {0.0, 0.0};
  for (int r = 0; r < m; r++) {
    B_data[r] = y[r];
  }

  // B = Q^T y.
  for (int j = 0; j < mn; j++) {
    if (tau_data[j] != 0.0) {
      real_T wj = B_data[j];
      for (int r = j + 1; r < m; r++) {
        wj += V_data[r + m * j] * B_data[r];
      }
      wj *= tau_data[j];
      if (wj != 0.0) {
        B_data[j] -= wj;
        for (int r = j + 1; r < m; r++) {
          B_data[r] -= V_data[r + m * j] * wj;
        }
      }
    }
  }

  // z = R^-1 B, scattered into input column order.
  for (int i = 0; i < mn; i++) {
    p1[jpvt[i] - 1] = B_data[i];
  }
  for (int j = mn - 1; j >= 0; j--) {
    p1[jpvt[j] - 1] /= V_data[j + m * j];
    if (j == 1) {
      p1[jpvt[0] - 1] -= p1[jpvt[1] - 1] * V_data[m];
    }
  }

  p[0] = p1[0];
  p[1] = p1[1];
}

void polyfit(const real_T x_data[], const int x_size[2], const real_T y_data[],
             const int y_size[2], real_T p[2]) {
  real_T V_data[130];
  real_T B_data[65];
  (void)y_size;  // y_size[1] equals x_size[1]
  fit_line(x_data, y_data, x_size[1], V_data, B_data, p);
}
