// The FFTW chain behind a literal JNI frame shaped like the library's
// f_PSD_Processing: the peer that the Java call is measured against. Each
// Java row is fetched, copied and scattered into a column-major image; the
// output images are checked, then the chain runs (fftw_chain.h), then each
// output row is gathered and written. Benchmark-only: the Java class
// org.varnoth.bench.FftwPeer loads this library by path.
#include <jni.h>

#include <memory>
#include <vector>

#include "fftw_chain.h"

namespace {

bool image_rows_ok(JNIEnv* env, jobjectArray img) {
  if (img == nullptr || env->GetArrayLength(img) != 128) return false;
  for (jsize x = 0; x < 128; x++) {
    jobject row = env->GetObjectArrayElement(img, x);
    const bool ok =
        row != nullptr && env->GetArrayLength(static_cast<jarray>(row)) == 128;
    env->DeleteLocalRef(row);
    if (!ok) return false;
  }
  return true;
}

void copy_in(JNIEnv* env, jobjectArray img, double* c) {
  double row_values[128];
  for (jsize x = 0; x < 128; x++) {
    jobject row = env->GetObjectArrayElement(img, x);
    env->GetDoubleArrayRegion(static_cast<jdoubleArray>(row), 0, 128,
                              row_values);
    env->DeleteLocalRef(row);
    for (int y = 0; y < 128; y++) c[x + 128 * y] = row_values[y];
  }
}

void copy_out(JNIEnv* env, const double* c, jobjectArray img) {
  double row_values[128];
  for (jsize x = 0; x < 128; x++) {
    for (int y = 0; y < 128; y++) row_values[y] = c[x + 128 * y];
    jobject row = env->GetObjectArrayElement(img, x);
    env->SetDoubleArrayRegion(static_cast<jdoubleArray>(row), 0, 128,
                              row_values);
    env->DeleteLocalRef(row);
  }
}

}  // namespace

extern "C" JNIEXPORT jdouble JNICALL Java_org_varnoth_bench_FftwPeer_process(
    JNIEnv* env, jclass, jobjectArray jImg, jdoubleArray jImgPS,
    jobjectArray jImgFT, jobjectArray jImgWD) {
  thread_local FftwChain chain;
  if (!image_rows_ok(env, jImg) || jImgPS == nullptr ||
      env->GetArrayLength(jImgPS) < 65 || !image_rows_ok(env, jImgFT) ||
      !image_rows_ok(env, jImgWD)) {
    return 0.0;
  }
  std::vector<double> img(16384), ft(16384), wd(16384);
  double ps[65], slope = 0.0;
  copy_in(env, jImg, img.data());
  chain.run(img.data(), &slope, ps, ft.data(), wd.data());
  copy_out(env, wd.data(), jImgWD);
  copy_out(env, ft.data(), jImgFT);
  env->SetDoubleArrayRegion(jImgPS, 0, 65, ps);
  return slope;
}
