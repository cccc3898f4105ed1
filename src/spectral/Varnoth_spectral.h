// Spectral transforms: the fixed 128-point FFT, its 2-D form, the FFT shift
// and the image spectra built on them.
#ifndef VARNOTH_SPECTRAL_H
#define VARNOTH_SPECTRAL_H

#include "Varnoth_api.h"
#include "Varnoth_types.h"

extern "C" {
// Row transforms of a real image:
//   y(r, v) = sum_{n=0}^{127} x(r, n) exp(-2 pi i v n / 128).
// The result is as if x were read completely before y is written, even
// when the two overlap. Scratch: SD->u1.f0.y1 when x and y overlap (y must
// not overlap it), none otherwise.
VARNOTH_API void fft(VarnothStackData* SD, const real_T x[16384],
                     creal_T y[16384]);

// Unscaled 2-D transform, rows first, then columns:
//   f(u, v) = sum_{m,n} x(m, n) exp(-2 pi i (u m + v n) / 128).
// Scratch: SD->f2.x (f must not overlap it or SD->u1.f0.y1).
VARNOTH_API void fft2(VarnothStackData* SD, const real_T x[16384],
                      creal_T f[16384]);

// In place: x(r, c) becomes the former x((r + 64) mod 128, (c + 64) mod 128).
// Its own inverse.
VARNOTH_API void fftshift(creal_T x[16384]);

// Centred spectrum F of img: mag = Re F, phs = Im F. Scratch: SD->u3.f3.
VARNOTH_API void f_ImageFFT(VarnothStackData* SD, const real_T img[16384],
                            real_T mag[16384], real_T phs[16384]);

// ret[k] = (|F[k]| / 16384)^2 of the centred spectrum F of img.
// Scratch: SD->f2.x, and SD->u1.f0 when img lies in SD->f2.x.
VARNOTH_API void f_ImageFFTPower(VarnothStackData* SD, const real_T img[16384],
                                 real_T ret[16384]);

// b_power as f_ImageFFTPower; phase[k] = rt_atan2d_snf(Im F[k], Re F[k]).
// Scratch: SD->u3.f5.
VARNOTH_API void f_ImageFFTPowerPhase(VarnothStackData* SD,
                                      const real_T img[16384],
                                      real_T b_power[16384],
                                      real_T phase[16384]);
}

#endif
