// The radial profile of a centred power spectrum of side n (a power of two
// from 32 to 4096): the ring means of f_RadialAverageSpectra, generalised to
// n. Internal to the library, not exported.
//
// Element (R, C) (at index R + n C, the library's layout) has the offsets
// x = C - n / 2 and y = R - n / 2 from the centre and d2 = x x + y y. Its
// ring is the k with k k - k + 1 <= d2 <= k k + k (k - 1/2 <= sqrt(d2) <
// k + 1/2, the distance rounded half up), 0 for the centre; rings beyond
// n / 2 (the corners) are not used. profile[k], k = 0 .. n / 2, is the mean
// of the ring's non-NaN values, added to 0.0 one by one in ascending index
// order (column by column, each column from the top) and divided by their
// count; NaN for a ring without such values. For n = 128 these are the
// values of f_RadialAverageSpectra, bit for bit.
#ifndef VARNOTH_WINDOW_PROFILE_H
#define VARNOTH_WINDOW_PROFILE_H

#include "Varnoth_types.h"

namespace varnoth_window {

// profile receives n / 2 + 1 values. At n = 128 the 128 x 128 routine's
// ring sums (ring_means.h) give them; other sides follow the rings down the
// columns (window_profile_by_columns).
void window_profile(const real_T* power, int n, real_T* profile);

// The same values for every n, the rings followed down the columns with a
// running sum per ring.
void window_profile_by_columns(const real_T* power, int n, real_T* profile);

}  // namespace varnoth_window

#endif
