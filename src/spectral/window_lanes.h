// The row and column passes of the window transforms (window_power.h) on W
// vectors at once, one in each lane of a W-lane value (lanes.h, fft_lanes.h).
// Internal to the library, not exported.
//
// Each lane performs, with the same operands, the operations of the scalar
// n-point transform of its own vector (window_power_reference.cpp), so every
// value comes out as there, bit for bit; what changes is only which vectors
// travel together and where values wait between passes.
//
// Layouts: the window is held row by row (x(r, c) at xt[n r + c]); the row
// spectra row by row as well (y(m, v) at spectra[n m + v]), so that the
// column pass finds element m of W adjacent columns as W adjacent complex
// values; the power in the library's layout (element (R, C) at R + n C).
// Values cross between rows and lanes by W x W transpositions in registers.
#ifndef VARNOTH_WINDOW_LANES_H
#define VARNOTH_WINDOW_LANES_H

#include <cstddef>

#include "Varnoth_api.h"
#include "Varnoth_types.h"
#include "runtime/scratch_array.h"
#include "spectral/centred_power.h"
#include "spectral/fft_lanes.h"
#include "spectral/lanes.h"
#include "spectral/window_twiddles.h"

namespace varnoth_fft {

// One lane value, as an element type of a container.
template <class L>
struct RealLanes {
  typename L::V v;
};

// W^j in every lane.
template <class L>
inline ComplexLanes<L> window_twiddle(const varnoth_window::SideTables& t,
                                      int j) {
  return ComplexLanes<L>{L::dup(t.cosine[j]), L::dup(t.sine[j])};
}

// The n-point transform, in place, of the W vectors in w, element i of
// which holds input element reversed[i]. The scalar transform runs log2(n)
// passes over its vector; the pass of half span h joins elements i and
// i + h, i mod 2h = s < h, with the twiddle W^(s n / (2 h)) (a twiddle-free
// butterfly for s = 0). As in fft_lanes.h, two passes of half spans h and
// 2h only join elements within the groups
//   e0 = b, e1 = b + h, e2 = b + 2h, e3 = b + 3h,   b mod 4h = s < h:
//   pass h:   (e0, e1) and (e2, e3), both with W^(s n / (2 h)),
//   pass 2h:  (e0, e2) with W^(s n / (4 h)), (e1, e3) with
//             W^((s + h) n / (4 h));
// and passes 1, 2 and 3 only join elements within the groups of eight
// b .. b + 7, b mod 8 = 0. So the passes go in sweeps over w: passes 1-3
// group by group of eight, then passes h and 2h together for h = 8, 32,
// 128, .. while 2h < n, then the pass of half span n / 2 alone when one is
// left; each sweep runs through w in ascending order. Every butterfly is the
// scalar transform's, with the same operands and twiddle; only butterflies
// of one pass that share no element change their order, which changes no
// value.
template <class L>
inline void window_butterflies(ComplexLanes<L>* w,
                               const varnoth_window::SideTables& t) {
  const int n = t.n;
  {
    const ComplexLanes<L> w1 = window_twiddle<L>(t, n / 8);
    const ComplexLanes<L> w2 = window_twiddle<L>(t, n / 4);
    const ComplexLanes<L> w3 = window_twiddle<L>(t, 3 * n / 8);
    for (int b = 0; b < n; b += 8) {
      ComplexLanes<L>* const e = &w[b];
      butterfly<L>(e[0], e[1]);  // half span 1
      butterfly<L>(e[2], e[3]);
      butterfly<L>(e[4], e[5]);
      butterfly<L>(e[6], e[7]);
      butterfly<L>(e[0], e[2]);  // half span 2
      butterfly<L>(e[1], e[3], w2);
      butterfly<L>(e[4], e[6]);
      butterfly<L>(e[5], e[7], w2);
      butterfly<L>(e[0], e[4]);  // half span 4
      butterfly<L>(e[1], e[5], w1);
      butterfly<L>(e[2], e[6], w2);
      butterfly<L>(e[3], e[7], w3);
    }
  }
  int h = 8;
  for (; 4 * h <= n; h *= 4) {
    const int step = n / (4 * h);  // W^(s n / (4 h)) = W^(s step)
    for (int b = 0; b < n; b += 4 * h) {
      ComplexLanes<L>* const e = &w[b];
      butterfly<L>(e[0], e[h]);
      butterfly<L>(e[2 * h], e[3 * h]);
      butterfly<L>(e[0], e[2 * h]);
      butterfly<L>(e[h], e[3 * h], window_twiddle<L>(t, h * step));
      for (int s = 1; s < h; s++) {
        const ComplexLanes<L> wa = window_twiddle<L>(t, 2 * s * step);
        butterfly<L>(e[s], e[s + h], wa);
        butterfly<L>(e[s + 2 * h], e[s + 3 * h], wa);
        butterfly<L>(e[s], e[s + 2 * h], window_twiddle<L>(t, s * step));
        butterfly<L>(e[s + h], e[s + 3 * h],
                     window_twiddle<L>(t, (s + h) * step));
      }
    }
  }
  if (h < n) {  // the pass of half span n / 2 alone, twiddles W^s
    butterfly<L>(w[0], w[h]);
    for (int s = 1; s < h; s++) {
      butterfly<L>(w[s], w[s + h], window_twiddle<L>(t, s));
    }
  }
}

// Rows r .. r + W - 1 of the window into the same rows of spectra.
template <class L>
VARNOTH_LANE_KERNEL void window_row_block(const real_T* xt, creal_T* spectra,
                                          int r, ComplexLanes<L>* w,
                                          const varnoth_window::SideTables& t) {
  constexpr int W = L::kLanes;
  const std::size_t n = static_cast<std::size_t>(t.n);
  for (int k0 = 0; k0 < t.n; k0 += W) {
    typename L::V v[W];  // v[i]: elements k0 .. k0 + W - 1 of row r + i
#pragma GCC unroll 8
    for (int i = 0; i < W; i++) v[i] = L::load(&xt[n * (r + i) + k0]);
    L::transpose(v);  // v[i]: element k0 + i of rows r .. r + W - 1
#pragma GCC unroll 8
    for (int i = 0; i < W; i++) {
      w[t.reversed[k0 + i]] = ComplexLanes<L>{v[i], L::zero()};
    }
  }
  window_butterflies<L>(w, t);
  for (int v0 = 0; v0 < t.n; v0 += W) {
    typename L::V re[W], im[W];  // value v0 + i of the W rows
#pragma GCC unroll 8
    for (int i = 0; i < W; i++) {
      re[i] = w[v0 + i].re;
      im[i] = w[v0 + i].im;
    }
    L::transpose(re);  // re[i]: values v0 .. v0 + W - 1 of row r + i
    L::transpose(im);
#pragma GCC unroll 8
    for (int i = 0; i < W; i++) {
      L::store_complex(re[i], im[i], &spectra[n * (r + i) + v0]);
    }
  }
}

// Columns v0 .. v0 + W - 1 of the row spectra, transformed and squared into
// the columns (v0 + n / 2) mod n .. + W - 1 of power (adjacent, as v0 is a
// multiple of W and W divides n / 2). block holds the W columns' power row
// by row before they are written out W rows by W columns at a time.
template <class L>
VARNOTH_LANE_KERNEL void window_column_block(
    const creal_T* spectra, real_T* power, int v0, ComplexLanes<L>* w,
    RealLanes<L>* block, const varnoth_window::SideTables& t) {
  constexpr int W = L::kLanes;
  const int n = t.n;
  const std::size_t stride = static_cast<std::size_t>(n);
  for (int m = 0; m < n; m++) {
    ComplexLanes<L> z;
    L::load_complex(&spectra[stride * m + v0], z.re, z.im);
    w[t.reversed[m]] = z;
  }
  window_butterflies<L>(w, t);
  const typename L::V scale = L::dup(1.0 / (static_cast<real_T>(n) * n));
  for (int u = 0; u < n; u++) {
    block[(u + n / 2) & (n - 1)].v =
        scaled_power_lanes<L>(w[u].re, w[u].im, scale);
  }
  const int cs = (v0 + n / 2) & (n - 1);
  for (int r0 = 0; r0 < n; r0 += W) {
    typename L::V v[W];  // v[i]: row r0 + i of the W columns
#pragma GCC unroll 8
    for (int i = 0; i < W; i++) v[i] = block[r0 + i].v;
    L::transpose(v);  // v[j]: rows r0 .. r0 + W - 1 of column cs + j
#pragma GCC unroll 8
    for (int j = 0; j < W; j++) L::store(&power[r0 + stride * (cs + j)], v[j]);
  }
}

template <class L>
void window_rows(const real_T* xt, int n, creal_T* spectra) {
  const varnoth_window::SideTables& t = varnoth_window::side_tables(n);
  varnoth_runtime::ScratchArray<ComplexLanes<L>> w(n);
  for (int r = 0; r < n; r += L::kLanes) {
    window_row_block<L>(xt, spectra, r, w.data(), t);
  }
}

template <class L>
void window_column_power(const creal_T* spectra, int n, real_T* power) {
  const varnoth_window::SideTables& t = varnoth_window::side_tables(n);
  varnoth_runtime::ScratchArray<ComplexLanes<L>> w(n);
  varnoth_runtime::ScratchArray<RealLanes<L>> block(n);
  for (int v0 = 0; v0 < n; v0 += L::kLanes) {
    window_column_block<L>(spectra, power, v0, w.data(), block.data(), t);
  }
}

}  // namespace varnoth_fft

#endif
