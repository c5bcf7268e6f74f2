#include "KPQuaslet/concurrency/KPTimer.h"

#include <unordered_map>
#include <utility>

#include "platform/foundation/Precondition.h"

namespace kp {
namespace {

// The pending source of each throttle identifier. Calls and handlers on any thread
// share it, so it is only touched under its lock.
struct ThrottleTable {
  std::mutex mutex;
  std::unordered_map<std::string, std::shared_ptr<ios::DispatchSourceTimer>> timers;
};

ThrottleTable& throttleTable() {
  static auto* table = new ThrottleTable;  // lives for the whole process, like the sources in it
  return *table;
}

}  // namespace

// ---- KPTimer --------------------------------------------------------------------------

KPTimer::KPTimer(bool repeats, Handler handler, std::shared_ptr<ios::DispatchQueue> queue)
    : internalTimer_(ios::DispatchSourceTimer::makeTimerSource(std::move(queue))),
      repeats_(repeats),
      handler_(std::move(handler)) {}

std::shared_ptr<KPTimer> KPTimer::make(ios::DispatchTimeInterval interval, bool repeats,
                                       std::shared_ptr<ios::DispatchQueue> queue, Handler handler) {
  KP_PRECONDITION(handler != nullptr, "a KPTimer needs a handler");
  std::shared_ptr<KPTimer> timer(new KPTimer(repeats, handler, std::move(queue)));
  timer->installHandler(std::move(handler));
  timer->internalTimer_->schedule(ios::DispatchTime::now() + interval,
                                  repeats ? interval : ios::DispatchTimeInterval::never(),
                                  ios::DispatchTimeInterval::nanoseconds(0));
  return timer;
}

std::shared_ptr<KPTimer> KPTimer::repeaticTimer(ios::DispatchTimeInterval interval,
                                                std::shared_ptr<ios::DispatchQueue> queue, Handler handler) {
  return make(interval, true, std::move(queue), std::move(handler));
}

KPTimer::~KPTimer() {
  std::lock_guard lock(mutex_);
  if (!isRunning_) internalTimer_->resume();  // a suspended source must not be released
}

void KPTimer::installHandler(Handler handler) {
  internalTimer_->setEventHandler([weak = weak_from_this(), handler = std::move(handler)] {
    if (auto self = weak.lock()) handler(*self);
  });
}

void KPTimer::fire() {
  // The handler may drop the last other reference to this timer ("done, forget it"):
  // the timer stays alive until the call is over.
  const std::shared_ptr<KPTimer> self = shared_from_this();
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    handler = handler_;
  }
  handler(*this);
  if (!repeats_) internalTimer_->cancel();
}

void KPTimer::start() {
  std::lock_guard lock(mutex_);
  if (isRunning_) return;
  internalTimer_->resume();
  isRunning_ = true;
}

void KPTimer::suspend() {
  std::lock_guard lock(mutex_);
  if (!isRunning_) return;
  internalTimer_->suspend();
  isRunning_ = false;
}

void KPTimer::rescheduleRepeating(ios::DispatchTimeInterval interval) {
  if (!repeats_) return;
  internalTimer_->schedule(ios::DispatchTime::now() + interval, interval, ios::DispatchTimeInterval::nanoseconds(0));
}

void KPTimer::rescheduleHandler(Handler handler) {
  KP_PRECONDITION(handler != nullptr, "a KPTimer needs a handler");
  {
    std::lock_guard lock(mutex_);
    handler_ = handler;
  }
  installHandler(std::move(handler));
}

void KPTimer::throttle(ios::DispatchTimeInterval interval, const std::string& identifier,
                       std::shared_ptr<ios::DispatchQueue> queue, std::function<void()> handler) {
  KP_PRECONDITION(handler != nullptr, "throttle needs a handler");
  auto source = ios::DispatchSourceTimer::makeTimerSource(std::move(queue));
  source->schedule(ios::DispatchTime::now() + interval, ios::DispatchTimeInterval::never(),
                   ios::DispatchTimeInterval::nanoseconds(0));
  // The handler keeps its source until it has run (cancelling the source then releases
  // the handler, and with it this reference).
  source->setEventHandler([source, identifier, handler = std::move(handler)] {
    handler();
    source->cancel();
    std::shared_ptr<ios::DispatchSourceTimer> entry;  // released after the lock
    auto& table = throttleTable();
    std::lock_guard lock(table.mutex);
    auto it = table.timers.find(identifier);
    // A newer call may have replaced this source meanwhile: its entry stays.
    if (it != table.timers.end() && it->second == source) {
      entry = std::move(it->second);
      table.timers.erase(it);
    }
  });
  std::shared_ptr<ios::DispatchSourceTimer> previous;  // released after the lock
  auto& table = throttleTable();
  std::lock_guard lock(table.mutex);
  auto& slot = table.timers[identifier];
  if (slot) slot->cancel();
  source->resume();
  previous = std::exchange(slot, std::move(source));
}

// ---- KPCountDownTimer -----------------------------------------------------------------

KPCountDownTimer::KPCountDownTimer(std::int64_t times, Handler handler)
    : leftTimes_(times), originalTimes_(times), handler_(std::move(handler)) {}

std::shared_ptr<KPCountDownTimer> KPCountDownTimer::make(ios::DispatchTimeInterval interval, std::int64_t times,
                                                         std::shared_ptr<ios::DispatchQueue> queue, Handler handler) {
  KP_PRECONDITION(handler != nullptr, "a KPCountDownTimer needs a handler");
  std::shared_ptr<KPCountDownTimer> countDown(new KPCountDownTimer(times, std::move(handler)));
  countDown->internalTimer_ = KPTimer::repeaticTimer(interval, std::move(queue), [](KPTimer&) {});
  countDown->internalTimer_->rescheduleHandler([weak = countDown->weak_from_this()](KPTimer& timer) {
    auto self = weak.lock();
    if (!self) return;
    const std::int64_t left = self->leftTimes_.load();
    if (left > 0) {
      self->leftTimes_.store(left - 1);
      self->handler_(*self, left - 1);
    } else {
      timer.suspend();
    }
  });
  return countDown;
}

void KPCountDownTimer::start() { internalTimer_->start(); }

void KPCountDownTimer::suspend() { internalTimer_->suspend(); }

void KPCountDownTimer::reCountDown() { leftTimes_.store(originalTimes_); }

// ---- Dispatch times from seconds ------------------------------------------------------

ios::DispatchTimeInterval fromSeconds(double seconds) {
  return ios::DispatchTimeInterval::nanoseconds(ios::secondsToNanoseconds(seconds));
}

ios::DispatchTime makeDispatchTimeIntegerLiteral(std::int64_t value) {
  return ios::DispatchTime::now() + ios::DispatchTimeInterval::seconds(value);
}

ios::DispatchTime makeDispatchTimeFloatLiteral(double value) {
  return ios::DispatchTime::now() + ios::DispatchTimeInterval::milliseconds(ios::truncatingToInt64(value * 1000));
}

namespace literals {

ios::DispatchTime operator""_dt(unsigned long long seconds) {
  KP_PRECONDITION(seconds <= static_cast<unsigned long long>(INT64_MAX), "an integer literal must fit in Int");
  return makeDispatchTimeIntegerLiteral(static_cast<std::int64_t>(seconds));
}

ios::DispatchTime operator""_dt(long double seconds) {
  // The literal's value as a double first, then x 1000, as for a Double literal.
  return makeDispatchTimeFloatLiteral(static_cast<double>(seconds));
}

}  // namespace literals
}  // namespace kp
