// Image marshalling between Java and native images.
//
// A Java image is a double[][] of 128 rows of 128 values: element [x][y] is
// row x, column y. A native image is 16384 doubles in one of two layouts,
// and its type says which (ColumnMajorImage, RowMajorImage below). In the
// library's layout, column-major, row x, column y is at index x + 128 y: so
// Java row x is spread over native indices x, x + 128, ..., x + 16256; Java
// [0][1] lands at native 128 and [1][0] at native 1. Held row by row, row x,
// column y is at index 128 x + y. The exported functions below pass
// column-major images as plain pointers.
//
// Functions from Java to native take the environment first; those from
// native to Java take the native image first. jCls, the class of the calling
// native method, is used by none of them. A function that fails returns
// null with a Java exception pending and leaves every Java array unwritten.
#ifndef VARNOTH_JNI_EXTENSIONS_H
#define VARNOTH_JNI_EXTENSIONS_H

#include <jni.h>

#include <cstddef>
#include <initializer_list>
#include <memory>

#include "Varnoth_api.h"

// Checks jImg (null, "len1 == iSide", "len2 == iSide", every row present and
// 128 long), then allocates a native image and fills it from jImg. The
// caller releases it with cImg_Free. jImg is never written.
VARNOTH_API double* jImg_To_cImg(JNIEnv* jEnv, jclass jCls, jobjectArray jImg);

// Fills cImg (16384 values) from a 128 x 128 jImg, row by row. Returns cImg.
VARNOTH_API double* jImg_CopyTo_cImg(JNIEnv* jEnv, jclass jCls,
                                     jobjectArray jImg, double* cImg);

// A new Java image of 128 new rows holding cImg.
VARNOTH_API jobjectArray cImg_To_jImg(const double* cImg, JNIEnv* jEnv,
                                      jclass jCls);

// Overwrites the 16384 values of a 128 x 128 jImg with cImg, keeping its row
// objects. Returns jImg.
VARNOTH_API jobjectArray cImg_CopyTo_jImg(const double* cImg, JNIEnv* jEnv,
                                          jclass jCls, jobjectArray jImg);

// Releases a native image from jImg_To_cImg or cImg_Alloc; null is harmless.
VARNOTH_API void cImg_Free(double* cImg);

// An uninitialised native image of 16384 doubles, or null when the heap is
// exhausted. Released by cImg_Free.
double* cImg_Alloc();

// Releases a native image with cImg_Free.
struct CImgDeleter {
  void operator()(double* cImg) const { cImg_Free(cImg); }
};

// The two layouts of a native image, as tags of NativeImage.
//
// The library's layout, column-major: row r, column c at index r + 128 c.
// f_ImageFFT, f_ImageFFTPowerPhase and the library's other exported
// computing functions take and give images so.
struct ColumnMajor {};
// Row by row, as Java holds its rows: row r, column c at index 128 r + c,
// so that each Java row moves with one copy and no transposition. The
// processing chain, the slope, the regression, the power spectrum and the
// radial average compute in this layout too (profile_line_fit_by_rows,
// radial_average_by_rows); their Java results are the same bits.
struct RowMajor {};

// Owns one native image of 16384 doubles (from cImg_Alloc, released by
// cImg_Free) held in Layout. An image of one layout is not an image of the
// other: a function that takes one refuses the other at compile time.
template <typename Layout>
class NativeImage {
 public:
  NativeImage() = default;
  // Takes ownership of values, 16384 doubles in Layout, or null.
  explicit NativeImage(double* values) : values_(values) {}

  double* get() const { return values_.get(); }
  // Gives up ownership and returns the values.
  double* release() { return values_.release(); }
  // Releases the values held and holds `values` instead.
  void reset(double* values) { values_.reset(values); }
  explicit operator bool() const { return values_ != nullptr; }
  // Element i, for i given by Layout's index formula.
  double& operator[](std::size_t i) const { return values_[i]; }

 private:
  std::unique_ptr<double[], CImgDeleter> values_;
};

