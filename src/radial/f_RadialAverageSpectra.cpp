// Radial profile of a 128 x 128 image, as a rule a centred power spectrum.
//
// Purpose
//   ret[k], k = 0..64, is the mean of the non-NaN elements of ftArr whose
//   distance from the centre element (row 64, column 64, index 8256) rounds
//   to k (halves up). No weighting, normalisation or logarithm.
//
// Result, bit for bit
//   With R_k = { n in ring k : ftArr[n] is not NaN } = n_1 < n_2 < ... < n_m,
//     ret[k] = (((0.0 + ftArr[n_1]) + ftArr[n_2]) + ... + ftArr[n_m]) / m,
//   every addition rounded to double in that order, m converted exactly to
//   double; ret[k] = rtNaN when m = 0 (the ring is all NaN). Infinities are
//   summed like other values, so +inf and -inf in one ring give NaN, and a
//   sum that overflows gives an infinity. Elements beyond ring 64 (the 3333
//   corner elements) are never read.
//
// Geometry
//   The rings are the constant table varnoth_radial::kRingList
//   (radial_rings.h): ring k >= 1 holds the elements with
//   k*k - k + 1 <= x*x + y*y <= k*k + k (x = c - 64, y = r - 64 for
//   n = r + 128 c), ring 0 the centre alone, each ring's indices listed in
//   ascending order. Ring 64 has 406 elements (its border exists on the
//   negative side only), rings 0..64 together 13051.
//
// Why this gives the bits of f_RadialAverageSpectra_reference
//   The reference rounds rt_hypotd_snf(x, y) half up. No distance between
//   integer points lies within 0.0017 of a half-integer, so its rounded
//   distances are exact integers equal to the integer rings above; the tests
//   check the table against the reference's own computation for all 16384
//   elements. The reference then collects ring k's indices in ascending
//   order and nanmean adds their non-NaN values to 0.0 one by one in that
//   order and divides by their count. ring_means (ring_means.h) reads
//   exactly the same values in exactly the same order, skips NaN by the
//   same test (std::isnan, true exactly when v != v, as rtIsNaN), starts
//   from the same 0.0 and divides by the same count, so every rounding step
//   is the same operation on the same operands. It first sums each ring
//   without the test and keeps that sum only when it is not NaN, which
//   proves that no member was NaN. Rings are summed independently, one
//   accumulator each, so the order in which the rings are visited cannot
//   matter. No reassociation is possible: the build forbids fast-math and
//   contraction (cmake/CompilerFlags.cmake).
//
// Work record and storage
//   SD is not used (the parameter stays for the calling convention); in
//   particular SD->u1.f1 is neither read nor written, so ftArr may lie
//   anywhere, in the work record too. Callers still keep ftArr out of
//   SD->u1.f1, which the reference requires. No heap allocation, no
//   exceptions, a few dozen bytes of stack.
//
// Cost
//   One read of each of the 13051 ring elements and 13051 additions, each
//   dependent on the one before in its ring, four rings in flight at once;
//   a ring with a NaN member, or with +inf and -inf, is read a second time
//   (docs/PERFORMANCE.md has the timings). A single pass over all 16384
//   elements in index order with a per-element ring number and 65 running sums
//   gives the same bits too, but is slower: consecutive elements often share a
//   ring, and each such addition waits for the sum stored by the previous.
#include "radial/Varnoth_radial.h"
#include "radial/ring_means.h"

void f_RadialAverageSpectra(VarnothStackData* /* SD: not used */,
                            const real_T ftArr[16384], real_T ret[65]) {
  varnoth_radial::ring_means(ftArr, varnoth_radial::kRingList.member, ret);
}
