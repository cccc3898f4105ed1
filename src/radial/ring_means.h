// The ring means of the radial average, over any layout of the spectrum.
// Internal to the library.
#ifndef VARNOTH_RING_MEANS_H
#define VARNOTH_RING_MEANS_H

#include <cmath>

#include "Varnoth_types.h"
#include "radial/radial_rings.h"
#include "runtime/Varnoth_runtime.h"

namespace varnoth_radial {

// ret[k] = mean of the non-NaN values value_at(n) over the members n of
// ring k, added to 0.0 one by one in ascending n, divided by their count;
// rtNaN for a ring without such values. n is the index r + 128 c of the
// library's layout whatever the layout value_at reads from, so the values
// meet in the same order, and give the same bits, in every layout.
//
// Each ring's sum is a chain of additions, each waiting for the one before.
// Four consecutive rings (of nearly equal length) are summed side by side:
// step t adds member t of each of them to that ring's own accumulator, up
// to the shortest ring's length, and each ring then finishes alone. Every
// ring still adds its own values in its own order from 0.0, so the
// interleaving changes no bit, and four chains proceed at once.
template <typename ValueAt>
inline void ring_means(ValueAt value_at, real_T ret[65]) {
  constexpr int kSideBySide = 4;
  for (int k0 = 0; k0 < kProfileSize; k0 += kSideBySide) {
    const int rings =
        kProfileSize - k0 < kSideBySide ? kProfileSize - k0 : kSideBySide;
    real_T y[kSideBySide] = {0.0, 0.0, 0.0, 0.0};
    int c[kSideBySide] = {0, 0, 0, 0};
    int first[kSideBySide], end[kSideBySide];
    int shortest = kRingMembers;
    for (int i = 0; i < rings; i++) {
      first[i] = kRingList.first[k0 + i];
      end[i] = kRingList.first[k0 + i + 1];
      if (end[i] - first[i] < shortest) shortest = end[i] - first[i];
    }
    auto add = [&](int i, int j) {
      const real_T v = value_at(kRingList.member[j]);
      if (!std::isnan(v)) {
        y[i] += v;
        c[i]++;
      }
    };
    if (rings == kSideBySide) {
      for (int t = 0; t < shortest; t++) {
        add(0, first[0] + t);
        add(1, first[1] + t);
        add(2, first[2] + t);
        add(3, first[3] + t);
      }
    } else {
      shortest = 0;
    }
    for (int i = 0; i < rings; i++) {
      for (int j = first[i] + shortest; j < end[i]; j++) add(i, j);
      ret[k0 + i] = (c[i] == 0) ? rtNaN : y[i] / static_cast<real_T>(c[i]);
    }
  }
}

}  // namespace varnoth_radial

#endif
