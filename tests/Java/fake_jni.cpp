#include "fake_jni.h"

namespace fake_jni {

namespace {

template <typename T>
T* as(jobject o) {
  return dynamic_cast<T*>(obj(o));
}

jclass JNICALL FindClass(JNIEnv* env, const char* name) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  auto cls = std::make_unique<Class>();
  cls->name = name;
  jvm.new_local_ref();
  return reinterpret_cast<jclass>(jvm.adopt(std::move(cls)));
}

jint JNICALL ThrowNew(JNIEnv* env, jclass cls, const char* message) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  auto* c = as<Class>(cls);
  jvm.raise(c != nullptr ? c->name : "?", message != nullptr ? message : "");
  return 0;
}

jboolean JNICALL ExceptionCheck(JNIEnv* env) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call(true);
  return jvm.pending ? JNI_TRUE : JNI_FALSE;
}

void JNICALL ExceptionClear(JNIEnv* env) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call(true);
  jvm.pending = false;
}

void JNICALL DeleteLocalRef(JNIEnv* env, jobject o) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call(true);
  if (o != nullptr) jvm.delete_local_ref();
}

// Frames of local references: a new frame holds up to `capacity`
// references, and popping it deletes every reference made in it.
jint JNICALL PushLocalFrame(JNIEnv* env, jint capacity) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  jvm.frames.push_back(Jvm::Frame{capacity, 0});
  return JNI_OK;
}

jobject JNICALL PopLocalFrame(JNIEnv* env, jobject result) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call(true);
  if (jvm.frames.size() < 2) {
    jvm.violations++;  // no frame pushed
    return result;
  }
  jvm.liveLocalRefs -= jvm.frames.back().live;
  jvm.frames.pop_back();
  if (result != nullptr) jvm.new_local_ref();
  return result;
}

jsize JNICALL GetArrayLength(JNIEnv* env, jarray array) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  if (auto* d = as<DoubleArray>(array))
    return static_cast<jsize>(d->values.size());
  if (auto* a = as<ObjectArray>(array))
    return static_cast<jsize>(a->elements.size());
  jvm.violations++;  // null or not an array: HotSpot would crash
  return 0;
}

jobjectArray JNICALL NewObjectArray(JNIEnv* env, jsize length, jclass,
                                    jobject initial) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  auto a = std::make_unique<ObjectArray>();
  a->elements.assign(static_cast<size_t>(length), obj(initial));
  jvm.new_local_ref();
  return ref(jvm.adopt(std::move(a)));
}

jobject JNICALL GetObjectArrayElement(JNIEnv* env, jobjectArray array,
                                      jsize index) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  auto* a = as<ObjectArray>(array);
  if (a == nullptr) {
    jvm.violations++;
    return nullptr;
  }
  if (index < 0 || static_cast<size_t>(index) >= a->elements.size()) {
    jvm.raise("java/lang/ArrayIndexOutOfBoundsException", "index");
    return nullptr;
  }
  Object* e = a->elements[static_cast<size_t>(index)];
  if (e != nullptr) jvm.new_local_ref();
  if (jvm.afterGetElement) jvm.afterGetElement();
  return ref(e);
}

void JNICALL SetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index,
                                   jobject value) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  auto* a = as<ObjectArray>(array);
  if (a == nullptr) {
    jvm.violations++;
    return;
  }
  if (index < 0 || static_cast<size_t>(index) >= a->elements.size()) {
    jvm.raise("java/lang/ArrayIndexOutOfBoundsException", "index");
    return;
  }
  a->elements[static_cast<size_t>(index)] = obj(value);
}

jdoubleArray JNICALL NewDoubleArray(JNIEnv* env, jsize length) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  auto d = std::make_unique<DoubleArray>();
  d->values.assign(static_cast<size_t>(length), 0.0);
  jvm.new_local_ref();
  return ref(jvm.adopt(std::move(d)));
}

// Region copies check their bounds like the JVM's do.
DoubleArray* region(Jvm& jvm, jdoubleArray array, jsize start, jsize len) {
  auto* d = as<DoubleArray>(array);
  if (d == nullptr) {
    jvm.violations++;
    return nullptr;
  }
  if (start < 0 || len < 0 ||
      static_cast<size_t>(start) + static_cast<size_t>(len) >
          d->values.size()) {
    jvm.raise("java/lang/ArrayIndexOutOfBoundsException", "region");
    return nullptr;
  }
  return d;
}

void JNICALL GetDoubleArrayRegion(JNIEnv* env, jdoubleArray array, jsize start,
                                  jsize len, jdouble* buf) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  if (DoubleArray* d = region(jvm, array, start, len)) {
    for (jsize i = 0; i < len; i++)
      buf[i] = d->values[static_cast<size_t>(start + i)];
  }
}

