// The 128-point radix-2 decimation-in-time FFT of one vector, shared by the
// row transforms (fft) and the column transforms (fft2). Internal to the
// library, not exported.
#ifndef VARNOTH_FFT128_H
#define VARNOTH_FFT128_H

#include "Varnoth_types.h"

// rwork[v] = sum_{n=0}^{127} (x[n] + 0.0 i) exp(-2 pi i v n / 128),
// v = 0..127, unscaled. x is read completely before rwork is written; the
// imaginary parts enter as +0.0.
void fft128_real(const real_T x[128], creal_T rwork[128]);

// rwork[v] = sum_{n=0}^{127} x[n] exp(-2 pi i v n / 128), v = 0..127.
void fft128_complex(const creal_T x[128], creal_T rwork[128]);

#endif
