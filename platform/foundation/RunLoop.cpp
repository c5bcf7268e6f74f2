#include "platform/foundation/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>

#include "platform/dispatch/DispatchTime.h"
#include "platform/dispatch/internal/Engine.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/Thread.h"
#include "platform/runtime/Send.h"

namespace ios {

struct RunLoopWake {
  // A thread that stops or wakes this loop holds the mutex until it is done with the
  // condition; the loop's thread may end as soon as it sees the stop, so the last owner
  // takes the mutex once more before the condition goes away.
  ~RunLoopWake() { std::lock_guard lock(mutex); }

  std::mutex mutex;
  std::condition_variable cv;
  bool signalled = false;
};

CFAbsoluteTime CFAbsoluteTimeGetCurrent() { return clock::absoluteTime(); }

IOS_DEFINE_RUNTIME_CLASS(Timer, "NSTimer", nullptr)

std::shared_ptr<Timer> Timer::scheduledTimer(CFTimeInterval interval, id target, SEL selector, std::any userInfo,
                                             bool repeats) {
  KP_PRECONDITION(selector != nullptr, "a target-action timer needs a selector");
  const CFTimeInterval step = interval > 0 ? interval : 0.0001;
  auto timer = Timer::make(
      CFAbsoluteTimeGetCurrent() + step, repeats ? step : 0.0,
      [target = std::move(target), selector](Timer& fired) {
        send<void>(target, selector, std::static_pointer_cast<Timer>(fired.shared_from_this()));
      },
      std::move(userInfo));
  RunLoop::current().add(timer, kCFRunLoopDefaultMode);
  return timer;
}

std::shared_ptr<Timer> CFRunLoopTimerCreateWithHandler(CFAbsoluteTime fireDate, CFTimeInterval interval,
                                                       Timer::Handler handler) {
  return Timer::make(fireDate, interval, std::move(handler));
}

void Timer::invalidate() {
  std::shared_ptr<RunLoop> owner;  // null once the loop is gone: nothing to remove it from
  Handler released;
  std::any releasedInfo;
  {
    std::lock_guard lock(mutex_);
    if (!valid_) return;
    valid_ = false;
    owner = runLoop_.lock();
    released = std::move(handler_);
    releasedInfo = std::move(userInfo_);
    handler_ = nullptr;
    userInfo_.reset();
  }
  if (owner) owner->remove(this);
  // The handler and user info are destroyed here, outside every lock.
}

bool Timer::isValid() const {
  std::lock_guard lock(mutex_);
  return valid_;
}

CFAbsoluteTime Timer::fireDate() const {
  std::lock_guard lock(mutex_);
  return fireDate_;
}

std::any Timer::userInfo() const {
  std::lock_guard lock(mutex_);
  return userInfo_;
}

void Timer::fire() {
  auto self = shared_from_this();  // the handler may drop the last other reference
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    if (!valid_) return;
    handler = handler_;
  }
  if (handler) handler(*this);
  if (interval_ <= 0) invalidate();
}

RunLoop::RunLoop(Made, bool isMain) : isMain_(isMain), wake_(std::make_shared<RunLoopWake>()) {}

RunLoop& RunLoop::main() {
  static auto* loop = new std::shared_ptr<RunLoop>(std::make_shared<RunLoop>(Made{}, true));  // never destroyed
  return **loop;
}

RunLoop& RunLoop::current() {
  if (Thread::isMainThread()) return main();
  // Shared, so that timers can tell whether it still exists after the thread has ended.
  thread_local const std::shared_ptr<RunLoop> loop = std::make_shared<RunLoop>(Made{}, false);
  return *loop;
}

std::vector<RunLoopMode> RunLoop::expand(const RunLoopMode& mode) const {
  if (mode != kCFRunLoopCommonModes) return {mode};
  if (isMain_) return {kCFRunLoopDefaultMode, UITrackingRunLoopMode};
  return {kCFRunLoopDefaultMode};
}

void RunLoop::add(const std::shared_ptr<Timer>& timer, const RunLoopMode& mode) {
  if (!timer) return;
  {
    std::lock_guard timerLock(timer->mutex_);
    if (!timer->valid_) return;
    if (timer->added_) {
      // It belongs to the loop it was first added to; a loop that is gone is never this one.
      if (timer->runLoop_.lock().get() != this) return;
    } else {
      timer->added_ = true;
      timer->runLoop_ = weak_from_this();
    }
    for (const auto& m : expand(mode)) timer->modes_.insert(m);
  }
  {
    std::lock_guard lock(mutex_);
    if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) timers_.push_back(timer);
  }
  wake();  // a loop waiting for a later date must see the new timer
}

void RunLoop::wake() {
  if (isMain_) {
    // The main loop waits inside the main queue's wait.
    dispatch_internal::interruptMainQueue();
    return;
  }
  std::lock_guard lock(wake_->mutex);
  wake_->signalled = true;
  wake_->cv.notify_all();
}

void RunLoop::stop() {
  if (isMain_) {
    stopRequested_.store(true);
    wake();
    return;
  }
  // Set under the wake lock: the loop's thread cannot see the stop, end and take its
  // loop down before this thread has let go of the condition.
  std::lock_guard lock(wake_->mutex);
  stopRequested_.store(true);
  wake_->signalled = true;
  wake_->cv.notify_all();
}

