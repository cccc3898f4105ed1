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
template <typename ValueAt>
inline void ring_means(ValueAt value_at, real_T ret[65]) {
  for (int k = 0; k < kProfileSize; k++) {
    real_T y = 0.0;
    int c = 0;
    const int end = kRingList.first[k + 1];
    for (int j = kRingList.first[k]; j < end; j++) {
      const real_T v = value_at(kRingList.member[j]);
      if (!std::isnan(v)) {
        y += v;
        c++;
      }
    }
    ret[k] = (c == 0) ? rtNaN : y / static_cast<real_T>(c);
  }
}

}  // namespace varnoth_radial

#endif
