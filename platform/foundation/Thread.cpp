#include "platform/foundation/Thread.h"

#include <thread>

namespace ios {
namespace {

// Set while the library loads, which happens on the process's first thread.
const std::thread::id kMainThread = std::this_thread::get_id();

}  // namespace

bool Thread::isMainThread() { return std::this_thread::get_id() == kMainThread; }

}  // namespace ios
