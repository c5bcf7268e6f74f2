// File: platform/foundation/NSException.h
//
// The platform's exception: a name and an optional reason, thrown as a C++ exception.
//
//   try {
//     ios::send<void>(object, ios::sel_registerName("missing"));
//   } catch (const ios::NSException& e) {
//     e.name();     // "NSInvalidArgumentException"
//     e.reason();   // "-[NSObject missing]: unrecognized selector sent to instance 0x..."
//   }
//
// Fidelity: an NSException is a C++ value thrown by value, not an object of the object
// runtime; user info, call-stack symbols and the uncaught-exception handler are absent.
#pragma once

#include <exception>
#include <optional>
#include <string>

namespace ios {

// The name of the exception raised for an invalid argument (for example a message no
// implementation answers).
inline constexpr const char* NSInvalidArgumentException = "NSInvalidArgumentException";
// The name of the exception raised when a program's own bookkeeping is inconsistent.
inline constexpr const char* NSInternalInconsistencyException = "NSInternalInconsistencyException";

class NSException : public std::exception {
 public:
  NSException(std::string name, std::optional<std::string> reason)
      : name_(std::move(name)), reason_(std::move(reason)) {}

  // The exception's name ("NSInvalidArgumentException").
  [[nodiscard]] const std::string& name() const noexcept { return name_; }
  // The reason given when it was raised, if any.
  [[nodiscard]] const std::optional<std::string>& reason() const noexcept { return reason_; }
  // The reason, or the name when there is none.
  [[nodiscard]] const char* what() const noexcept override {
    return reason_ ? reason_->c_str() : name_.c_str();
  }

  // Throws the exception.
  [[noreturn]] void raise() const { throw *this; }

 private:
  std::string name_;
  std::optional<std::string> reason_;
};

}  // namespace ios
