#include "platform/localauthentication/LAContext.h"

#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace ios {
namespace {

struct Device {
  std::mutex mutex;
  LABiometryType biometry = LABiometryType::none;
  std::map<LAPolicy, std::optional<std::int64_t>> canEvaluate;
  std::optional<std::int64_t> outcome = LAError::biometryNotAvailable;
  bool holdReplies = false;
  std::deque<LAContext::Reply> held;
  std::vector<testing::BiometricDevice::Evaluation> evaluations;

  void reset() {
    biometry = LABiometryType::none;
    canEvaluate = {{LAPolicy::deviceOwnerAuthenticationWithBiometrics, LAError::biometryNotAvailable},
                   {LAPolicy::deviceOwnerAuthentication, LAError::passcodeNotSet}};
    outcome = LAError::biometryNotAvailable;
    holdReplies = false;
    held.clear();
    evaluations.clear();
  }
};

Device& device() {
  static Device* d = [] {
    auto* made = new Device;
    made->reset();
    return made;
  }();
  return *d;
}

void deliver(const LAContext::Reply& reply, std::optional<std::int64_t> outcome) {
  if (outcome) {
    reply(false, LAError{*outcome});
  } else {
    reply(true, std::nullopt);
  }
}

}  // namespace

std::shared_ptr<LAContext> LAContext::make() { return std::make_shared<LAContext>(); }

bool LAContext::canEvaluatePolicy(LAPolicy policy, LAError* error) const {
  auto& d = device();
  std::lock_guard lock(d.mutex);
  biometryType_ = d.biometry;
  const auto answer = d.canEvaluate[policy];
  if (answer && error) error->code = *answer;
  return !answer.has_value();
}

void LAContext::evaluatePolicy(LAPolicy policy, const std::string& localizedReason, Reply reply) {
  auto& d = device();
  std::optional<std::int64_t> outcome;
  {
    std::lock_guard lock(d.mutex);
    d.evaluations.push_back({policy, localizedReason, localizedFallbackTitle, localizedCancelTitle});
    if (d.holdReplies) {
      // The platform keeps the context until it replies.
      d.held.push_back([self = shared_from_this(), reply = std::move(reply)](bool ok, std::optional<LAError> e) {
        reply(ok, e);
      });
      return;
    }
    outcome = d.outcome;
  }
  std::thread([self = shared_from_this(), reply = std::move(reply), outcome] { deliver(reply, outcome); }).detach();
}

namespace testing {

void BiometricDevice::setBiometryType(LABiometryType type) {
  std::lock_guard lock(device().mutex);
  device().biometry = type;
}

void BiometricDevice::setCanEvaluate(LAPolicy policy, std::optional<std::int64_t> errorCode) {
  std::lock_guard lock(device().mutex);
  device().canEvaluate[policy] = errorCode;
}

void BiometricDevice::setEvaluationOutcome(std::optional<std::int64_t> errorCode, bool holdReplies) {
  std::lock_guard lock(device().mutex);
  device().outcome = errorCode;
  device().holdReplies = holdReplies;
}

bool BiometricDevice::replyToPending() {
  LAContext::Reply reply;
  std::optional<std::int64_t> outcome;
  {
    std::lock_guard lock(device().mutex);
    if (device().held.empty()) return false;
    reply = std::move(device().held.front());
    device().held.pop_front();
    outcome = device().outcome;
  }
  deliver(reply, outcome);
  return true;
}

std::vector<BiometricDevice::Evaluation> BiometricDevice::evaluations() {
  std::lock_guard lock(device().mutex);
  return device().evaluations;
}

void BiometricDevice::reset() {
  std::deque<LAContext::Reply> released;  // held replies (and their closures) end after the lock
  std::lock_guard lock(device().mutex);
  released.swap(device().held);
  device().reset();
}

}  // namespace testing
}  // namespace ios
