// The 128-point FFT applied to W independent vectors at once, one in each
// lane of a W-lane value (lanes.h), and the row and column passes of the 2-D
// transform built on it. Internal to the library, not exported.
//
// Lanes, not reassociation. The reference transform (fft128.cpp) computes,
// for one vector, a fixed sequence of IEEE double operations: a
// bit-reversed load, 64 butterflies of length 2, then six passes of 64
// butterflies each, every butterfly
//   t = W^j a  (t_re = a_re w_re - a_im w_im,  t_im = a_im w_re + a_re w_im;
//               no product at all when W^j = 1: t = a)
//   a' = c - t,  c' = c + t
// rounded operation by operation. Here lane j holds vector j, and each lane
// add, sub or mul is exactly the scalar operation, rounded on its own (see
// lanes.h). A value of one lane never meets a value of another, so each
// lane performs, with the same operands, the operations of the scalar
// transform of its own vector, and every value comes out as in the
// reference, bit for bit: signed zeros, infinities, and NaN at the same
// places. (Which NaN an operation returns when both operands are NaN of
// different bit patterns depends on which operand the compiler puts first
// in a sum or product, for the reference as for this code; with one NaN
// pattern in play, the NaN bits agree as well.)
//
// What changes is the order in which butterflies are visited and where
// values are kept between them: several passes are done group by group on
// values held in registers (see transform), and the bit reversal is a
// table. Butterflies of one pass touch disjoint pairs of elements, so
// visiting them in another order cannot change any value.
//
// Memory layout (element (r, c) of an image at index r + 128 c):
//  - rows: rows r .. r + W - 1 of a real image are adjacent at x[r + 128 n],
//    so one lane load fetches element n of all of them; their spectra go
//    straight to y[r + 128 v] .. y[r + W - 1 + 128 v], which is where the
//    reference's final transposition puts them. No transposition and no
//    scratch in the work record; eight rows at a time are staged through
//    local arrays so that x and y are accessed in whole runs (row_block).
//  - columns: columns c .. c + W - 1 are the contiguous runs g[128 c + u],
//    g[128 (c + 1) + u], ...; element u of all of them is split into a lane
//    value of real parts and one of imaginary parts, and joined again on
//    output.
//  - the processing chain (f_ImageFFTPower, the Java calls of the chain)
//    hands the row spectra to its column pass in tiles instead, a layout
//    that each row group writes as one contiguous run and from which the
//    column pass gathers its rows by transposes in registers (see "The
//    tiled layout" below).
#ifndef VARNOTH_FFT_LANES_H
#define VARNOTH_FFT_LANES_H

#include "Varnoth_api.h"
#include "Varnoth_types.h"
#include "spectral/fft_twiddles.h"
#include "spectral/lanes.h"

