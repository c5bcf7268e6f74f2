// File: platform/localauthentication/LAContext.h
//
// Confirming the device owner by biometry or passcode.
//
//   auto context = ios::LAContext::make();
//   ios::LAError error;
//   if (context->canEvaluatePolicy(ios::LAPolicy::deviceOwnerAuthenticationWithBiometrics, &error)) {
//     context->evaluatePolicy(policy, "Unlock", [](bool ok, std::optional<ios::LAError> e) { ... });
//   }
//
// Fidelity: Linux has no biometric hardware, so the device is a script that tests (or
// an embedding application) set through ios::testing::BiometricDevice: the kind of
// biometry, whether each policy can be evaluated, and how an evaluation ends. By default
// the device has no biometry and no passcode: both policies report biometryNotAvailable
// (-6) and an evaluation fails with it. Evaluations reply on a thread of their own, never
// inside evaluatePolicy(); a scripted device may instead hold the reply until the test
// releases it (BiometricDevice::replyToPending), from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <string>

namespace ios {

enum class LAPolicy : std::int64_t {
  deviceOwnerAuthenticationWithBiometrics = 1,
  deviceOwnerAuthentication = 2,
};

enum class LABiometryType { none, touchID, faceID };

struct LAError {
  static constexpr std::int64_t authenticationFailed = -1;
  static constexpr std::int64_t userCancel = -2;
  static constexpr std::int64_t userFallback = -3;
  static constexpr std::int64_t systemCancel = -4;
  static constexpr std::int64_t passcodeNotSet = -5;
  static constexpr std::int64_t biometryNotAvailable = -6;
  static constexpr std::int64_t biometryNotEnrolled = -7;
  static constexpr std::int64_t biometryLockout = -8;

  std::int64_t code = 0;
};

class LAContext : public std::enable_shared_from_this<LAContext> {
 public:
  using Reply = std::function<void(bool success, std::optional<LAError> error)>;

  [[nodiscard]] static std::shared_ptr<LAContext> make();

  // The title of the fallback button (nothing: the platform's own title).
  std::optional<std::string> localizedFallbackTitle;
  // The title of the cancel button (nothing: the platform's own title).
  std::optional<std::string> localizedCancelTitle;

  // Whether `policy` can be evaluated now; otherwise false and `error` (when given) says why.
  bool canEvaluatePolicy(LAPolicy policy, LAError* error) const;
  // The device's biometry, known after canEvaluatePolicy() has been called.
  [[nodiscard]] LABiometryType biometryType() const { return biometryType_; }
  // Asks the owner to authenticate, showing `localizedReason`; `reply` comes later, on a
  // thread of the platform's.
  void evaluatePolicy(LAPolicy policy, const std::string& localizedReason, Reply reply);

 private:
  mutable LABiometryType biometryType_ = LABiometryType::none;
};

namespace testing {

// The scripted device behind every LAContext.
class BiometricDevice {
 public:
  struct Evaluation {
    LAPolicy policy;
    std::string reason;
    std::optional<std::string> fallbackTitle;
    std::optional<std::string> cancelTitle;
  };

  // The device's biometry.
  static void setBiometryType(LABiometryType type);
  // What canEvaluatePolicy() answers for `policy`: nothing for yes, else the error code.
  static void setCanEvaluate(LAPolicy policy, std::optional<std::int64_t> errorCode);
  // How evaluations end: success, or the error code. When `holdReplies` is true the
  // reply waits for replyToPending().
  static void setEvaluationOutcome(std::optional<std::int64_t> errorCode, bool holdReplies = false);
  // Replies to the oldest held evaluation with the scripted outcome, on the calling
  // thread. False when none is held.
  static bool replyToPending();
  // The evaluations requested so far, oldest first.
  [[nodiscard]] static std::vector<Evaluation> evaluations();
  // Back to the default device (no biometry, nothing can be evaluated).
  static void reset();
};

}  // namespace testing
}  // namespace ios
