// Ring geometry of the radial average, computed at compile time with integer
// arithmetic alone. Constants only: nothing here is written at run time.
//
// Element n = r + 128 c (0 <= r, c < 128) has x = c - 64, y = r - 64 and
// d2 = x*x + y*y. Its ring is
//   0             when d2 = 0 (the centre, index 8256),
//   k (1..64)     when k*k - k + 1 <= d2 <= k*k + k,
//   kRingOutside  otherwise (d2 >= 65*65 - 65 + 1 = 4161: the corners).
// The inequalities are the integer form of k - 1/2 <= sqrt(d2) < k + 1/2,
// i.e. of rounding the distance half up. The intervals [k*k - k + 1,
// k*k + k] for k = 1, 2, ... follow one another without gap or overlap
// ((k-1)^2 + (k-1) + 1 = k*k - k + 1), so every d2 has exactly one ring, and
// the ring never decreases as d2 grows.
//
// The tests check kRingOf against the floating-point route of
// f_RadialAverageSpectra_reference (meshgrid, cart2pol, b_round) for all
// 16384 elements, and kRingList against kRingOf.
#ifndef VARNOTH_RADIAL_RINGS_H
#define VARNOTH_RADIAL_RINGS_H

#include <cstdint>

#include "Varnoth_types.h"

namespace varnoth_radial {

constexpr int kRingOutside = 65;     // ring number of the unused corners
constexpr int kRingMembers = 13051;  // elements in rings 0..64

// ring[n]: the ring of element n, 0..64 or kRingOutside.
struct RingOf {
  std::uint8_t ring[kImageSize];
};

// The members of ring k are member[first[k]], ..., member[first[k+1] - 1],
// in ascending index order; first[0] = 0 and first[65] = kRingMembers.
struct RingList {
  std::uint16_t first[kProfileSize + 1];
  std::uint16_t member[kRingMembers];
};

constexpr RingOf make_ring_of() {
  // Ring by squared distance: 0 <= d2 <= 2 * 64 * 64 = 8192. Walk d2 upwards
  // and raise k until d2 <= k*k + k; k then is the ring of d2.
  constexpr int kMaxD2 = 2 * 64 * 64;
  std::uint8_t byD2[kMaxD2 + 1] = {};
  int k = 0;
  for (int d2 = 0; d2 <= kMaxD2; d2++) {
    while (d2 > k * k + k) k++;
    byD2[d2] = static_cast<std::uint8_t>(k < kProfileSize ? k : kRingOutside);
  }
  RingOf t{};
  for (int c = 0; c < kImageSide; c++) {
    for (int r = 0; r < kImageSide; r++) {
      const int x = c - 64;
      const int y = r - 64;
      t.ring[image_at(r, c)] = byD2[x * x + y * y];
    }
  }
  return t;
}

inline constexpr RingOf kRingOf = make_ring_of();

constexpr RingList make_ring_list() {
  // A counting sort of 0..16383 by ring; the placement pass runs through n
  // in ascending order, so each ring's members come out ascending.
  int count[kProfileSize] = {};
  for (int n = 0; n < kImageSize; n++) {
    if (kRingOf.ring[n] < kProfileSize) count[kRingOf.ring[n]]++;
  }
  RingList l{};
  int next[kProfileSize] = {};
  int start = 0;
  for (int k = 0; k < kProfileSize; k++) {
    l.first[k] = static_cast<std::uint16_t>(start);
    next[k] = start;
    start += count[k];
  }
  l.first[kProfileSize] = static_cast<std::uint16_t>(start);
  for (int n = 0; n < kImageSize; n++) {
    const int k = kRingOf.ring[n];
    if (k < kProfileSize) l.member[next[k]++] = static_cast<std::uint16_t>(n);
  }
  return l;
}

inline constexpr RingList kRingList = make_ring_list();

// The same members for a spectrum held row by row (element (r, c) at
// 128 r + c): at[j] is the row-by-row index of member[j], in the same order.
struct RingMembersByRows {
  std::uint16_t at[kRingMembers];
};

constexpr RingMembersByRows make_ring_members_by_rows() {
  RingMembersByRows t{};
  for (int j = 0; j < kRingMembers; j++) {
    const int n = kRingList.member[j];  // n = r + 128 c
    t.at[j] = static_cast<std::uint16_t>(kImageSide * (n % kImageSide) +
                                         n / kImageSide);
  }
  return t;
}

inline constexpr RingMembersByRows kRingMembersByRows =
    make_ring_members_by_rows();

static_assert(kRingList.first[0] == 0 &&
                  kRingList.first[kProfileSize] == kRingMembers,
              "rings 0..64 hold 13051 elements");
static_assert(kRingOf.ring[kCentreIndex] == 0, "the centre is ring 0");
static_assert(kRingOf.ring[0] == kRingOutside, "index 0 is a corner");
static_assert(kRingOf.ring[64] == 64 && kRingOf.ring[8192] == 64,
              "the one-sided border points of ring 64");

}  // namespace varnoth_radial

#endif
