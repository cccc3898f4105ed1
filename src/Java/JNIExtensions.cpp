#include "Java/JNIExtensions.h"

#include <cstdlib>
#include <cstring>

#include "Java/JNIChecks.h"

using varnoth_jni::exception_pending;
using varnoth_jni::iSide;
using varnoth_jni::iSize;

namespace {

// Rows are copied eight at a time: eight consecutive native values of one
// column fill one 64-byte cache line, so the transposition writes (or
// reads) whole lines instead of touching a new line, 1 KiB apart, for every
// value.
constexpr jsize kRowBlock = 8;
static_assert(iSide % kRowBlock == 0, "whole blocks");

// Calls use(row, i) for rows x0 + i, i = 0..7, of jImg, each row checked
// first (present, 128 long); false, with an exception pending, at the first
// row that fails its check or whose use returns false.
template <typename Use>
bool for_row_block(JNIEnv* jEnv, jobjectArray jImg, jsize x0, const char* name,
                   Use use) {
  for (jsize i = 0; i < kRowBlock; i++) {
    jobject row = jEnv->GetObjectArrayElement(jImg, x0 + i);
    bool good = varnoth_jni::check_image_row(jEnv, row, x0 + i, name);
    if (good) good = use(static_cast<jdoubleArray>(row), i);
    jEnv->DeleteLocalRef(row);
    if (!good) return false;
  }
  return true;
}

// A Java row that could not be held (GetPrimitiveArrayCritical gave null):
// false, with the virtual machine's exception pending, or an
// OutOfMemoryError when it raised none. No row may be held any more here.
bool hold_failed(JNIEnv* jEnv) {
  if (!varnoth_jni::exception_pending(jEnv)) {
    varnoth_jni::throw_out_of_memory(jEnv, "Java row could not be held");
  }
  return false;
}

// The 128 values of a checked row into `into`, copied straight from the
// row's elements, which are held (GetPrimitiveArrayCritical) for the copy
// alone and given back unchanged (JNI_ABORT). False, with an exception
// pending, when the row cannot be held.
bool read_row(JNIEnv* jEnv, jdoubleArray row, double* into) {
  void* values = jEnv->GetPrimitiveArrayCritical(row, nullptr);
  if (values == nullptr) return hold_failed(jEnv);
  std::memcpy(into, values, sizeof(double) * iSide);
  jEnv->ReleasePrimitiveArrayCritical(row, values, JNI_ABORT);
  return true;
}

// Java rows x0 .. x0 + 7 into the native image: [x][y] -> x + 128 y.
double* copy_in(JNIEnv* jEnv, jobjectArray jImg, double* cImg,
                const char* name) {
  double block[kRowBlock][iSide];
  for (jsize x0 = 0; x0 < iSide; x0 += kRowBlock) {
    const bool read =
        for_row_block(jEnv, jImg, x0, name, [&](jdoubleArray row, jsize i) {
          jEnv->GetDoubleArrayRegion(row, 0, iSide, block[i]);
          return true;
        });
    if (!read) return nullptr;
    for (jsize y = 0; y < iSide; y++) {
      for (jsize i = 0; i < kRowBlock; i++) {
        cImg[y * iSide + x0 + i] = block[i][y];
      }
    }
  }
  return cImg;
}

// Calls use(row, x) for every row x of jImg, each checked first (present,
// 128 long); false, with an exception pending, at the first row that fails
// its check or whose use returns false.
template <typename Use>
bool for_each_row(JNIEnv* jEnv, jobjectArray jImg, const char* name, Use use) {
  for (jsize x0 = 0; x0 < iSide; x0 += kRowBlock) {
    const bool done = for_row_block(
        jEnv, jImg, x0, name,
        [&](jdoubleArray row, jsize i) { return use(row, x0 + i); });
    if (!done) return false;
  }
  return true;
}

// A new Java image of 128 new rows of zeros.
jobjectArray new_java_image(JNIEnv* jEnv) {
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
  }
  return jImg;
}

}  // namespace

double* cImg_Alloc() {
  return static_cast<double*>(std::malloc(sizeof(double) * iSize));
}

void cImg_Free(double* cImg) { std::free(cImg); }

double* jImg_To_cImg(JNIEnv* jEnv, jclass jCls, jobjectArray jImg) {
  (void)jCls;
  return jImg_To_cImg_Named(jEnv, jImg, "jImg").release();
}

// The outer length and the first row are measured before the native image
// is allocated; every row is checked again as it is copied, and a failure
// releases the native image before returning.
ColumnMajorImage jImg_To_cImg_Named(JNIEnv* jEnv, jobjectArray jImg,
                                    const char* name) {
  if (!varnoth_jni::check_input_shape(jEnv, jImg, name)) return {};
  ColumnMajorImage cImg(cImg_Alloc());
  if (!cImg) {
    varnoth_jni::throw_out_of_memory(jEnv, "native image");
    return {};
  }
  if (copy_in(jEnv, jImg, cImg.get(), name) == nullptr) return {};
  return cImg;
}

// Every row is checked (present, 128 long) before it is read; the Java rows
// are only read, never written or pinned.
double* jImg_CopyTo_cImg(JNIEnv* jEnv, jclass jCls, jobjectArray jImg,
                         double* cImg) {
  (void)jCls;
  return copy_in(jEnv, jImg, cImg, "jImg");
}

