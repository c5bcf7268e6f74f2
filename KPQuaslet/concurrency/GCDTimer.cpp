#include "KPQuaslet/concurrency/GCDTimer.h"

#include <algorithm>

#include "KPQuaslet/Helper/KPFunctions.h"
#include "platform/dispatch/DispatchTime.h"
#include "platform/foundation/Precondition.h"

namespace kp {
namespace {

// The serial queue every GCDTimer ticks on, made on first use; it lives for the whole
// process.
const std::shared_ptr<ios::DispatchQueue>& gcdTimerQueue() {
  static auto* queue = new std::shared_ptr<ios::DispatchQueue>(ios::DispatchQueue::make("gcdTimerQueue"));
  return *queue;
}

// The repeat of a GCDTimer: whole seconds, truncated; a sub-second positive interval
// keeps its nanoseconds, so that it repeats instead of firing without pause.
ios::DispatchTimeInterval repeatInterval(double interval) {
  const std::int64_t wholeSeconds = ios::truncatingToInt64(interval);
  if (wholeSeconds == 0 && interval > 0) return ios::DispatchTimeInterval::nanoseconds(ios::secondsToNanoseconds(interval));
  return ios::DispatchTimeInterval::seconds(wholeSeconds);
}

}  // namespace

void GCDTimer::Once::doIt(const std::string& token, const std::function<void()>& block) {
  std::lock_guard lock(monitor_);
  if (containsLocked(token)) return;
  onceTracker_.push_back(token);
  block();
}

void GCDTimer::Once::reset(const std::string& token) {
  std::lock_guard lock(monitor_);
  auto it = std::find(onceTracker_.begin(), onceTracker_.end(), token);
  if (it != onceTracker_.end()) onceTracker_.erase(it);
}

bool GCDTimer::Once::containsLocked(const std::string& token) const {
  return std::find(onceTracker_.begin(), onceTracker_.end(), token) != onceTracker_.end();
}

GCDTimer::GCDTimer(double intervalInSecs)
    : timerSource_(ios::DispatchSourceTimer::makeTimerSource(gcdTimerQueue())), interval_(intervalInSecs) {}

std::shared_ptr<GCDTimer> GCDTimer::make(double intervalInSecs) {
  return std::shared_ptr<GCDTimer>(new GCDTimer(intervalInSecs));
}

GCDTimer::~GCDTimer() {
  std::lock_guard lock(once_.monitor_);
  if (!once_.containsLocked(kToken)) timerSource_->resume();
}

std::function<void()> GCDTimer::Event() const {
  std::lock_guard lock(eventMutex_);
  KP_PRECONDITION(event_ != nullptr, "GCDTimer's Event was read before it was set");
  return event_;
}

void GCDTimer::setEvent(std::function<void()> event) {
  KP_PRECONDITION(event != nullptr, "GCDTimer's Event must be a callable");
  const ios::DispatchTimeInterval repeating = repeatInterval(interval_);
  {
    std::lock_guard lock(eventMutex_);
    std::swap(event_, event);
  }
  timerSource_->schedule(ios::DispatchTime::now(), repeating, ios::DispatchTimeInterval::nanoseconds(0));
  installHandler();
}

void GCDTimer::installHandler() {
  timerSource_->setEventHandler([weak = weak_from_this()] {
    auto self = weak.lock();
    if (!self) return;
    std::function<void()> event;
    {
      std::lock_guard lock(self->eventMutex_);
      event = self->event_;
    }
    if (event) event();
  });
}

void GCDTimer::start() {
  once_.doIt(kToken, [this] { timerSource_->resume(); });
}

void GCDTimer::pause() {
  // Under the Once lock, so that a pause racing a start() never unbalances the source.
  std::lock_guard lock(once_.monitor_);
  if (!once_.containsLocked(kToken)) return;
  timerSource_->suspend();
  once_.reset(kToken);
}

void GCDTimer::delay(double seconds, std::function<void()> block) {
  KP::runThisAfterDelay(seconds, ios::DispatchQueue::main(), std::move(block));
}

void GCDTimer::delay(double seconds, const ios::DispatchQueue& queue, std::function<void()> block) {
  KP::runThisAfterDelay(seconds, queue, std::move(block));
}

}  // namespace kp
