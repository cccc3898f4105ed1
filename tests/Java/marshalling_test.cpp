// Image marshalling and argument checks, through the fake JNI environment.
#include <gtest/gtest.h>

#include "Java/JNIExtensions.h"
#include "bit_equal.h"
#include "fake_jni.h"

using fake_jni::DoubleArray;
using fake_jni::ObjectArray;
using fake_jni::ref;

namespace {

class Marshalling : public ::testing::Test {
 protected:
  fake_jni::Jvm jvm;
  JNIEnv* env = jvm.env();

  void expect_thrown(const char* cls, const char* message) {
    EXPECT_TRUE(jvm.pending);
    EXPECT_EQ(cls, jvm.exceptionClass);
    EXPECT_EQ(message, jvm.exceptionMessage);
    EXPECT_EQ(0, jvm.violations);
  }
};

double row_value(const ObjectArray* image, int x, int y) {
  return static_cast<const DoubleArray*>(image->elements[x])->values[y];
}

}  // namespace

TEST_F(Marshalling, JavaRowIsNativeStrideAndJavaArrayIsUntouched) {
  ObjectArray* jImg =
      jvm.image(128, 128, [](int x, int y) { return 100.0 * x + y; });
  ColumnMajorImage cImg(jImg_To_cImg(env, nullptr, ref(jImg)));
  ASSERT_TRUE(cImg);
  for (int i = 0; i < 16384; i++) {
    ASSERT_EQ(100.0 * (i % 128) + (i / 128), cImg[i]) << "native index " << i;
  }
  EXPECT_EQ(128.0 * 0 + 1, cImg[128]);  // Java [0][1]
  EXPECT_EQ(100.0, cImg[1]);            // Java [1][0]
  for (int x = 0; x < 128; x++)
    for (int y = 0; y < 128; y++)
      ASSERT_EQ(100.0 * x + y, row_value(jImg, x, y));
  EXPECT_FALSE(jvm.pending);
  EXPECT_EQ(0, jvm.violations);
  EXPECT_EQ(0, jvm.liveLocalRefs);
  EXPECT_LE(jvm.maxLiveLocalRefs, 2);  // one row at a time
}

TEST_F(Marshalling, RoundTripGivesNewRowsWithEqualBits) {
  ObjectArray* jImg = jvm.image(128, 128, [](int x, int y) {
    return (x * 131 + y * 7) % 5 == 0 ? -0.0 : (x - 64) * 0.37 - y * 1e-300;
  });
  ColumnMajorImage cImg(jImg_To_cImg(env, nullptr, ref(jImg)));
  ASSERT_TRUE(cImg);
  jobjectArray back = cImg_To_jImg(cImg.get(), env, nullptr);
  ASSERT_NE(nullptr, back);
  auto* out = dynamic_cast<ObjectArray*>(fake_jni::obj(back));
  ASSERT_EQ(128u, out->elements.size());
  for (int x = 0; x < 128; x++) {
    auto* row = dynamic_cast<DoubleArray*>(out->elements[x]);
    ASSERT_NE(nullptr, row);
    ASSERT_EQ(128u, row->values.size());
    for (int k = 0; k < x; k++) ASSERT_NE(out->elements[k], out->elements[x]);
    ASSERT_TRUE(varnoth_test::ArraysBitsEqual(
        static_cast<DoubleArray*>(jImg->elements[x])->values.data(),
        row->values.data(), 128));
  }
  EXPECT_EQ(0, jvm.violations);
  EXPECT_LE(jvm.maxLiveLocalRefs, 4);  // rows are released as they are stored
}

TEST_F(Marshalling, CopyToKeepsRowObjectsAndOverwritesEveryValue) {
  ObjectArray* target = jvm.image(128, 128, 7.0);
  std::vector<fake_jni::Object*> rows = target->elements;
  std::vector<double> cImg(16384);
  for (int i = 0; i < 16384; i++) cImg[i] = i;
  ASSERT_EQ(ref(target),
            cImg_CopyTo_jImg(cImg.data(), env, nullptr, ref(target)));
  EXPECT_EQ(rows, target->elements);
  for (int x = 0; x < 128; x++)
    for (int y = 0; y < 128; y++)
      ASSERT_EQ(x + 128.0 * y, row_value(target, x, y));
  EXPECT_EQ(0, jvm.liveLocalRefs);
}

