// The kernel table on four AVX2 lanes. This file alone is compiled for
// AVX2 (-mavx2); its code runs only after spectral_kernels() or the tests
// have seen the CPU report AVX2. Everything instantiated here depends on
// Avx2Lanes, a type of this file alone, so no function compiled for the wider
// instruction set can stand in for one of the baseline build.
#include "spectral/kernel_table.h"
#include "spectral/lanes_avx2.h"

namespace varnoth_fft {

const SpectralKernels kAvx2Kernels =
    kernels_of<varnoth_lanes::Avx2Lanes>("avx2");

}  // namespace varnoth_fft
