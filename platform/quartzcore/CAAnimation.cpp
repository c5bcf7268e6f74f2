#include "platform/quartzcore/CAAnimation.h"

#include <algorithm>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/dispatch/DispatchTime.h"

namespace ios {

IOS_DEFINE_RUNTIME_CLASS(CAAnimation, "CAAnimation", nullptr)
IOS_DEFINE_RUNTIME_CLASS(CAPropertyAnimation, "CAPropertyAnimation", nullptr)
IOS_DEFINE_RUNTIME_CLASS(CABasicAnimation, "CABasicAnimation", nullptr)
IOS_DEFINE_RUNTIME_CLASS(CAKeyframeAnimation, "CAKeyframeAnimation", nullptr)

void CAAnimation::copyTimingTo(CAAnimation& other) const {
  other.duration = duration;
  other.beginTime = beginTime;
  other.repeatCount = repeatCount;
  other.autoreverses = autoreverses;
  other.isRemovedOnCompletion = isRemovedOnCompletion;
}

std::shared_ptr<CAAnimation> CAAnimation::copy() const {
  auto made = CAAnimation::make();
  copyTimingTo(*made);
  return made;
}

std::shared_ptr<CAAnimation> CAPropertyAnimation::copy() const {
  auto made = CAPropertyAnimation::make(keyPath);
  copyTimingTo(*made);
  return made;
}

std::shared_ptr<CAAnimation> CABasicAnimation::copy() const {
  auto made = CABasicAnimation::make(keyPath);
  copyTimingTo(*made);
  made->fromValue = fromValue;
  made->toValue = toValue;
  made->byValue = byValue;
  return made;
}

std::shared_ptr<CAAnimation> CAKeyframeAnimation::copy() const {
  auto made = CAKeyframeAnimation::make(keyPath);
  copyTimingTo(*made);
  made->values = values;
  made->keyTimes = keyTimes;
  return made;
}

namespace {

struct Transaction {
  std::function<void()> completion;
  bool disableActions = false;
  CFTimeInterval animationDuration = 0.25;
  CFTimeInterval longestAnimation = 0;
};

// Transactions are per thread, as the platform's are.
thread_local std::vector<Transaction> openTransactions;

}  // namespace

void CATransaction::begin() { openTransactions.emplace_back(); }

void CATransaction::commit() {
  if (openTransactions.empty()) return;
  Transaction done = std::move(openTransactions.back());
  openTransactions.pop_back();
  if (!openTransactions.empty()) {
    // A nested transaction hands its animations' time on to the enclosing one.
    Transaction& outer = openTransactions.back();
    outer.longestAnimation = std::max(outer.longestAnimation, done.longestAnimation);
    if (done.completion) {
      auto inner = std::move(done.completion);
      auto wait = done.longestAnimation;
      DispatchQueue::main().asyncAfter(DispatchTime::now() + wait, std::move(inner));
    }
    return;
  }
  if (done.completion) {
    DispatchQueue::main().asyncAfter(DispatchTime::now() + done.longestAnimation, std::move(done.completion));
  }
}

void CATransaction::setCompletionBlock(std::function<void()> block) {
  if (openTransactions.empty()) {
    // Outside an explicit transaction the block runs once the current turn is over.
    if (block) DispatchQueue::main().async(std::move(block));
    return;
  }
  openTransactions.back().completion = std::move(block);
}

bool CATransaction::disableActions() { return !openTransactions.empty() && openTransactions.back().disableActions; }

void CATransaction::setDisableActions(bool disable) {
  if (!openTransactions.empty()) openTransactions.back().disableActions = disable;
}

CFTimeInterval CATransaction::animationDuration() {
  return openTransactions.empty() ? 0.25 : openTransactions.back().animationDuration;
}

void CATransaction::setAnimationDuration(CFTimeInterval duration) {
  if (!openTransactions.empty()) openTransactions.back().animationDuration = duration;
}

namespace ca_internal {

void noteAnimationAdded(CFTimeInterval duration) {
  if (openTransactions.empty() || !(duration > 0)) return;
  Transaction& open = openTransactions.back();
  open.longestAnimation = std::max(open.longestAnimation, duration);
}

}  // namespace ca_internal
}  // namespace ios
