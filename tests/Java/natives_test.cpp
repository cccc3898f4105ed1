// The native methods driven through the fake JNI environment, so that every
// path, successful or rejected, runs under the sanitizers and is checked
// for JNI misuse, leaked local references and writes to rejected calls.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "Java/JNIExtensions.h"
#include "Java/WorkRecords.h"
#include "Varnoth_Varnoth.h"
#include "analysis/Varnoth_analysis.h"
#include "bit_equal.h"
#include "fake_jni.h"
#include "runtime/Varnoth_runtime.h"
#include "spectral/Varnoth_spectral.h"

using fake_jni::DoubleArray;
using fake_jni::ObjectArray;
using fake_jni::ref;

namespace {

class Natives : public ::testing::Test {
 protected:
  fake_jni::Jvm jvm;
  JNIEnv* env = jvm.env();
  jclass cls = nullptr;

  ObjectArray* random_image(unsigned seed) {
    return jvm.image(128, 128, [seed](int x, int y) {
      return std::fmod(
          (x * 7919.0 + y * 104729.0 + seed * 31.0) * 0.618033988749895, 255.0);
    });
  }

  // Deep copy of the values of an image or vector, to show "nothing written".
  static std::vector<double> values_of(fake_jni::Object* o) {
    std::vector<double> v;
    if (auto* d = dynamic_cast<DoubleArray*>(o)) return d->values;
    if (auto* a = dynamic_cast<ObjectArray*>(o)) {
      for (auto* row : a->elements) {
        if (auto* d = dynamic_cast<DoubleArray*>(row)) {
          v.insert(v.end(), d->values.begin(), d->values.end());
        }
        v.push_back(-12345.0);  // row separator
      }
    }
    return v;
  }

  // Runs a call that must be rejected with (cls, message), leaving the
  // given arrays unchanged and breaking no JNI rule.
  void expect_rejected(const std::function<void()>& call,
                       const char* exceptionClass, const char* message,
                       std::vector<fake_jni::Object*> untouched) {
    std::vector<std::vector<double>> before;
    for (auto* o : untouched) before.push_back(values_of(o));
    jvm.clear_observations();
    call();
    EXPECT_TRUE(jvm.pending) << message;
    EXPECT_EQ(exceptionClass, jvm.exceptionClass);
    EXPECT_EQ(message, jvm.exceptionMessage);
    EXPECT_EQ(0, jvm.violations) << message;
    EXPECT_EQ(0, jvm.held) << message;
    for (size_t i = 0; i < untouched.size(); i++) {
      EXPECT_EQ(before[i], values_of(untouched[i]))
          << message << ": array " << i;
    }
    jvm.clear_observations();
  }

  // After a successful call: no exception, no misuse (no local reference
  // beyond its frame's capacity among them), every frame popped, and no
  // local reference left but a result it returns. Starts the next call's
  // observations afresh.
  void expect_clean_success(int line = __builtin_LINE()) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(jvm.pending)
        << jvm.exceptionClass << ": " << jvm.exceptionMessage;
    EXPECT_EQ(0, jvm.violations);
    EXPECT_EQ(0, jvm.held);
    EXPECT_EQ(1u, jvm.frames.size());
    EXPECT_LE(jvm.liveLocalRefs, 1);
    jvm.clear_observations();
  }
};

const char* const kIAE = "java/lang/IllegalArgumentException";
const char* const kNPE = "java/lang/NullPointerException";

}  // namespace

TEST_F(Natives, DummiesOneAndThreeMakeNoJniCall) {
  EXPECT_EQ(0.0, Java_Varnoth_Varnoth_f_1PSD_1Dummy0(env, cls));
  EXPECT_EQ(0.0, Java_Varnoth_Varnoth_f_1PSD_1Dummy1(env, cls, nullptr));
  EXPECT_EQ(0.0, Java_Varnoth_Varnoth_f_1PSD_1Dummy1(
                     env, cls, ref(jvm.image(3, 1, 0.0))));
  EXPECT_EQ(0.0, Java_Varnoth_Varnoth_f_1PSD_1Dummy3(env, cls, nullptr));
  EXPECT_EQ(0, jvm.calls);
  EXPECT_EQ(
      0.0, Java_Varnoth_Varnoth_f_1PSD_1Dummy2(env, cls, ref(random_image(1))));
  expect_clean_success();
}

