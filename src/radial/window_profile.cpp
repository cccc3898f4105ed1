// The radial profile of a centred power spectrum of side n (window_profile.h).
#include "radial/window_profile.h"

#include <cmath>
#include <cstddef>

#include "radial/ring_means.h"
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

// At n = 128 the element at index R + 128 C is the one f_RadialAverageSpectra
// reads there, and its rings list their members in ascending index order: the
// same values added in the same order, four rings side by side.
void window_profile(const real_T* power, int n, real_T* profile) {
  if (n == 128) {
    varnoth_radial::ring_means(power, varnoth_radial::kRingList.member,
                               profile);
  } else {
    window_profile_by_columns(power, n, profile);
  }
}

// Column by column, each from the top. Down a column (x fixed, y rising by
// one) the distance changes by less than one, so the ring moves by at most
// one from row to row and is followed without a square root. Ring k's sum
// and count are held in registers while consecutive elements stay in ring
// k: the same additions in the same order as sum[k] += v element by element.
void window_profile_by_columns(const real_T* power, int n, real_T* profile) {
  const int half = n / 2;
  const int rings = half + 1;
  varnoth_runtime::ScratchArray<real_T> sum(rings);  // 0.0 each
  varnoth_runtime::ScratchArray<int> count(rings);   // 0 each
  for (int c = 0; c < n; c++) {
    const int x = c - half;
    const real_T* column = power + static_cast<std::size_t>(n) * c;
    int d2 = x * x + half * half;  // row 0: y = -half
    int k = ring_of(d2);
    int runRing = k;
    real_T runSum = k < rings ? sum[k] : 0.0;
    int runCount = k < rings ? count[k] : 0;
    for (int r = 0; r < n; r++) {
      if (k != runRing) {
        if (runRing < rings) {
          sum[runRing] = runSum;
          count[runRing] = runCount;
        }
        runRing = k;
        if (k < rings) {
          runSum = sum[k];
          runCount = count[k];
        }
      }
      const real_T v = column[r];
      if (k < rings && !std::isnan(v)) {
        runSum += v;
        runCount++;
      }
      const int y = r - half;
      d2 += 2 * y + 1;  // the next row's x x + (y + 1)^2
      while (d2 > k * k + k) k++;
      while (k > 0 && d2 < k * k - k + 1) k--;
    }
    if (runRing < rings) {
      sum[runRing] = runSum;
      count[runRing] = runCount;
    }
  }
  for (int k = 0; k < rings; k++) {
    profile[k] = count[k] == 0 ? rtNaN : sum[k] / static_cast<real_T>(count[k]);
  }
}

}  // namespace varnoth_window
