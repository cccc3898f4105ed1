// The ring means of the radial average, over any layout of the spectrum.
// Internal to the library.
#ifndef VARNOTH_RING_MEANS_H
#define VARNOTH_RING_MEANS_H

#include <cmath>
#include <cstdint>

#include "Varnoth_types.h"
#include "radial/radial_rings.h"
#include "runtime/Varnoth_runtime.h"

namespace varnoth_radial {

// The definition, for ring k: the mean of its non-NaN values, added to 0.0
// one by one in member order, divided by their count; rtNaN for a ring
// without such values. values[index[j]] is the value of member j
// (kRingList.member[j] for the library's layout, kRingMembersByRows.at[j]
// for rows), so the values meet in the same order, and give the same bits,
// in every layout.
inline real_T ring_mean_of_non_nan(const real_T* values,
                                   const std::uint16_t* index, int k) {
  real_T y = 0.0;
  int c = 0;
  const int end = kRingList.first[k + 1];
  for (int j = kRingList.first[k]; j < end; j++) {
    const real_T v = values[index[j]];
    if (!std::isnan(v)) {
      y += v;
      c++;
    }
  }
  return (c == 0) ? rtNaN : y / static_cast<real_T>(c);
}

// Ends ring k: adds the members from j on to its plain sum y, and gives the
// mean. A plain sum that is not NaN had no NaN operand (IEEE addition with a
// NaN operand gives NaN), so no member was skipped by the definition: its
// sum is y and its count the ring's size. A NaN sum (a NaN member, or +inf
// and -inf meeting) leaves the ring to the definition.
inline real_T ring_mean_from(const real_T* values, const std::uint16_t* index,
                             int k, int j, real_T y) {
  const int end = kRingList.first[k + 1];
  for (; j < end; j++) y += values[index[j]];
  if (std::isnan(y)) return ring_mean_of_non_nan(values, index, k);
  return y / static_cast<real_T>(end - kRingList.first[k]);
}

// ret[k] = ring_mean_of_non_nan(values, index, k), k = 0..64, bit for bit.
//
// The plain sums run without the NaN test (see ring_mean_from), four rings
// side by side over the members they all have, then each ring's rest. Each
// ring keeps its own accumulator and adds its own members in member order,
// so running rings side by side changes no value; it only keeps four
// independent additions in flight instead of one.
inline void ring_means(const real_T* values, const std::uint16_t* index,
                       real_T ret[65]) {
  int k = 0;
  for (; k + 4 <= kProfileSize; k += 4) {
    const int j0 = kRingList.first[k];
    const int j1 = kRingList.first[k + 1];
    const int j2 = kRingList.first[k + 2];
    const int j3 = kRingList.first[k + 3];
    const int j4 = kRingList.first[k + 4];
    int common = j1 - j0;
    if (j2 - j1 < common) common = j2 - j1;
    if (j3 - j2 < common) common = j3 - j2;
    if (j4 - j3 < common) common = j4 - j3;
    real_T y0 = 0.0, y1 = 0.0, y2 = 0.0, y3 = 0.0;
    for (int i = 0; i < common; i++) {
      y0 += values[index[j0 + i]];
      y1 += values[index[j1 + i]];
      y2 += values[index[j2 + i]];
      y3 += values[index[j3 + i]];
    }
    ret[k] = ring_mean_from(values, index, k, j0 + common, y0);
    ret[k + 1] = ring_mean_from(values, index, k + 1, j1 + common, y1);
    ret[k + 2] = ring_mean_from(values, index, k + 2, j2 + common, y2);
    ret[k + 3] = ring_mean_from(values, index, k + 3, j3 + common, y3);
  }
  for (; k < kProfileSize; k++) {
    ret[k] = ring_mean_from(values, index, k, kRingList.first[k], 0.0);
  }
}

}  // namespace varnoth_radial

#endif
