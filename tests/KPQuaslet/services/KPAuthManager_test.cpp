#include "KPQuaslet/services/KPAuthManager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/Describe.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIDevice.h"

namespace {

using kp::KPAuthManager;
using kp::LocalAuthError;
using Device = ios::testing::BiometricDevice;

TEST(LocalAuthError, CodesMapToCasesAndMessages) {
  const struct {
    std::int64_t code;
    LocalAuthError error;
    const char* message;
  } rows[] = {
      {-1, LocalAuthError::failed, "TouchID无法识别你的指纹，请再试一次"},
      {-2, LocalAuthError::userCancelled, ""},
      {-4, LocalAuthError::systemCancelled, ""},
      {-6, LocalAuthError::biometryNotAvailable, "你的设备上没有身份验证"},
      {-8, LocalAuthError::biometryLockedOut, "你的TouchID已锁定。你做了太多尝试，输入密码以解锁TouchID"},
      {-7, LocalAuthError::other, "TouchID无法识别你的指纹，请再试一次"},
      {-3, LocalAuthError::other, "TouchID无法识别你的指纹，请再试一次"},
      {0, LocalAuthError::other, "TouchID无法识别你的指纹，请再试一次"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(kp::initError(ios::LAError{row.code}), row.error) << row.code;
    EXPECT_EQ(kp::getErrorMessage(row.error), row.message) << row.code;
  }
  EXPECT_EQ(kp::getErrorMessage(LocalAuthError::authStateChanged), "你的设备验证信息已被重置");
}

class KPAuthManagerTest : public ios::testing::PlatformFixture {
 protected:
  void faceDevice() {
    Device::setBiometryType(ios::LABiometryType::faceID);
    Device::setCanEvaluate(ios::LAPolicy::deviceOwnerAuthenticationWithBiometrics, std::nullopt);
    Device::setCanEvaluate(ios::LAPolicy::deviceOwnerAuthentication, std::nullopt);
  }
  void fingerprintDevice() {
    faceDevice();
    Device::setBiometryType(ios::LABiometryType::touchID);
  }
  // Starts an authentication whose reply the test releases, and records what reaches
  // the main queue, in order, around a marker block queued right after the reply.
  void authenticate(const std::string& reason, std::optional<bool> enablePasscode) {
    Device::setEvaluationOutcome(outcome_, /*holdReplies=*/true);
    KPAuthManager::authenticateBioMetrics(
        reason, std::string("Not now"), std::nullopt, enablePasscode, [this] { log_.push_back("success"); },
        [this](LocalAuthError e) { log_.push_back("failure " + ios::describe(e)); });
    std::thread platform([] { ASSERT_TRUE(Device::replyToPending()); });
    platform.join();
    ios::DispatchQueue::main().async([this] { log_.push_back("marker"); });
    dispatch_.runPending();
  }

  ios::testing::ManualDispatch dispatch_;
  std::optional<std::int64_t> outcome_;
  std::vector<std::string> log_;
};

TEST_F(KPAuthManagerTest, WhatTheDeviceSupports) {
  EXPECT_FALSE(KPAuthManager::canAuthWithTouchID()) << "no biometry by default";
  fingerprintDevice();
  EXPECT_TRUE(KPAuthManager::canAuthWithTouchID());
  EXPECT_FALSE(KPAuthManager::shared().canAuthWithFaceID());
  faceDevice();
  EXPECT_TRUE(KPAuthManager::canAuthWithTouchID());
  EXPECT_TRUE(KPAuthManager::shared().canAuthWithFaceID());
  Device::setCanEvaluate(ios::LAPolicy::deviceOwnerAuthentication, ios::LAError::passcodeNotSet);
  EXPECT_FALSE(KPAuthManager::shared().canAuthWithFaceID());
}

TEST_F(KPAuthManagerTest, DefaultPromptsAndPolicies) {
  const struct {
    bool face;
    std::optional<bool> passcode;
    const char* prompt;
    ios::LAPolicy policy;
  } rows[] = {
      {true, false, "确认你的面部进行身份验证。", ios::LAPolicy::deviceOwnerAuthenticationWithBiometrics},
      {true, std::nullopt, "确认你的面部进行身份验证。", ios::LAPolicy::deviceOwnerAuthenticationWithBiometrics},
      {true, true, "你的FaceID已锁定。你做了太多尝试，输入密码以解锁FaceID", ios::LAPolicy::deviceOwnerAuthentication},
      {false, false, "确认您的指纹进行身份验证。", ios::LAPolicy::deviceOwnerAuthenticationWithBiometrics},
      {false, true, "你的TouchID已锁定。你做了太多尝试，输入密码以解锁TouchID", ios::LAPolicy::deviceOwnerAuthentication},
  };
  for (const auto& row : rows) {
    row.face ? faceDevice() : fingerprintDevice();
    authenticate("", row.passcode);
  }
  const auto evaluations = Device::evaluations();
  ASSERT_EQ(evaluations.size(), std::size(rows));
  for (std::size_t i = 0; i < evaluations.size(); ++i) {
    EXPECT_EQ(evaluations[i].reason, rows[i].prompt) << i;
    EXPECT_EQ(evaluations[i].policy, rows[i].policy) << i;
    EXPECT_EQ(evaluations[i].cancelTitle, "Not now");
    EXPECT_EQ(evaluations[i].fallbackTitle, std::nullopt);
  }
}

// The system version gates: no face check below 11, no cancel title below 10, and the
// passcode fallback asks for biometry alone below 9.
TEST_F(KPAuthManagerTest, OlderSystemsGateFaceIDTheCancelTitleAndThePasscodePolicy) {
  const struct {
    const char* version;
    bool faceID;
    std::optional<std::string> cancelTitle;
    ios::LAPolicy withPasscode;
  } rows[] = {
      {"14.0", true, "Not now", ios::LAPolicy::deviceOwnerAuthentication},
      {"11.0", true, "Not now", ios::LAPolicy::deviceOwnerAuthentication},
      {"10.3.1", false, "Not now", ios::LAPolicy::deviceOwnerAuthentication},
      {"10.0", false, "Not now", ios::LAPolicy::deviceOwnerAuthentication},
      {"9.3", false, std::nullopt, ios::LAPolicy::deviceOwnerAuthentication},
      {"9.0", false, std::nullopt, ios::LAPolicy::deviceOwnerAuthentication},
      {"8.4", false, std::nullopt, ios::LAPolicy::deviceOwnerAuthenticationWithBiometrics},
  };
  faceDevice();
  for (const auto& row : rows) {
    ios::testing::DeviceSettings::setSystemVersion(row.version);
    EXPECT_EQ(KPAuthManager::shared().canAuthWithFaceID(), row.faceID) << row.version;
    authenticate("", true);
    const auto evaluation = Device::evaluations().back();
    EXPECT_EQ(evaluation.cancelTitle, row.cancelTitle) << row.version;
    EXPECT_EQ(evaluation.policy, row.withPasscode) << row.version;
    // Without a face check the default prompt is the fingerprint one.
    EXPECT_EQ(evaluation.reason, row.faceID ? "你的FaceID已锁定。你做了太多尝试，输入密码以解锁FaceID"
                                             : "你的TouchID已锁定。你做了太多尝试，输入密码以解锁TouchID")
        << row.version;
  }
}

TEST_F(KPAuthManagerTest, TheCallersReasonWins) {
  faceDevice();
  authenticate("Pay 5 yuan", true);
  EXPECT_EQ(Device::evaluations().at(0).reason, "Pay 5 yuan");
}

TEST_F(KPAuthManagerTest, SuccessTakesOneMainQueueTurnAndFailureTwo) {
  fingerprintDevice();
  outcome_ = std::nullopt;
  authenticate("r", false);
  EXPECT_THAT(log_, ::testing::ElementsAre("success", "marker"));
  log_.clear();
  outcome_ = ios::LAError::userCancel;
  authenticate("r", false);
  EXPECT_THAT(log_, ::testing::ElementsAre("marker", "failure userCancelled"));
}

}  // namespace
