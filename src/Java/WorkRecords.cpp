#include "Java/WorkRecords.h"

#include <mutex>
#include <new>

namespace varnoth_jni {
namespace {

// A fixed stack of kept records: pushing and popping never allocate, so
// returning a record cannot fail.
class KeptRecords {
 public:
  ~KeptRecords() {
    for (int i = 0; i < count_; i++) delete kept_[i];
  }

  VarnothStackData* pop() {
    std::lock_guard<std::mutex> hold(lock_);
    return count_ > 0 ? kept_[--count_] : nullptr;
  }

  // False when full: the caller frees the record.
  bool push(VarnothStackData* SD) {
    std::lock_guard<std::mutex> hold(lock_);
    if (count_ == kKeptRecords) return false;
    kept_[count_++] = SD;
    return true;
  }

 private:
  std::mutex lock_;
  VarnothStackData* kept_[kKeptRecords] = {};
  int count_ = 0;
};

KeptRecords& kept_records() {
  static KeptRecords records;
  return records;
}

}  // namespace

VarnothStackData* borrow_work_record() {
  VarnothStackData* SD = kept_records().pop();
  return SD != nullptr ? SD : new (std::nothrow) VarnothStackData;
}

void return_work_record(VarnothStackData* SD) {
  if (SD != nullptr && !kept_records().push(SD)) delete SD;
}

}  // namespace varnoth_jni
