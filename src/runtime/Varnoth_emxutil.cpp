// Growable arrays: creation, growth and release of emxArray_real_T and
// emxArray_int32_T records, and of the 65 cells of the radial average.
//
// A record owns three heap blocks: itself, its extents size[0 ..
// numDimensions-1] and, once it has grown, its buffer data (when
// canFreeData is true). Invariants kept by every operation:
//   - data is null exactly while allocatedSize is 0;
//   - allocatedSize is 0 or one of 16, 32, ..., 2^30, 2^31 - 1;
//   - the buffer never shrinks; growth copies only the elements in use and
//     zero-fills the rest of the new buffer.
//
// Allocation failure: the allocating operations throw std::bad_alloc and
// never write through a null pointer. They give the strong guarantee:
//   emxInit_*                  *pEmxArray is set to null, nothing is leaked;
//   emxEnsureCapacity          data, its contents, allocatedSize and
//                              canFreeData are untouched (the extents keep
//                              what the caller wrote); the array can still
//                              be freed;
//   emxInitMatrix_cell_wrap_0  the cells already created are freed again and
//                              all 65 cells are null.
// The release operations never fail. A request whose element count exceeds
// the int range (2^31 - 1) is treated as an allocation failure.
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "runtime/Varnoth_runtime.h"

namespace {

constexpr int kCells = 65;  // one cell per radius 0..64
constexpr int kMinCapacity = 16;
constexpr int kIntMax = std::numeric_limits<int>::max();  // 2147483647

// The shared body of emxInit_real_T and emxInit_int32_T: a record with no
// buffer, capacity 0, canFreeData true and numDimensions extents of 0.
template <typename Array>
void emx_init(Array** pEmxArray, int numDimensions) {
  *pEmxArray = nullptr;
  const std::size_t nd =
      (numDimensions > 0) ? static_cast<std::size_t>(numDimensions) : 0U;
  Array* a = static_cast<Array*>(std::malloc(sizeof(Array)));
  if (a == nullptr) {
    throw std::bad_alloc();
  }
  // At least one int, so that size is never null even for 0 dimensions.
  int* size = static_cast<int*>(std::malloc((nd > 0U ? nd : 1U) * sizeof(int)));
  if (size == nullptr) {
    std::free(a);
    throw std::bad_alloc();
  }
  a->data = nullptr;
  a->numDimensions = numDimensions;
  a->size = size;
  a->allocatedSize = 0;
  a->canFreeData = true;
  for (std::size_t i = 0; i < nd; i++) {
    size[i] = 0;
  }
  *pEmxArray = a;
}

// The shared body of emxFree_real_T and emxFree_int32_T.
template <typename Array>
void emx_free(Array** pEmxArray) {
  Array* a = *pEmxArray;
  if (a == nullptr) {
    return;
  }
  if (a->data != nullptr && a->canFreeData) {
    std::free(a->data);
  }
  std::free(a->size);
  std::free(a);
  *pEmxArray = nullptr;
}

}  // namespace

void emxInit_real_T(emxArray_real_T** pEmxArray, int numDimensions) {
  emx_init(pEmxArray, numDimensions);
}

void emxInit_int32_T(emxArray_int32_T** pEmxArray, int numDimensions) {
  emx_init(pEmxArray, numDimensions);
}

// Makes the capacity at least newNumel = size[0] * ... * size[nd-1] (1 for
// nd = 0). When newNumel <= allocatedSize nothing is touched: the elements
// beyond oldNumel keep whatever the buffer held. Otherwise the capacity c
// starts at max(allocatedSize, 16) and doubles while c < newNumel, jumping
// to 2^31 - 1 once it exceeds 2^30 - 1, so it runs 16, 32, ..., 2^30,
// 2^31 - 1 and growth costs amortised O(1) per element appended. The new
// buffer of c * elementSize bytes is zero-filled; the first oldNumel
// elements are copied from the old buffer, which is then released if the
// record owns it. oldNumel is the count in use before the caller changed
// size; it is clamped to [0, allocatedSize] so a stale count cannot read
// past the old buffer.
void emxEnsureCapacity(emxArray__common* emxArray, int oldNumel,
                       int elementSize) {
  long long newNumel = 1;
  for (int i = 0; i < emxArray->numDimensions; i++) {
    newNumel *= emxArray->size[i];
    if (newNumel > kIntMax || newNumel < -static_cast<long long>(kIntMax)) {
      throw std::bad_alloc();  // more elements than an int can count
    }
  }
  if (newNumel <= emxArray->allocatedSize) {
    return;
  }

  int capacity = emxArray->allocatedSize;
  if (capacity < kMinCapacity) {
    capacity = kMinCapacity;
  }
  while (capacity < newNumel) {
    if (capacity > kIntMax / 2) {  // > 1073741823
      capacity = kIntMax;
    } else {
      capacity *= 2;
    }
  }

  const std::size_t elem =
      (elementSize > 0) ? static_cast<std::size_t>(elementSize) : 1U;
  if (static_cast<std::size_t>(capacity) >
      std::numeric_limits<std::size_t>::max() / elem) {
    throw std::bad_alloc();  // byte count not representable (32-bit hosts)
  }
  void* newData = std::calloc(static_cast<std::size_t>(capacity), elem);
  if (newData == nullptr) {
    throw std::bad_alloc();  // the array is left exactly as it was
  }

  if (emxArray->data != nullptr) {
    int keep = oldNumel;
    if (keep > emxArray->allocatedSize) {
      keep = emxArray->allocatedSize;
    }
    if (keep > 0) {
      std::memcpy(newData, emxArray->data,
                  elem * static_cast<std::size_t>(keep));
    }
    if (emxArray->canFreeData) {
      std::free(emxArray->data);
    }
  }
  emxArray->data = newData;
  emxArray->allocatedSize = capacity;
  emxArray->canFreeData = true;
}

void emxFree_real_T(emxArray_real_T** pEmxArray) { emx_free(pEmxArray); }

void emxFree_int32_T(emxArray_int32_T** pEmxArray) { emx_free(pEmxArray); }

// One cell: an empty one-dimensional array of doubles.
static void emxInitStruct_cell_wrap_0(cell_wrap_0* pStruct) {
  emxInit_real_T(&pStruct->f1, 1);
}

static void emxFreeStruct_cell_wrap_0(cell_wrap_0* pStruct) {
  emxFree_real_T(&pStruct->f1);
}

// Creates the arrays of cells 0..64 in order. If one cannot be created,
// cells 0..k-1 are freed again, every cell is left null and std::bad_alloc
// propagates.
void emxInitMatrix_cell_wrap_0(cell_wrap_0 pMatrix[65]) {
  for (int i = 0; i < kCells; i++) {
    pMatrix[i].f1 = nullptr;
  }
  for (int i = 0; i < kCells; i++) {
    try {
      emxInitStruct_cell_wrap_0(&pMatrix[i]);
    } catch (...) {
      for (int j = 0; j < i; j++) {
        emxFreeStruct_cell_wrap_0(&pMatrix[j]);
      }
      throw;
    }
  }
}

// Frees the arrays of cells 0..64 in order; null cells are skipped.
void emxFreeMatrix_cell_wrap_0(cell_wrap_0 pMatrix[65]) {
  for (int i = 0; i < kCells; i++) {
    emxFreeStruct_cell_wrap_0(&pMatrix[i]);
  }
}
