// File: platform/foundation/Thread.h
//
// Which thread is the main thread.
//
//   ios::Thread::isMainThread();  // true on the thread that loaded the platform
//
// Fidelity: the main thread is the one that initialised the platform library (the
// process's first thread); nothing else of the platform's thread class is here.
#pragma once

namespace ios {

class Thread {
 public:
  // Whether the calling thread is the main thread.
  [[nodiscard]] static bool isMainThread();
};

}  // namespace ios
