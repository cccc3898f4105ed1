// One column of the centred power spectrum, straight from the uncentred
// spectrum: the kernels of f_ImageFFTPower. Internal to the library, not
// exported.
//
//   ret((r + 64) mod 128, (c + 64) mod 128) = d d,
//   d = rt_hypotd_snf(f(r, c).re, f(r, c).im) / 16384.0,   r = 0..127,
//
// element (r, c) at index r + 128 c. That is the value that fftshift,
// b_abs, the division by 16384 and power give at that place, computed by
// the same operations. Column c of f is read, column (c + 64) mod 128 of
// ret written, nothing else.
#ifndef VARNOTH_CENTRED_POWER_H
#define VARNOTH_CENTRED_POWER_H

#include "Varnoth_api.h"
#include "Varnoth_types.h"
#include "runtime/Varnoth_runtime.h"
#include "spectral/fft_lanes.h"
#include "spectral/lanes.h"

namespace varnoth_fft {

// The scalar form: rt_hypotd_snf itself, element by element.
inline void centred_power_column_scalar(const creal_T f[16384],
                                        real_T ret[16384], int c) {
  const int cs = (c + 64) & 127;
  for (int r = 0; r < 128; r++) {
    const creal_T z = f[r + 128 * c];
    const real_T d = rt_hypotd_snf(z.re, z.im) / 16384.0;
    ret[((r + 64) & 127) + 128 * cs] = d * d;
  }
}

// hypot_lanes: rt_hypotd_snf of W spectral values, one per lane;
// centred_power_lanes: their power. centred_power_column: elements (r, c) .. (r
// + W - 1, c), r a multiple of W, one per lane; they land side by side in ret,
// as r + 64 .. r + W - 1 + 64 (mod 128) stay in one half. For a lane with a =
// |re|, b = |im| (the sign bit cleared, as fabs does, NaN included)
// rt_hypotd_snf gives
//   a < b:  b sqrt(1.0 + (a / b)^2)
//   a > b:  a sqrt((b / a)^2 + 1.0)
//   else:   b if b is NaN, otherwise a 1.4142135623730951.
// Every lane forms every formula and keeps the one its own comparisons
// choose (no branches). In the first two cases 0 <= num < den, so the
// quotient q = num / den is a number in [0, 1] and so is q q; for such a z
// the IEEE sum 1.0 + z is the same double as z + 1.0 (the correctly rounded
// exact sum; only NaN operands make the order matter), so both cases share
// den sqrt(1.0 + q q). Whatever an unchosen formula gives in a lane (0 / 0,
// say) is discarded by the selection. Then d = h / 16384.0 and d d, as in
// the scalar form, the division done as the product h 2^-14: IEEE division
// and multiplication both return the correctly rounded value of the exact
// result, and h / 2^14 and h 2^-14 are the same real number, so the two
// give the same double for every h (subnormal quotients, infinities and NaN
// included). The same holds for any power of two, so windows of side 2^m
// divide by 2^(2 m) as the product h 2^(-2 m) (scaled_power_lanes).
template <class L>
inline typename L::V hypot_lanes(typename L::V re, typename L::V im) {
  typedef typename L::V V;
  typedef typename L::Mask Mask;
  const V a = L::abs(re);
  const V b = L::abs(im);
  const Mask lt = L::lt(a, b);
  const Mask gt = L::gt(a, b);
  const V num = L::select(lt, a, b);
  const V den = L::select(lt, b, a);
  const V q = L::div(num, den);
  const V h_ne = L::mul(den, L::sqrt(L::add(L::dup(1.0), L::mul(q, q))));
  const V h_eq =
      L::select(L::is_nan(b), b, L::mul(a, L::dup(1.4142135623730951)));
  return L::select(L::either(lt, gt), h_ne, h_eq);
}

// d d with d = h / 2^(2 m) for the hypotenuse h of each lane and a scale
// 2^(-2 m) (the division by the square of the side 2^m, exactly).
template <class L>
inline typename L::V scaled_power_lanes(typename L::V re, typename L::V im,
                                        typename L::V scale) {
  const typename L::V d = L::mul(hypot_lanes<L>(re, im), scale);
  return L::mul(d, d);
}

template <class L>
inline typename L::V centred_power_lanes(typename L::V re, typename L::V im) {
  return scaled_power_lanes<L>(re, im, L::dup(0x1p-14));  // h / 16384
}

template <class L>
VARNOTH_LANE_KERNEL void centred_power_column(const creal_T f[16384],
                                              real_T ret[16384], int c) {
  const int cs = (c + 64) & 127;
  for (int r = 0; r < 128; r += L::kLanes) {
    typename L::V re, im;
    L::load_complex(&f[r + 128 * c], re, im);
    L::store(&ret[((r + 64) & 127) + 128 * cs], centred_power_lanes<L>(re, im));
  }
}

// The whole centred power spectrum of the uncentred spectrum f. Column c
// of f is read and column (c + 64) mod 128 of ret written by iteration c
// alone, so the loop may run on several threads.
template <class L>
void centred_power(const creal_T f[16384], real_T ret[16384]) {
  VARNOTH_PARALLEL_FOR
  for (int c = 0; c < 128; c++) {
    centred_power_column<L>(f, ret, c);
  }
}

// The column transforms of g and the centred power of their values in one
// pass, the power written row by row: pt[128 R + C] is the centred power at
// (R, C), the value that column_transforms followed by centred_power puts
// at ret[R + 128 C], by the same operations. Columns c .. c + W - 1 go
// through one transform; the power of their value u lands at row
// (u + 64) mod 128, columns (c + 64) mod 128 .. + W - 1, side by side. The
// column spectra are never stored. Iteration p handles columns W p ..
// W p + W - 1 of g, and writes only the columns they centre to.
template <class L>
VARNOTH_LANE_KERNEL void column_block_power_by_rows(const creal_T g[16384],
                                                    real_T pt[16384], int c) {
  const int cs = (c + 64) & 127;
  column_transform<L>(g, c, [pt, cs](int u, const ComplexLanes<L>& z) {
    L::store(&pt[128 * ((u + 64) & 127) + cs],
             centred_power_lanes<L>(z.re, z.im));
  });
}

template <class L>
void column_power_by_rows(const creal_T g[16384], real_T pt[16384]) {
  for_column_blocks<L>(
      [g, pt](int c) { column_block_power_by_rows<L>(g, pt, c); });
}

// The same fused pass with the power in the library's layout: ret[R + 128 C]
// is the centred power at (R, C). The lanes carry columns, so the powers of
// columns c .. c + W - 1 are gathered in a block held in the first-level
// cache, block[R] holding row R of those centred columns, and then written
// out W rows by W columns at a time, transposed in registers, so that each
// column receives contiguous runs. Iteration p reads columns W p ..
// W p + W - 1 of g and writes only the columns they centre to.
template <class L>
VARNOTH_LANE_KERNEL void column_block_power(const creal_T g[16384],
                                            real_T ret[16384], int c) {
  constexpr int W = L::kLanes;
  const int cs = (c + 64) & 127;
  typename L::V block[128];
  column_transform<L>(g, c, [&block](int u, const ComplexLanes<L>& z) {
    block[(u + 64) & 127] = centred_power_lanes<L>(z.re, z.im);
  });
  for (int r0 = 0; r0 < 128; r0 += W) {
    typename L::V v[W];  // v[t]: row r0 + t of the W columns
#pragma GCC unroll 8
    for (int t = 0; t < W; t++) v[t] = block[r0 + t];
    L::transpose(v);  // v[j]: rows r0 .. r0 + W - 1 of column cs + j
#pragma GCC unroll 8
    for (int j = 0; j < W; j++) L::store(&ret[r0 + 128 * (cs + j)], v[j]);
  }
}

template <class L>
void column_power(const creal_T g[16384], real_T ret[16384]) {
  for_column_blocks<L>([g, ret](int c) { column_block_power<L>(g, ret, c); });
}

}  // namespace varnoth_fft

#endif
