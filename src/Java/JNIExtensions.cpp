#include "JNIExtensions.h"

#include <cstdlib>

#include "JNIChecks.h"

using varnoth_jni::exception_pending;
using varnoth_jni::iSide;
using varnoth_jni::iSize;

namespace {

// A row fetched for copying: false, with an exception pending, when the
// fetch failed or the row has been set to null since the arguments were
// checked (by another Java thread).
bool row_present(JNIEnv* jEnv, jobject row) {
  if (exception_pending(jEnv)) return false;
  if (row == nullptr)
    return varnoth_jni::throw_null_pointer(jEnv, "row != null");
  return true;
}

}  // namespace

double* cImg_Alloc() {
  return static_cast<double*>(std::malloc(sizeof(double) * iSize));
}

void cImg_Free(double* cImg) { std::free(cImg); }

double* jImg_To_cImg(JNIEnv* jEnv, jclass jCls, jobjectArray jImg) {
  (void)jCls;
  return jImg_To_cImg_Named(jEnv, jImg, "jImg");
}

double* jImg_To_cImg_Named(JNIEnv* jEnv, jobjectArray jImg, const char* name) {
  if (!varnoth_jni::check_input_image(jEnv, jImg, name)) return nullptr;
  NativeImage cImg(cImg_Alloc());
  if (!cImg) {
    varnoth_jni::throw_out_of_memory(jEnv, "native image");
    return nullptr;
  }
  if (jImg_CopyTo_cImg(jEnv, nullptr, jImg, cImg.get()) == nullptr)
    return nullptr;
  return cImg.release();
}

// Row x is read with one bounds-checked region copy into a local buffer, so
// a row that has changed length since it was checked raises a Java
// exception instead of a read past its end; the Java row is never written.
double* jImg_CopyTo_cImg(JNIEnv* jEnv, jclass jCls, jobjectArray jImg,
                         double* cImg) {
  (void)jCls;
  double element[iSide];
  for (jsize x = 0; x < iSide; x++) {
    jobject arr = jEnv->GetObjectArrayElement(jImg, x);
    if (!row_present(jEnv, arr)) return nullptr;
    jEnv->GetDoubleArrayRegion(static_cast<jdoubleArray>(arr), 0, iSide,
                               element);
    jEnv->DeleteLocalRef(arr);
    if (exception_pending(jEnv)) return nullptr;
    for (jsize y = 0; y < iSide; y++) {
      cImg[y * iSide + x] = element[y];
    }
  }
  return cImg;
}

jobjectArray cImg_To_jImg(const double* cImg, JNIEnv* jEnv, jclass jCls) {
  jclass rowClass = jEnv->FindClass("[D");
  if (rowClass == nullptr) return nullptr;
  jobjectArray jImg = jEnv->NewObjectArray(iSide, rowClass, nullptr);
  jEnv->DeleteLocalRef(rowClass);
  if (jImg == nullptr) return nullptr;
  // Each new row's local reference is dropped once the row is stored, so
  // the method never holds more than a few local references.
  for (jsize i = 0; i < iSide; i++) {
    jdoubleArray row = jEnv->NewDoubleArray(iSide);
    if (row == nullptr) {
      jEnv->DeleteLocalRef(jImg);
      return nullptr;
    }
    jEnv->SetObjectArrayElement(jImg, i, row);
    jEnv->DeleteLocalRef(row);
    if (exception_pending(jEnv)) {
      jEnv->DeleteLocalRef(jImg);
      return nullptr;
    }
  }
  if (cImg_CopyTo_jImg(cImg, jEnv, jCls, jImg) == nullptr) {
    jEnv->DeleteLocalRef(jImg);
    return nullptr;
  }
  return jImg;
}

// Row x is gathered from the native image (stride 128) and written with one
// bounds-checked region copy, so nothing is written past a row's end.
jobjectArray cImg_CopyTo_jImg(const double* cImg, JNIEnv* jEnv, jclass jCls,
                              jobjectArray jImg) {
  (void)jCls;
  double element[iSide];
  for (jsize x = 0; x < iSide; x++) {
    for (jsize y = 0; y < iSide; y++) {
      element[y] = cImg[y * iSide + x];
    }
    jobject arr = jEnv->GetObjectArrayElement(jImg, x);
    if (!row_present(jEnv, arr)) return nullptr;
    jEnv->SetDoubleArrayRegion(static_cast<jdoubleArray>(arr), 0, iSide,
                               element);
    jEnv->DeleteLocalRef(arr);
    if (exception_pending(jEnv)) return nullptr;
  }
  return jImg;
}
