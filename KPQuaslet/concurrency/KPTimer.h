// File: KPQuaslet/concurrency/KPTimer.h
//
// KPTimer: a one-shot or repeating timer on a dispatch timer source, firing on a queue
// the caller chooses; KPTimer::throttle, which runs only the last call of a burst; and
// KPCountDownTimer, which counts a number of ticks down to zero.
//
//   auto timer = kp::KPTimer::repeaticTimer(ios::DispatchTimeInterval::seconds(1), queue,
//                                           [](kp::KPTimer&) { ... });
//   timer->start();
//   kp::KPTimer::throttle(ios::DispatchTimeInterval::milliseconds(300), "search", queue, [] { ... });
//   auto countDown = kp::KPCountDownTimer::make(ios::DispatchTimeInterval::seconds(1), 3, queue,
//                                               [](kp::KPCountDownTimer&, std::int64_t left) { ... });
//   countDown->start();   // reports 2, 1, 0
//
// A KPTimer is scheduled when it is made: its first tick is `interval` after creation,
// whenever it is started (a late start ticks at once, then stays on that grid).
// start() and suspend() keep the source balanced however often they are called, and
// releasing a timer in any state is safe. The time literals and fromSeconds() turn
// seconds written in code into dispatch times and intervals.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/dispatch/DispatchSourceTimer.h"
#include "platform/dispatch/DispatchTime.h"

namespace kp {

class KPTimer : public std::enable_shared_from_this<KPTimer> {
 public:
  using Handler = std::function<void(KPTimer&)>;

  // make()
  //
  // A timer that calls `handler` with itself on `queue`, `interval` after now and, when
  // `repeats`, every `interval` after that. It does not tick before start().
  [[nodiscard]] static std::shared_ptr<KPTimer> make(ios::DispatchTimeInterval interval, bool repeats,
                                                     std::shared_ptr<ios::DispatchQueue> queue, Handler handler);
  // A repeating timer, as make(interval, true, queue, handler).
  [[nodiscard]] static std::shared_ptr<KPTimer> repeaticTimer(ios::DispatchTimeInterval interval,
                                                              std::shared_ptr<ios::DispatchQueue> queue,
                                                              Handler handler);
  // Resumes the source first when the timer is not running.
  ~KPTimer();
  KPTimer(const KPTimer&) = delete;
  KPTimer& operator=(const KPTimer&) = delete;

  // Whether the timer repeats.
  [[nodiscard]] bool repeats() const { return repeats_; }

  // fire()
  //
  // Calls the handler now, on the caller's thread. A one-shot timer is then cancelled
  // for good: it never ticks afterwards, started or not. The handler may drop the last
  // reference to the timer: the timer lives until fire() returns.
  void fire();
  // Starts ticking; does nothing on a running timer.
  void start();
  // Stops ticking; does nothing on a timer that is not running.
  void suspend();
  // A repeating timer ticks next `interval` from now, then every `interval`; a one-shot
  // timer is left as it is.
  void rescheduleRepeating(ios::DispatchTimeInterval interval);
  // Ticks and fire() call `handler` from now on.
  void rescheduleHandler(Handler handler);

  // throttle()
  //
  // Runs `handler` on `queue` `interval` after the call, unless another call with the
  // same `identifier` comes first: then only the later call's handler runs, `interval`
  // after it. Different identifiers are independent. Safe from any thread.
  static void throttle(ios::DispatchTimeInterval interval, const std::string& identifier,
                       std::shared_ptr<ios::DispatchQueue> queue, std::function<void()> handler);

 private:
  KPTimer(bool repeats, Handler handler, std::shared_ptr<ios::DispatchQueue> queue);
  void installHandler(Handler handler);

  mutable std::mutex mutex_;  // isRunning_ together with the resume or suspend it stands for; handler_
  std::shared_ptr<ios::DispatchSourceTimer> internalTimer_;
  bool isRunning_ = false;
  const bool repeats_;
  Handler handler_;
};

class KPCountDownTimer : public std::enable_shared_from_this<KPCountDownTimer> {
 public:
  using Handler = std::function<void(KPCountDownTimer&, std::int64_t)>;

  // make()
  //
  // A count-down of `times` ticks, one every `interval` on `queue`: ticks 1 to `times`
  // call `handler` with the ticks left (times-1, ..., 0); the tick after the last report
  // suspends the timer. A count of zero or less reports nothing. Not started.
  [[nodiscard]] static std::shared_ptr<KPCountDownTimer> make(ios::DispatchTimeInterval interval, std::int64_t times,
                                                              std::shared_ptr<ios::DispatchQueue> queue,
                                                              Handler handler);
  KPCountDownTimer(const KPCountDownTimer&) = delete;
  KPCountDownTimer& operator=(const KPCountDownTimer&) = delete;

  // Starts (or resumes) ticking; nothing when running.
  void start();
  // Suspends ticking; nothing when not running.
  void suspend();
  // Sets the ticks left back to the count given at creation; starts nothing.
  void reCountDown();

 private:
  KPCountDownTimer(std::int64_t times, Handler handler);

  std::shared_ptr<KPTimer> internalTimer_;
  std::atomic<std::int64_t> leftTimes_;
  const std::int64_t originalTimes_;
  Handler handler_;
};

// fromSeconds()
//
// A nanosecond interval of `seconds` x 1e9, truncated toward zero. Stops the process
// when that is not finite or does not fit in 64 bits.
[[nodiscard]] ios::DispatchTimeInterval fromSeconds(double seconds);

// makeDispatchTimeIntegerLiteral()
//
// The dispatch time `value` whole seconds from now.
[[nodiscard]] ios::DispatchTime makeDispatchTimeIntegerLiteral(std::int64_t value);
// makeDispatchTimeFloatLiteral()
//
// The dispatch time `value` seconds from now, in whole milliseconds (value x 1000
// truncated toward zero): 0.0015 is one millisecond from now. Stops the process when
// value x 1000 is not finite or does not fit in 64 bits.
[[nodiscard]] ios::DispatchTime makeDispatchTimeFloatLiteral(double value);

namespace literals {

// 2_dt: the dispatch time two seconds from now.
[[nodiscard]] ios::DispatchTime operator""_dt(unsigned long long seconds);
// 0.5_dt: the dispatch time half a second from now, in whole milliseconds.
[[nodiscard]] ios::DispatchTime operator""_dt(long double seconds);

}  // namespace literals
}  // namespace kp
