// Library state: the non-finite values, their getters and tests, and the
// initialise / terminate cycle of the lock.
#include <cmath>
#include <limits>
#include <thread>

#include "bit_equal.h"
#include "runtime/Varnoth_runtime.h"
#include "test_values.h"

using varnoth_test::bits_of;
using varnoth_test::kInf;
using varnoth_test::kLibraryNaN;
using varnoth_test::kNaN;

TEST(NonFinite, GettersGiveTheLittleEndianPatterns) {
  EXPECT_EQ(bits_of(rtGetNaN()), kLibraryNaN);
  EXPECT_EQ(bits_of(rtGetInf()), 0x7FF0000000000000ULL);
  EXPECT_EQ(bits_of(rtGetMinusInf()), 0xFFF0000000000000ULL);
  EXPECT_EQ(bits_of(rtGetNaNF()), 0xFFC00000U);
  EXPECT_EQ(bits_of(rtGetInfF()), 0x7F800000U);
  EXPECT_EQ(bits_of(rtGetMinusInfF()), 0xFF800000U);
}

TEST(NonFinite, InitializeTwiceKeepsTheValues) {
  for (int i = 0; i < 2; i++) {
    Varnoth_initialize();
    EXPECT_EQ(bits_of(rtNaN), kLibraryNaN);
    EXPECT_EQ(bits_of(rtInf), 0x7FF0000000000000ULL);
    EXPECT_EQ(bits_of(rtMinusInf), 0xFFF0000000000000ULL);
    EXPECT_EQ(bits_of(rtNaNF), 0xFFC00000U);
    EXPECT_EQ(bits_of(rtInfF), 0x7F800000U);
    EXPECT_EQ(bits_of(rtMinusInfF), 0xFF800000U);
  }
}

TEST(NonFinite, RestoresValuesThatWereOverwritten) {
  rtNaN = 0.0;
  rtInfF = 0.0F;
  rt_InitInfAndNaN(sizeof(real_T));
  EXPECT_EQ(bits_of(rtNaN), kLibraryNaN);
  EXPECT_EQ(bits_of(rtInfF), 0x7F800000U);
}

TEST(NonFinite, Tests) {
  EXPECT_TRUE(rtIsInf(kInf));
  EXPECT_TRUE(rtIsInf(-kInf));
  EXPECT_FALSE(rtIsInf(kNaN));
  EXPECT_FALSE(rtIsInf(0.0));
  EXPECT_FALSE(rtIsInf(std::numeric_limits<double>::max()));
  EXPECT_TRUE(rtIsNaN(kNaN));
  EXPECT_TRUE(rtIsNaN(-kNaN));
  EXPECT_FALSE(rtIsNaN(kInf));
  EXPECT_TRUE(rtIsInfF(std::numeric_limits<float>::infinity()));
  EXPECT_FALSE(rtIsInfF(1.0F));
  EXPECT_TRUE(rtIsNaNF(std::numeric_limits<float>::quiet_NaN()));
  EXPECT_FALSE(rtIsNaNF(std::numeric_limits<float>::infinity()));
}

// Initialising an initialised OpenMP lock, or destroying a destroyed one, is
// not allowed; repeated calls in any order must stay clean under the
// sanitizers.
TEST(Lifecycle, RepeatedInitializeAndTerminate) {
  Varnoth_initialize();
  Varnoth_initialize();
  Varnoth_terminate();
  Varnoth_terminate();
  Varnoth_initialize();
  omp_set_nest_lock(&emlrtNestLockGlobal);  // the lock is usable again
  omp_unset_nest_lock(&emlrtNestLockGlobal);
  Varnoth_terminate();
  Varnoth_initialize();
  EXPECT_EQ(bits_of(rtNaN), kLibraryNaN);
}

TEST(Lifecycle, ConcurrentInitializeFromManyThreads) {
  std::thread threads[4];
  for (auto& t : threads) t = std::thread([] { Varnoth_initialize(); });
  for (auto& t : threads) t.join();
  EXPECT_EQ(bits_of(rtNaN), kLibraryNaN);
}
