// Radial profile of a 128 x 128 image, the straightforward way: the
// reference against which f_RadialAverageSpectra is tested and benchmarked.
// Not exported. It gives the same 65 results as f_RadialAverageSpectra, bit
// for bit, for every input; it differs only in the work it does and in its
// use of the work record, described under Scratch and Method below.
//
// Purpose
//   ret[k], k = 0..64, is the mean of the non-NaN elements of ftArr whose
//   distance from the centre element (row 64, column 64, index 8256) rounds
//   to k (halves up). No weighting, normalisation or logarithm.
//
// Geometry
//   Element n = r + 128 c (0 <= r, c < 128) has x = c - 64, y = r - 64, both
//   in -64..63, and d2 = x*x + y*y. It lies in ring
//     k = 0   when d2 = 0 (the centre alone),
//     k >= 1  when k*k - k + 1 <= d2 <= k*k + k,
//   the integer form of k - 1/2 <= sqrt(d2) < k + 1/2. No sqrt(d2) lies
//   within 0.0017 of a half-integer, so the rounded distances computed below
//   in floating point are exact integers and the rings do not depend on the
//   last bits of the hypotenuse. Rings 0..63 lie inside the grid and are
//   point-symmetric; ring 64 reaches the border, which exists on the negative
//   side only (x = -64 or y = -64), so it holds 406 elements instead of 440
//   (indices 64 and 8192 are in it). Rings 0..64 cover 13051 elements; the
//   3333 elements with rounded distance 65..91 (the corners, index 0 among
//   them) are never read.
//
// Summation order (part of the result, bit for bit)
//   With R_k = { n in ring k : ftArr[n] is not NaN } in ascending n,
//     ret[k] = (((0.0 + ftArr[n_1]) + ftArr[n_2]) + ...) / (double)|R_k|,
//   and ret[k] = rtNaN when R_k is empty. Infinities are summed like other
//   values (+inf and -inf in one ring give NaN).
//
// Scratch
//   SD->u1.f1.X, .Y, .theta: overwritten with the coordinate grids and the
//   angles (theta is computed but not read). ftArr must not lie in them.
//   Stack: rho (16384 doubles, 128 KiB) and two 128-element coordinate
//   vectors. Heap: the index list ii, the gathered values b_ftArr and the
//   65 ring index lists, all freed before return, also when a growth
//   throws std::bad_alloc (which then propagates with ret partly written).
//
// Method
//   Distances by meshgrid, cart2pol and b_round, then for each k in
//   ascending order a full scan of rho collecting the 1-based indices n with
//   rho[n-1] == k into a growable array, then for each k a gather of those
//   elements and nanmean. About 65 x 16384 comparisons and 67 growable
//   arrays (ii, b_ftArr, 65 ring lists) per call; it keeps meshgrid,
//   cart2pol, b_round, nanmean and the growable arrays exercised.
#include "radial/Varnoth_radial.h"
#include "runtime/Varnoth_runtime.h"

namespace {

constexpr int kRings = 65;  // radii 0..64

// The growable arrays of one call. The destructor frees whatever is still
// held, on return and on an exception alike; freeing null is harmless, so
// arrays already freed on the normal path are skipped.
struct RadialWork {
  emxArray_int32_T* ii = nullptr;      // indices found for one radius
  emxArray_real_T* b_ftArr = nullptr;  // values gathered for one radius
  cell_wrap_0 rings[kRings] = {};      // rings[k].f1: indices of ring k

  RadialWork() = default;
  RadialWork(const RadialWork&) = delete;
  RadialWork& operator=(const RadialWork&) = delete;
  ~RadialWork() {
    emxFree_int32_T(&ii);
    emxFree_real_T(&b_ftArr);
    emxFreeMatrix_cell_wrap_0(rings);
  }
};

// The record types share one layout; growth goes through the untyped view.
inline emxArray__common* common(emxArray_int32_T* a) {
  return reinterpret_cast<emxArray__common*>(a);
}
inline emxArray__common* common(emxArray_real_T* a) {
  return reinterpret_cast<emxArray__common*>(a);
}

}  // namespace

void f_RadialAverageSpectra_reference(VarnothStackData* SD,
                                      const real_T ftArr[16384],
                                      real_T ret[65]) {
  real_T dv10[128];
  real_T dv11[128];
  real_T rho[16384];
  RadialWork w;

  // Coordinates -64, -63, ..., 63 for the columns (dv10) and rows (dv11).
  for (int k = 0; k < kImageSide; k++) {
    dv10[k] = static_cast<real_T>(k) - 64.0;
    dv11[k] = static_cast<real_T>(k) - 64.0;
  }
  // X(r, c) = c - 64, Y(r, c) = r - 64.
  meshgrid(dv10, dv11, SD->u1.f1.X, SD->u1.f1.Y);
  // rho[n] = hypot(X[n], Y[n]), rounded half up to an integer.
  cart2pol(SD->u1.f1.X, SD->u1.f1.Y, SD->u1.f1.theta, rho);
  b_round(rho);

  // Selection: rings[k] = the ascending 1-based indices n with
  // rho[n-1] == k, stored as doubles. All cells exist before any is filled.
  emxInit_int32_T(&w.ii, 1);
  emxInitMatrix_cell_wrap_0(w.rings);
  for (int k = 0; k < kRings; k++) {
    const real_T radius = static_cast<real_T>(k);

    int oldNumel = w.ii->size[0];
    w.ii->size[0] = kImageSize;
    emxEnsureCapacity(common(w.ii), oldNumel,
                      static_cast<int>(sizeof(int32_T)));
    int idx = 0;
    for (int n = 1; n <= kImageSize; n++) {
      if (rho[n - 1] == radius) {
        idx++;
        w.ii->data[idx - 1] = n;
        if (idx >= kImageSize) {
          break;
        }
      }
    }
    oldNumel = w.ii->size[0];
    w.ii->size[0] = idx;
    emxEnsureCapacity(common(w.ii), oldNumel,
                      static_cast<int>(sizeof(int32_T)));

    emxArray_real_T* ring = w.rings[k].f1;
    oldNumel = ring->size[0];
    ring->size[0] = w.ii->size[0];
    emxEnsureCapacity(common(ring), oldNumel, static_cast<int>(sizeof(real_T)));
    for (int j = 0; j < w.ii->size[0]; j++) {
      ring->data[j] = static_cast<real_T>(w.ii->data[j]);
    }
  }
  emxFree_int32_T(&w.ii);

  // Averaging: gather ring k in ascending index order, then its NaN-free
  // mean.
  emxInit_real_T(&w.b_ftArr, 1);
  for (int k = 0; k < kRings; k++) {
    const emxArray_real_T* ring = w.rings[k].f1;
    const int oldNumel = w.b_ftArr->size[0];
    w.b_ftArr->size[0] = ring->size[0];
    emxEnsureCapacity(common(w.b_ftArr), oldNumel,
                      static_cast<int>(sizeof(real_T)));
    for (int j = 0; j < ring->size[0]; j++) {
      // Stored indices are exact integers 1..16384; conversion truncates.
      w.b_ftArr->data[j] = ftArr[static_cast<int>(ring->data[j]) - 1];
    }
    ret[k] = nanmean(w.b_ftArr);
  }
  emxFree_real_T(&w.b_ftArr);
  emxFreeMatrix_cell_wrap_0(w.rings);
}
