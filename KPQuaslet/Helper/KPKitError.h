// File: KPQuaslet/Helper/KPKitError.h
//
// The library's one error type: four cases, thrown as a value, caught by its own type
// and case or as any std::exception, and bridged to NSError with the domain
// "KPQuaslet.KPKitError" and the case's position as its code.
//
//   try { kp::KPSystemSound::playSound(path); }
//   catch (const kp::KPKitError& e) { e == kp::KPKitError::errorLoadingSound; ios::bridgeError(e).code; }  // 1
//   catch (const std::exception& e) { e.what(); }  // "errorLoadingSound"
//
// Each case (KPKitError::errorLoadingSound) is itself a KPKitError, so throwing a case
// throws the error; code() answers the case as an enum, for switch statements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <span>
#include <string>
#include <type_traits>

#include "platform/foundation/NSError.h"

namespace kp {

class KPKitError : public std::exception {
 public:
  // The cases, in order; the raw value is the case's position.
  enum class Code : std::int64_t {
    jsonSerialization = 0,
    errorLoadingSound = 1,
    pathNotExist = 2,
    pathNotAllowed = 3,
  };

  static const KPKitError jsonSerialization;
  static const KPKitError errorLoadingSound;
  static const KPKitError pathNotExist;
  static const KPKitError pathNotAllowed;

  explicit KPKitError(Code code) noexcept : code_(code) {}

  // The case.
  [[nodiscard]] Code code() const noexcept { return code_; }
  // The case name ("errorLoadingSound").
  [[nodiscard]] const char* what() const noexcept override;

  // Two errors are equal exactly when their cases are.
  friend bool operator==(const KPKitError& a, const KPKitError& b) noexcept { return a.code_ == b.code_; }

 private:
  Code code_;
};

// The bridged error domain: "KPQuaslet.KPKitError".
[[nodiscard]] std::string errorDomain(const KPKitError& error);
// The bridged error code: the case's position, 0 to 3.
[[nodiscard]] std::int64_t errorCode(const KPKitError& error);
// The case name ("pathNotAllowed"), as the value is printed.
[[nodiscard]] std::string ios_describe(const KPKitError& error);
[[nodiscard]] std::string ios_describe(KPKitError::Code code);
// The four cases, in order.
[[nodiscard]] std::span<const KPKitError> allCases(std::type_identity<KPKitError>);

}  // namespace kp

// Hashing by case.
template <>
struct std::hash<kp::KPKitError> {
  std::size_t operator()(const kp::KPKitError& error) const noexcept {
    return std::hash<std::int64_t>{}(static_cast<std::int64_t>(error.code()));
  }
};
