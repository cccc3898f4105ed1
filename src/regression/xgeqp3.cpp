// Householder QR factorisation with column pivoting of an m x 2 matrix.
#include <cmath>

#include "regression/Varnoth_regression.h"
#include "runtime/Varnoth_runtime.h"

// Computes A P = Q R for a column-major m x 2 matrix A (leading dimension
// m = A_size[0]; A_size[1] is not read, the column count is 2):
//   P  the column permutation, returned in jpvt (1-based: column k of A P is
//      column jpvt[k] of A);
//   Q  = H_0 H_1 ... H_{mn-1}, mn = min(m, 2), with the reflectors
//      H_i = I - tau_i v_i v_i^T, v_i(0 .. i-1) = 0, v_i(i) = 1;
//   R  upper triangular.
//
// Pivoting: the pivot is chosen once, at i = 0, from the initial column
// norms vn1[j] = ||A(:, j)||_2: column 1 goes first if vn1[1] > vn1[0]
// strictly; ties and NaN norms keep the order. At i = 1 only column 1
// remains, so the norms are needed for nothing else and are not downdated.
//
// Reflector of column i (generated only when i + 1 < m; otherwise
// tau_i = 0 and A(i, i) is left as it is): with alpha = A(i, i) and
// x = A(i+1 .. m-1, i), choose H_i so that
//   H_i [alpha; x] = [beta; 0],  H_i^T H_i = I,
//   beta = -sign(alpha) ||[alpha; x]||_2   (sign(0) = +1, so beta < 0 then),
//   tau_i = (beta - alpha) / beta,  v_i = [1; x / (alpha - beta)].
// Degenerate case: ||x||_2 = 0 gives tau_i = 0 (H_i = I) and beta = alpha.
// When |beta| < 2^-970 the tail, alpha and beta are scaled up by 2^970 as
// often as needed to reach |beta| >= 2^-970, beta is computed afresh from
// the scaled values, and after the division beta is scaled back down by
// the same count, so that 1 / (alpha - beta) cannot overflow. A NaN beta
// fails the comparison and takes the direct path.
//
// Update of column 1 by H_0 (the only column right of a reflector): with
// v = v_0 stored in column 0 (leading 1 put in temporarily) and the
// trailing zero elements of v and an all-zero column 1 skipped,
//   w = v^T A(:, 1),  A(:, 1) = A(:, 1) - tau_0 v w,
// where w is summed from 0.0 in increasing row order and the update is
// skipped when w = 0.0.
//
// Arguments:
//   A_data   on entry, the m x 2 matrix. On exit, R in the upper triangle
//            (R(0,0), R(0,1), R(1,1)) and v_i(i+1 .. m-1) below the
//            diagonal of column i.
//   A_size   on entry, {m, 2}; unchanged.
//   tau_data on exit, tau_0 .. tau_{mn-1}.
//   tau_size on exit, {mn}.
//   jpvt     on exit, the 1-based column permutation, {1, 2} or {2, 1}.
// m = 0 returns at once with jpvt = {1, 2} and tau_size = {0}.
void xgeqp3(real_T A_data[], const int A_size[2], real_T tau_data[],
            int tau_size[1], int jpvt[2]) {
  const int m = A_size[0];
  const int mn = (m < 2) ? m : 2;
  jpvt[0] = 1;
  jpvt[1] = 2;
  tau_size[0] = mn;
  if (m == 0) {
    return;
  }

  real_T vn1[2];
  vn1[0] = xnrm2(m, A_data, 1);
  vn1[1] = xnrm2(m, A_data, m + 1);

  for (int i = 0; i < mn; i++) {
    // Pivot: decided at i = 0 only.
    int pvt = i;
    if (i == 0 && std::fabs(vn1[1]) > std::fabs(vn1[0])) {
      pvt = 1;
    }
    if (pvt != i) {
      xswap(m, A_data, m * pvt + 1, m * i + 1);
      const int itemp = jpvt[pvt];
      jpvt[pvt] = jpvt[i];
      jpvt[i] = itemp;
    }

    // Reflector H_i on column i; ii is the 0-based index of A(i, i) and the
    // tail x = A(i+1 .. m-1, i) starts at 1-based index ii + 2.
    const int ii = i + i * m;
    if (i + 1 < m) {
      const int ntail = m - i - 1;
      real_T atmp = A_data[ii];
      real_T tau = 0.0;
      real_T xnorm = b_xnrm2(ntail, A_data, ii + 2);
      if (xnorm != 0.0) {
        real_T beta1 = rt_hypotd_snf(A_data[ii], xnorm);
        if (A_data[ii] >= 0.0) {
          beta1 = -beta1;
        }
        if (std::fabs(beta1) < 1.0020841800044864E-292) {
          // Scale up by 2^970 until |beta| >= 2^-970.
          int knt = 0;
          do {
            knt++;
            for (int k = ii + 1; k < ii + 1 + ntail; k++) {
              A_data[k] *= 9.9792015476736E+291;
            }
            beta1 *= 9.9792015476736E+291;
            atmp *= 9.9792015476736E+291;
          } while (std::fabs(beta1) < 1.0020841800044864E-292);
          xnorm = b_xnrm2(ntail, A_data, ii + 2);
          beta1 = rt_hypotd_snf(atmp, xnorm);
          if (atmp >= 0.0) {
            beta1 = -beta1;
          }
          tau = (beta1 - atmp) / beta1;
          const real_T scal = 1.0 / (atmp - beta1);
          for (int k = ii + 1; k < ii + 1 + ntail; k++) {
            A_data[k] *= scal;
          }
          for (int k = 0; k < knt; k++) {
            beta1 *= 1.0020841800044864E-292;
          }
          atmp = beta1;
        } else {
          tau = (beta1 - A_data[ii]) / beta1;
          const real_T scal = 1.0 / (A_data[ii] - beta1);
          for (int k = ii + 1; k < ii + 1 + ntail; k++) {
            A_data[k] *= scal;
          }
          atmp = beta1;
        }
      }
      tau_data[i] = tau;
      A_data[ii] = atmp;
    } else {
      tau_data[i] = 0.0;
    }

    // Apply H_0 to column 1.
    if (i == 0) {
      const real_T alpha = A_data[0];
      A_data[0] = 1.0;
      int lastv = 0;
      bool lastc = false;
      if (tau_data[0] != 0.0) {
        lastv = m;
        while (lastv > 0 && A_data[lastv - 1] == 0.0) {
          lastv--;
        }
        for (int r = 0; r < lastv; r++) {
          if (A_data[m + r] != 0.0) {
            lastc = true;
            break;
          }
        }
      }
      if (lastv > 0 && lastc) {
        real_T work = 0.0;
        for (int r = 0; r < lastv; r++) {
          work += A_data[m + r] * A_data[r];
        }
        if (work != 0.0) {
          const real_T temp = work * -tau_data[0];
          for (int r = 0; r < lastv; r++) {
            A_data[m + r] += A_data[r] * temp;
          }
        }
      }
      A_data[0] = alpha;
    }
  }
}
