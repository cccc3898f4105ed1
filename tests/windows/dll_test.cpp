// Varnoth_JNI.dll loaded the way a JVM on Windows loads it: LoadLibrary, then
// GetProcAddress with the name of the native method, decorated on x86
// ("_Java_<class>_<method>@<bytes>") and plain on x86-64.
// Calls through the DLL's entry points must give the same bits as the same
// natives linked into this program (from the static archive): same sources,
// same flags, same maths library.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "Varnoth_Varnoth.h"
#include "bit_equal.h"
#include "fake_jni.h"

using fake_jni::DoubleArray;
using fake_jni::ObjectArray;
using fake_jni::ref;

namespace {

struct Native {
  const char* name;  // Java_Varnoth_Varnoth_ + method, JNI-escaped
  int argBytes;      // x86: 4 per argument: JNIEnv*, jclass, then each array
};

const Native kNatives[] = {
    {"Java_Varnoth_Varnoth_initialize", 8},
    {"Java_Varnoth_Varnoth_f_1PSD_1Dummy0", 8},
    {"Java_Varnoth_Varnoth_f_1PSD_1Dummy1", 12},
    {"Java_Varnoth_Varnoth_f_1PSD_1Dummy2", 12},
    {"Java_Varnoth_Varnoth_f_1PSD_1Dummy3", 12},
    {"Java_Varnoth_Varnoth_f_1PSD_1Slope", 12},
    {"Java_Varnoth_Varnoth_f_1PSD_1LinearRegression", 12},
    {"Java_Varnoth_Varnoth_f_1ImageFFT", 20},
    {"Java_Varnoth_Varnoth_f_1ImageFFTPowerPhase", 20},
    {"Java_Varnoth_Varnoth_f_1ImageFFTPower", 12},
    {"Java_Varnoth_Varnoth_f_1RadialAverageSpectra", 12},
    {"Java_Varnoth_Varnoth_f_1PSD_1Processing", 24},
    {"Java_Varnoth_Varnoth_f_1PSD_1Processing_1FTOnly", 16},
    {"Java_Varnoth_Varnoth_f_1PSD_1Processing_1PSOnly", 16},
    {"Java_Varnoth_Varnoth_f_1PlotSpectra_1GetChartInfo", 28},
};

// The __stdcall name of x86, and GNU ld's default form of it (no leading
// underscore).
std::string decorated(const Native& n) {
  return "_" + std::string(n.name) + "@" + std::to_string(n.argBytes);
}
std::string ld_default(const Native& n) { return decorated(n).substr(1); }

// The name a JVM of this DLL's architecture asks for.
std::string exported(const Native& n) {
#ifdef _WIN64
  return n.name;
#else
  return decorated(n);
#endif
}

// The names that must not be in the table beside exported(n).
std::vector<std::string> other_forms(const Native& n) {
#ifdef _WIN64
  return {decorated(n), ld_default(n)};
#else
  return {n.name, ld_default(n)};
#endif
}

const Native& native(const char* method) {
  for (const Native& n : kNatives) {
    if (std::string(n.name) == std::string("Java_Varnoth_Varnoth_") + method)
      return n;
  }
  std::abort();
}

class Dll : public ::testing::Test {
 protected:
  static HMODULE dll;

  static void SetUpTestSuite() { dll = LoadLibraryA("Varnoth_JNI.dll"); }
  static void TearDownTestSuite() {
    if (dll != nullptr) FreeLibrary(dll);
    dll = nullptr;
  }

  // The DLL's entry point of the native `method` (its JNI-escaped name
  // after Java_Varnoth_Varnoth_), typed like the linked function `linked`.
  template <typename F>
  static F entry(const char* method, F /*linked*/) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(
        GetProcAddress(dll, exported(native(method)).c_str())));
  }

  fake_jni::Jvm jvm;
  JNIEnv* env = jvm.env();
  jclass cls = nullptr;

  ObjectArray* test_image(unsigned seed) {
    return jvm.image(128, 128, [seed](int x, int y) {
      return std::fmod(
                 (x * 7919.0 + y * 104729.0 + seed * 31.0) * 0.61803398875,
                 255.0) +
             (x == 3 && y == 5 ? 1e3 : 0.0);
    });
  }

  static std::vector<double> values_of(fake_jni::Object* o) {
    if (auto* d = dynamic_cast<DoubleArray*>(o)) return d->values;
    std::vector<double> v;
    for (auto* row : dynamic_cast<ObjectArray*>(o)->elements) {
      const auto& r = dynamic_cast<DoubleArray*>(row)->values;
      v.insert(v.end(), r.begin(), r.end());
    }
    return v;
  }

  static void expect_same_bits(const std::vector<double>& want,
                               const std::vector<double>& got,
                               const char* what) {
    ASSERT_EQ(want.size(), got.size()) << what;
    int differing = 0;
    for (size_t i = 0; i < want.size(); i++) {
      if (varnoth_test::bits_of(want[i]) != varnoth_test::bits_of(got[i])) {
        if (differing++ < 5) {
          ADD_FAILURE() << what << "[" << i << "]: linked "
                        << varnoth_test::hex_float(want[i]) << ", DLL "
                        << varnoth_test::hex_float(got[i]);
        }
      }
    }
    EXPECT_EQ(0, differing) << what;
  }

  void expect_clean() {
    EXPECT_FALSE(jvm.pending)
        << jvm.exceptionClass << ": " << jvm.exceptionMessage;
    EXPECT_EQ(0, jvm.violations);
  }
};

HMODULE Dll::dll = nullptr;

