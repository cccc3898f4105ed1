// Lanes: W independent doubles in one value, the unit on which the fast
// transforms and the power kernel compute. Internal to the library.
//
// Why lanes give the reference's bits. Each lane operation below is, in every
// lane, exactly one IEEE double operation rounded on its own: add, sub, mul,
// div and sqrt of SSE2 (addpd ...), AVX (vaddpd ... on 256 bits), AVX-512
// (on 512 bits) and NEON (fadd ... on .2d) are the scalar operations side by
// side, with the same rounding at any width. Fused multiply-add, which rounds
// once for two operations, is never used (cmake/CompilerFlags.cmake). Shuffles,
// loads and stores move whole doubles; abs clears the sign bit and nothing
// else; comparisons are the ordered IEEE ones (false when either operand is
// NaN); select takes whole doubles from one operand or the other. A kernel that
// keeps one vector per lane and applies the scalar form's operations, with
// the same operands in the same order, therefore produces in each lane the
// scalar form's bits, whatever the width.
//
// The lane contract, for a type L:
//   L::kLanes             W
//   L::V, L::Mask         a value of W doubles, a per-lane condition
//   load(p), store(p, v)  W consecutive doubles, lane j at p[j] (unaligned)
//   zero(), dup(a)        +0.0, or a, in every lane
//   add sub mul div sqrt abs      the IEEE operations lane by lane
//   lt(a, b), gt(a, b), is_nan(a), either(m, n)      conditions
//   lt_or_gt(a, b)        a < b or a > b (false where either is NaN)
//   is_number(a)          a is not NaN
//   select(m, a, b)       a where m holds, b elsewhere
//   min(a, b), max(a, b)  the smaller and the larger of a and b where
//                         neither is NaN and they differ; elsewhere one of
//                         them or a NaN, which the callers discard
//   mul_where(m, a, b, c) the product a b where m holds, c elsewhere
//   load_complex(p, re, im) / store_complex(re, im, p)
//                         W consecutive complex values, lane j at p[j]
//   load_complex_strided(p, s, re, im) / store_complex_strided(re, im, p, s)
//                         lane j at p[s j]
//   transpose(v)          W values v[0..W-1] as a W x W matrix, row t in
//                         v[t]: afterwards lane j of v[t] is what lane t of
//                         v[j] was
//   reverse(v)            the lanes in reverse order: lane j of the result
//                         is lane W - 1 - j of v
// This header holds the portable lanes (plain doubles, the form the tests run
// on every machine) and the SSE2 lanes (the x86 baseline, the 32-bit Windows
// target included). Wider lanes live in lanes_avx2.h and lanes_avx512.h and
// are compiled only into the kernels built for those instruction sets; the
// aarch64 baseline, NEON, in lanes_neon.h.
#ifndef VARNOTH_LANES_H
#define VARNOTH_LANES_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Varnoth_types.h"

static_assert(sizeof(creal_T) == 2 * sizeof(real_T) &&
                  offsetof(creal_T, im) == sizeof(real_T),
              "creal_T must be two adjacent doubles, re then im");

// On 32-bit x86 a thread or a foreign caller may enter with a stack aligned
// to 4 bytes only, while lane values on the stack need 16 or more; the lane
// kernels then realign the stack on entry and stay separate functions.
#if defined(__i386__) && defined(__GNUC__)
#define VARNOTH_LANE_KERNEL \
  inline __attribute__((noinline, force_align_arg_pointer))
#else
#define VARNOTH_LANE_KERNEL inline
#endif

