// The radial profile of a centred power spectrum of side n (window_profile.h).
#include "radial/window_profile.h"

#include <cmath>
#include <cstddef>

#include "runtime/Varnoth_runtime.h"
#include "runtime/scratch_array.h"

namespace varnoth_window {
namespace {

// The ring of the squared distance d2: the smallest k with d2 <= k k + k.
// s = floor(sqrt(d2)) is exact (d2 < 2^53, and sqrt(d2) lies at least
// 1 / (2 (s + 1)) below the next integer, far more than a rounding), and
// d2 < (s + 1)^2, so the ring is s or s + 1.
inline int ring_of(int d2) {
  const int s = static_cast<int>(std::sqrt(static_cast<real_T>(d2)));
  return d2 > s * s + s ? s + 1 : s;
}

}  // namespace

void window_profile(const real_T* power, int n, real_T* profile) {
  const int rings = n / 2 + 1;
  varnoth_runtime::ScratchArray<real_T> sum(rings);  // 0.0 each
  varnoth_runtime::ScratchArray<int> count(rings);   // 0 each
  for (int c = 0; c < n; c++) {
    const int x = c - n / 2;
    const real_T* column = power + static_cast<std::size_t>(n) * c;
    for (int r = 0; r < n; r++) {
      const int y = r - n / 2;
      const int k = ring_of(x * x + y * y);
      const real_T v = column[r];
      if (k < rings && !std::isnan(v)) {
        sum[k] += v;
        count[k]++;
      }
    }
  }
  for (int k = 0; k < rings; k++) {
    profile[k] = count[k] == 0 ? rtNaN : sum[k] / static_cast<real_T>(count[k]);
  }
}

}  // namespace varnoth_window