// The native f_ImageFFT equals the computing function on the marshalled
// image: Java [x][y] of each output holds native element x + 128 y.
// The Java results of the spectral methods equal, bit for bit, what the
// computing functions give for the image in the library's layout: the
// chain and the methods built on the power spectrum compute row by row
// behind the Java calls, f_ImageFFT column by column. Two images: a smooth
// random one, and one with NaN, infinities, signed zeros, subnormal and
// huge values among its pixels.
TEST_F(Natives, MethodsMatchTheComputingFunctions) {
  ObjectArray* special = random_image(5);
  const double kSpecials[] = {std::nan(""), INFINITY,  -INFINITY, -0.0,
                              4.9e-324,     -2.2e-310, 1.5e300,   -3.0e299};
  for (int i = 0; i < 64; i++) {
    static_cast<DoubleArray*>(special->elements[(i * 37) % 128])
        ->values[(i * 53) % 128] = kSpecials[i % 8];
  }
  for (ObjectArray* img : {random_image(2), special}) {
    ColumnMajorImage cImg(jImg_To_cImg(env, cls, ref(img)));
    auto SD = std::make_unique<VarnothStackData>();
    auto at = [](ObjectArray* a, int x, int y) {
      return static_cast<DoubleArray*>(a->elements[x])->values[y];
    };

    ObjectArray* re = jvm.image(128, 128, 0.0);
    ObjectArray* im = jvm.image(128, 128, 0.0);
    Java_Varnoth_Varnoth_f_1ImageFFT(env, cls, ref(img), ref(re), ref(im));
    expect_clean_success();
    std::vector<double> mag(16384), phs(16384);
    f_ImageFFT(SD.get(), cImg.get(), mag.data(), phs.data());

    ObjectArray* ft = jvm.image(128, 128, 0.0);
    ObjectArray* wd = jvm.image(128, 128, 0.0);
    DoubleArray* ps = jvm.doubles(std::vector<double>(65, 0.0));
    const double slope = Java_Varnoth_Varnoth_f_1PSD_1Processing(
        env, cls, ref(img), ref(ps), ref(ft), ref(wd));
    expect_clean_success();
    std::vector<double> cFT(16384), cWD(16384);
    double cPS[65], cSlope = 0.0;
    f_PSD_Processing(SD.get(), cImg.get(), &cSlope, cPS, cFT.data(),
                     cWD.data());
    EXPECT_BITS_EQ(cSlope, slope);
    EXPECT_TRUE(varnoth_test::ArraysBitsEqual(cPS, ps->values.data(), 65));

    auto* power = dynamic_cast<ObjectArray*>(fake_jni::obj(
        Java_Varnoth_Varnoth_f_1ImageFFTPower(env, cls, ref(img))));
    ASSERT_NE(nullptr, power);
    expect_clean_success();
    auto* profile = dynamic_cast<DoubleArray*>(fake_jni::obj(
        Java_Varnoth_Varnoth_f_1RadialAverageSpectra(env, cls, ref(ft))));
    ASSERT_NE(nullptr, profile);
    expect_clean_success();
    EXPECT_TRUE(varnoth_test::ArraysBitsEqual(cPS, profile->values.data(), 65));
    auto* line = dynamic_cast<DoubleArray*>(fake_jni::obj(
        Java_Varnoth_Varnoth_f_1PSD_1LinearRegression(env, cls, ref(img))));
    ASSERT_NE(nullptr, line);
    expect_clean_success();
    double cLine[2];
    f_PSD_LinearRegression(SD.get(), cImg.get(), cLine);
    EXPECT_TRUE(varnoth_test::ArraysBitsEqual(cLine, line->values.data(), 2));

    for (int x = 0; x < 128; x++) {
      for (int y = 0; y < 128; y++) {
        const int n = x + 128 * y;
        ASSERT_BITS_EQ(mag[n], at(re, x, y));
        ASSERT_BITS_EQ(phs[n], at(im, x, y));
        ASSERT_BITS_EQ(cFT[n], at(ft, x, y));
        ASSERT_BITS_EQ(cFT[n], at(power, x, y));
        ASSERT_BITS_EQ(cWD[n], at(wd, x, y));
      }
    }
  }
}

