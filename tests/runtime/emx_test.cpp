// Growable arrays: creation, the capacity rule, copying on growth, release,
// the 65 cells, and the failure path.
#include <cstdint>
#include <new>

#include "bit_equal.h"
#include "runtime/Varnoth_runtime.h"

#if defined(__SANITIZE_ADDRESS__)
// Let an impossible request fail with a null result, as without ASan,
// instead of aborting the process.
extern "C" __attribute__((visibility("default"), used)) const char*
__asan_default_options() {
  return "allocator_may_return_null=1";
}
#endif

namespace {

emxArray__common* common(emxArray_real_T* a) {
  return reinterpret_cast<emxArray__common*>(a);
}
emxArray__common* common(emxArray_int32_T* a) {
  return reinterpret_cast<emxArray__common*>(a);
}

// The resize protocol: remember the count in use, set it, ensure capacity.
void resize(emxArray_real_T* a, int n) {
  const int old = a->size[0];
  a->size[0] = n;
  emxEnsureCapacity(common(a), old, sizeof(real_T));
}

// Capacity after growing a new array to n elements.
int capacity_for(int n) {
  emxArray_real_T* a = nullptr;
  emxInit_real_T(&a, 1);
  resize(a, n);
  const int cap = a->allocatedSize;
  emxFree_real_T(&a);
  return cap;
}

}  // namespace

TEST(Emx, NewArrayIsEmpty) {
  emxArray_real_T* a = nullptr;
  emxInit_real_T(&a, 2);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->data, nullptr);
  EXPECT_EQ(a->allocatedSize, 0);
  EXPECT_EQ(a->numDimensions, 2);
  EXPECT_TRUE(a->canFreeData);
  EXPECT_EQ(a->size[0], 0);
  EXPECT_EQ(a->size[1], 0);
  emxFree_real_T(&a);

  emxArray_int32_T* b = nullptr;
  emxInit_int32_T(&b, 1);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->data, nullptr);
  EXPECT_EQ(b->allocatedSize, 0);
  EXPECT_EQ(b->numDimensions, 1);
  EXPECT_TRUE(b->canFreeData);
  EXPECT_EQ(b->size[0], 0);
  emxFree_int32_T(&b);
}

TEST(Emx, CapacityRule) {
  EXPECT_EQ(capacity_for(0), 0);  // nothing needed, nothing allocated
  EXPECT_EQ(capacity_for(1), 16);
  EXPECT_EQ(capacity_for(16), 16);
  EXPECT_EQ(capacity_for(17), 32);
  EXPECT_EQ(capacity_for(16384), 16384);
  EXPECT_EQ(capacity_for(16385), 32768);

  emxArray_real_T* a = nullptr;
  emxInit_real_T(&a, 1);
  resize(a, 16);
  ASSERT_EQ(a->allocatedSize, 16);
  resize(a, 40);
  EXPECT_EQ(a->allocatedSize, 64);  // doubled from 16 until >= 40
  emxFree_real_T(&a);
}

TEST(Emx, NoGrowthKeepsBufferAndContents) {
  emxArray_real_T* a = nullptr;
  emxInit_real_T(&a, 1);
  resize(a, 16384);
  for (int i = 0; i < 16384; i++) a->data[i] = 0.5 * i + 1.0;
  real_T* const buffer = a->data;
  for (int n : {100, 16384}) {
    resize(a, n);
    EXPECT_EQ(a->data, buffer);
    EXPECT_EQ(a->allocatedSize, 16384);
    EXPECT_EQ(a->size[0], n);
  }
  for (int i = 0; i < 16384; i++) ASSERT_BITS_EQ(0.5 * i + 1.0, a->data[i]);
  emxFree_real_T(&a);
}

TEST(Emx, GrowthCopiesOnlyTheElementsInUseAndZeroFills) {
  emxArray_real_T* a = nullptr;
  emxInit_real_T(&a, 1);
  resize(a, 16);
  for (int i = 0; i < 16; i++) a->data[i] = 100.0 + i;
  resize(a, 5);  // elements 5..15 of the buffer still hold 105..115
  resize(a, 40);
  ASSERT_EQ(a->allocatedSize, 64);
  for (int i = 0; i < 5; i++) EXPECT_BITS_EQ(100.0 + i, a->data[i]);
  for (int i = 5; i < 64; i++) EXPECT_BITS_EQ(0.0, a->data[i]) << i;
  emxFree_real_T(&a);

  // 4-byte elements: the byte count follows elementSize.
  emxArray_int32_T* b = nullptr;
  emxInit_int32_T(&b, 1);
  b->size[0] = 16;
  emxEnsureCapacity(common(b), 0, sizeof(int32_T));
  for (int i = 0; i < 16; i++) b->data[i] = -7 * i - 1;
  b->size[0] = 17;
  emxEnsureCapacity(common(b), 16, sizeof(int32_T));
  ASSERT_EQ(b->allocatedSize, 32);
  for (int i = 0; i < 16; i++) EXPECT_EQ(b->data[i], -7 * i - 1);
  for (int i = 16; i < 32; i++) EXPECT_EQ(b->data[i], 0);
  emxFree_int32_T(&b);
}

