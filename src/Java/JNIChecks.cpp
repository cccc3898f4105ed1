#include "Java/JNIChecks.h"

#include <cstdio>

namespace varnoth_jni {

namespace {

bool throw_new(JNIEnv* env, const char* className, const char* message) {
  jclass cls = env->FindClass(className);
  if (cls != nullptr) {  // otherwise FindClass has thrown already
    env->ThrowNew(cls, message);
    env->DeleteLocalRef(cls);
  }
  return false;
}

// Condition texts: "<name> != null", "<name>[<row>] != null", ...
struct Condition {
  char text[128];
};

Condition describe(const char* name, const char* rest) {
  Condition c;
  std::snprintf(c.text, sizeof c.text, "%s%s", name, rest);
  return c;
}

Condition describe_row(const char* name, jsize row, const char* rest) {
  Condition c;
  std::snprintf(c.text, sizeof c.text, "%s[%d]%s", name, static_cast<int>(row),
                rest);
  return c;
}

Condition describe_min_length(const char* name, const char* what,
                              jsize minLength) {
  Condition c;
  std::snprintf(c.text, sizeof c.text, "%s%s.length >= %d", name, what,
                static_cast<int>(minLength));
  return c;
}

bool check_not_null(JNIEnv* env, jobject object, const char* name) {
  if (object != nullptr) return true;
  return throw_null_pointer(env, describe(name, " != null").text);
}

}  // namespace

bool throw_illegal_argument(JNIEnv* env, const char* text) {
  return throw_new(env, "java/lang/IllegalArgumentException", text);
}

bool throw_null_pointer(JNIEnv* env, const char* text) {
  return throw_new(env, "java/lang/NullPointerException", text);
}

bool throw_out_of_memory(JNIEnv* env, const char* what) {
  return throw_new(env, "java/lang/OutOfMemoryError", what);
}

bool throw_illegal_state(JNIEnv* env, const char* what) {
  return throw_new(env, "java/lang/IllegalStateException", what);
}

bool check_image_row(JNIEnv* env, jobject row, jsize x, const char* name) {
  if (row == nullptr) {
    if (exception_pending(env)) return false;  // the fetch itself failed
    return throw_null_pointer(env, describe_row(name, x, " != null").text);
  }
  if (env->GetArrayLength(static_cast<jarray>(row)) != iSide) {
    return throw_illegal_argument(
        env, describe_row(name, x, ".length == iSide").text);
  }
  return true;
}

bool check_input_shape(JNIEnv* env, jobjectArray image, const char* name) {
  if (!check_not_null(env, image, name)) return false;
  const jsize len1 = env->GetArrayLength(image);
  if (len1 != iSide) return throw_illegal_argument(env, "len1 == iSide");
  jobject dim = env->GetObjectArrayElement(image, 0);
  if (exception_pending(env)) return false;
  if (dim == nullptr)
    return throw_null_pointer(env, describe_row(name, 0, " != null").text);
  const jsize len2 = env->GetArrayLength(static_cast<jarray>(dim));
  env->DeleteLocalRef(dim);
  if (len2 != iSide) return throw_illegal_argument(env, "len2 == iSide");
  return true;
}

bool check_output_shape(JNIEnv* env, jobjectArray image, const char* name) {
  if (!check_not_null(env, image, name)) return false;
  if (env->GetArrayLength(image) != iSide) {
    return throw_illegal_argument(env, describe(name, ".length == iSide").text);
  }
  return true;
}

bool check_array(JNIEnv* env, jarray array, jsize minLength, const char* name) {
  if (!check_not_null(env, array, name)) return false;
  if (env->GetArrayLength(array) < minLength) {
    return throw_illegal_argument(
        env, describe_min_length(name, "", minLength).text);
  }
  return true;
}

jdoubleArray take_row(JNIEnv* env, jobjectArray rows, jsize row,
                      const char* name) {
  jobject element = env->GetObjectArrayElement(rows, row);
  if (exception_pending(env)) return nullptr;
  if (element == nullptr) {
    throw_null_pointer(env, describe_row(name, row, " != null").text);
    return nullptr;
  }
  return static_cast<jdoubleArray>(element);
}

bool check_row_length(JNIEnv* env, jdoubleArray element, jsize row,
                      jsize minLength, const char* name) {
  if (env->GetArrayLength(element) >= minLength) return true;
  char rowName[16];
  std::snprintf(rowName, sizeof rowName, "[%d]", static_cast<int>(row));
  return throw_illegal_argument(
      env, describe_min_length(name, rowName, minLength).text);
}

}  // namespace varnoth_jni