TEST_F(Natives, EveryComputingMethodRunsCleanly) {
  ObjectArray* img = random_image(3);
  ObjectArray* a = jvm.image(128, 128, 0.0);
  ObjectArray* b = jvm.image(128, 128, 0.0);
  DoubleArray* ps = jvm.doubles(std::vector<double>(65, 0.0));

  Java_Varnoth_Varnoth_initialize(env, cls);
  expect_clean_success();
  Java_Varnoth_Varnoth_f_1ImageFFTPowerPhase(env, cls, ref(img), ref(a),
                                             ref(b));
  expect_clean_success();
  ASSERT_NE(nullptr, Java_Varnoth_Varnoth_f_1ImageFFTPower(env, cls, ref(img)));
  expect_clean_success();
  ASSERT_NE(nullptr,
            Java_Varnoth_Varnoth_f_1RadialAverageSpectra(env, cls, ref(a)));
  expect_clean_success();
  const double slope = Java_Varnoth_Varnoth_f_1PSD_1Processing(
      env, cls, ref(img), ref(ps), ref(a), ref(b));
  expect_clean_success();
  EXPECT_BITS_EQ(slope, Java_Varnoth_Varnoth_f_1PSD_1Slope(env, cls, ref(img)));
  expect_clean_success();
  jdoubleArray line =
      Java_Varnoth_Varnoth_f_1PSD_1LinearRegression(env, cls, ref(img));
  ASSERT_NE(nullptr, line);
  EXPECT_BITS_EQ(slope,
                 dynamic_cast<DoubleArray*>(fake_jni::obj(line))->values[0]);
  expect_clean_success();
  Java_Varnoth_Varnoth_f_1PSD_1Processing_1FTOnly(env, cls, ref(img), ref(a));
  expect_clean_success();
  Java_Varnoth_Varnoth_f_1PSD_1Processing_1PSOnly(env, cls, ref(img), ref(ps));
  expect_clean_success();

  ObjectArray* points =
      jvm.objects({jvm.doubles(std::vector<double>(65, 0.0)),
                   jvm.doubles(std::vector<double>(65, 0.0))});
  const jint n = Java_Varnoth_Varnoth_f_1PlotSpectra_1GetChartInfo(
      env, cls, ref(ps), ref(jvm.doubles({0, 0, 0, 0})),
      ref(jvm.doubles({0, 0})), ref(jvm.doubles({0, 0})), ref(points));
  expect_clean_success();
  EXPECT_EQ(65, n);
}

