// An owned array of n value-initialised elements on the heap, for scratch
// whose size is known only at run time. std::vector would serve, but its
// out-of-line members have default visibility and would join the shared
// library's export table. Internal to the library, not exported.
#ifndef VARNOTH_SCRATCH_ARRAY_H
#define VARNOTH_SCRATCH_ARRAY_H

#include <cstddef>

namespace varnoth_runtime {

template <class T>
class ScratchArray {
 public:
  explicit ScratchArray(std::size_t n) : data_(new T[n]()) {}
  ~ScratchArray() { delete[] data_; }
  ScratchArray(const ScratchArray&) = delete;
  ScratchArray& operator=(const ScratchArray&) = delete;

  T* data() { return data_; }
  const T* data() const { return data_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }

 private:
  T* data_;
};

}  // namespace varnoth_runtime

#endif
