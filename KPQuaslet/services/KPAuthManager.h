// File: KPQuaslet/services/KPAuthManager.h
//
// Touch ID / Face ID authentication, with an optional device-passcode fallback, and the
// errors it reports.
//
//   kp::KPAuthManager::authenticateBioMetrics(
//       "", std::nullopt, std::nullopt, /*enablePasscode=*/true,
//       [] { /* on the main queue */ },
//       [](kp::LocalAuthError e) { show(kp::getErrorMessage(e)); });
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "platform/localauthentication/LAContext.h"

namespace kp {

enum class LocalAuthError {
  authStateChanged,
  userCancelled,
  failed,
  systemCancelled,
  biometryNotAvailable,
  biometryLockedOut,
  other,
};
// The seven cases, in declaration order.
[[nodiscard]] inline std::span<const LocalAuthError> allCases(std::type_identity<LocalAuthError>) {
  static constexpr LocalAuthError cases[] = {LocalAuthError::authStateChanged, LocalAuthError::userCancelled, LocalAuthError::failed, LocalAuthError::systemCancelled, LocalAuthError::biometryNotAvailable, LocalAuthError::biometryLockedOut, LocalAuthError::other};
  return cases;
}

// initError()
//
// The error for a platform error code: -1 failed, -2 userCancelled, -4 systemCancelled,
// -6 biometryNotAvailable, -8 biometryLockedOut, anything else other.
[[nodiscard]] LocalAuthError initError(const ios::LAError& error);

// getErrorMessage()
//
// The user-facing message for the error (Simplified Chinese; empty for the two
// cancellations).
[[nodiscard]] std::string getErrorMessage(LocalAuthError error);

// The case name ("userCancelled").
[[nodiscard]] std::string ios_describe(LocalAuthError error);

class KPAuthManager {
 public:
  // The shared manager, made on first use.
  static KPAuthManager& shared();

  // Whether biometrics alone can be evaluated now (true on fingerprint and face devices).
  [[nodiscard]] static bool canAuthWithTouchID();

  // Whether the owner can authenticate (biometry or passcode) and the biometry is a
  // face; always false below iOS 11.
  [[nodiscard]] bool canAuthWithFaceID() const;

  // authenticateBioMetrics()
  //
  // Asks the owner to authenticate. `reason` is shown; when empty, a default prompt for
  // the device's biometry is used (the lock-out text when the passcode fallback is on).
  // The fallback is on exactly when `enablePasscode` holds true; it asks for biometry or
  // passcode from iOS 9 on, and for biometry alone below. The fallback title is passed
  // on as given; the cancel title only from iOS 10 on. `success` runs on the main
  // queue; `failure` runs one main-queue turn later with the mapped error.
  static void authenticateBioMetrics(const std::string& reason, std::optional<std::string> cancelString,
                                     std::optional<std::string> fallbackString, std::optional<bool> enablePasscode,
                                     std::function<void()> success, std::function<void(LocalAuthError)> failure);

 private:
  KPAuthManager() = default;
};

}  // namespace kp
