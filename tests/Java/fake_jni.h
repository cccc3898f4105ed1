// A JNI environment implemented in the test: Java arrays as C++ objects,
// exceptions as a pending record, and a count of live local references.
// It supports the functions the library calls and records every misuse
// that the JNI rules forbid (a call other than an exception query or
// DeleteLocalRef while an exception is pending, a null array passed to an
// array function), so tests can assert that the glue never breaks them.
#ifndef VARNOTH_TEST_FAKE_JNI_H
#define VARNOTH_TEST_FAKE_JNI_H

#include <jni.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fake_jni {

struct Object {
  virtual ~Object() = default;
};

struct Class : Object {
  std::string name;
};

struct DoubleArray : Object {
  std::vector<double> values;
};

struct ObjectArray : Object {
  std::vector<Object*> elements;
};

class Jvm {
 public:
  Jvm();
  Jvm(const Jvm&) = delete;
  Jvm& operator=(const Jvm&) = delete;

  JNIEnv* env() { return &env_.env; }
  static Jvm& of(JNIEnv* env);

  // Java-side construction (not counted as local references).
  DoubleArray* doubles(std::vector<double> values);
  ObjectArray* objects(std::vector<Object*> elements);
  // A rows x cols double[][] whose element [x][y] is f(x, y).
  template <typename F>
  ObjectArray* image(int rows, int cols, F f) {
    std::vector<Object*> r;
    for (int x = 0; x < rows; x++) {
      std::vector<double> v;
      for (int y = 0; y < cols; y++) v.push_back(f(x, y));
      r.push_back(doubles(v));
    }
    return objects(r);
  }
  ObjectArray* image(int rows, int cols, double value) {
    return image(rows, cols, [value](int, int) { return value; });
  }

  template <typename T>
  T* adopt(std::unique_ptr<T> object) {
    T* raw = object.get();
    heap_.push_back(std::move(object));
    return raw;
  }

  // State observed by the tests.
  bool pending = false;
  std::string exceptionClass;
  std::string exceptionMessage;
  int violations = 0;     // JNI rules broken by the caller
  int calls = 0;          // JNI functions called
  int liveLocalRefs = 0;  // local references handed out, not deleted
  int maxLiveLocalRefs = 0;
  // The frames of local references, the native method's own first: it may
  // hold 16 references, as JNI guarantees; PushLocalFrame adds a frame of
  // the capacity it asks for. A reference beyond its frame's capacity is a
  // violation.
  static constexpr int kNativeFrameCapacity = 16;
  struct Frame {
    int capacity;
    int live;
  };
  std::vector<Frame> frames{Frame{kNativeFrameCapacity, 0}};

  // Called after every GetObjectArrayElement, as another Java thread might
  // act between two JNI calls (replace rows of an array, say).
  std::function<void()> afterGetElement;

  // GetPrimitiveArrayCritical hands out a copy of the elements, as a
  // checking JVM does: written values reach the array only when released
  // with mode 0. While any array is held, every other JNI call is a
  // violation. The hold numbered failHoldAt (0 the first after
  // clear_observations) fails: null, with OutOfMemoryError pending.
  int held = 0;   // holds not yet released
  int holds = 0;  // holds asked for
  int failHoldAt = -1;
  struct Hold {
    DoubleArray* array;
    std::vector<double> copy;
  };
  std::vector<std::unique_ptr<Hold>> heldCopies;

  void clear_observations();
  void raise(const std::string& cls, const std::string& message);
  void note_call(bool allowedWhilePending = false);
  void new_local_ref();
  void delete_local_ref();

 private:
  struct Env {
    JNIEnv env;
    Jvm* jvm;
  };
  JNINativeInterface_ table_{};
  Env env_{};
  std::vector<std::unique_ptr<Object>> heap_;
};

inline jobject ref(Object* o) { return reinterpret_cast<jobject>(o); }
inline jobjectArray ref(ObjectArray* o) {
  return reinterpret_cast<jobjectArray>(o);
}
inline jdoubleArray ref(DoubleArray* o) {
  return reinterpret_cast<jdoubleArray>(o);
}
inline Object* obj(jobject o) { return reinterpret_cast<Object*>(o); }

}  // namespace fake_jni

#endif
