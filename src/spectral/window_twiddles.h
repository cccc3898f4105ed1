// Twiddles and bit reversal of the n-point transforms of the windows, n a
// power of two from 32 to 4096. Internal to the library, not exported.
#ifndef VARNOTH_WINDOW_TWIDDLES_H
#define VARNOTH_WINDOW_TWIDDLES_H

#include <cstdint>

#include "Varnoth_types.h"

// cos(2 pi j / 4096), j = 0 .. 1024, correctly rounded; entry 1024 is 0.0.
extern const real_T window_quarter_cosine[1025];

namespace varnoth_window {

// The tables of one side n:
//   cosine[j] + i sine[j] = W^j = exp(-2 pi i j / n), j = 0 .. n / 2,
//   reversed[k] = k with its log2(n) bits in reverse order, k = 0 .. n - 1.
// For n = 128 the twiddles are fft_cosine and fft_sine themselves; for
// every other n they are spelled out from window_quarter_cosine with the
// signs of those tables: sine[0] = +0.0, cosine[n / 4] = +0.0,
// sine[n / 2] = -0.0.
struct SideTables {
  int n;
  const real_T* cosine;
  const real_T* sine;
  const std::uint16_t* reversed;
};

// The tables of side n (is_window_side(n)), made once, on first use, and
// shared by every thread.
const SideTables& side_tables(int n);

}  // namespace varnoth_window

#endif
