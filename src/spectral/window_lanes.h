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

// The n-point transform, in place, of the W vectors in w, element k of
// which holds input element reversed[k]: a pass of twiddle-free
// butterflies of span 2, then for half spans h = 2, 4, .., n / 2 the
// twiddle-free butterflies (s = 0) and those with W^(s n / (2 h)),
// s = 1 .. h - 1. Butterflies of one pass share no element, so the order in
// which they are visited changes no value.
template <class L>
inline void window_butterflies(ComplexLanes<L>* w,
                               const varnoth_window::SideTables& t) {
  const int n = t.n;
  for (int i = 0; i < n; i += 2) butterfly<L>(w[i], w[i + 1]);
  for (int h = 2; h < n; h *= 2) {
    for (int b = 0; b < n; b += 2 * h) butterfly<L>(w[b], w[b + h]);
    const int step = n / (2 * h);
    for (int s = 1; s < h; s++) {
      const ComplexLanes<L> tw{L::dup(t.cosine[s * step]),
                               L::dup(t.sine[s * step])};
      for (int b = s; b < n; b += 2 * h) butterfly<L>(w[b], w[b + h], tw);
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