// Row r, column c at index r + 128 c.
using ColumnMajorImage = NativeImage<ColumnMajor>;
// Row r, column c at index 128 r + c.
using RowMajorImage = NativeImage<RowMajor>;

// jImg_To_cImg for an argument of another name: the name appears in the
// messages of the row checks ("jImgFT[3] != null"). An empty image, with an
// exception pending, when it fails.
ColumnMajorImage jImg_To_cImg_Named(JNIEnv* jEnv, jobjectArray jImg,
                                    const char* name);

// Checks jImg as jImg_To_cImg_Named does (messages name `name`), then
// allocates a native image and fills it row by row, each row copied
// straight from its elements, held (GetPrimitiveArrayCritical) for that
// copy alone. An empty image, with an exception pending, when it fails.
RowMajorImage jImg_To_cRows(JNIEnv* jEnv, jobjectArray jImg, const char* name);

// A new Java image of 128 new rows holding cRows; null, with an exception
// pending, when the Java heap is exhausted.
jobjectArray cRows_To_jImg(const RowMajorImage& cRows, JNIEnv* jEnv);

// A frame for the local references of one native method (PushLocalFrame):
// room for `capacity` references, all deleted when the frame is left. ok()
// is false, with OutOfMemoryError pending, when the frame could not be made.
class LocalFrame {
 public:
  LocalFrame(JNIEnv* jEnv, jint capacity);
  ~LocalFrame();
  LocalFrame(const LocalFrame&) = delete;
  LocalFrame& operator=(const LocalFrame&) = delete;
  bool ok() const { return pushed_; }

 private:
  JNIEnv* env_;
  bool pushed_;
};

// The rows of a Java image that receives output, each row reference
// fetched once and checked (the image not null, 128 rows, every row present
// and 128 long; messages name the image: "jImgFT_A[100].length == iSide")
// before anything is computed or written. Results are written through these
// references only, while PinnedRows holds them. A Java array's length never
// changes, so a checked row takes its 128 values whatever another thread
// does to the outer array in the meantime. The 128 row references belong to
// the caller's LocalFrame, which makes room for them and deletes them all
// when it is left (no call per row).
class OutputImage {
 public:
  OutputImage() = default;
  OutputImage(const OutputImage&) = delete;
  OutputImage& operator=(const OutputImage&) = delete;

  // False, with an exception pending, when the image fails a check.
  bool take(JNIEnv* jEnv, jobjectArray jImg, const char* name);
  // Java row x from cRows[128 x .. 128 x + 127]. Only while pinned.
  void write_rows(const RowMajorImage& cRows) const;
  // Java [x][y] from cImg[x + 128 y]. Only while pinned.
  void write_columns(const ColumnMajorImage& cImg) const;

 private:
  friend class PinnedRows;
  JNIEnv* env_ = nullptr;
  jdoubleArray rows_[128] = {};
  double* pinned_[128] = {};  // the rows' elements while PinnedRows holds them
};

// The rows of the given output images held for writing
// (GetPrimitiveArrayCritical), all pinned before any is written: either
// every image is written in full, or, when a row cannot be pinned, the rows
// already pinned are given back unchanged (JNI_ABORT) and ok() is false
// with an exception pending. While the rows are held no other JNI function
// may be called, so only copying happens in that time; leaving the scope
// gives every row back with its values committed (mode 0), in the order
// the images were given, so that of two images sharing rows the later one's
// values stay.
class PinnedRows {
 public:
  PinnedRows(JNIEnv* jEnv, std::initializer_list<OutputImage*> images);
  ~PinnedRows();
  PinnedRows(const PinnedRows&) = delete;
  PinnedRows& operator=(const PinnedRows&) = delete;
  bool ok() const { return ok_; }

 private:
  void release(jint mode);
  JNIEnv* env_;
  OutputImage* images_[2] = {};
  int count_ = 0;
  bool ok_ = false;
};

// Local references an OutputImage holds.
constexpr jint kOutputImageRefs = 128;

#endif