TEST_F(Dll, LoadsAndResolvesEveryNativeByTheNameAJvmAsksFor) {
  ASSERT_NE(nullptr, dll) << "LoadLibrary failed: " << GetLastError();
  for (const Native& n : kNatives) {
    const std::string name = exported(n);
    EXPECT_NE(nullptr,
              reinterpret_cast<void*>(GetProcAddress(dll, name.c_str())))
        << name;
    for (const std::string& other : other_forms(n)) {
      EXPECT_EQ(nullptr,
                reinterpret_cast<void*>(GetProcAddress(dll, other.c_str())))
          << other;
    }
  }
  // Nor is any library routine: the Linux build exports these.
  for (const char* internal : {"f_PSD_Processing", "_f_PSD_Processing", "fft2",
                               "rtNaN", "Varnoth_initialize"}) {
    EXPECT_EQ(nullptr, reinterpret_cast<void*>(GetProcAddress(dll, internal)))
        << internal;
  }
}

TEST_F(Dll, NativesGiveTheBitsOfTheLinkedCode) {
  ASSERT_NE(nullptr, dll) << "LoadLibrary failed: " << GetLastError();
  auto dllInitialize = entry("initialize", &Java_Varnoth_Varnoth_initialize);
  auto dllProcessing =
      entry("f_1PSD_1Processing", &Java_Varnoth_Varnoth_f_1PSD_1Processing);
  auto dllPowerPhase = entry("f_1ImageFFTPowerPhase",
                             &Java_Varnoth_Varnoth_f_1ImageFFTPowerPhase);
  auto dllChart = entry("f_1PlotSpectra_1GetChartInfo",
                        &Java_Varnoth_Varnoth_f_1PlotSpectra_1GetChartInfo);
  auto dllDummy2 =
      entry("f_1PSD_1Dummy2", &Java_Varnoth_Varnoth_f_1PSD_1Dummy2);
  ASSERT_TRUE(dllInitialize && dllProcessing && dllPowerPhase && dllChart &&
              dllDummy2);

  // The DLL has its own copy of the library state.
  dllInitialize(env, cls);
  Java_Varnoth_Varnoth_initialize(env, cls);
  expect_clean();

  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    ObjectArray* img = test_image(seed);

    DoubleArray* ps[2] = {jvm.doubles(std::vector<double>(65)),
                          jvm.doubles(std::vector<double>(65))};
    ObjectArray* ft[2] = {jvm.image(128, 128, 0.0), jvm.image(128, 128, 0.0)};
    ObjectArray* wd[2] = {jvm.image(128, 128, 0.0), jvm.image(128, 128, 0.0)};
    const double slopeLinked = Java_Varnoth_Varnoth_f_1PSD_1Processing(
        env, cls, ref(img), ref(ps[0]), ref(ft[0]), ref(wd[0]));
    const double slopeDll =
        dllProcessing(env, cls, ref(img), ref(ps[1]), ref(ft[1]), ref(wd[1]));
    expect_clean();
    EXPECT_TRUE(std::isfinite(slopeDll));
    EXPECT_BITS_EQ(slopeLinked, slopeDll);
    expect_same_bits(values_of(ps[0]), values_of(ps[1]), "profile");
    expect_same_bits(values_of(ft[0]), values_of(ft[1]), "power");
    expect_same_bits(values_of(wd[0]), values_of(wd[1]), "copy");
    expect_same_bits(values_of(img), values_of(wd[1]), "copy of the input");

    ObjectArray* pw[2] = {jvm.image(128, 128, 0.0), jvm.image(128, 128, 0.0)};
    ObjectArray* ph[2] = {jvm.image(128, 128, 0.0), jvm.image(128, 128, 0.0)};
    Java_Varnoth_Varnoth_f_1ImageFFTPowerPhase(env, cls, ref(img), ref(pw[0]),
                                               ref(ph[0]));
    dllPowerPhase(env, cls, ref(img), ref(pw[1]), ref(ph[1]));
    expect_clean();
    expect_same_bits(values_of(pw[0]), values_of(pw[1]), "power");
    expect_same_bits(values_of(ph[0]), values_of(ph[1]), "phase");

    DoubleArray* range[2] = {jvm.doubles({0, 0, 0, 0}),
                             jvm.doubles({0, 0, 0, 0})};
    DoubleArray* scale[2] = {jvm.doubles({0, 0}), jvm.doubles({0, 0})};
    DoubleArray* line[2] = {jvm.doubles({0, 0}), jvm.doubles({0, 0})};
    ObjectArray* points[2] = {jvm.image(2, 65, 0.0), jvm.image(2, 65, 0.0)};
    const jint nLinked = Java_Varnoth_Varnoth_f_1PlotSpectra_1GetChartInfo(
        env, cls, ref(ps[0]), ref(range[0]), ref(scale[0]), ref(line[0]),
        ref(points[0]));
    const jint nDll = dllChart(env, cls, ref(ps[1]), ref(range[1]),
                               ref(scale[1]), ref(line[1]), ref(points[1]));
    expect_clean();
    EXPECT_EQ(nLinked, nDll);
    EXPECT_GT(nDll, 1);
    expect_same_bits(values_of(range[0]), values_of(range[1]), "range");
    expect_same_bits(values_of(scale[0]), values_of(scale[1]), "scale");
    expect_same_bits(values_of(line[0]), values_of(line[1]), "line");
    expect_same_bits(values_of(points[0]), values_of(points[1]), "points");
  }

  // A wrongly sized image is refused by the DLL's own check, with the
  // condition as the message.
  jvm.clear_observations();
  dllDummy2(env, cls, ref(jvm.image(127, 128, 0.0)));
  EXPECT_TRUE(jvm.pending);
  EXPECT_EQ("len1 == iSide", jvm.exceptionMessage);
}

}  // namespace
