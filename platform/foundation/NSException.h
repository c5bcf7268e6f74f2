// File: platform/foundation/NSException.h
//
// The platform's exception: a name, an optional reason and optional user info, thrown
// as a C++ exception, with the call stack of the place it was raised; and the handler
// that receives an exception nobody catches before the process ends.
//
//   try {
//     ios::send<void>(object, ios::sel_registerName("missing"));
//   } catch (const ios::NSException& e) {
//     e.name();               // "NSInvalidArgumentException"
//     e.reason();             // "-[NSObject missing]: unrecognized selector sent to instance 0x..."
//     e.callStackSymbols();   // one line per frame, innermost first
//   }
//   ios::NSSetUncaughtExceptionHandler(&logCrash);  // logCrash(const ios::NSException&)
//
// Fidelity: an NSException is a C++ value thrown by value, not an object of the object
// runtime. The call stack is captured when the exception is made and again when
// raise() throws it; its lines are glibc's ("binary(ios::f()+0x1c) [0x...]", C++ names
// demangled), not the platform's columns. An NSException that leaves a thread uncaught
// reaches the installed handler on that thread, before the process ends (through the
// C++ terminate handler); pending user defaults are then written and the process aborts
// as before.
// Other C++ exceptions are not delivered to the handler.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/PropertyList.h"

namespace ios {

// The name of the exception raised for an invalid argument (for example a message no
// implementation answers).
inline constexpr const char* NSInvalidArgumentException = "NSInvalidArgumentException";
// The name of the exception raised when a program's own bookkeeping is inconsistent.
inline constexpr const char* NSInternalInconsistencyException = "NSInternalInconsistencyException";
// The name of the exception raised for a range or index outside its text or collection.
inline constexpr const char* NSRangeException = "NSRangeException";
// The name of a generic exception.
inline constexpr const char* NSGenericException = "NSGenericException";

class NSException : public std::exception {
 public:
  NSException(std::string name, std::optional<std::string> reason,
              std::optional<PropertyList::Dictionary> userInfo = std::nullopt);

  // The exception's name ("NSInvalidArgumentException").
  [[nodiscard]] const std::string& name() const noexcept { return name_; }
  // The reason given when it was raised, if any.
  [[nodiscard]] const std::optional<std::string>& reason() const noexcept { return reason_; }
  // The user info given when it was made, if any.
  [[nodiscard]] const std::optional<PropertyList::Dictionary>& userInfo() const noexcept { return userInfo_; }
  // The call stack where it was made or last raised, innermost frame first.
  [[nodiscard]] const std::vector<std::string>& callStackSymbols() const noexcept { return callStackSymbols_; }
  // The reason, or the name when there is none.
  [[nodiscard]] const char* what() const noexcept override {
    return reason_ ? reason_->c_str() : name_.c_str();
  }

  // Records the current call stack and throws the exception.
  [[noreturn]] void raise();
  [[noreturn]] void raise() const;

 private:
  std::string name_;
  std::optional<std::string> reason_;
  std::optional<PropertyList::Dictionary> userInfo_;
  std::vector<std::string> callStackSymbols_;
};

// The function an uncaught exception is handed to.
using NSUncaughtExceptionHandler = void(const NSException& exception);

// Installs `handler` (null removes it) for exceptions no code catches.
void NSSetUncaughtExceptionHandler(NSUncaughtExceptionHandler* handler);
// The installed handler, or null.
[[nodiscard]] NSUncaughtExceptionHandler* NSGetUncaughtExceptionHandler();

namespace testing {

// Removes the installed uncaught-exception handler.
void resetUncaughtExceptionHandler();

}  // namespace testing
}  // namespace ios
