// Whether two byte ranges [a, a + a_bytes) and [b, b + b_bytes) share a
// byte, compared as addresses. Internal to the library, not exported.
#ifndef VARNOTH_MEMORY_OVERLAP_H
#define VARNOTH_MEMORY_OVERLAP_H

#include <cstddef>
#include <cstdint>

namespace varnoth_runtime {

inline bool overlap(const void* a, std::size_t a_bytes, const void* b,
                    std::size_t b_bytes) {
  const std::uintptr_t a0 = reinterpret_cast<std::uintptr_t>(a);
  const std::uintptr_t b0 = reinterpret_cast<std::uintptr_t>(b);
  return a0 < b0 + b_bytes && b0 < a0 + a_bytes;
}

}  // namespace varnoth_runtime

#endif
