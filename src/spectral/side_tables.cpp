// The twiddle and bit-reversal tables of every window side, made together
// on first use (function-local static: initialised once, safely when
// threads race to it).
#include <array>
#include <vector>

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

struct OwnedTables {
  std::vector<real_T> cosine, sine;
  std::vector<std::uint16_t> reversed;
  SideTables view;
};

void fill_twiddles(int n, OwnedTables& t) {
  t.cosine.resize(n / 2 + 1);
  t.sine.resize(n / 2 + 1);
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
  t.reversed.resize(n);
  for (int k = 0; k < n; k++) {
    int r = 0;
    for (int b = 0; b < bits; b++) {
      if ((k >> b) & 1) r |= 1 << (bits - 1 - b);
    }
    t.reversed[k] = static_cast<std::uint16_t>(r);
  }
}

const std::array<OwnedTables, kSides>& all_tables() {
  static const std::array<OwnedTables, kSides> tables = [] {
    std::array<OwnedTables, kSides> t;
    for (int i = 0; i < kSides; i++) {
      const int n = kMinSide << i;
      fill_twiddles(n, t[i]);
      fill_reversal(n, t[i]);
      t[i].view =
          SideTables{n, t[i].cosine.data(), t[i].sine.data(), t[i].reversed.data()};
    }
    return t;
  }();
  return tables;
}

}  // namespace

const SideTables& side_tables(int n) {
  return all_tables()[log2_of(n) - log2_of(kMinSide)].view;
}

}  // namespace varnoth_window
