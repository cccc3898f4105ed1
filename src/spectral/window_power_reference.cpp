// The straightforward route to the centred power spectrum of a window, one
// vector at a time, the 2-D spectrum stored whole (window_power.h): the
// reference that window_power is tested and timed against.

#include "runtime/Varnoth_runtime.h"
#include "runtime/scratch_array.h"
#include "spectral/window_power.h"
#include "spectral/window_twiddles.h"

namespace varnoth_window {
namespace {

// The n-point radix-2 decimation in time, in place on w, whose element k
// holds input element reversed[k]: fft128.cpp's butterflies with n for 128.
void butterflies(creal_T* w, const SideTables& t) {
  const int n = t.n;
  for (int i = 0; i < n; i += 2) {
    const creal_T a = w[i + 1];
    w[i + 1].re = w[i].re - a.re;
    w[i + 1].im = w[i].im - a.im;
    w[i].re = w[i].re + a.re;
    w[i].im = w[i].im + a.im;
  }
  for (int h = 2; h < n; h *= 2) {
    for (int b = 0; b < n; b += 2 * h) {
      const creal_T a = w[b + h];
      w[b + h].re = w[b].re - a.re;
      w[b + h].im = w[b].im - a.im;
      w[b].re = w[b].re + a.re;
      w[b].im = w[b].im + a.im;
    }
    const int step = n / (2 * h);
    for (int s = 1; s < h; s++) {
      const real_T twid_re = t.cosine[s * step];
      const real_T twid_im = t.sine[s * step];
      for (int b = s; b < n; b += 2 * h) {
        const creal_T a = w[b + h];
        const real_T temp_re = a.re * twid_re - a.im * twid_im;
        const real_T temp_im = a.im * twid_re + a.re * twid_im;
        w[b + h].re = w[b].re - temp_re;
        w[b + h].im = w[b].im - temp_im;
        w[b].re = w[b].re + temp_re;
        w[b].im = w[b].im + temp_im;
      }
    }
  }
}

}  // namespace

void window_power_reference(const real_T* xt, int n, real_T* power) {
  const SideTables& t = side_tables(n);
  varnoth_runtime::ScratchArray<creal_T> rows(static_cast<std::size_t>(n) *
                                              n);  // y(m, v)
  varnoth_runtime::ScratchArray<creal_T> w(n);
  for (int m = 0; m < n; m++) {
    for (int k = 0; k < n; k++) {
      w[t.reversed[k]] = creal_T{xt[static_cast<std::size_t>(n) * m + k], 0.0};
    }
    butterflies(w.data(), t);
    for (int v = 0; v < n; v++)
      rows[static_cast<std::size_t>(n) * m + v] = w[v];
  }
  const real_T area = static_cast<real_T>(n) * n;
  for (int v = 0; v < n; v++) {
    for (int m = 0; m < n; m++) {
      w[t.reversed[m]] = rows[static_cast<std::size_t>(n) * m + v];
    }
    butterflies(w.data(), t);
    const int centred_column = (v + n / 2) % n;
    for (int u = 0; u < n; u++) {
      const real_T d = rt_hypotd_snf(w[u].re, w[u].im) / area;
      power[(u + n / 2) % n + static_cast<std::size_t>(n) * centred_column] =
          d * d;
    }
  }
}

}  // namespace varnoth_window
