// The twiddle and bit-reversal tables of every window side, made together
// on first use (function-local static: initialised once, safely when
// threads race to it).

#include "spectral/fft_twiddles.h"
#include "spectral/window_power.h"
#include "spectral/window_twiddles.h"

namespace varnoth_window {
namespace {

constexpr int kSides = 8;  // 32, 64, .., 4096

int log2_of(int n) {
  int bits = 0;
  while ((1 << bits) < n) bits++;
  return bits;
}

// The quarter-wave entry of cos(2 pi a / 4096), a = 0 .. 1024.
real_T quarter(int a) { return window_quarter_cosine[a]; }

// Room for the largest side; a smaller side uses the start of each array.
struct OwnedTables {
  real_T cosine[kMaxSide / 2 + 1];
  real_T sine[kMaxSide / 2 + 1];
  std::uint16_t reversed[kMaxSide];
  SideTables view;
};

void fill_twiddles(int n, OwnedTables& t) {
  if (n == kImageSide) {
    for (int j = 0; j <= n / 2; j++) {
      t.cosine[j] = fft_cosine[j];
      t.sine[j] = fft_sine[j];
    }
    return;
  }
  const int step = 4096 / n;  // angle 2 pi j / n is 2 pi (j step) / 4096
  const int q = n / 4;        // a quarter turn
  for (int j = 0; j <= n / 2; j++) {
    // cos(2 pi j / n) = c(j) for j <= n/4, -c(n/2 - j) beyond;
    // -sin(2 pi j / n) = -c(n/4 - j) for j <= n/4, -c(j - n/4) beyond.
    t.cosine[j] = j <= q ? quarter(j * step) : -quarter((n / 2 - j) * step);
    t.sine[j] = j <= q ? -quarter((q - j) * step) : -quarter((j - q) * step);
  }
  t.sine[0] = 0.0;
}

void fill_reversal(int n, OwnedTables& t) {
  const int bits = log2_of(n);
  for (int k = 0; k < n; k++) {
    int r = 0;
    for (int b = 0; b < bits; b++) {
      if ((k >> b) & 1) r |= 1 << (bits - 1 - b);
    }
    t.reversed[k] = static_cast<std::uint16_t>(r);
  }
}

// Filled in place, in static storage (330 KiB: never on a stack).
struct AllTables {
  OwnedTables side[kSides];

  AllTables() {
    for (int i = 0; i < kSides; i++) {
      const int n = kMinSide << i;
      fill_twiddles(n, side[i]);
      fill_reversal(n, side[i]);
      side[i].view =
          SideTables{n, side[i].cosine, side[i].sine, side[i].reversed};
    }
  }
};

const AllTables& all_tables() {
  static const AllTables tables;
  return tables;
}

}  // namespace

const SideTables& side_tables(int n) {
  return all_tables().side[log2_of(n) - log2_of(kMinSide)].view;
}

}  // namespace varnoth_window
