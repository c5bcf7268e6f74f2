#include "platform/foundation/NSException.h"

#include <cxxabi.h>
#include <execinfo.h>

#include <atomic>
#include <cstdlib>
#include <memory>

#include "platform/foundation/UserDefaults.h"

namespace ios {
namespace {

constexpr int kMaximumFrames = 128;

// glibc's "binary(_ZN3ios4mainEv+0x1c) [0x...]" with the C++ name demangled.
std::string readableFrame(const char* frame) {
  std::string text(frame);
  const auto open = text.find('(');
  const auto plus = text.find('+', open == std::string::npos ? 0 : open);
  if (open == std::string::npos || plus == std::string::npos || text.compare(open + 1, 2, "_Z") != 0) return text;
  const std::string mangled = text.substr(open + 1, plus - open - 1);
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(mangled.c_str(), nullptr, nullptr, &status),
                                                    &std::free);
  if (status != 0 || !plain) return text;
  return text.substr(0, open + 1) + plain.get() + text.substr(plus);
}

std::vector<std::string> currentCallStack(int framesToSkip) {
  void* frames[kMaximumFrames];
  const int count = ::backtrace(frames, kMaximumFrames);
  std::vector<std::string> symbols;
  std::unique_ptr<char*, decltype(&std::free)> names(::backtrace_symbols(frames, count), &std::free);
  if (!names) return symbols;
  for (int i = framesToSkip; i < count; ++i) symbols.push_back(readableFrame(names.get()[i]));
  return symbols;
}

std::atomic<NSUncaughtExceptionHandler*> installedHandler{nullptr};
std::terminate_handler previousTerminate = nullptr;
thread_local bool deliveringUncaught = false;

[[noreturn]] void deliverUncaught() {
  if (!deliveringUncaught) {
    deliveringUncaught = true;
    if (std::exception_ptr pending = std::current_exception()) {
      try {
        std::rethrow_exception(pending);
      } catch (const NSException& exception) {
        if (NSUncaughtExceptionHandler* handler = installedHandler.load()) {
          try {
            handler(exception);
          } catch (...) {
            // The process is ending anyway; a throwing handler must not hide the first
            // exception.
          }
        }
      } catch (...) {
      }
    }
    try {
      UserDefaults::synchronizeAll();
    } catch (...) {
    }
  }
  if (previousTerminate) previousTerminate();
  std::abort();
}

}  // namespace

NSException::NSException(std::string name, std::optional<std::string> reason,
                         std::optional<PropertyList::Dictionary> userInfo)
    : name_(std::move(name)),
      reason_(std::move(reason)),
      userInfo_(std::move(userInfo)),
      callStackSymbols_(currentCallStack(1)) {}

void NSException::raise() {
  callStackSymbols_ = currentCallStack(1);
  throw *this;
}

void NSException::raise() const {
  NSException copy = *this;
  copy.callStackSymbols_ = currentCallStack(1);
  throw copy;
}

void NSSetUncaughtExceptionHandler(NSUncaughtExceptionHandler* handler) {
  static const bool terminateHookInstalled = [] {
    previousTerminate = std::set_terminate(&deliverUncaught);
    return true;
  }();
  (void)terminateHookInstalled;
  installedHandler.store(handler);
}

NSUncaughtExceptionHandler* NSGetUncaughtExceptionHandler() { return installedHandler.load(); }

namespace testing {

void resetUncaughtExceptionHandler() { installedHandler.store(nullptr); }

}  // namespace testing
}  // namespace ios