void JNICALL SetDoubleArrayRegion(JNIEnv* env, jdoubleArray array, jsize start,
                                  jsize len, const jdouble* buf) {
  Jvm& jvm = Jvm::of(env);
  jvm.note_call();
  if (DoubleArray* d = region(jvm, array, start, len)) {
    for (jsize i = 0; i < len; i++)
      d->values[static_cast<size_t>(start + i)] = buf[i];
  }
}

void* JNICALL GetPrimitiveArrayCritical(JNIEnv* env, jarray array,
                                        jboolean* isCopy) {
  Jvm& jvm = Jvm::of(env);
  jvm.calls++;
  if (jvm.pending) jvm.violations++;
  auto* d = as<DoubleArray>(array);
  if (d == nullptr) {
    jvm.violations++;
    return nullptr;
  }
  if (jvm.holds++ == jvm.failHoldAt) {
    jvm.raise("java/lang/OutOfMemoryError", "critical");
    return nullptr;
  }
  if (isCopy != nullptr) *isCopy = JNI_TRUE;
  jvm.heldCopies.push_back(
      std::make_unique<Jvm::Hold>(Jvm::Hold{d, d->values}));
  jvm.held++;
  return jvm.heldCopies.back()->copy.data();
}

void JNICALL ReleasePrimitiveArrayCritical(JNIEnv* env, jarray array,
                                           void* elements, jint mode) {
  Jvm& jvm = Jvm::of(env);
  jvm.calls++;
  auto& out = jvm.heldCopies;
  for (auto it = out.begin(); it != out.end(); ++it) {
    if ((*it)->copy.data() != elements) continue;
    if (ref((*it)->array) != array) jvm.violations++;  // another array's
    if (mode == 0) (*it)->array->values = (*it)->copy;
    out.erase(it);
    jvm.held--;
    return;
  }
  jvm.violations++;  // never handed out, or released twice
}

}  // namespace

Jvm::Jvm() {
  table_.FindClass = FindClass;
  table_.ThrowNew = ThrowNew;
  table_.ExceptionCheck = ExceptionCheck;
  table_.ExceptionClear = ExceptionClear;
  table_.DeleteLocalRef = DeleteLocalRef;
  table_.PushLocalFrame = PushLocalFrame;
  table_.PopLocalFrame = PopLocalFrame;
  table_.GetArrayLength = GetArrayLength;
  table_.NewObjectArray = NewObjectArray;
  table_.GetObjectArrayElement = GetObjectArrayElement;
  table_.SetObjectArrayElement = SetObjectArrayElement;
  table_.NewDoubleArray = NewDoubleArray;
  table_.GetDoubleArrayRegion = GetDoubleArrayRegion;
  table_.SetDoubleArrayRegion = SetDoubleArrayRegion;
  table_.GetPrimitiveArrayCritical = GetPrimitiveArrayCritical;
  table_.ReleasePrimitiveArrayCritical = ReleasePrimitiveArrayCritical;
  env_.env.functions = &table_;
  env_.jvm = this;
}

Jvm& Jvm::of(JNIEnv* env) { return *reinterpret_cast<Env*>(env)->jvm; }

DoubleArray* Jvm::doubles(std::vector<double> values) {
  auto d = std::make_unique<DoubleArray>();
  d->values = std::move(values);
  return adopt(std::move(d));
}

ObjectArray* Jvm::objects(std::vector<Object*> elements) {
  auto a = std::make_unique<ObjectArray>();
  a->elements = std::move(elements);
  return adopt(std::move(a));
}

void Jvm::clear_observations() {
  pending = false;
  exceptionClass.clear();
  exceptionMessage.clear();
  violations = calls = liveLocalRefs = maxLiveLocalRefs = 0;
  frames.assign(1, Frame{kNativeFrameCapacity, 0});
  held = holds = 0;
  failHoldAt = -1;
}

void Jvm::raise(const std::string& cls, const std::string& message) {
  if (pending) violations++;  // throwing over a pending exception
  pending = true;
  exceptionClass = cls;
  exceptionMessage = message;
}

void Jvm::note_call(bool allowedWhilePending) {
  calls++;
  if (pending && !allowedWhilePending) violations++;
  if (held > 0) violations++;  // a JNI call while an array is held
}

void Jvm::new_local_ref() {
  liveLocalRefs++;
  if (liveLocalRefs > maxLiveLocalRefs) maxLiveLocalRefs = liveLocalRefs;
  Frame& frame = frames.back();
  if (++frame.live > frame.capacity) violations++;  // beyond the capacity
}

void Jvm::delete_local_ref() {
  liveLocalRefs--;
  if (frames.back().live > 0) frames.back().live--;
}

}  // namespace fake_jni
