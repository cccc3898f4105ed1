// Four lanes in one AVX register (lane j the j-th double from the low end),
// for the kernels compiled with -mavx2 (spectral_kernels_avx2.cpp) and run
// only where the CPU reports AVX2. The lane contract is in lanes.h.
#ifndef VARNOTH_LANES_AVX2_H
#define VARNOTH_LANES_AVX2_H

#include <immintrin.h>

#include "spectral/lanes.h"

namespace varnoth_lanes {

struct Avx2Lanes {
  static constexpr int kLanes = 4;
  typedef __m256d V;
  typedef __m256d Mask;
  static V load(const real_T* p) { return _mm256_loadu_pd(p); }
  static void store(real_T* p, V a) { _mm256_storeu_pd(p, a); }
  static V zero() { return _mm256_setzero_pd(); }
  static V dup(real_T a) { return _mm256_set1_pd(a); }
  static V add(V a, V b) { return _mm256_add_pd(a, b); }
  static V sub(V a, V b) { return _mm256_sub_pd(a, b); }
  static V mul(V a, V b) { return _mm256_mul_pd(a, b); }
  static V div(V a, V b) { return _mm256_div_pd(a, b); }
  static V sqrt(V a) { return _mm256_sqrt_pd(a); }
  static V abs(V a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
  static Mask lt(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
  static Mask gt(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
  static Mask is_nan(V a) { return _mm256_cmp_pd(a, a, _CMP_UNORD_Q); }
  static Mask either(Mask m, Mask n) { return _mm256_or_pd(m, n); }
  static V select(Mask m, V a, V b) { return _mm256_blendv_pd(b, a, m); }
  static Mask lt_or_gt(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_NEQ_OQ); }
  static Mask is_number(V a) { return _mm256_cmp_pd(a, a, _CMP_ORD_Q); }
  static V min(V a, V b) { return _mm256_min_pd(a, b); }
  static V max(V a, V b) { return _mm256_max_pd(a, b); }
  static V mul_where(Mask m, V a, V b, V c) { return select(m, mul(a, b), c); }

  // Complex values c0..c3 (two doubles each): with A = (c0 | c2) and
  // B = (c1 | c3) as pairs of 128-bit halves, the in-half unpacks give
  // re = (c0.re, c1.re, c2.re, c3.re) and im likewise; storing reverses it.
  static void load_complex_strided(const creal_T* p, std::ptrdiff_t s, V& re,
                                   V& im) {
    const V a =
        _mm256_set_m128d(_mm_loadu_pd(&p[2 * s].re), _mm_loadu_pd(&p[0].re));
    const V b =
        _mm256_set_m128d(_mm_loadu_pd(&p[3 * s].re), _mm_loadu_pd(&p[s].re));
    re = _mm256_unpacklo_pd(a, b);
    im = _mm256_unpackhi_pd(a, b);
  }
  static void store_complex_strided(V re, V im, creal_T* p, std::ptrdiff_t s) {
    const V a = _mm256_unpacklo_pd(re, im);  // (c0 | c2)
    const V b = _mm256_unpackhi_pd(re, im);  // (c1 | c3)
    _mm_storeu_pd(&p[0].re, _mm256_castpd256_pd128(a));
    _mm_storeu_pd(&p[s].re, _mm256_castpd256_pd128(b));
    _mm_storeu_pd(&p[2 * s].re, _mm256_extractf128_pd(a, 1));
    _mm_storeu_pd(&p[3 * s].re, _mm256_extractf128_pd(b, 1));
  }
  // Contiguous: the 256-bit loads (c0, c1) and (c2, c3) are exchanged
  // half for half into (c0 | c2) and (c1 | c3).
  static void load_complex(const creal_T* p, V& re, V& im) {
    const V lo = _mm256_loadu_pd(&p[0].re);
    const V hi = _mm256_loadu_pd(&p[2].re);
    const V a = _mm256_permute2f128_pd(lo, hi, 0x20);
    const V b = _mm256_permute2f128_pd(lo, hi, 0x31);
    re = _mm256_unpacklo_pd(a, b);
    im = _mm256_unpackhi_pd(a, b);
  }
  static void store_complex(V re, V im, creal_T* p) {
    const V a = _mm256_unpacklo_pd(re, im);
    const V b = _mm256_unpackhi_pd(re, im);
    _mm256_storeu_pd(&p[0].re, _mm256_permute2f128_pd(a, b, 0x20));
    _mm256_storeu_pd(&p[2].re, _mm256_permute2f128_pd(a, b, 0x31));
  }
  // The unpacks pair rows 0, 1 and rows 2, 3 within each 128-bit half; the
  // half exchanges then put the pairs of one column side by side.
  static void transpose(V (&v)[4]) {
    const V t0 = _mm256_unpacklo_pd(v[0], v[1]);  // (00 10 | 02 12)
    const V t1 = _mm256_unpackhi_pd(v[0], v[1]);  // (01 11 | 03 13)
    const V t2 = _mm256_unpacklo_pd(v[2], v[3]);  // (20 30 | 22 32)
    const V t3 = _mm256_unpackhi_pd(v[2], v[3]);  // (21 31 | 23 33)
    v[0] = _mm256_permute2f128_pd(t0, t2, 0x20);
    v[1] = _mm256_permute2f128_pd(t1, t3, 0x20);
    v[2] = _mm256_permute2f128_pd(t0, t2, 0x31);
    v[3] = _mm256_permute2f128_pd(t1, t3, 0x31);
  }
  static V reverse(V a) { return _mm256_permute4x64_pd(a, 0x1B); }
};

}  // namespace varnoth_lanes

#endif