jobjectArray cImg_To_jImg(const double* cImg, JNIEnv* jEnv, jclass jCls) {
  jobjectArray jImg = new_java_image(jEnv);
  if (jImg == nullptr) return nullptr;
  if (cImg_CopyTo_jImg(cImg, jEnv, jCls, jImg) == nullptr) {
    jEnv->DeleteLocalRef(jImg);
    return nullptr;
  }
  return jImg;
}

RowMajorImage jImg_To_cRows(JNIEnv* jEnv, jobjectArray jImg, const char* name) {
  if (!varnoth_jni::check_input_shape(jEnv, jImg, name)) return {};
  RowMajorImage cRows(cImg_Alloc());
  if (!cRows) {
    varnoth_jni::throw_out_of_memory(jEnv, "native image");
    return {};
  }
  double* const into = cRows.get();
  const bool read =
      for_each_row(jEnv, jImg, name, [&](jdoubleArray row, jsize x) {
        return read_row(jEnv, row, &into[iSide * x]);
      });
  if (!read) return {};
  return cRows;
}

jobjectArray cRows_To_jImg(const RowMajorImage& cRows, JNIEnv* jEnv) {
  jobjectArray jImg = new_java_image(jEnv);
  if (jImg == nullptr) return nullptr;
  const double* const from = cRows.get();
  // The rows are new: no other thread holds them yet.
  const bool written =
      for_each_row(jEnv, jImg, "jImg", [&](jdoubleArray row, jsize x) {
        jEnv->SetDoubleArrayRegion(row, 0, iSide, &from[iSide * x]);
        return true;
      });
  if (!written) {
    jEnv->DeleteLocalRef(jImg);
    return nullptr;
  }
  return jImg;
}

// Every row is checked (present, 128 long) again as it is written, so a row
// that another Java thread replaced after the arguments were checked raises
// an exception instead of being written past its end; the caller's row
// objects are kept.
jobjectArray cImg_CopyTo_jImg(const double* cImg, JNIEnv* jEnv, jclass jCls,
                              jobjectArray jImg) {
  (void)jCls;
  double block[kRowBlock][iSide];
  for (jsize x0 = 0; x0 < iSide; x0 += kRowBlock) {
    for (jsize y = 0; y < iSide; y++) {
      for (jsize i = 0; i < kRowBlock; i++) {
        block[i][y] = cImg[y * iSide + x0 + i];
      }
    }
    const bool written =
        for_row_block(jEnv, jImg, x0, "jImg", [&](jdoubleArray row, jsize i) {
          jEnv->SetDoubleArrayRegion(row, 0, iSide, block[i]);
          return true;
        });
    if (!written) return nullptr;
  }
  return jImg;
}

LocalFrame::LocalFrame(JNIEnv* jEnv, jint capacity)
    : env_(jEnv), pushed_(jEnv->PushLocalFrame(capacity) == JNI_OK) {}

LocalFrame::~LocalFrame() {
  if (pushed_) env_->PopLocalFrame(nullptr);
}

bool OutputImage::take(JNIEnv* jEnv, jobjectArray jImg, const char* name) {
  env_ = jEnv;
  if (!varnoth_jni::check_output_shape(jEnv, jImg, name)) return false;
  for (jsize x = 0; x < iSide; x++) {
    jobject row = jEnv->GetObjectArrayElement(jImg, x);
    if (row != nullptr) rows_[x] = static_cast<jdoubleArray>(row);
    if (!varnoth_jni::check_image_row(jEnv, row, x, name)) return false;
  }
  return true;
}

void OutputImage::write_rows(const RowMajorImage& image) const {
  const double* const cRows = image.get();
  for (jsize x = 0; x < iSide; x++) {
    std::memcpy(pinned_[x], &cRows[iSide * x], sizeof(double) * iSide);
  }
}

void OutputImage::write_columns(const ColumnMajorImage& image) const {
  const double* const cImg = image.get();
  for (jsize x0 = 0; x0 < iSide; x0 += kRowBlock) {
    for (jsize y = 0; y < iSide; y++) {
      for (jsize i = 0; i < kRowBlock; i++) {
        pinned_[x0 + i][y] = cImg[y * iSide + x0 + i];
      }
    }
  }
}

PinnedRows::PinnedRows(JNIEnv* jEnv, std::initializer_list<OutputImage*> images)
    : env_(jEnv) {
  for (OutputImage* image : images) {
    if (count_ == 2) std::abort();  // room for the two images a call writes
    images_[count_++] = image;
    for (jsize x = 0; x < iSide; x++) {
      void* values = env_->GetPrimitiveArrayCritical(image->rows_[x], nullptr);
      if (values == nullptr) {
        release(JNI_ABORT);
        hold_failed(env_);
        return;
      }
      image->pinned_[x] = static_cast<double*>(values);
    }
  }
  ok_ = true;
}

PinnedRows::~PinnedRows() {
  if (ok_) release(0);
}

void PinnedRows::release(jint mode) {
  for (int i = 0; i < count_; i++) {
    OutputImage& image = *images_[i];
    for (jsize x = 0; x < iSide; x++) {
      if (image.pinned_[x] == nullptr) continue;
      env_->ReleasePrimitiveArrayCritical(image.rows_[x], image.pinned_[x],
                                          mode);
      image.pinned_[x] = nullptr;
    }
  }
}
