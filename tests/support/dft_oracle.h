// An independent reference for the 128 x 128 transforms: the separable
// naive DFT in long double, with twiddles computed in long double.
//
//   Y(r, v) = sum_n x(r, n) W^(v n)                       (rows)
//   F(u, v) = sum_m W^(u m) Y(m, v),   W = exp(-2 pi i / 128)
//
// Element (r, c) at index r + 128 c. The result carries about 64-bit
// precision and no ordering of its own that a double FFT could share, so
// it bounds the error of a double transform but cannot check its bits.
#ifndef VARNOTH_TEST_DFT_ORACLE_H
#define VARNOTH_TEST_DFT_ORACLE_H

#include <cmath>
#include <complex>
#include <vector>

namespace varnoth_test {

typedef std::complex<long double> cld;

// W^k for k = 0..127 from cosl / sinl of 2 pi k / 128.
inline std::vector<cld> oracle_twiddles() {
  const long double pi = 3.141592653589793238462643383279502884L;
  std::vector<cld> w(128);
  for (int k = 0; k < 128; k++) {
    const long double a = 2.0L * pi * static_cast<long double>(k) / 128.0L;
    w[k] = cld(cosl(a), -sinl(a));
  }
  return w;
}

// Row spectra of a real image: y[r + 128 v] = Y(r, v).
inline std::vector<cld> oracle_dft_rows(const double* x) {
  const std::vector<cld> w = oracle_twiddles();
  std::vector<cld> y(16384);
  for (int r = 0; r < 128; r++) {
    for (int v = 0; v < 128; v++) {
      cld s = 0.0L;
      for (int n = 0; n < 128; n++) {
        s += static_cast<long double>(x[r + 128 * n]) * w[(v * n) % 128];
      }
      y[r + 128 * v] = s;
    }
  }
  return y;
}

// Two-dimensional spectrum of a real image: f[u + 128 v] = F(u, v).
inline std::vector<cld> oracle_dft2(const double* x) {
  const std::vector<cld> w = oracle_twiddles();
  const std::vector<cld> y = oracle_dft_rows(x);
  std::vector<cld> f(16384);
  for (int v = 0; v < 128; v++) {
    for (int u = 0; u < 128; u++) {
      cld s = 0.0L;
      for (int m = 0; m < 128; m++) s += w[(u * m) % 128] * y[m + 128 * v];
      f[u + 128 * v] = s;
    }
  }
  return f;
}

}  // namespace varnoth_test

#endif