namespace varnoth_fft {
// rev7(n): the seven bits of n in reverse order (1 -> 64, 2 -> 32,
// 3 -> 96, ...). The reference reaches the same positions by a reverse
// carry; a table replaces the loop.
constexpr int bit_reverse7(int n) {
  int r = 0;
  for (int b = 0; b < 7; b++) {
    if ((n >> b) & 1) r |= 64 >> b;
  }
  return r;
}

struct BitReverseTable {
  unsigned char at[128];
};

constexpr BitReverseTable make_bit_reverse_table() {
  BitReverseTable t{};
  for (int n = 0; n < 128; n++)
    t.at[n] = static_cast<unsigned char>(bit_reverse7(n));
  return t;
}

inline constexpr BitReverseTable kBitReverse7 = make_bit_reverse_table();
static_assert(kBitReverse7.at[1] == 64 && kBitReverse7.at[2] == 32 &&
                  kBitReverse7.at[3] == 96 && kBitReverse7.at[127] == 127,
              "seven-bit reversal");

// Element n of the W vectors: real parts in re, imaginary parts in im.
template <class L>
struct ComplexLanes {
  typename L::V re, im;
};

// Butterfly with twiddle 1 on (c, a), exactly as the reference writes it:
//   t = a;  a = c - t;  c = c + t   (no product).
template <class L>
inline void butterfly(ComplexLanes<L>& c, ComplexLanes<L>& a) {
  const ComplexLanes<L> t = a;
  a.re = L::sub(c.re, t.re);
  a.im = L::sub(c.im, t.im);
  c.re = L::add(c.re, t.re);
  c.im = L::add(c.im, t.im);
}

// Butterfly with twiddle w = W^j on (c, a):
//   t_re = a_re w_re - a_im w_im,  t_im = a_im w_re + a_re w_im,
//   a = c - t,  c = c + t,
// each product, difference and sum rounded on its own, operands in the
// reference's order.
template <class L>
inline void butterfly(ComplexLanes<L>& c, ComplexLanes<L>& a,
                      const ComplexLanes<L>& w) {
  const typename L::V t_re = L::sub(L::mul(a.re, w.re), L::mul(a.im, w.im));
  const typename L::V t_im = L::add(L::mul(a.im, w.re), L::mul(a.re, w.im));
  a.re = L::sub(c.re, t_re);
  a.im = L::sub(c.im, t_im);
  c.re = L::add(c.re, t_re);
  c.im = L::add(c.im, t_im);
}

// W^j in every lane, j = 0..63.
template <class L>
inline ComplexLanes<L> twiddle(int j) {
  return ComplexLanes<L>{L::dup(fft_cosine[j]), L::dup(fft_sine[j])};
}

// The 128-point transform of W vectors. load_group(b, e) gives the eight
// elements that passes 1-3 join in group b (b = 0, 8, .., 120): e[t] =
// element rev7(b + t) of all W vectors; store(v, z) receives spectral value
// v of all of them. side(j), j = 0..79, is called once per group of
// butterflies, in order (see below), for work that is independent of the
// transform and is to be done in its shadow, such as the power of the
// previous block of columns (centred_power.h): the divider is then busy
// while the adders are, instead of after them.
//
// The reference runs seven passes over its vector; pass p (half span
// h = 2^(p-1)) joins elements i and i + h, i mod 2h = s < h, with the
// twiddle W^(64 s / h) (a twiddle-free butterfly for s = 0). Two passes
// with half spans h and 2h only join elements within the groups
//   e0 = b, e1 = b + h, e2 = b + 2h, e3 = b + 3h,   b mod 4h = s < h:
//   pass h:   (e0, e1) and (e2, e3), both with W^(64 s / h),
//   pass 2h:  (e0, e2) with W^(32 s / h), (e1, e3) with W^(32 (s + h) / h);
// likewise passes 1, 2 and 3 only join elements within the groups of eight
// e_t = b + t, b mod 8 = 0. So the passes are done in three sweeps over the
// working vectors: passes 1-3 group by group of eight, straight from the
// input (element i of the working vector is input element rev7(i)); passes
// 4-5 (h = 8) and passes 6-7 (h = 32) group by group of four, the last
// sweep storing its results. Every butterfly is the reference's, with the
// same operands and twiddle; only butterflies of one pass that share no
// element change their order, which changes no value.
//
// side(j) is called at the start of group j of passes 1-3 (j = 0..15), of
// the 32 groups of passes 4-5 (j = 16..47, s = 0 first), and of group
// s = j - 48 of passes 6-7 (j = 48..79), before that group's four values
// s, s + 32, s + 64 and s + 96 are stored.
template <class L, class LoadGroup, class Store, class Side>
inline void transform_groups(LoadGroup load_group, Store store, Side side) {
  ComplexLanes<L> w[128];  // the working vectors, element i in w[i]

  // Passes 1, 2 and 3 (s = 0 throughout).
  {
    const ComplexLanes<L> w16 = twiddle<L>(16);
    const ComplexLanes<L> w32 = twiddle<L>(32);
    const ComplexLanes<L> w48 = twiddle<L>(48);
    for (int b = 0; b < 128; b += 8) {
      side(b / 8);
      ComplexLanes<L> e[8];
      load_group(b, e);
      ComplexLanes<L> e0 = e[0];
      ComplexLanes<L> e1 = e[1];
      ComplexLanes<L> e2 = e[2];
      ComplexLanes<L> e3 = e[3];
      ComplexLanes<L> e4 = e[4];
      ComplexLanes<L> e5 = e[5];
      ComplexLanes<L> e6 = e[6];
      ComplexLanes<L> e7 = e[7];
      butterfly<L>(e0, e1);  // pass 1
      butterfly<L>(e2, e3);
      butterfly<L>(e4, e5);
      butterfly<L>(e6, e7);
      butterfly<L>(e0, e2);  // pass 2
      butterfly<L>(e1, e3, w32);
      butterfly<L>(e4, e6);
      butterfly<L>(e5, e7, w32);
      butterfly<L>(e0, e4);  // pass 3
      butterfly<L>(e1, e5, w16);
      butterfly<L>(e2, e6, w32);
      butterfly<L>(e3, e7, w48);
      w[b] = e0;
      w[b + 1] = e1;
      w[b + 2] = e2;
      w[b + 3] = e3;
      w[b + 4] = e4;
      w[b + 5] = e5;
      w[b + 6] = e6;
      w[b + 7] = e7;
    }
  }

  // Passes 4 and 5 (h = 8).
  {
    const int h = 8;
    const ComplexLanes<L> w32 = twiddle<L>(32);
    for (int b = 0; b < 128; b += 4 * h) {  // s = 0
      side(16 + b / (4 * h));
      butterfly<L>(w[b], w[b + h]);
      butterfly<L>(w[b + 2 * h], w[b + 3 * h]);
      butterfly<L>(w[b], w[b + 2 * h]);
      butterfly<L>(w[b + h], w[b + 3 * h], w32);
    }
    for (int s = 1; s < h; s++) {
      const ComplexLanes<L> wa = twiddle<L>(s * 64 / h);
      const ComplexLanes<L> wb = twiddle<L>(s * 32 / h);
      const ComplexLanes<L> wc = twiddle<L>((s + h) * 32 / h);
      for (int b = s; b < 128; b += 4 * h) {
        side(16 + 4 * s + b / (4 * h));
        ComplexLanes<L> e0 = w[b];
        ComplexLanes<L> e1 = w[b + h];
        ComplexLanes<L> e2 = w[b + 2 * h];
        ComplexLanes<L> e3 = w[b + 3 * h];
        butterfly<L>(e0, e1, wa);
        butterfly<L>(e2, e3, wa);
        butterfly<L>(e0, e2, wb);
        butterfly<L>(e1, e3, wc);
        w[b] = e0;
        w[b + h] = e1;
        w[b + 2 * h] = e2;
        w[b + 3 * h] = e3;
      }
    }
  }

  // Passes 6 and 7 (h = 32, one group per s); the results are final.
  for (int s = 0; s < 32; s++) {
    side(48 + s);
    ComplexLanes<L> e0 = w[s];
    ComplexLanes<L> e1 = w[s + 32];
    ComplexLanes<L> e2 = w[s + 64];
    ComplexLanes<L> e3 = w[s + 96];
    if (s == 0) {
      butterfly<L>(e0, e1);
      butterfly<L>(e2, e3);
      butterfly<L>(e0, e2);
    } else {
      const ComplexLanes<L> wa = twiddle<L>(2 * s);
      butterfly<L>(e0, e1, wa);
      butterfly<L>(e2, e3, wa);
      butterfly<L>(e0, e2, twiddle<L>(s));
    }
    butterfly<L>(e1, e3, twiddle<L>(s + 32));
    store(s, e0);
    store(s + 32, e1);
    store(s + 64, e2);
    store(s + 96, e3);
  }
}

// The same transform, load(n) giving element n of all W vectors, with no
// side work.
template <class L, class Load, class Store>
inline void transform(Load load, Store store) {
  transform_groups<L>(
      [load](int b, ComplexLanes<L>(&e)[8]) {
#pragma GCC unroll 8
        for (int t = 0; t < 8; t++) e[t] = load(kBitReverse7.at[b + t]);
      },
      store, [](int) {});
}

// Spectra of the eight rows r .. r + 7 (r a multiple of 8) of a real image
// into y[r + q + 128 v], q = 0..7, v = 0..127; rows r + W q' ..
// r + W q' + W - 1 go through one transform together. Element n of row
// r + i is src[i + stride n]: src = &x[r] with stride 128 for an image x
// in the library's layout.
// Reads only those rows, writes only those rows of y. The imaginary parts
// enter as +0.0, as in fft128_real.
//
// Element n of the eight rows is 64 contiguous bytes of src, and value v of
// their spectra the 128 contiguous bytes y[r + 128 v .. r + 7 + 128 v].
// With fewer than eight lanes the rows are staged through `in` and `out`,
// so that memory is read and written in those whole runs (one lane group at
// a time would touch each run several times, 1 KiB or 2 KiB apart); eight
// lanes read and write whole runs directly.
template <class L>
VARNOTH_LANE_KERNEL void row_block(const real_T* src, int stride,
                                   creal_T y[16384], int r) {
  constexpr int W = L::kLanes;
  constexpr int kGroups = 8 / W;
  static_assert(kGroups * W == 8, "lanes divide a block of eight rows");
  if constexpr (kGroups == 1) {
    transform<L>(
        [src, stride](int n) {
          return ComplexLanes<L>{L::load(&src[stride * n]), L::zero()};
        },
        [y, r](int v, const ComplexLanes<L>& z) {
          L::store_complex(z.re, z.im, &y[r + 128 * v]);
        });
  } else {
    typename L::V in[kGroups][128];
    ComplexLanes<L> out[kGroups][128];
    for (int n = 0; n < 128; n++) {
      for (int q = 0; q < kGroups; q++)
        in[q][n] = L::load(&src[W * q + stride * n]);
    }
    for (int q = 0; q < kGroups; q++) {
      const typename L::V* const xq = in[q];
      ComplexLanes<L>* const oq = out[q];
      transform<L>(
          [xq](int n) {
            return ComplexLanes<L>{xq[n], L::zero()};
          },
          [oq](int v, const ComplexLanes<L>& z) { oq[v] = z; });
    }
    for (int v = 0; v < 128; v++) {
      for (int q = 0; q < kGroups; q++) {
        L::store_complex(out[q][v].re, out[q][v].im, &y[r + W * q + 128 * v]);
      }
    }
  }
}

// Spectra of columns c .. c + W - 1 (c a multiple of W) of g into the same
// columns of f. These columns are read completely before any element of f
// is written, and no other column is touched.
//
// column_transform hands value u of the W column spectra to store(u, z);
// column_block stores them into f, the fused power kernel of
// centred_power.h squares them instead.
template <class L, class Store>
inline void column_transform(const creal_T g[16384], int c, Store store) {
  transform<L>(
      [g, c](int n) {
        ComplexLanes<L> z;
        L::load_complex_strided(&g[128 * c + n], 128, z.re, z.im);
        return z;
      },
      store);
}

template <class L>
VARNOTH_LANE_KERNEL void column_block(const creal_T g[16384], creal_T f[16384],
                                      int c) {
  column_transform<L>(g, c, [f, c](int u, const ComplexLanes<L>& z) {
    L::store_complex_strided(z.re, z.im, &f[128 * c + u], 128);
  });
}

// y(r, v) = sum_n x(r, n) W^(v n) for all 128 rows; y must not overlap x.
// Iteration b handles rows 8b .. 8b + 7 only, so the loop may be split
// among threads in any way.
template <class L>
void row_transforms(const real_T x[16384], creal_T y[16384]) {
  VARNOTH_PARALLEL_FOR
  for (int b = 0; b < 16; b++) {
    row_block<L>(&x[8 * b], 128, y, 8 * b);
  }
}

// The tiled layout of the row spectra (tile_index in spectral_kernels.h
// gives the place of a value): how the row pass of the processing
// chain (row_tiles, row_tiles_from_rows) hands the row spectra y(r, v) of
// an image to its column pass (the tile passes of centred_power.h).
//
// With W lanes the 128 rows form 128 / W row groups; group q holds the rows
// q + (128 / W) k, k = 0..W-1, in lane k. Value v of the spectra of group q
// is a tile entry of 2 W doubles,
//   tiles[2 W (128 q + v) + k]       y(q + (128 / W) k, v).re,
//   tiles[2 W (128 q + v) + W + k]   y(q + (128 / W) k, v).im,
// so the spectra of a group are one contiguous run of 256 W doubles (16 KiB
// with eight lanes) that its transform writes front to back, the values
// v < 64 + W only (kTileColumns). Writing the
// spectra in the library's layout instead, each value of a block of rows
// to its own column 2 KiB from the last, kept the row pass waiting on its
// stores about half of its time.
//
// The groups are chosen for the column pass. Its passes 1-3 join, in group
// b (a multiple of 8), the rows rev7(b + t) = p + 16 rev3(t), t = 0..7,
// with p = rev7(b) < 16: the rows p + 16 j, j = 0..7. With G = 8 / W these
// are the lanes of the G row groups q = p + 16 m, m = 0..G-1 (row
// p + 16 (m + G k) in lane k of group p + 16 m). The W x W block of values
// v = c .. c + W - 1 of such a group, transposed in registers, gives the
// W columns c .. c + W - 1 of W of those rows, one lane per column
// (load_tile_group). The tile layout moves whole doubles only, so every
// value is the row pass's own, bit for bit.

// rev3(t): the three bits of t in reverse order.
inline constexpr int kReverse3[8] = {0, 4, 2, 6, 1, 5, 3, 7};

// The values v = 0 .. 64 + W - 1 that the tiles hold: the columns of the
// row spectra that the column pass transforms (centred_power.h has why the
// others are not needed). The rest of each run is left as it was.
template <class L>
inline constexpr int kTileColumns = 64 + L::kLanes;

// The transform of row group q: element n of its rows (lane k, row
// q + (128 / W) k) is staged[W ((n + skew) mod 128) .. + W - 1]; the spectra
// go to the group's own run of tiles, out = &tiles[256 W q]. staged may lie
// in the first half of that run (row_tiles): the transform reads all its
// input before it stores any value. The imaginary parts enter as +0.0, as
// in fft128_real.
template <class L>
VARNOTH_LANE_KERNEL void row_group_transform(const real_T* staged, int skew,
                                             real_T* out) {
  constexpr int W = L::kLanes;
  transform<L>(
      [staged, skew](int n) {
        return ComplexLanes<L>{L::load(&staged[W * ((n + skew) & 127)]),
                               L::zero()};
      },
      [out](int v, const ComplexLanes<L>& z) {
        if (v < kTileColumns<L>) {
          L::store(&out[2 * W * v], z.re);
          L::store(&out[2 * W * v + W], z.im);
        }
      });
}

// Row group q of an image held row by row, xt[128 r + n] = x(r, n) (the
// order of a Java image): its W rows, 1 KiB each, are staged W elements at
// a time, transposed in registers, in a block of 128 W doubles that stays in
// the first-level cache, then transformed into the group's tiles.
template <class L>
VARNOTH_LANE_KERNEL void row_group_from_rows(const real_T xt[16384],
                                             real_T tiles[32768], int q) {
  constexpr int W = L::kLanes;
  constexpr int kGroups = 128 / W;
  alignas(64) real_T staged[128 * W];  // element n of lane k at W n + k
  for (int n0 = 0; n0 < 128; n0 += W) {
    typename L::V v[W];  // v[k]: elements n0 .. n0 + W - 1 of lane k's row
#pragma GCC unroll 8
    for (int k = 0; k < W; k++) {
      v[k] = L::load(&xt[128 * (q + kGroups * k) + n0]);
    }
    L::transpose(v);  // v[t]: element n0 + t of the W rows
#pragma GCC unroll 8
    for (int t = 0; t < W; t++) L::store(&staged[W * (n0 + t)], v[t]);
  }
  row_group_transform<L>(staged, 0, &tiles[256 * W * q]);
}

// Column n of an image in the library's layout (x(r, n) at x[r + 128 n],
// 128 / W vectors of W adjacent rows) staged as element n of every row
// group, in the first half of the group's own run of tiles: element n of
// group q at tiles[256 W q + W ((n + G q) mod 128)], G = 8 / W. The rows of
// group W a + l lie in lane l of the vectors a + (128 / W^2) k, k = 0..W-1,
// so one W x W transpose of those vectors stages W groups. The skew of G q
// elements (q cache lines of 64 bytes) puts the elements n of the groups,
// whose runs lie a multiple of 4 KiB apart, in different sets of the
// first-level cache.
template <class L>
VARNOTH_LANE_KERNEL void stage_column(const real_T x[16384],
                                      real_T tiles[32768], int n) {
  constexpr int W = L::kLanes;
  constexpr int kSets = 128 / (W * W);
  for (int a = 0; a < kSets; a++) {
    typename L::V v[W];  // v[k]: rows W (a + kSets k) .. + W - 1 of column n
#pragma GCC unroll 8
    for (int k = 0; k < W; k++) {
      v[k] = L::load(&x[128 * n + W * (a + kSets * k)]);
    }
    L::transpose(v);  // v[l]: the rows of group W a + l, lane k in lane k
#pragma GCC unroll 8
    for (int l = 0; l < W; l++) {
      const int q = W * a + l;
      L::store(&tiles[256 * W * q + W * ((n + (8 / W) * q) & 127)], v[l]);
    }
  }
}

// The row spectra of an image in the library's layout into tiles; tiles
// must not overlap x. The columns are staged first (a work-sharing loop,
// whose end is a barrier), then each iteration q transforms group q, reading
// and writing only its own run of tiles.
template <class L>
void row_tiles(const real_T x[16384], real_T tiles[32768]) {
  constexpr int W = L::kLanes;
  VARNOTH_PARALLEL_FOR
  for (int n = 0; n < 128; n++) {
    stage_column<L>(x, tiles, n);
  }
  VARNOTH_PARALLEL_FOR
  for (int q = 0; q < 128 / W; q++) {
    row_group_transform<L>(&tiles[256 * W * q], (8 / W) * q,
                           &tiles[256 * W * q]);
  }
}

// The row spectra of an image held row by row into tiles; tiles must not
// overlap xt. Iteration q reads the rows of group q and writes its tiles.
template <class L>
void row_tiles_from_rows(const real_T xt[16384], real_T tiles[32768]) {
  VARNOTH_PARALLEL_FOR
  for (int q = 0; q < 128 / L::kLanes; q++) {
    row_group_from_rows<L>(xt, tiles, q);
  }
}

// The eight elements of group b of passes 1-3 of the column transform of
// columns c .. c + W - 1 (c a multiple of W), from the tiles: e[t] holds
// row rev7(b + t) of those columns, column c + j in lane j.
template <class L>
inline void load_tile_group(const real_T* tiles, int c, int b,
                            ComplexLanes<L> (&e)[8]) {
  constexpr int W = L::kLanes;
  constexpr int G = 8 / W;
  const int p = kBitReverse7.at[b];
#pragma GCC unroll 8
  for (int m = 0; m < G; m++) {
    const real_T* const tile = &tiles[2 * W * (128 * (p + 16 * m) + c)];
    typename L::V re[W], im[W];  // [j]: value c + j of the group's rows
#pragma GCC unroll 8
    for (int j = 0; j < W; j++) {
      re[j] = L::load(&tile[2 * W * j]);
      im[j] = L::load(&tile[2 * W * j + W]);
    }
    L::transpose(re);  // [k]: row p + 16 (m + G k), column c + j in lane j
    L::transpose(im);
#pragma GCC unroll 8
    for (int k = 0; k < W; k++) {
      e[kReverse3[m + G * k]] = ComplexLanes<L>{re[k], im[k]};
    }
  }
}

// run(p0, p1) over runs of consecutive blocks p0 .. p1 - 1 of W columns
// that together cover blocks 0 .. blocks - 1 once: one run, or with parallel
// loops one run per thread of the team (the static split of a work-sharing
// loop over the threads). A run is for work carried from one block to the
// next (the power of a block done while the next is transformed); the
// values of every block are the same whatever the split.
template <class Run>
inline void for_column_runs(int blocks, Run run) {
#if defined(VARNOTH_PARALLEL_LOOPS)
  const int runs = omp_get_num_threads();
  VARNOTH_PARALLEL_FOR
  for (int t = 0; t < runs; t++) {
    const int p0 = blocks * t / runs;
    const int p1 = blocks * (t + 1) / runs;
    if (p0 < p1) run(p0, p1);
  }
#else
  run(0, blocks);
#endif
}

// block(c) for the blocks of W columns, c = 0, W, 2 W, ..., 128 - W; a
// work-sharing loop, so each block must touch only its own columns (of its
// input, and of its output or the columns they centre to).
template <class L, class Block>
inline void for_column_blocks(Block block) {
  constexpr int W = L::kLanes;
  VARNOTH_PARALLEL_FOR
  for (int p = 0; p < 128 / W; p++) {
    block(W * p);
  }
}

// f(u, c) = sum_m g(m, c) W^(u m) for all 128 columns. Iteration p handles
// columns W p .. W p + W - 1 only.
template <class L>
void column_transforms(const creal_T g[16384], creal_T f[16384]) {
  for_column_blocks<L>([g, f](int c) { column_block<L>(g, f, c); });
}

}  // namespace varnoth_fft

#endif
