// The kernel table on eight AVX-512 lanes. This file alone is compiled for
// AVX-512F (-mavx512f); its code runs only after spectral_kernels() or the
// tests have seen the CPU report AVX-512F. Everything instantiated here depends
// on Avx512Lanes, a type of this file alone, so no function compiled for the
// wider instruction set can stand in for one of the baseline build.
#include "spectral/centred_power.h"
#include "spectral/fft_lanes.h"
#include "spectral/lanes_avx512.h"
#include "spectral/spectral_kernels.h"

namespace varnoth_fft {

const SpectralKernels kAvx512Kernels{
    "avx512", varnoth_lanes::Avx512Lanes::kLanes,
    &row_transforms<varnoth_lanes::Avx512Lanes>,
    &column_transforms<varnoth_lanes::Avx512Lanes>,
    &centred_power<varnoth_lanes::Avx512Lanes>};

}  // namespace varnoth_fft
