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
// choose (no branches). In the first two cases a and b are numbers and
// differ, num = min(a, b) and den = max(a, b), so 0 <= num < den and the
// quotient q = num / den is a number in [0, 1] and so is q q; for such a z
// the IEEE sum 1.0 + z is the same double as z + 1.0 (the correctly rounded
// exact sum; only NaN operands make the order matter), so both cases share
// den sqrt(1.0 + q q). Whatever an unchosen formula gives in a lane (0 / 0,
// or min and max of a NaN, say) is discarded by the selection, which takes
// den sqrt(..) where a < b or a > b (one multiply where the lanes allow a
// masked one, mul_where), else a 1.4142135623730951 where b is a number,
// else b. Then d = h / 16384.0 and d d, as in
// the scalar form, the division done as the product h 2^-14: IEEE division
// and multiplication both return the correctly rounded value of the exact
// result, and h / 2^14 and h 2^-14 are the same real number, so the two
// give the same double for every h (subnormal quotients, infinities and NaN
// included). The same holds for any power of two, so windows of side 2^m
// divide by 2^(2 m) as the product h 2^(-2 m) (scaled_power_lanes).
template <class L>
inline typename L::V hypot_lanes(typename L::V re, typename L::V im) {
  typedef typename L::V V;
  const V a = L::abs(re);
  const V b = L::abs(im);
  const V num = L::min(a, b);
  const V den = L::max(a, b);
  const V q = L::div(num, den);
  const V root = L::sqrt(L::add(L::dup(1.0), L::mul(q, q)));
  const V h_eq =
      L::mul_where(L::is_number(b), a, L::dup(1.4142135623730951), b);
  return L::mul_where(L::lt_or_gt(a, b), den, root, h_eq);
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
// is transformed: its 128 values wait in `waiting` (a block of the
// first-level cache), and the side work of the next transform (side(j))
// takes values 2 j and 2 j + 1 in its passes 1-5 (j < 48) and value j + 48
// at the start of group j - 48 of its passes 6-7, before that group stores
// its own values j - 48, j - 16, j + 16 and j + 48 into `waiting`: each
// old value is read before it is overwritten. The last block of a run is
// squared after its transform. Every value goes through the same
// operations whichever block it is computed beside.
//
// Only the columns c = 0 .. 64 + W - 1 are transformed (the centred columns
// 64 .. 127 and 0 .. W - 1); the power of the others is copied from their
// mirror images, which hold the same bits:
//   power(R, C) = power((128 - R) mod 128, (128 - C) mod 128).
// Why. Call two doubles alike (x ~ x') when they are equal numbers (+0.0 ~
// -0.0) or NaN with the same payload (of either sign). Rounding to nearest
// is symmetric, round(-e) = -round(e), overflow included, and an operation
// on alike operands gives alike results: a NaN result carries the payload
// of the first NaN operand in the same place of both (or is the default NaN
// of an invalid operation in both), and a zero operand meets a non-zero one
// with the same result whatever its sign. So if a' ~ -a and b' ~ -b, then
// a' + b' ~ -(a + b), a' - b' ~ -(a - b), a' b ~ -(a b) and a' b' ~ a b.
// The twiddles are exactly symmetric, W^(64 - j) = -conj(W^j)
// (fft_twiddles.cpp), up to the sign of a zero part at j = 0 and 32. Now
// take one N-point transform of the radix-2 decimation in time (N = 2, 4,
// .., 128; the 128-point transform ends in two 64-point ones of its even and
// odd elements, each in two of 32 points, and so on) on z, and the same on
// z' with z'_m ~ conj(z_m) for every m (parts alike after negating the
// imaginary one). Then Z'_k ~ conj(Z_((N - k) mod N)) for every k, by
// induction on N: with E, O the half transforms and t = W^k O_k, the
// values Z_k = E_k + t, Z_(k + N/2) = E_k - t meet
//   Z'_(N - k) = E'_(N/2 - k) - W^(N/2 - k) O'_(N/2 - k),
// where E'_(N/2 - k) ~ conj(E_k), O'_(N/2 - k) ~ conj(O_k) and the twiddle
// is -conj(W^k), so the product is alike to -conj(t) and Z'_(N - k) to
// conj(E_k + t); k = 0 and N/2 (twiddle-free) map to themselves. A real
// row is its own conjugate, so the row spectra satisfy y(r, 128 - v) ~
// conj(y(r, v)); column 128 - v of them is then alike to the conjugate of
// column v, and its transform to the conjugate of column v's transform
// reversed: F(u, 128 - v) ~ conj(F((128 - u) mod 128, v)). The power takes
// |re| and |im| first (abs clears the sign, of a NaN too), so it gives the
// same bits at both places. The lane kernels give the reference's values
// bit for bit, so this holds for theirs as well. In centred coordinates,
// R = (u + 64) mod 128 and C = (v + 64) mod 128, that is the mirror image
// above; the copy moves whole doubles.

// Blocks 0 .. kComputedBlocks - 1 of W columns: the uncentred columns
// 0 .. 64 + W - 1, whose mirror images are all the rest.
template <class L>
inline constexpr int kComputedBlocks = 64 / L::kLanes + 1;

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
  ComplexLanes<L> waiting[128];  // the spectra of block `prev`, not yet squared
  int prev = -1;                 // its first column, -1 before the first block
  for (int p = p0; p < p1; p++) {
    const int c = W * p;
    transform_groups<L>(
        [tiles, c](int b, ComplexLanes<L>(&e)[8]) {
          load_tile_group<L>(tiles, c, b, e);
        },
        [&waiting](int u, const ComplexLanes<L>& z) { waiting[u] = z; },
        [&waiting, &out, prev](int j) {
          if (prev < 0) return;
          if (j < 48) {
            out.value(prev, 2 * j, waiting[2 * j]);
            out.value(prev, 2 * j + 1, waiting[2 * j + 1]);
          } else {
            out.value(prev, j + 48, waiting[j + 48]);
          }
        });
    if (prev >= 0) out.finish(prev);
    prev = c;
  }
  if (prev >= 0) {
    for (int u = 0; u < 128; u++) out.value(prev, u, waiting[u]);
    out.finish(prev);
  }
}

