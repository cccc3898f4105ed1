// The native methods through the fake JNI environment, on images of every
// shape the bytes describe (null, rows missing, rows too short or too long,
// outer arrays of other lengths) and with rows of the output arrays replaced
// between JNI calls, as another Java thread might, and rows that the virtual
// machine cannot hold for copying. Whatever happens: no fault under the
// sanitizers, no JNI rule broken, every local frame popped, no row left
// held; and a call that throws leaves every output array it was given
// unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "Varnoth_Varnoth.h"
#include "fake_jni.h"

using fake_jni::DoubleArray;
using fake_jni::ObjectArray;
using fake_jni::ref;

namespace {

// Reads the bytes as a sequence of small choices.
struct Choices {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  int next(int n) { return at < size ? data[at++] % n : 0; }
};

// An image of 128 x 128 values, or one of the malformed shapes.
ObjectArray* image(fake_jni::Jvm& jvm, Choices& c) {
  const int outer = c.next(8) == 0 ? 127 + c.next(3) : 128;
  ObjectArray* img = jvm.image(outer, 128, [](int x, int y) {
    return static_cast<double>((x * 31 + y * 17) % 255);
  });
  if (c.next(4) == 0) {
    const int x = c.next(outer);
    const int kind = c.next(3);
    if (kind == 0) img->elements[x] = nullptr;
    if (kind != 0)
      img->elements[x] = jvm.doubles(std::vector<double>(127 + kind, 1.0));
  }
  return img;
}

// Every value of every row an array holds, and of the rows themselves.
std::vector<double> values_of(fake_jni::Object* o) {
  std::vector<double> v;
  if (auto* d = dynamic_cast<DoubleArray*>(o)) return d->values;
  if (auto* a = dynamic_cast<ObjectArray*>(o)) {
    for (auto* row : a->elements) {
      if (auto* d = dynamic_cast<DoubleArray*>(row))
        v.insert(v.end(), d->values.begin(), d->values.end());
      v.push_back(-1.0);
    }
  }
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  fake_jni::Jvm jvm;
  JNIEnv* env = jvm.env();
  Choices c{data, size};
  const int method = c.next(6);
  ObjectArray* img = c.next(16) == 0 ? nullptr : image(jvm, c);
  ObjectArray* a = image(jvm, c);
  ObjectArray* b = image(jvm, c);
  DoubleArray* ps = jvm.doubles(std::vector<double>(64 + c.next(3), 3.0));
  ObjectArray* points =
      jvm.objects({jvm.doubles(std::vector<double>(c.next(70), 2.0)),
                   jvm.doubles(std::vector<double>(65, 2.0))});
  // Keep every row object the outputs start with: a failed call must leave
  // each of them as it was, wherever the other thread moves it (and the row
  // it puts in).
  std::vector<fake_jni::Object*> outputs = {ps};
  for (ObjectArray* o : {a, b, points})
    for (auto* row : o->elements) outputs.push_back(row);
  std::vector<std::vector<double>> before;
  for (auto* o : outputs) before.push_back(values_of(o));

  // The other thread: after the k-th element fetch, row x of an output
  // becomes null, too short, or a fresh good row.
  const int when = c.next(600);
  ObjectArray* target = c.next(3) == 0 ? points : (c.next(2) ? a : b);
  const int x = c.next(static_cast<int>(target->elements.size()));
  const int replacement = c.next(3);
  // Now and then the virtual machine cannot hold the k-th row for copying.
  jvm.failHoldAt = c.next(8) == 0 ? c.next(400) : -1;
  int fetches = 0;
  DoubleArray* put_in = nullptr;
  jvm.afterGetElement = [&] {
    if (fetches++ != when) return;
    if (replacement != 0)
      put_in =
          jvm.doubles(std::vector<double>(replacement == 1 ? 5 : 128, 9.0));
    target->elements[x] = put_in;
  };

  jclass cls = nullptr;
  switch (method) {
    case 0:
      Java_Varnoth_Varnoth_f_1ImageFFT(env, cls, ref(img), ref(a), ref(b));
      break;
    case 1:
      Java_Varnoth_Varnoth_f_1ImageFFTPowerPhase(env, cls, ref(img), ref(a),
                                                 ref(b));
      break;
    case 2:
      Java_Varnoth_Varnoth_f_1PSD_1Processing(env, cls, ref(img), ref(ps),
                                              ref(a), ref(b));
      break;
    case 3:
      Java_Varnoth_Varnoth_f_1PSD_1Processing_1FTOnly(env, cls, ref(img),
                                                      ref(a));
      break;
    case 4:
      Java_Varnoth_Varnoth_f_1PSD_1Processing_1PSOnly(env, cls, ref(img),
                                                      ref(ps));
      break;
    default:
      Java_Varnoth_Varnoth_f_1PlotSpectra_1GetChartInfo(
          env, cls, ref(ps), ref(jvm.doubles({0, 0, 0, 0})),
          ref(jvm.doubles({0, 0})), ref(jvm.doubles({0, 0})), ref(points));
      break;
  }
  jvm.afterGetElement = nullptr;
  if (jvm.violations != 0 || jvm.frames.size() != 1 || jvm.liveLocalRefs > 1 ||
      jvm.held != 0)
    std::abort();
  if (jvm.pending) {
    if (put_in != nullptr)
      for (double v : put_in->values)
        if (v != 9.0) std::abort();
    for (std::size_t i = 0; i < outputs.size(); i++) {
      if (values_of(outputs[i]) != before[i]) {  // written in part
        std::fprintf(stderr, "method %d threw %s (%s), output %zu written\n",
                     method, jvm.exceptionClass.c_str(),
                     jvm.exceptionMessage.c_str(), i);
        std::abort();
      }
    }
  }
  return 0;
}
