// The kernel table of one lane type: every pass of fft_lanes.h and
// centred_power.h and window_lanes.h instantiated on L. Included by the file
// that compiles the table for L's instruction set, and nowhere else.
#ifndef VARNOTH_KERNEL_TABLE_H
#define VARNOTH_KERNEL_TABLE_H

#include "spectral/centred_power.h"
#include "spectral/fft_lanes.h"
#include "spectral/spectral_kernels.h"
#include "spectral/window_lanes.h"

namespace varnoth_fft {

template <class L>
constexpr SpectralKernels kernels_of(const char* name) {
  return SpectralKernels{name,
                         L::kLanes,
                         &row_transforms<L>,
                         &column_transforms<L>,
                         &centred_power<L>,
                         &row_tiles<L>,
                         &row_tiles_from_rows<L>,
                         &tile_column_power<L>,
                         &tile_column_power_by_rows<L>,
                         &window_rows<L>,
                         &window_column_power<L>};
}

}  // namespace varnoth_fft

#endif
