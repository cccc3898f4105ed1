// The kernel table on eight AVX-512 lanes. This file alone is compiled for
// AVX-512F (-mavx512f); its code runs only after spectral_kernels() or the
// tests have seen the CPU report AVX-512F. Everything instantiated here depends
// on Avx512Lanes, a type of this file alone, so no function compiled for the
// wider instruction set can stand in for one of the baseline build.
#include "spectral/kernel_table.h"
#include "spectral/lanes_avx512.h"

namespace varnoth_fft {

const SpectralKernels kAvx512Kernels =
    kernels_of<varnoth_lanes::Avx512Lanes>("avx512");

}  // namespace varnoth_fft
