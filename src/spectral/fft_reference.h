// The straightforward forms of the 2-D transform and the power spectrum,
// kept as the reference that the faster fft, fft2 and f_ImageFFTPower are
// tested and timed against. Internal to the library, not exported.
//
// Each gives exactly the results of its fast counterpart, bit for bit; the
// fast forms differ only in how the work is laid out in memory (several
// vectors in the lanes of a register, no transpositions), never in the
// floating-point operations performed on a value.
#ifndef VARNOTH_FFT_REFERENCE_H
#define VARNOTH_FFT_REFERENCE_H

#include "Varnoth_types.h"

// As fft: transposes x into a local copy, transforms each row with
// fft128_real into column r of SD->u1.f0.y1, transposes y1 into y. y must not
// overlap SD->u1.f0.y1; x may overlap y (it is copied first).
void fft_reference(VarnothStackData* SD, const real_T x[16384],
                   creal_T y[16384]);

// As fft2: fft_reference(SD, x, SD->f2.x), then fft128_complex on every
// column of f2.x into f. f must not overlap SD->f2.x or SD->u1.f0.y1.
void fft2_reference(VarnothStackData* SD, const real_T x[16384],
                    creal_T f[16384]);

// As f_ImageFFTPower: fft2_reference into SD->u3.f4.imgf, fftshift, b_abs
// into dv4, division by 16384 into dv5, power into ret.
void f_ImageFFTPower_reference(VarnothStackData* SD, const real_T img[16384],
                               real_T ret[16384]);

#endif
