// Two lanes in one Advanced SIMD (NEON) register, lane 0 the low double: the
// aarch64 baseline, present on every aarch64 CPU. The lane contract is in
// lanes.h; the vector operations fadd, fsub, fmul, fdiv and fsqrt on .2d are
// the scalar ones side by side, under the same FPCR rounding and NaN rules.
// Comparisons give all-ones or all-zero lanes; select is a bitwise select.
#ifndef VARNOTH_LANES_NEON_H
#define VARNOTH_LANES_NEON_H

#include <arm_neon.h>

#include "spectral/lanes.h"

namespace varnoth_lanes {

struct NeonLanes {
  static constexpr int kLanes = 2;
  typedef float64x2_t V;
  typedef uint64x2_t Mask;
  static V load(const real_T* p) { return vld1q_f64(p); }
  static void store(real_T* p, V a) { vst1q_f64(p, a); }
  static V zero() { return vdupq_n_f64(0.0); }
  static V dup(real_T a) { return vdupq_n_f64(a); }
  static V add(V a, V b) { return vaddq_f64(a, b); }
  static V sub(V a, V b) { return vsubq_f64(a, b); }
  static V mul(V a, V b) { return vmulq_f64(a, b); }
  static V div(V a, V b) { return vdivq_f64(a, b); }
  static V sqrt(V a) { return vsqrtq_f64(a); }
  static V abs(V a) {
    const uint64x2_t sign = vdupq_n_u64(0x8000000000000000ULL);
    return vreinterpretq_f64_u64(vbicq_u64(vreinterpretq_u64_f64(a), sign));
  }
  static Mask lt(V a, V b) { return vcltq_f64(a, b); }
  static Mask gt(V a, V b) { return vcgtq_f64(a, b); }
  // a == a fails exactly for NaN.
  static Mask is_nan(V a) {
    return vreinterpretq_u64_u32(
        vmvnq_u32(vreinterpretq_u32_u64(vceqq_f64(a, a))));
  }
  static Mask either(Mask m, Mask n) { return vorrq_u64(m, n); }
  static V select(Mask m, V a, V b) { return vbslq_f64(m, a, b); }
  static Mask lt_or_gt(V a, V b) { return either(lt(a, b), gt(a, b)); }
  static Mask is_number(V a) { return vceqq_f64(a, a); }
  static V min(V a, V b) { return vminq_f64(a, b); }
  static V max(V a, V b) { return vmaxq_f64(a, b); }
  static V mul_where(Mask m, V a, V b, V c) { return select(m, mul(a, b), c); }
  static void load_complex_strided(const creal_T* p, std::ptrdiff_t s, V& re,
                                   V& im) {
    const V a = vld1q_f64(&p[0].re);  // (p0.re, p0.im)
    const V b = vld1q_f64(&p[s].re);  // (p1.re, p1.im)
    re = vzip1q_f64(a, b);
    im = vzip2q_f64(a, b);
  }
  static void store_complex_strided(V re, V im, creal_T* p, std::ptrdiff_t s) {
    vst1q_f64(&p[0].re, vzip1q_f64(re, im));
    vst1q_f64(&p[s].re, vzip2q_f64(re, im));
  }
  static void load_complex(const creal_T* p, V& re, V& im) {
    load_complex_strided(p, 1, re, im);
  }
  static void store_complex(V re, V im, creal_T* p) {
    store_complex_strided(re, im, p, 1);
  }
  static void transpose(V (&v)[2]) {
    const V a = vzip1q_f64(v[0], v[1]);
    v[1] = vzip2q_f64(v[0], v[1]);
    v[0] = a;
  }
  static V reverse(V a) { return vextq_f64(a, a, 1); }
};

}  // namespace varnoth_lanes

#endif