TEST_F(Natives, RejectedCallsWriteNothing) {
  ObjectArray* img = random_image(4);
  ObjectArray* good = jvm.image(128, 128, 42.0);
  ObjectArray* shortRows = jvm.image(128, 127, 42.0);
  DoubleArray* ps = jvm.doubles(std::vector<double>(65, 42.0));
  DoubleArray* shortPs = jvm.doubles(std::vector<double>(64, 42.0));

  expect_rejected(
      [&] {
        Java_Varnoth_Varnoth_f_1ImageFFT(env, cls, ref(img), ref(good),
                                         nullptr);
      },
      kNPE, "jImgFT_O != null", {good});
  expect_rejected(
      [&] {
        Java_Varnoth_Varnoth_f_1ImageFFTPowerPhase(env, cls, ref(img),
                                                   ref(shortRows), ref(good));
      },
      kIAE, "jImgFT_A[0].length == iSide", {good, shortRows});
  expect_rejected(
      [&] { Java_Varnoth_Varnoth_f_1ImageFFTPower(env, cls, ref(shortRows)); },
      kIAE, "len2 == iSide", {});
  expect_rejected(
      [&] { Java_Varnoth_Varnoth_f_1RadialAverageSpectra(env, cls, nullptr); },
      kNPE, "jImgFT != null", {});
  expect_rejected(
      [&] {
        Java_Varnoth_Varnoth_f_1PSD_1Processing(
            env, cls, ref(img), ref(shortPs), ref(good), ref(good));
      },
      kIAE, "jImgPS.length >= 65", {good, shortPs});
  expect_rejected(
      [&] {
        Java_Varnoth_Varnoth_f_1PSD_1Processing(env, cls, ref(img), ref(ps),
                                                ref(good), nullptr);
      },
      kNPE, "jImgWD != null", {good, ps});
  expect_rejected(
      [&] {
        Java_Varnoth_Varnoth_f_1PSD_1Processing_1FTOnly(env, cls, ref(img),
                                                        ref(shortRows));
      },
      kIAE, "jImgFT[0].length == iSide", {shortRows});
  expect_rejected(
      [&] {
        Java_Varnoth_Varnoth_f_1PSD_1Processing_1PSOnly(env, cls, ref(img),
                                                        nullptr);
      },
      kNPE, "jImgPS != null", {});
  expect_rejected(
      [&] {
        Java_Varnoth_Varnoth_f_1PSD_1Slope(env, cls,
                                           ref(jvm.image(127, 128, 0.0)));
      },
      kIAE, "len1 == iSide", {});
  expect_rejected(
      [&] { Java_Varnoth_Varnoth_f_1PSD_1LinearRegression(env, cls, nullptr); },
      kNPE, "jImg != null", {});

  // A row that cannot be held for copying (the virtual machine's
  // OutOfMemoryError): the input's fifth row, a row of the second output
  // image after the first image's rows were all held, a row of the first.
  const char* const kOOM = "java/lang/OutOfMemoryError";
  expect_rejected(
      [&] {
        jvm.failHoldAt = 4;
        Java_Varnoth_Varnoth_f_1PSD_1Processing_1FTOnly(env, cls, ref(img),
                                                        ref(good));
      },
      kOOM, "critical", {good});
  ObjectArray* other = jvm.image(128, 128, 7.0);
  expect_rejected(
      [&] {
        jvm.failHoldAt = 128 + 128 + 100;  // input, jImgWD, jImgFT[100]
        Java_Varnoth_Varnoth_f_1PSD_1Processing(env, cls, ref(img), ref(ps),
                                                ref(good), ref(other));
      },
      kOOM, "critical", {good, other, ps});
  expect_rejected(
      [&] {
        jvm.failHoldAt = 60;  // jImgFT_A[60]
        Java_Varnoth_Varnoth_f_1ImageFFT(env, cls, ref(img), ref(good),
                                         ref(other));
      },
      kOOM, "critical", {good, other});

  // The chart checks its rows against N only after computing N.
  DoubleArray* range = jvm.doubles({1, 1, 1, 1});
  DoubleArray* scale = jvm.doubles({1, 1});
  DoubleArray* line = jvm.doubles({1, 1});
  ObjectArray* shortPoints =
      jvm.objects({jvm.doubles(std::vector<double>(65, 1.0)),
                   jvm.doubles(std::vector<double>(3, 1.0))});
  DoubleArray* positive = jvm.doubles(std::vector<double>(65, 0.5));
  expect_rejected(
      [&] {
        Java_Varnoth_Varnoth_f_1PlotSpectra_1GetChartInfo(
            env, cls, ref(positive), ref(range), ref(scale), ref(line),
            ref(shortPoints));
      },
      kIAE, "jScaledPoints[1].length >= 65",
      {range, scale, line, shortPoints, positive});
}

// A record given back is lent again; records lent at the same time are
// distinct, and any beyond those kept are freed (the sanitizer build finds
// a leak or a double free).
TEST(WorkRecords, ReusedOneAtATimeNeverSharedAtOnce) {
  using namespace varnoth_jni;
  VarnothStackData* first = borrow_work_record();
  ASSERT_NE(first, nullptr);
  return_work_record(first);
  VarnothStackData* again = borrow_work_record();
  EXPECT_EQ(again, first);
  return_work_record(again);

  std::vector<VarnothStackData*> at_once;
  for (int i = 0; i < kKeptRecords + 3; i++) {
    at_once.push_back(borrow_work_record());
    ASSERT_NE(at_once.back(), nullptr);
    for (int j = 0; j < i; j++) EXPECT_NE(at_once[j], at_once[i]);
  }
  for (VarnothStackData* SD : at_once) return_work_record(SD);
  return_work_record(nullptr);
}