// The centred columns C = W .. 63 of row R of pt, copied from columns
// 128 - C of row (128 - R) mod 128 (which the column pass computed), W at a
// time: columns C0 .. C0 + W - 1 are those columns reversed.
template <class L>
VARNOTH_LANE_KERNEL void mirror_row(real_T pt[16384], int R) {
  constexpr int W = L::kLanes;
  const real_T* const src = &pt[128 * ((128 - R) & 127)];
  real_T* const dst = &pt[128 * R];
  for (int c0 = W; c0 < 64; c0 += W) {
    L::store(&dst[c0], L::reverse(L::load(&src[128 - c0 - (W - 1)])));
  }
}

// Centred column C (W <= C < 64) of ret, copied from column 128 - C: row R
// from row (128 - R) mod 128, so rows 1 .. 127 reversed, W at a time, and
// row 0 in place.
template <class L>
VARNOTH_LANE_KERNEL void mirror_column(real_T ret[16384], int C) {
  constexpr int W = L::kLanes;
  const real_T* const src = &ret[128 * (128 - C)];
  real_T* const dst = &ret[128 * C];
  dst[0] = src[0];
  for (int r = 1; r < W; r++) dst[r] = src[128 - r];
  for (int r0 = W; r0 < 128; r0 += W) {
    L::store(&dst[r0], L::reverse(L::load(&src[128 - r0 - (W - 1)])));
  }
}

// The column pass and then the copies of the mirror images; the end of the
// column pass's work-sharing loop is a barrier, and a copy reads only
// columns that the column pass wrote and writes only others.
template <class L>
void tile_column_power_by_rows(const real_T tiles[32768], real_T pt[16384]) {
  for_column_runs(kComputedBlocks<L>, [tiles, pt](int p0, int p1) {
    tile_column_run<L, PowerByRows<L>>(tiles, p0, p1, pt);
  });
  VARNOTH_PARALLEL_FOR
  for (int R = 0; R < 128; R++) {
    mirror_row<L>(pt, R);
  }
}

template <class L>
void tile_column_power(const real_T tiles[32768], real_T ret[16384]) {
  for_column_runs(kComputedBlocks<L>, [tiles, ret](int p0, int p1) {
    tile_column_run<L, PowerByColumns<L>>(tiles, p0, p1, ret);
  });
  VARNOTH_PARALLEL_FOR
  for (int C = L::kLanes; C < 64; C++) {
    mirror_column<L>(ret, C);
  }
}

}  // namespace varnoth_fft

#endif