void RunLoop::remove(Timer* timer) {
  std::shared_ptr<Timer> keep;  // released after the lock
  std::lock_guard lock(mutex_);
  auto it = std::find_if(timers_.begin(), timers_.end(), [&](const auto& t) { return t.get() == timer; });
  if (it != timers_.end()) {
    keep = std::move(*it);
    timers_.erase(it);
  }
}

std::size_t RunLoop::timerCount() const {
  std::lock_guard lock(mutex_);
  return timers_.size();
}

CFAbsoluteTime RunLoop::fireDue(const RunLoopMode& mode, CFAbsoluteTime limit, std::size_t& fired) {
  for (;;) {
    const CFAbsoluteTime now = CFAbsoluteTimeGetCurrent();
    std::shared_ptr<Timer> due;
    CFAbsoluteTime earliest = limit;
    {
      std::lock_guard lock(mutex_);
      for (const auto& timer : timers_) {
        std::lock_guard timerLock(timer->mutex_);
        if (!timer->valid_ || !timer->modes_.count(mode)) continue;
        if (timer->fireDate_ <= now) {
          if (!due || timer->fireDate_ < due->fireDate_) due = timer;
        } else {
          earliest = std::min(earliest, timer->fireDate_);
        }
      }
    }
    if (!due) return earliest;
    {
      std::lock_guard timerLock(due->mutex_);
      if (due->interval_ > 0) {
        // Next fire on the grid, after now: missed fires are skipped.
        const double missed = std::floor((now - due->fireDate_) / due->interval_) + 1;
        due->fireDate_ += missed * due->interval_;
      }
    }
    due->fire();
    ++fired;
    if (stopRequested_.load()) return earliest;  // the handler stopped the loop
  }
}

namespace {

// Whole nanoseconds from `now` to `until`, at least zero and at most a year.
std::uint64_t nanosecondsUntil(CFAbsoluteTime until, CFAbsoluteTime now) {
  const double wait = std::clamp(until - now, 0.0, 86400.0 * 365);
  return static_cast<std::uint64_t>(std::ceil(wait * 1e9));
}

}  // namespace

CFRunLoopRunResult RunLoop::runUntil(const RunLoopMode& mode, CFAbsoluteTime limit, bool returnAfterHandled) {
  const bool forever = limit >= Date::distantFuture().timeIntervalSinceReferenceDate();
  for (;;) {
    if (stopRequested_.exchange(false)) return kCFRunLoopRunStopped;
    std::size_t handled = 0;
    const CFAbsoluteTime next = fireDue(mode, limit, handled);
    if (stopRequested_.exchange(false)) return kCFRunLoopRunStopped;
    const CFAbsoluteTime now = CFAbsoluteTimeGetCurrent();
    if (now >= limit) {
      if (isMain_) handled += dispatch_internal::runMainQueue(0);  // what is waiting, without waiting
      if (stopRequested_.exchange(false)) return kCFRunLoopRunStopped;
      return returnAfterHandled && handled > 0 ? kCFRunLoopRunHandledSource : kCFRunLoopRunTimedOut;
    }
    if (returnAfterHandled && handled > 0) return kCFRunLoopRunHandledSource;
    std::uint64_t waitNanoseconds = nanosecondsUntil(std::min(next, limit), now);
    if (dispatch_internal::isManualMode()) {
      // One thread: move the manual clock to the next event (a timer of this loop, a
      // dispatch deadline, or the limit), running what comes due, then look again.
      const std::size_t ranNow = dispatch_internal::runPending();  // what is waiting runs before the clock moves
      handled += ranNow;
      if (ranNow == 0) {
        const std::uint64_t uptime = clock::uptimeNanoseconds();
        const std::uint64_t engineNext = dispatch_internal::nextTimerDeadline();
        if (forever && next >= limit && engineNext == UINT64_MAX) return kCFRunLoopRunFinished;  // nothing could stop it
        if (engineNext != UINT64_MAX) {
          waitNanoseconds = std::min(waitNanoseconds, engineNext > uptime ? engineNext - uptime : 0);
        }
        handled += dispatch_internal::advance(waitNanoseconds);
      }
    } else if (isMain_) {
      handled += dispatch_internal::runMainQueue(clock::uptimeNanoseconds() + waitNanoseconds, returnAfterHandled);
    } else {
      std::unique_lock lock(wake_->mutex);
      wake_->cv.wait_for(lock, std::chrono::nanoseconds(waitNanoseconds), [&] { return wake_->signalled; });
      wake_->signalled = false;
    }
    if (returnAfterHandled && handled > 0) {
      return stopRequested_.exchange(false) ? kCFRunLoopRunStopped : kCFRunLoopRunHandledSource;
    }
  }
}

void RunLoop::run(const RunLoopMode& mode, Date limit) { runUntil(mode, limit.timeIntervalSinceReferenceDate(), false); }

bool RunLoop::runOnce(const RunLoopMode& mode, Date before) {
  return runUntil(mode, before.timeIntervalSinceReferenceDate(), true) == kCFRunLoopRunHandledSource;
}

CFRunLoopRunResult CFRunLoopRunInMode(const RunLoopMode& mode, CFTimeInterval seconds, bool returnAfterSourceHandled) {
  const CFAbsoluteTime limit =
      std::isnan(seconds) ? CFAbsoluteTimeGetCurrent() : CFAbsoluteTimeGetCurrent() + std::max(seconds, 0.0);
  return RunLoop::current().runUntil(mode, limit, returnAfterSourceHandled);
}

}  // namespace ios
