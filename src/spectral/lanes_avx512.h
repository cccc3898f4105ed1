// Eight lanes in one AVX-512 register (lane j the j-th double from the low
// end), for the kernels compiled with -mavx512f (spectral_kernels_avx512.cpp)
// and run only where the CPU and the operating system support AVX-512F.
// Conditions are the eight-bit masks of AVX-512. The lane contract is in
// lanes.h.
#ifndef VARNOTH_LANES_AVX512_H
#define VARNOTH_LANES_AVX512_H

#include <immintrin.h>

#include "spectral/lanes.h"

namespace varnoth_lanes {

struct Avx512Lanes {
  static constexpr int kLanes = 8;
  typedef __m512d V;
  typedef __mmask8 Mask;
  static V load(const real_T* p) { return _mm512_loadu_pd(p); }
  static void store(real_T* p, V a) { _mm512_storeu_pd(p, a); }
  static V zero() { return _mm512_setzero_pd(); }
  static V dup(real_T a) { return _mm512_set1_pd(a); }
  static V add(V a, V b) { return _mm512_add_pd(a, b); }
  static V sub(V a, V b) { return _mm512_sub_pd(a, b); }
  static V mul(V a, V b) { return _mm512_mul_pd(a, b); }
  static V div(V a, V b) { return _mm512_div_pd(a, b); }
  static V sqrt(V a) { return _mm512_sqrt_pd(a); }
  static V abs(V a) {
    return _mm512_castsi512_pd(_mm512_and_epi64(
        _mm512_castpd_si512(a), _mm512_set1_epi64(0x7FFFFFFFFFFFFFFFLL)));
  }
  static Mask lt(V a, V b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
  static Mask gt(V a, V b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
  static Mask is_nan(V a) { return _mm512_cmp_pd_mask(a, a, _CMP_UNORD_Q); }
  static Mask either(Mask m, Mask n) { return static_cast<Mask>(m | n); }
  static V select(Mask m, V a, V b) { return _mm512_mask_blend_pd(m, b, a); }
  static Mask lt_or_gt(V a, V b) {
    return _mm512_cmp_pd_mask(a, b, _CMP_NEQ_OQ);
  }
  static Mask is_number(V a) { return _mm512_cmp_pd_mask(a, a, _CMP_ORD_Q); }
  static V min(V a, V b) { return _mm512_min_pd(a, b); }
  static V max(V a, V b) { return _mm512_max_pd(a, b); }
  // One merge-masked multiply: the product in the lanes of m, c elsewhere.
  static V mul_where(Mask m, V a, V b, V c) {
    return _mm512_mask_mul_pd(c, m, a, b);
  }

  // Complex values c0..c7: with A = (c0 | c2 | c4 | c6) and
  // B = (c1 | c3 | c5 | c7) in 128-bit quarters, the in-quarter unpacks
  // give re = (c0.re, ..., c7.re) and im likewise.
  static V quarters(const creal_T* q0, const creal_T* q1, const creal_T* q2,
                    const creal_T* q3) {
    const __m256d lo =
        _mm256_set_m128d(_mm_loadu_pd(&q1->re), _mm_loadu_pd(&q0->re));
    const __m256d hi =
        _mm256_set_m128d(_mm_loadu_pd(&q3->re), _mm_loadu_pd(&q2->re));
    return _mm512_insertf64x4(_mm512_castpd256_pd512(lo), hi, 1);
  }
  static void load_complex_strided(const creal_T* p, std::ptrdiff_t s, V& re,
                                   V& im) {
    const V a = quarters(&p[0], &p[2 * s], &p[4 * s], &p[6 * s]);
    const V b = quarters(&p[s], &p[3 * s], &p[5 * s], &p[7 * s]);
    re = _mm512_unpacklo_pd(a, b);
    im = _mm512_unpackhi_pd(a, b);
  }
  static void store_quarters(V v, creal_T* q0, creal_T* q1, creal_T* q2,
                             creal_T* q3) {
    const __m256d lo = _mm512_castpd512_pd256(v);
    const __m256d hi = _mm512_extractf64x4_pd(v, 1);
    _mm_storeu_pd(&q0->re, _mm256_castpd256_pd128(lo));
    _mm_storeu_pd(&q1->re, _mm256_extractf128_pd(lo, 1));
    _mm_storeu_pd(&q2->re, _mm256_castpd256_pd128(hi));
    _mm_storeu_pd(&q3->re, _mm256_extractf128_pd(hi, 1));
  }
  static void store_complex_strided(V re, V im, creal_T* p, std::ptrdiff_t s) {
    store_quarters(_mm512_unpacklo_pd(re, im), &p[0], &p[2 * s], &p[4 * s],
                   &p[6 * s]);
    store_quarters(_mm512_unpackhi_pd(re, im), &p[s], &p[3 * s], &p[5 * s],
                   &p[7 * s]);
  }
  // Contiguous: the two 512-bit loads (c0..c3) and (c4..c7) hold the real
  // parts at even and the imaginary parts at odd positions; one two-source
  // permutation gathers each.
  static void load_complex(const creal_T* p, V& re, V& im) {
    const V lo = _mm512_loadu_pd(&p[0].re);
    const V hi = _mm512_loadu_pd(&p[4].re);
    re = _mm512_permutex2var_pd(lo, _mm512_set_epi64(14, 12, 10, 8, 6, 4, 2, 0),
                                hi);
    im = _mm512_permutex2var_pd(lo, _mm512_set_epi64(15, 13, 11, 9, 7, 5, 3, 1),
                                hi);
  }
  static void store_complex(V re, V im, creal_T* p) {
    _mm512_storeu_pd(&p[0].re,
                     _mm512_permutex2var_pd(
                         re, _mm512_set_epi64(11, 3, 10, 2, 9, 1, 8, 0), im));
    _mm512_storeu_pd(&p[4].re,
                     _mm512_permutex2var_pd(
                         re, _mm512_set_epi64(15, 7, 14, 6, 13, 5, 12, 4), im));
  }
  // Unpacks pair rows 2i and 2i + 1 column by column, in 128-bit quarters:
  // t[2i] holds the even columns, t[2i + 1] the odd ones. Two rounds of
  // quarter shuffles (0x88 takes quarters 0 and 2 of each source, 0xDD
  // quarters 1 and 3) then gather the quarters of one column from all four
  // pairs of rows.
  static void transpose(V (&v)[8]) {
    const V t0 = _mm512_unpacklo_pd(v[0], v[1]);
    const V t1 = _mm512_unpackhi_pd(v[0], v[1]);
    const V t2 = _mm512_unpacklo_pd(v[2], v[3]);
    const V t3 = _mm512_unpackhi_pd(v[2], v[3]);
    const V t4 = _mm512_unpacklo_pd(v[4], v[5]);
    const V t5 = _mm512_unpackhi_pd(v[4], v[5]);
    const V t6 = _mm512_unpacklo_pd(v[6], v[7]);
    const V t7 = _mm512_unpackhi_pd(v[6], v[7]);
    const V e0 = _mm512_shuffle_f64x2(t0, t2, 0x88);
    const V e1 = _mm512_shuffle_f64x2(t0, t2, 0xDD);
    const V e2 = _mm512_shuffle_f64x2(t4, t6, 0x88);
    const V e3 = _mm512_shuffle_f64x2(t4, t6, 0xDD);
    const V o0 = _mm512_shuffle_f64x2(t1, t3, 0x88);
    const V o1 = _mm512_shuffle_f64x2(t1, t3, 0xDD);
    const V o2 = _mm512_shuffle_f64x2(t5, t7, 0x88);
    const V o3 = _mm512_shuffle_f64x2(t5, t7, 0xDD);
    v[0] = _mm512_shuffle_f64x2(e0, e2, 0x88);
    v[1] = _mm512_shuffle_f64x2(o0, o2, 0x88);
    v[2] = _mm512_shuffle_f64x2(e1, e3, 0x88);
    v[3] = _mm512_shuffle_f64x2(o1, o3, 0x88);
    v[4] = _mm512_shuffle_f64x2(e0, e2, 0xDD);
    v[5] = _mm512_shuffle_f64x2(o0, o2, 0xDD);
    v[6] = _mm512_shuffle_f64x2(e1, e3, 0xDD);
    v[7] = _mm512_shuffle_f64x2(o1, o3, 0xDD);
  }
  static V reverse(V a) {
    return _mm512_permutexvar_pd(_mm512_set_epi64(0, 1, 2, 3, 4, 5, 6, 7), a);
  }
};

}  // namespace varnoth_lanes

#endif