TEST_F(Marshalling, SizeChecksNameTheFailedCondition) {
  EXPECT_EQ(nullptr, jImg_To_cImg(env, nullptr, ref(jvm.image(127, 128, 0.0))));
  expect_thrown("java/lang/IllegalArgumentException", "len1 == iSide");
  jvm.clear_observations();
  EXPECT_EQ(nullptr, jImg_To_cImg(env, nullptr, ref(jvm.image(128, 127, 0.0))));
  expect_thrown("java/lang/IllegalArgumentException", "len2 == iSide");
  jvm.clear_observations();
  EXPECT_EQ(nullptr, jImg_To_cImg(env, nullptr, ref(jvm.image(127, 127, 0.0))));
  expect_thrown("java/lang/IllegalArgumentException", "len1 == iSide");
  jvm.clear_observations();
  EXPECT_EQ(nullptr, jImg_To_cImg(env, nullptr, ref(jvm.image(0, 0, 0.0))));
  expect_thrown("java/lang/IllegalArgumentException", "len1 == iSide");
}

TEST_F(Marshalling, NullAndRaggedImagesThrowBeforeAnyCopy) {
  EXPECT_EQ(nullptr, jImg_To_cImg(env, nullptr, nullptr));
  expect_thrown("java/lang/NullPointerException", "jImg != null");

  jvm.clear_observations();
  ObjectArray* nullFirst = jvm.image(128, 128, 1.0);
  nullFirst->elements[0] = nullptr;
  EXPECT_EQ(nullptr, jImg_To_cImg(env, nullptr, ref(nullFirst)));
  expect_thrown("java/lang/NullPointerException", "jImg[0] != null");

  jvm.clear_observations();
  ObjectArray* nullRow = jvm.image(128, 128, 1.0);
  nullRow->elements[5] = nullptr;
  EXPECT_EQ(nullptr, jImg_To_cImg_Named(env, ref(nullRow), "jImgFT").get());
  expect_thrown("java/lang/NullPointerException", "jImgFT[5] != null");

  for (int length : {127, 129}) {
    jvm.clear_observations();
    ObjectArray* ragged = jvm.image(128, 128, 1.0);
    ragged->elements[127] = jvm.doubles(std::vector<double>(length, 1.0));
    EXPECT_EQ(nullptr, jImg_To_cImg(env, nullptr, ref(ragged)));
    expect_thrown("java/lang/IllegalArgumentException",
                  "jImg[127].length == iSide");
    EXPECT_EQ(0, jvm.liveLocalRefs);
  }
}

// A row replaced after the arguments were checked (by another Java thread)
// is checked again as it is copied: the copy ends in a Java exception that
// names it, never in a read or write past its end or a partial row.
TEST_F(Marshalling, RowsReplacedAfterTheCheckAreCheckedAgain) {
  ObjectArray* image = jvm.image(128, 128, 1.0);
  std::vector<double> cImg(16384, 0.0);
  for (int length : {3, 129}) {
    jvm.clear_observations();
    static_cast<DoubleArray*>(image->elements[9])->values.assign(length, 5.0);
    EXPECT_EQ(nullptr, jImg_CopyTo_cImg(env, nullptr, ref(image), cImg.data()));
    expect_thrown("java/lang/IllegalArgumentException",
                  "jImg[9].length == iSide");

    jvm.clear_observations();
    EXPECT_EQ(nullptr, cImg_CopyTo_jImg(cImg.data(), env, nullptr, ref(image)));
    expect_thrown("java/lang/IllegalArgumentException",
                  "jImg[9].length == iSide");
    EXPECT_EQ(std::vector<double>(length, 5.0),
              static_cast<DoubleArray*>(image->elements[9])->values);
  }

  jvm.clear_observations();
  static_cast<DoubleArray*>(image->elements[9])->values.assign(128, 1.0);
  image->elements[10] = nullptr;
  EXPECT_EQ(nullptr, cImg_CopyTo_jImg(cImg.data(), env, nullptr, ref(image)));
  expect_thrown("java/lang/NullPointerException", "jImg[10] != null");
  EXPECT_EQ(0, jvm.liveLocalRefs);
}
