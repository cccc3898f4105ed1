// The radial profile of a centred power spectrum held row by row, as the
// Java calls of the processing chain hold it.
//
//   ret = f_RadialAverageSpectra(ft) bit for bit, where pt[128 r + c] =
//   ft[r + 128 c].
//
// Each ring's members are visited in the same order as there (ascending
// r + 128 c), each read from its row-by-row place (kRingMembersByRows), so
// the same values are added in the same order (ring_means.h).
#include "radial/Varnoth_radial.h"
#include "radial/ring_means.h"

void radial_average_by_rows(const real_T pt[16384], real_T ret[65]) {
  varnoth_radial::ring_means(pt, varnoth_radial::kRingMembersByRows.at, ret);
}
