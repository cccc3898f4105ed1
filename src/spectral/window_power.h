// The centred power spectrum of a square window whose side n is a power of
// two from 32 to 4096: the 128 x 128 transform of fft128.cpp and fft2.cpp,
// generalised to n. Internal to the library, not exported.
//
//   F(u, v) = sum_{m=0}^{n-1} sum_{k=0}^{n-1} x(m, k) exp(-2 pi i (u m + v k) /
//   n),
//
// unscaled, the rows first (y(m, v), the n-point transform of every row),
// then the columns of the row spectra; every n-point transform is the
// radix-2 decimation in time of fft128.cpp with n in place of 128 (a
// bit-reversed load, a pass of twiddle-free butterflies of span 2, then
// passes of half span h = 2, 4, .., n / 2 whose butterfly at position s of
// its span takes the twiddle W^(s n / (2 h)), W = exp(-2 pi i / n)), each
// product, sum and difference rounded on its own in the order written
// there. The power of an element is
//   power[R + n C] = d d,   d = rt_hypotd_snf(F.re, F.im) / n^2,
//   R = (u + n / 2) mod n,  C = (v + n / 2) mod n,
// so that the zero frequency lies at (n / 2, n / 2), element (R, C) at
// index R + n C (the library's layout).
//
// Twiddles: for n = 128 those of fft_twiddles.h; for every other n, the
// correctly rounded cos(2 pi j / n) and -sin(2 pi j / n), taken from one
// table of the quarter wave of 4096 (window_twiddles.h). So at n = 128
// every value is the natives' own, bit for bit, and for every n each value
// depends only on correctly rounded operations.
#ifndef VARNOTH_WINDOW_POWER_H
#define VARNOTH_WINDOW_POWER_H

#include "Varnoth_types.h"

namespace varnoth_window {

constexpr int kMinSide = 32;
constexpr int kMaxSide = 4096;

// n is a side this library transforms: a power of two from 32 to 4096.
constexpr bool is_window_side(int n) {
  return n >= kMinSide && n <= kMaxSide && (n & (n - 1)) == 0;
}

// The centred power spectrum of the n x n window xt, held row by row
// (x(r, c) = xt[n r + c]), into power (n n values, the library's layout).
// spectra is scratch of n n values and overlaps neither. power may be xt
// itself: the window is read completely before the power is written.
void window_power(const real_T* xt, int n, creal_T* spectra, real_T* power);

// The same values by the straightforward route: one vector at a time
// through the scalar transform, the 2-D spectrum stored whole, then
// centred and squared. For the tests and benchmarks.
void window_power_reference(const real_T* xt, int n, real_T* power);

}  // namespace varnoth_window

#endif
