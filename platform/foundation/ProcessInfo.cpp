#include "platform/foundation/ProcessInfo.h"

#include <errno.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <utility>

namespace ios {
namespace {

std::mutex& identityMutex() {
  static std::mutex m;
  return m;
}

std::optional<std::pair<std::string, std::int32_t>>& substitute() {
  static std::optional<std::pair<std::string, std::int32_t>> s;
  return s;
}

// The process identifier, asked of the system once (it is a system call) and again in
// a child made by fork().
std::atomic<pid_t> knownPid{0};

pid_t currentPid() {
  pid_t pid = knownPid.load(std::memory_order_relaxed);
  if (pid != 0) return pid;
  static std::once_flag forkHandler;
  std::call_once(forkHandler, [] {
    ::pthread_atfork(nullptr, nullptr, [] { knownPid.store(0, std::memory_order_relaxed); });
  });
  pid = ::getpid();
  knownPid.store(pid, std::memory_order_relaxed);
  return pid;
}

}  // namespace

ProcessInfo& ProcessInfo::processInfo() {
  static ProcessInfo info;
  return info;
}

std::string ProcessInfo::processName() const {
  {
    std::lock_guard lock(identityMutex());
    if (substitute()) return substitute()->first;
  }
  return program_invocation_short_name;
}

std::int32_t ProcessInfo::processIdentifier() const {
  {
    std::lock_guard lock(identityMutex());
    if (substitute()) return substitute()->second;
  }
  return static_cast<std::int32_t>(currentPid());
}

namespace testing {

ScopedProcessIdentity::ScopedProcessIdentity(std::string name, std::int32_t pid) {
  std::lock_guard lock(identityMutex());
  previous_ = std::exchange(substitute(), std::make_pair(std::move(name), pid));
}

ScopedProcessIdentity::~ScopedProcessIdentity() {
  std::lock_guard lock(identityMutex());
  substitute() = std::move(previous_);
}

void resetProcessIdentity() {
  std::lock_guard lock(identityMutex());
  substitute().reset();
}

}  // namespace testing
}  // namespace ios
