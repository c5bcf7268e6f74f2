#include "KPQuaslet/services/KPAuthManager.h"

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/uikit/UIDevice.h"

namespace kp {
namespace {

constexpr const char* kStateChanged = "你的设备验证信息已被重置";
constexpr const char* kNotAvailable = "你的设备上没有身份验证";
constexpr const char* kTouchIDLockedOut = "你的TouchID已锁定。你做了太多尝试，输入密码以解锁TouchID";
constexpr const char* kNotRecognised = "TouchID无法识别你的指纹，请再试一次";
constexpr const char* kTouchIDReason = "确认您的指纹进行身份验证。";
constexpr const char* kFaceIDReason = "确认你的面部进行身份验证。";
constexpr const char* kFaceIDLockedOut = "你的FaceID已锁定。你做了太多尝试，输入密码以解锁FaceID";

}  // namespace

LocalAuthError initError(const ios::LAError& error) {
  switch (error.code) {
    case ios::LAError::authenticationFailed: return LocalAuthError::failed;
    case ios::LAError::userCancel: return LocalAuthError::userCancelled;
    case ios::LAError::systemCancel: return LocalAuthError::systemCancelled;
    case ios::LAError::biometryNotAvailable: return LocalAuthError::biometryNotAvailable;
    case ios::LAError::biometryLockout: return LocalAuthError::biometryLockedOut;
    default: return LocalAuthError::other;
  }
}

std::string getErrorMessage(LocalAuthError error) {
  switch (error) {
    case LocalAuthError::authStateChanged: return kStateChanged;
    case LocalAuthError::biometryNotAvailable: return kNotAvailable;
    case LocalAuthError::biometryLockedOut: return kTouchIDLockedOut;
    case LocalAuthError::failed:
    case LocalAuthError::other: return kNotRecognised;
    case LocalAuthError::userCancelled:
    case LocalAuthError::systemCancelled: return "";
  }
  return "";
}

std::string ios_describe(LocalAuthError error) {
  switch (error) {
    case LocalAuthError::authStateChanged: return "authStateChanged";
    case LocalAuthError::userCancelled: return "userCancelled";
    case LocalAuthError::failed: return "failed";
    case LocalAuthError::systemCancelled: return "systemCancelled";
    case LocalAuthError::biometryNotAvailable: return "biometryNotAvailable";
    case LocalAuthError::biometryLockedOut: return "biometryLockedOut";
    case LocalAuthError::other: return "other";
  }
  notACase("LocalAuthError", static_cast<std::int64_t>(error));
}

KPAuthManager& KPAuthManager::shared() {
  static KPAuthManager manager;
  return manager;
}

bool KPAuthManager::canAuthWithTouchID() {
  ios::LAError error;
  return ios::LAContext::make()->canEvaluatePolicy(ios::LAPolicy::deviceOwnerAuthenticationWithBiometrics, &error);
}

bool KPAuthManager::canAuthWithFaceID() const {
  if (!ios::UIDevice::current().isSystemVersionAtLeast(11)) return false;
  auto context = ios::LAContext::make();
  return context->canEvaluatePolicy(ios::LAPolicy::deviceOwnerAuthentication, nullptr) &&
         context->biometryType() == ios::LABiometryType::faceID;
}

void KPAuthManager::authenticateBioMetrics(const std::string& reason, std::optional<std::string> cancelString,
                                           std::optional<std::string> fallbackString,
                                           std::optional<bool> enablePasscode, std::function<void()> success,
                                           std::function<void(LocalAuthError)> failure) {
  const bool passcodeFallback = enablePasscode.value_or(false);
  std::string prompt = reason;
  if (prompt.empty()) {
    const bool face = shared().canAuthWithFaceID();
    if (passcodeFallback) {
      prompt = face ? kFaceIDLockedOut : kTouchIDLockedOut;
    } else {
      prompt = face ? kFaceIDReason : kTouchIDReason;
    }
  }
  const auto& device = ios::UIDevice::current();
  auto context = ios::LAContext::make();
  context->localizedFallbackTitle = std::move(fallbackString);
  if (device.isSystemVersionAtLeast(10)) context->localizedCancelTitle = std::move(cancelString);
  const auto policy = passcodeFallback && device.isSystemVersionAtLeast(9)
                          ? ios::LAPolicy::deviceOwnerAuthentication
                          : ios::LAPolicy::deviceOwnerAuthenticationWithBiometrics;
  context->evaluatePolicy(policy, prompt,
                          [success = std::move(success), failure = std::move(failure)](
                              bool ok, std::optional<ios::LAError> error) {
                            ios::DispatchQueue::main().async([ok, error, success, failure] {
                              if (ok) {
                                success();
                                return;
                              }
                              ios::DispatchQueue::main().async([error, failure] {
                                // A failed reply without an error is reported as other.
                                failure(error ? initError(*error) : LocalAuthError::other);
                              });
                            });
                          });
}

}  // namespace kp