TEST(Emx, BorrowedBufferIsNeverFreed) {
  // A buffer on the stack: freeing it would be caught by the sanitizer build.
  real_T borrowed[4] = {1.0, 2.0, 3.0, 4.0};
  emxArray_real_T* a = nullptr;
  emxInit_real_T(&a, 1);
  a->data = borrowed;
  a->allocatedSize = 4;
  a->size[0] = 4;
  a->canFreeData = false;
  resize(a, 5);
  EXPECT_NE(a->data, borrowed);
  EXPECT_TRUE(a->canFreeData);
  EXPECT_EQ(a->allocatedSize, 16);
  for (int i = 0; i < 4; i++) EXPECT_BITS_EQ(borrowed[i], a->data[i]);
  emxFree_real_T(&a);

  emxInit_real_T(&a, 1);
  a->data = borrowed;
  a->allocatedSize = 4;
  a->canFreeData = false;
  emxFree_real_T(&a);
  EXPECT_BITS_EQ(4.0, borrowed[3]);
}

TEST(Emx, FreeNullsThePointerAndIsIdempotent) {
  emxArray_real_T* a = nullptr;
  emxInit_real_T(&a, 1);
  resize(a, 3);
  emxFree_real_T(&a);
  EXPECT_EQ(a, nullptr);
  emxFree_real_T(&a);  // harmless
  EXPECT_EQ(a, nullptr);

  emxArray_int32_T* b = nullptr;
  emxInit_int32_T(&b, 1);
  emxFree_int32_T(&b);
  EXPECT_EQ(b, nullptr);
  emxFree_int32_T(&b);
  EXPECT_EQ(b, nullptr);
}

TEST(Emx, CellMatrixTouchesExactly65Cells) {
  cell_wrap_0 cells[66];
  emxArray_real_T* const sentinel = reinterpret_cast<emxArray_real_T*>(&cells);
  cells[65].f1 = sentinel;
  emxInitMatrix_cell_wrap_0(cells);
  for (int i = 0; i < 65; i++) {
    ASSERT_NE(cells[i].f1, nullptr) << i;
    EXPECT_EQ(cells[i].f1->numDimensions, 1);
    EXPECT_EQ(cells[i].f1->size[0], 0);
    EXPECT_EQ(cells[i].f1->data, nullptr);
    if (i > 0) {
      EXPECT_NE(cells[i].f1, cells[i - 1].f1);
    }
  }
  resize(cells[64].f1, 20);
  EXPECT_EQ(cells[65].f1, sentinel);
  emxFreeMatrix_cell_wrap_0(cells);
  for (int i = 0; i < 65; i++) EXPECT_EQ(cells[i].f1, nullptr) << i;
  EXPECT_EQ(cells[65].f1, sentinel);
  emxFreeMatrix_cell_wrap_0(cells);  // all null now: harmless
}

TEST(Emx, FailedGrowthThrowsAndLeavesTheArrayUsable) {
  emxArray_real_T* a = nullptr;
  emxInit_real_T(&a, 1);
  resize(a, 3);
  a->data[2] = 9.0;
  real_T* const buffer = a->data;

  // 2^20 elements of 2^30 bytes: more than any address space holds.
  a->size[0] = 1 << 20;
  EXPECT_THROW(emxEnsureCapacity(common(a), 3, 1 << 30), std::bad_alloc);
  EXPECT_EQ(a->data, buffer);
  EXPECT_EQ(a->allocatedSize, 16);
  EXPECT_TRUE(a->canFreeData);
  EXPECT_BITS_EQ(9.0, a->data[2]);
  a->size[0] = 3;
  emxFree_real_T(&a);

  // An element count beyond the int range.
  emxArray_real_T* m = nullptr;
  emxInit_real_T(&m, 2);
  m->size[0] = 65536;
  m->size[1] = 65536;
  EXPECT_THROW(emxEnsureCapacity(common(m), 0, sizeof(real_T)), std::bad_alloc);
  EXPECT_EQ(m->data, nullptr);
  EXPECT_EQ(m->allocatedSize, 0);
  emxFree_real_T(&m);
  EXPECT_EQ(m, nullptr);
}
