// 128-point radix-2 decimation-in-time FFT, in place on one vector rwork of
// 128 creal_T held by the caller (2 KiB of automatic storage).
//
//   rwork[v] = sum_{n=0}^{127} x[n] W^(v n),   W = exp(-2 pi i / 128).
//
// Method:
//  1. Bit-reversed load: element n of x is stored at rwork[rev7(n)], rev7
//     reversing the seven bits of n (1 -> 64, 2 -> 32, 3 -> 96, ...). The
//     index is advanced by a reverse carry, element 127 last.
//  2. Pass 1, span 2: rwork[i+1] = rwork[i] - rwork[i+1],
//     rwork[i] = rwork[i] + rwork[i+1] (old values), i = 0, 2, ..., 126.
//  3. Passes 2..7 with half span iy = 2, 4, ..., 64, span ju = 2 iy, twiddle
//     step k = 64 / iy and iheight = 129 - ju (125, 121, 113, 97, 65, 1), so
//     that the span starts i = 0, ju, 2 ju, ... < iheight are exactly the
//     128 / ju spans. Position 0 of every span (twiddle 1):
//        t = rwork[i+iy];  rwork[i+iy] = rwork[i] - t;  rwork[i] += t.
//     Position istart = 1 .. iy-1 of every span, twiddle W^(istart k) =
//     (fft_cosine[j], fft_sine[j]), j = istart k:
//        temp_re = a.re twid_re - a.im twid_im,   a = rwork[i+iy]
//        temp_im = a.im twid_re + a.re twid_im
//        rwork[i+iy] = rwork[i] - temp,  then  rwork[i] = rwork[i] + temp.
//  4. rwork[v] then holds the spectral value v in natural order.
//
// Every operation is a separate IEEE double rounding in the order written
// (no contraction into fused multiply-adds, no reassociation); the results
// are bit-exact to that order, signed zeros included. No trigonometric
// function is evaluated: the twiddles come from fft_cosine / fft_sine.
#include "spectral/fft128.h"

#include "spectral/fft_twiddles.h"

namespace {

// Step 1: rwork[rev7(n)] = load(n), n = 0..127, by the reverse carry
//   iy = 128; repeat { iy >>= 1; ju ^= iy } until (ju & iy) != 0; iy = ju.
template <typename Load>
void bit_reversed_load(Load load, creal_T rwork[128]) {
  int ju = 0;
  int iy = 0;
  for (int n = 0; n < 127; n++) {
    rwork[iy] = load(n);
    iy = 128;
    bool tst = true;
    while (tst) {
      iy >>= 1;
      ju ^= iy;
      tst = ((ju & iy) == 0);
    }
    iy = ju;
  }
  rwork[iy] = load(127);  // iy == 127 here
}

// Steps 2 and 3: the seven butterfly passes, in place.
void butterflies(creal_T rwork[128]) {
  for (int i = 0; i <= 126; i += 2) {
    const real_T t_re = rwork[i + 1].re;
    const real_T t_im = rwork[i + 1].im;
    rwork[i + 1].re = rwork[i].re - t_re;
    rwork[i + 1].im = rwork[i].im - t_im;
    rwork[i].re = rwork[i].re + t_re;
    rwork[i].im = rwork[i].im + t_im;
  }

  int iy = 2;         // half span
  int ju = 4;         // span
  int k = 32;         // twiddle step
  int iheight = 125;  // 129 - ju: span starts i < iheight
  while (k > 0) {
    for (int i = 0; i < iheight; i += ju) {
      const real_T t_re = rwork[i + iy].re;
      const real_T t_im = rwork[i + iy].im;
      rwork[i + iy].re = rwork[i].re - t_re;
      rwork[i + iy].im = rwork[i].im - t_im;
      rwork[i].re = rwork[i].re + t_re;
      rwork[i].im = rwork[i].im + t_im;
    }

    int istart = 1;
    for (int j = k; j < 64; j += k) {
      const real_T twid_re = fft_cosine[j];
      const real_T twid_im = fft_sine[j];
      const int ihi = istart + iheight;
      for (int i = istart; i < ihi; i += ju) {
        const real_T temp_re =
            rwork[i + iy].re * twid_re - rwork[i + iy].im * twid_im;
        const real_T temp_im =
            rwork[i + iy].im * twid_re + rwork[i + iy].re * twid_im;
        rwork[i + iy].re = rwork[i].re - temp_re;
        rwork[i + iy].im = rwork[i].im - temp_im;
        rwork[i].re = rwork[i].re + temp_re;
        rwork[i].im = rwork[i].im + temp_im;
      }
      istart++;
    }

    k /= 2;
    iy = ju;
    ju += ju;
    iheight -= iy;
  }
}

}  // namespace

void fft128_real(const real_T x[128], creal_T rwork[128]) {
  bit_reversed_load(
      [x](int n) {
        creal_T v;
        v.re = x[n];
        v.im = 0.0;
        return v;
      },
      rwork);
  butterflies(rwork);
}

void fft128_complex(const creal_T x[128], creal_T rwork[128]) {
  bit_reversed_load([x](int n) { return x[n]; }, rwork);
  butterflies(rwork);
}
