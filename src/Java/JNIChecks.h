// Argument checks of the native methods and the exceptions they throw.
//
// Every check returns true when the argument is good. When it is not, the
// check throws a Java exception whose message is the failed condition and
// returns false; the native method then returns at once, before it has
// written any output. Conditions read as assertions: "len1 == iSide",
// "jImgFT_A[3] != null", "jImgPS.length >= 65".
#ifndef VARNOTH_JNI_CHECKS_H
#define VARNOTH_JNI_CHECKS_H

#include <jni.h>

#include <new>

namespace varnoth_jni {

constexpr jsize iSide = 128;    // rows of an image, values in a row
constexpr jsize iSize = 16384;  // values in an image
constexpr jsize psSize = 65;    // values in a radial profile

// Throw and return false.
bool throw_illegal_argument(JNIEnv* env, const char* condition);
bool throw_null_pointer(JNIEnv* env, const char* condition);
bool throw_out_of_memory(JNIEnv* env, const char* what);
bool throw_illegal_state(JNIEnv* env, const char* what);

// true when a Java exception is pending (a JNI call failed).
inline bool exception_pending(JNIEnv* env) {
  return env->ExceptionCheck() == JNI_TRUE;
}

// The shape of an input image, before anything is allocated for it: not
// null, 128 rows ("len1 == iSide"), a first row present and 128 long
// ("len2 == iSide"). Each row is checked again as it is copied in.
bool check_input_shape(JNIEnv* env, jobjectArray image, const char* name);

// Row x of an image as fetched with GetObjectArrayElement: present
// ("<name>[x] != null") and 128 long ("<name>[x].length == iSide"). A null
// row with an exception pending means the fetch itself failed; the check
// then fails without throwing again. Java array lengths never change, so a
// row that passes can be copied whole with one region call.
bool check_image_row(JNIEnv* env, jobject row, jsize x, const char* name);

// The outer array of an image that receives output: not null, 128 rows.
// Its rows are checked as they are taken (OutputImage, JNIExtensions.h).
bool check_output_shape(JNIEnv* env, jobjectArray image, const char* name);

// An array (a double[], or the outer array of a double[][]) that holds at
// least minLength elements.
bool check_array(JNIEnv* env, jarray array, jsize minLength, const char* name);

// Row `row` of an array of double[] rows, fetched once: a local reference
// to it, or null, with an exception pending, when it is absent
// ("<name>[row] != null"). The caller deletes the reference.
jdoubleArray take_row(JNIEnv* env, jobjectArray rows, jsize row,
                      const char* name);

// A row taken with take_row holds at least minLength values
// ("<name>[row].length >= minLength"). Its length never changes.
bool check_row_length(JNIEnv* env, jdoubleArray element, jsize row,
                      jsize minLength, const char* name);

// Runs body and returns its result; a C++ exception from the computation
// (an exhausted heap) becomes a pending Java exception and onFailure is
// returned. No C++ exception crosses into the virtual machine.
template <typename R, typename Body>
R at_boundary(JNIEnv* env, R onFailure, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    if (!exception_pending(env))
      throw_out_of_memory(env, "native heap exhausted");
  } catch (...) {
    if (!exception_pending(env))
      throw_illegal_state(env, "native computation failed");
  }
  return onFailure;
}

}  // namespace varnoth_jni

#endif
