// The portable and baseline kernel tables (SSE2 on x86, NEON on aarch64),
// and the choice of the widest table the CPU runs.
#include "spectral/spectral_kernels.h"

#include "spectral/kernel_table.h"
#if defined(__aarch64__)
#include "spectral/lanes_neon.h"
#endif

namespace varnoth_fft {
namespace {

const SpectralKernels kPortableKernels =
    kernels_of<varnoth_lanes::PortableLanes>("portable");
#if defined(__SSE2__)
const SpectralKernels kSse2Kernels =
    kernels_of<varnoth_lanes::Sse2Lanes>("sse2");
#endif
#if defined(__aarch64__)
const SpectralKernels kNeonKernels =
    kernels_of<varnoth_lanes::NeonLanes>("neon");
#endif

#if defined(VARNOTH_WIDE_LANES)
// The CPU's own report, with the operating system's support for the wider
// registers' state (the compiler's runtime checks XGETBV for AVX and
// AVX-512).
bool cpu_has_avx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

bool cpu_has_avx512f() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f");
}
#endif

const SpectralKernels& choose() {
#if defined(VARNOTH_WIDE_LANES)
  if (cpu_has_avx512f()) return kAvx512Kernels;
  if (cpu_has_avx2()) return kAvx2Kernels;
#endif
#if defined(__SSE2__)
  return kSse2Kernels;
#elif defined(__aarch64__)
  return kNeonKernels;
#else
  return kPortableKernels;
#endif
}

}  // namespace

const SpectralKernels& spectral_kernels() {
  static const SpectralKernels& chosen = choose();
  return chosen;
}

RunnableKernels runnable_spectral_kernels() {
  RunnableKernels r{{&kPortableKernels}, 1};
#if defined(__SSE2__)
  r.table[r.count++] = &kSse2Kernels;
#endif
#if defined(__aarch64__)
  r.table[r.count++] = &kNeonKernels;
#endif
#if defined(VARNOTH_WIDE_LANES)
  if (cpu_has_avx2()) r.table[r.count++] = &kAvx2Kernels;
  if (cpu_has_avx512f()) r.table[r.count++] = &kAvx512Kernels;
#endif
  return r;
}

}  // namespace varnoth_fft