namespace varnoth_lanes {

// Two lanes as two plain doubles.
//
// abs clears the sign bit through the bit pattern rather than with fabs: a
// compiler that sees fabs may drop it where only a square of the value is
// used ((|x| / c)^2 as (x / c)^2), which is the same number but not the
// same NaN, since the square of a NaN keeps its sign.
struct PortableLanes {
  static real_T clear_sign(real_T a) {
    std::uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    bits &= 0x7FFFFFFFFFFFFFFFULL;
    std::memcpy(&a, &bits, sizeof bits);
    return a;
  }
  static constexpr int kLanes = 2;
  struct V {
    real_T l[2];
  };
  struct Mask {
    bool l[2];
  };
  static V load(const real_T* p) { return V{{p[0], p[1]}}; }
  static void store(real_T* p, V a) {
    p[0] = a.l[0];
    p[1] = a.l[1];
  }
  static V zero() { return V{{0.0, 0.0}}; }
  static V dup(real_T a) { return V{{a, a}}; }
  static V add(V a, V b) { return V{{a.l[0] + b.l[0], a.l[1] + b.l[1]}}; }
  static V sub(V a, V b) { return V{{a.l[0] - b.l[0], a.l[1] - b.l[1]}}; }
  static V mul(V a, V b) { return V{{a.l[0] * b.l[0], a.l[1] * b.l[1]}}; }
  static V div(V a, V b) { return V{{a.l[0] / b.l[0], a.l[1] / b.l[1]}}; }
  static V sqrt(V a) { return V{{std::sqrt(a.l[0]), std::sqrt(a.l[1])}}; }
  static V abs(V a) { return V{{clear_sign(a.l[0]), clear_sign(a.l[1])}}; }
  static Mask lt(V a, V b) { return Mask{{a.l[0] < b.l[0], a.l[1] < b.l[1]}}; }
  static Mask gt(V a, V b) { return Mask{{a.l[0] > b.l[0], a.l[1] > b.l[1]}}; }
  static Mask is_nan(V a) { return Mask{{a.l[0] != a.l[0], a.l[1] != a.l[1]}}; }
  static Mask either(Mask m, Mask n) {
    return Mask{{m.l[0] || n.l[0], m.l[1] || n.l[1]}};
  }
  static V select(Mask m, V a, V b) {
    return V{{m.l[0] ? a.l[0] : b.l[0], m.l[1] ? a.l[1] : b.l[1]}};
  }
  static Mask lt_or_gt(V a, V b) { return either(lt(a, b), gt(a, b)); }
  static Mask is_number(V a) {
    return Mask{{a.l[0] == a.l[0], a.l[1] == a.l[1]}};
  }
  static V min(V a, V b) { return select(lt(a, b), a, b); }
  static V max(V a, V b) { return select(lt(a, b), b, a); }
  static V mul_where(Mask m, V a, V b, V c) { return select(m, mul(a, b), c); }
  static void load_complex_strided(const creal_T* p, std::ptrdiff_t s, V& re,
                                   V& im) {
    re = V{{p[0].re, p[s].re}};
    im = V{{p[0].im, p[s].im}};
  }
  static void store_complex_strided(V re, V im, creal_T* p, std::ptrdiff_t s) {
    p[0].re = re.l[0];
    p[0].im = im.l[0];
    p[s].re = re.l[1];
    p[s].im = im.l[1];
  }
  static void load_complex(const creal_T* p, V& re, V& im) {
    load_complex_strided(p, 1, re, im);
  }
  static void transpose(V (&v)[2]) {
    const real_T t = v[0].l[1];
    v[0].l[1] = v[1].l[0];
    v[1].l[0] = t;
  }
  static V reverse(V a) { return V{{a.l[1], a.l[0]}}; }
  static void store_complex(V re, V im, creal_T* p) {
    store_complex_strided(re, im, p, 1);
  }
};

#if defined(__SSE2__)
// Two lanes in one SSE2 register, lane 0 the low double. Comparisons give
// all-ones or all-zero lanes, and select combines with and/andnot/or.
struct Sse2Lanes {
  static constexpr int kLanes = 2;
  typedef __m128d V;
  typedef __m128d Mask;
  static V load(const real_T* p) { return _mm_loadu_pd(p); }
  static void store(real_T* p, V a) { _mm_storeu_pd(p, a); }
  static V zero() { return _mm_setzero_pd(); }
  static V dup(real_T a) { return _mm_set1_pd(a); }
  static V add(V a, V b) { return _mm_add_pd(a, b); }
  static V sub(V a, V b) { return _mm_sub_pd(a, b); }
  static V mul(V a, V b) { return _mm_mul_pd(a, b); }
  static V div(V a, V b) { return _mm_div_pd(a, b); }
  static V sqrt(V a) { return _mm_sqrt_pd(a); }
  static V abs(V a) { return _mm_andnot_pd(_mm_set1_pd(-0.0), a); }
  static Mask lt(V a, V b) { return _mm_cmplt_pd(a, b); }
  static Mask gt(V a, V b) { return _mm_cmpgt_pd(a, b); }
  static Mask is_nan(V a) { return _mm_cmpunord_pd(a, a); }
  static Mask either(Mask m, Mask n) { return _mm_or_pd(m, n); }
  static V select(Mask m, V a, V b) {
    return _mm_or_pd(_mm_and_pd(m, a), _mm_andnot_pd(m, b));
  }
  static Mask lt_or_gt(V a, V b) { return either(lt(a, b), gt(a, b)); }
  static Mask is_number(V a) { return _mm_cmpord_pd(a, a); }
  static V min(V a, V b) { return _mm_min_pd(a, b); }
  static V max(V a, V b) { return _mm_max_pd(a, b); }
  static V mul_where(Mask m, V a, V b, V c) { return select(m, mul(a, b), c); }
  static void load_complex_strided(const creal_T* p, std::ptrdiff_t s, V& re,
                                   V& im) {
    const V a = _mm_loadu_pd(&p[0].re);  // (p0.re, p0.im)
    const V b = _mm_loadu_pd(&p[s].re);  // (p1.re, p1.im)
    re = _mm_unpacklo_pd(a, b);
    im = _mm_unpackhi_pd(a, b);
  }
  static void store_complex_strided(V re, V im, creal_T* p, std::ptrdiff_t s) {
    _mm_storeu_pd(&p[0].re, _mm_unpacklo_pd(re, im));
    _mm_storeu_pd(&p[s].re, _mm_unpackhi_pd(re, im));
  }
  static void load_complex(const creal_T* p, V& re, V& im) {
    load_complex_strided(p, 1, re, im);
  }
  static void transpose(V (&v)[2]) {
    const V a = _mm_unpacklo_pd(v[0], v[1]);
    v[1] = _mm_unpackhi_pd(v[0], v[1]);
    v[0] = a;
  }
  static V reverse(V a) { return _mm_shuffle_pd(a, a, 1); }
  static void store_complex(V re, V im, creal_T* p) {
    store_complex_strided(re, im, p, 1);
  }
};
#endif

}  // namespace varnoth_lanes

#endif
