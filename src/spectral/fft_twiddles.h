// Twiddle factors of the 128-point transform, one shared pair of constant
// tables (internal to the library, not exported).
#ifndef VARNOTH_FFT_TWIDDLES_H
#define VARNOTH_FFT_TWIDDLES_H

#include "Varnoth_types.h"

// fft_cosine[j] = cos(2 pi j / 128), fft_sine[j] = -sin(2 pi j / 128),
// j = 0..64, so that (fft_cosine[j], fft_sine[j]) is W^j = exp(-2 pi i j /
// 128). Signed zeros: fft_cosine[32] = +0.0, fft_sine[0] = +0.0, fft_sine[64] =
// -0.0.
extern const real_T fft_cosine[65];
extern const real_T fft_sine[65];

#endif
