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

// The column transforms of the row spectra held in tiles (fft_lanes.h) and
// the centred power of their values in one pass, without storing the 2-D
// spectrum: the value that column_transforms followed by centred_power
// puts at ret[R + 128 C], by the same operations, written either row by
// row, pt[128 R + C] (tile_column_power_by_rows), or in the library's
// layout, ret[R + 128 C] (tile_column_power).
//
// Columns c .. c + W - 1 go through one transform (transform_groups, their
// rows gathered from the tiles by load_tile_group); value u of their
// spectra is centred to row (u + 64) mod 128 and columns (c + 64) mod 128
// .. + W - 1, side by side. The transform keeps the adders busy and leaves
// the divider idle, and the power (a divide and a square root per value)
// the reverse, so the power of a block is computed while the next block
// is transformed: its 128 values wait in spec (a block of the first-level
// cache), and the side work of the next transform (side(j)) takes values
// 2 j and 2 j + 1 in its passes 1-5 (j < 48) and value j + 48 at the start
// of group j - 48 of its passes 6-7, before that group stores values
// j - 48, j - 16, j + 16 and j + 48 of its own into spec: each old value is
// read before it is overwritten. The last block of a run is squared after
// its transform. Every value goes through the same operations whichever
// block it is computed beside.

// The power written row by row: value u of columns c .. c + W - 1 to
// pt[128 ((u + 64) mod 128) + (c + 64) mod 128], W adjacent doubles.
template <class L>
struct PowerByRows {
  real_T* dest;  // pt
  void value(int c, int u, const ComplexLanes<L>& z) {
    L::store(&dest[128 * ((u + 64) & 127) + ((c + 64) & 127)],
             centred_power_lanes<L>(z.re, z.im));
  }
  void finish(int) {}
};

// The power in the library's layout: the powers of a block of W columns are
// gathered in block, block[R] holding row R of the W centred columns, and
// written out W rows by W columns at a time, transposed in registers, so
// that each column receives contiguous runs.
template <class L>
struct PowerByColumns {
  real_T* dest;  // ret
  typename L::V block[128];
  void value(int, int u, const ComplexLanes<L>& z) {
    block[(u + 64) & 127] = centred_power_lanes<L>(z.re, z.im);
  }
  void finish(int c) {
    constexpr int W = L::kLanes;
    const int cs = (c + 64) & 127;
    for (int r0 = 0; r0 < 128; r0 += W) {
      typename L::V v[W];  // v[t]: row r0 + t of the W columns
#pragma GCC unroll 8
      for (int t = 0; t < W; t++) v[t] = block[r0 + t];
      L::transpose(v);  // v[j]: rows r0 .. r0 + W - 1 of column cs + j
#pragma GCC unroll 8
      for (int j = 0; j < W; j++) L::store(&dest[r0 + 128 * (cs + j)], v[j]);
    }
  }
};

// Blocks p0 .. p1 - 1 of W columns (columns W p .. W p + W - 1): their
// transforms from the tiles, and the power of every value through an Out
// writing to dest. Writes only the columns that those columns centre to.
template <class L, class Out>
VARNOTH_LANE_KERNEL void tile_column_run(const real_T* tiles, int p0, int p1,
                                         real_T* dest) {
  constexpr int W = L::kLanes;
  Out out;
  out.dest = dest;
  ComplexLanes<L> spec[128];  // the spectra of block `prev`, not yet squared
  int prev = -1;              // its first column, -1 before the first block
  for (int p = p0; p < p1; p++) {
    const int c = W * p;
    transform_groups<L>(
        [tiles, c](int b, ComplexLanes<L>(&e)[8]) {
          load_tile_group<L>(tiles, c, b, e);
        },
        [&spec](int u, const ComplexLanes<L>& z) { spec[u] = z; },
        [&spec, &out, prev](int j) {
          if (prev < 0) return;
          if (j < 48) {
            out.value(prev, 2 * j, spec[2 * j]);
            out.value(prev, 2 * j + 1, spec[2 * j + 1]);
          } else {
            out.value(prev, j + 48, spec[j + 48]);
          }
        });
    if (prev >= 0) out.finish(prev);
    prev = c;
  }
  if (prev >= 0) {
    for (int u = 0; u < 128; u++) out.value(prev, u, spec[u]);
    out.finish(prev);
  }
}

template <class L>
void tile_column_power_by_rows(const real_T tiles[32768], real_T pt[16384]) {
  for_column_runs<L>([tiles, pt](int p0, int p1) {
    tile_column_run<L, PowerByRows<L>>(tiles, p0, p1, pt);
  });
}

template <class L>
void tile_column_power(const real_T tiles[32768], real_T ret[16384]) {
  for_column_runs<L>([tiles, ret](int p0, int p1) {
    tile_column_run<L, PowerByColumns<L>>(tiles, p0, p1, ret);
  });
}

}  // namespace varnoth_fft

#endif
