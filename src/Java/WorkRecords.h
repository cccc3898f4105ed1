// The work records of the Java calls, kept for reuse.
//
// A work record is 1.25 MiB of scratch. Allocated afresh for every call, it
// would come from the system as new pages and fault them in again each
// time; instead a released record is kept and lent to the next call. At most
// kKeptRecords are kept (as many as calls ran at the same time, up to that
// bound); one beyond them is freed when its call returns. The kept records
// are freed when the library is unloaded. No member needs initial contents
// (Varnoth_types.h), so a record is lent as it was left.
#ifndef VARNOTH_WORK_RECORDS_H
#define VARNOTH_WORK_RECORDS_H

#include "Varnoth_types.h"

namespace varnoth_jni {

constexpr int kKeptRecords = 16;

// A kept record, or a new one; null when the heap is exhausted.
VarnothStackData* borrow_work_record();

// Keeps SD for the next call, or frees it when kKeptRecords are kept.
// Null is harmless.
void return_work_record(VarnothStackData* SD);

// Owns one borrowed record and returns it on every path.
class LentWorkRecord {
 public:
  LentWorkRecord() : SD_(borrow_work_record()) {}
  ~LentWorkRecord() { return_work_record(SD_); }
  LentWorkRecord(const LentWorkRecord&) = delete;
  LentWorkRecord& operator=(const LentWorkRecord&) = delete;
  VarnothStackData* get() const { return SD_; }

 private:
  VarnothStackData* SD_;
};

}  // namespace varnoth_jni

#endif
