// File: platform/foundation/Precondition.h
//
// Fatal stops. Where the platform's language traps (integer overflow, an index the
// caller promised was valid, NaN converted to an integer), code built on this layer
// stops the process with a message instead of running into undefined behaviour.
// The check is kept in release builds.
//
//   KP_PRECONDITION(count >= 1, "count must be at least 1");
//   ios::fatalError("TODO left in code");
#pragma once

#include <cstdint>
#include <string_view>

namespace ios {

// fatalError()
//
// Writes "Fatal error: " and `message` to standard error, then aborts the process.
[[noreturn]] void fatalError(std::string_view message);

// preconditionFailure()
//
// Writes "Precondition failed: " and `message`, with the source location, to standard
// error, then aborts the process.
[[noreturn]] void preconditionFailure(std::string_view message, const char* file, int line);

// truncatingToInt64()
//
// `value` truncated toward zero, as a signed 64-bit integer (the platform's Int(Double)).
// Stops the process when `value` is NaN or infinite, or when the result does not fit.
[[nodiscard]] std::int64_t truncatingToInt64(double value);

}  // namespace ios

// KP_PRECONDITION(cond, message)
//
// Stops the process through ios::preconditionFailure() when `cond` is false.
#define KP_PRECONDITION(cond, message)                                       \
  do {                                                                        \
    if (!(cond)) [[unlikely]] {                                               \
      ::ios::preconditionFailure((message), __FILE__, __LINE__);              \
    }                                                                         \
  } while (false)
