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

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Varnoth_types.h"
#include "runtime/Varnoth_runtime.h"
#include "spectral/fft_pairs.h"

namespace varnoth_fft {

// The portable form: rt_hypotd_snf itself, element by element.
inline void centred_power_column_portable(const creal_T f[16384],
                                          real_T ret[16384], int c) {
  const int cs = (c + 64) & 127;
  for (int r = 0; r < 128; r++) {
    const creal_T z = f[r + 128 * c];
    const real_T d = rt_hypotd_snf(z.re, z.im) / 16384.0;
    ret[((r + 64) & 127) + 128 * cs] = d * d;
  }
}

#if defined(__SSE2__)
// Elements (r, c) and (r + 1, c), r even, one per lane; they land side by
// side in ret, as r + 64 and r + 65 (mod 128) stay in one half. For a lane
// with a = |re|, b = |im| (the sign bit cleared, as fabs does, NaN
// included) rt_hypotd_snf gives
//   a < b:  b sqrt(1.0 + (a / b)^2)
//   a > b:  a sqrt((b / a)^2 + 1.0)
//   else:   b if b is NaN, otherwise a 1.4142135623730951.
// Both lanes form every formula and each keeps the one its own comparisons
// choose (no branches). In the first two cases 0 <= num < den, so the
// quotient q = num / den is a number in [0, 1] and so is q q; for such a z
// the IEEE sum 1.0 + z is the same double as z + 1.0 (the correctly rounded
// exact sum; only NaN operands make the order matter), so both cases share
// den sqrt(1.0 + q q). Whatever an unchosen formula gives in a lane (0 / 0,
// say) is discarded by the selection. Then d = h / 16384.0 and d d, as in
// the scalar form.
VARNOTH_FFT_PAIR_KERNEL void centred_power_column_sse2(const creal_T f[16384],
                                                       real_T ret[16384],
                                                       int c) {
  const __m128d sign = _mm_set1_pd(-0.0);
  const __m128d one = _mm_set1_pd(1.0);
  const __m128d sqrt2 = _mm_set1_pd(1.4142135623730951);
  const __m128d pixels = _mm_set1_pd(16384.0);
  const int cs = (c + 64) & 127;
  for (int r = 0; r < 128; r += 2) {
    const __m128d p0 = _mm_loadu_pd(&f[r + 128 * c].re);
    const __m128d p1 = _mm_loadu_pd(&f[r + 1 + 128 * c].re);
    const __m128d a = _mm_andnot_pd(sign, _mm_unpacklo_pd(p0, p1));
    const __m128d b = _mm_andnot_pd(sign, _mm_unpackhi_pd(p0, p1));
    const __m128d lt = _mm_cmplt_pd(a, b);
    const __m128d gt = _mm_cmpgt_pd(a, b);
    const __m128d num = _mm_or_pd(_mm_and_pd(lt, a), _mm_andnot_pd(lt, b));
    const __m128d den = _mm_or_pd(_mm_and_pd(lt, b), _mm_andnot_pd(lt, a));
    const __m128d q = _mm_div_pd(num, den);
    const __m128d h_ne =
        _mm_mul_pd(den, _mm_sqrt_pd(_mm_add_pd(one, _mm_mul_pd(q, q))));
    const __m128d b_nan = _mm_cmpunord_pd(b, b);
    const __m128d h_eq = _mm_or_pd(_mm_and_pd(b_nan, b),
                                   _mm_andnot_pd(b_nan, _mm_mul_pd(a, sqrt2)));
    const __m128d ne = _mm_or_pd(lt, gt);
    const __m128d h = _mm_or_pd(_mm_and_pd(ne, h_ne), _mm_andnot_pd(ne, h_eq));
    const __m128d d = _mm_div_pd(h, pixels);
    _mm_storeu_pd(&ret[((r + 64) & 127) + 128 * cs], _mm_mul_pd(d, d));
  }
}
#endif

inline void centred_power_column(const creal_T f[16384], real_T ret[16384],
                                 int c) {
#if defined(__SSE2__)
  centred_power_column_sse2(f, ret, c);
#else
  centred_power_column_portable(f, ret, c);
#endif
}

// The whole centred power spectrum of the uncentred spectrum f. Column c
// of f is read and column (c + 64) mod 128 of ret written by iteration c
// alone, so the loop may run on several threads.
inline void centred_power(const creal_T f[16384], real_T ret[16384]) {
  VARNOTH_PARALLEL_FOR
  for (int c = 0; c < 128; c++) {
    centred_power_column(f, ret, c);
  }
}

}  // namespace varnoth_fft

#endif
