// File: platform/runtime/Synchronization.h
//
// Per-object recursive monitors, as the platform's `@synchronized` uses them.
//
//   {
//     ios::SyncGuard guard(MyClass::classObject());   // objc_sync_enter
//     ...                                               // re-entrant on this thread
//   }                                                   // objc_sync_exit, even on throw
//
// A monitor is identified by the object's address and exists while some thread holds
// or waits for it. The thread that entered may enter again; other threads wait until
// it has exited as many times as it entered.
//
// Fidelity: kept are the return codes and that a null object does nothing. The
// platform's pool of lock records differs; monitors here are made on demand.
#pragma once

#include "platform/runtime/NSObject.h"

namespace ios {

// Results of objc_sync_enter() and objc_sync_exit().
enum : int {
  OBJC_SYNC_SUCCESS = 0,
  OBJC_SYNC_NOT_OWNING_THREAD_ERROR = -1,
};

// objc_sync_enter()
//
// Enters the monitor of `object`, waiting while another thread holds it. Answers
// OBJC_SYNC_SUCCESS; a null object does nothing.
int objc_sync_enter(const NSObject* object);

// objc_sync_exit()
//
// Leaves the monitor of `object` once. Answers OBJC_SYNC_SUCCESS, or
// OBJC_SYNC_NOT_OWNING_THREAD_ERROR (changing nothing) when this thread does not hold
// it. A null object does nothing.
int objc_sync_exit(const NSObject* object);

// SyncGuard
//
// Holds the monitor of an object for the guard's scope; the exit happens even when the
// scope is left by an exception.
class SyncGuard {
 public:
  explicit SyncGuard(const NSObject* object) : object_(object) { objc_sync_enter(object_); }
  ~SyncGuard() { objc_sync_exit(object_); }
  SyncGuard(const SyncGuard&) = delete;
  SyncGuard& operator=(const SyncGuard&) = delete;

 private:
  const NSObject* object_;
};

}  // namespace ios
