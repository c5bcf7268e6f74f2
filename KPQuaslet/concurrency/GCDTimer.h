// File: KPQuaslet/concurrency/GCDTimer.h
//
// GCDTimer: a small repeating timer on a dispatch timer source, switched on and off with
// start() and pause(); and GCDTimer::Once, which runs a block once per token.
//
//   auto timer = kp::GCDTimer::make(2.0);
//   timer->setEvent([] { ... });    // schedules: first tick now, then every 2 seconds
//   timer->start();
//   timer->pause();
//   kp::GCDTimer::delay(0.5, [] { ... });   // on the main queue, half a second later
//
// Every GCDTimer ticks on one shared serial queue labelled "gcdTimerQueue", so ticks of
// different timers never overlap and a long tick delays the others. start() and pause()
// keep the source's suspend count balanced however often they are called, and
// releasing a timer in any state is safe. The repeat interval follows make()'s rule.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/dispatch/DispatchSourceTimer.h"

namespace kp {

class GCDTimer : public std::enable_shared_from_this<GCDTimer> {
 public:
  // GCDTimer::Once
  //
  // Remembers tokens: doIt() runs its block only for a token it has not seen since the
  // token was last reset. Safe from any thread; the block runs on the caller's thread
  // while the Once object's recursive lock is held.
  class Once {
   public:
    Once() = default;
    Once(const Once&) = delete;
    Once& operator=(const Once&) = delete;

    // Records `token` and runs `block`, unless the token is already recorded. The token
    // is recorded before the block runs, so doIt() with the same token inside the block
    // does nothing.
    void doIt(const std::string& token, const std::function<void()>& block);
    // Forgets the first record of `token`, if any.
    void reset(const std::string& token);

   private:
    friend class GCDTimer;
    [[nodiscard]] bool containsLocked(const std::string& token) const;

    mutable std::recursive_mutex monitor_;
    std::vector<std::string> onceTracker_;
  };

  // make()
  //
  // A timer not yet scheduled: set the event, then start() it. It repeats every
  // `intervalInSecs` truncated toward zero to whole seconds (1.9 repeats every second,
  // 2.9 every 2 seconds), with one exception: an interval between zero and one second,
  // which whole seconds would turn into a timer that never pauses, repeats at its own
  // length instead (0.9 repeats every 0.9 seconds). So the repeat does not grow with the
  // interval across one second: 0.9 gives 0.9, 1.9 gives 1. An interval of zero or less
  // ticks once.
  [[nodiscard]] static std::shared_ptr<GCDTimer> make(double intervalInSecs);
  // Resumes the source first when the timer is not running, so that a suspended source
  // is never released.
  ~GCDTimer();
  GCDTimer(const GCDTimer&) = delete;
  GCDTimer& operator=(const GCDTimer&) = delete;

  // The dispatch source, for callers that cancel it or change its schedule themselves.
  [[nodiscard]] const std::shared_ptr<ios::DispatchSourceTimer>& timerSource() const { return timerSource_; }

  // Event()
  //
  // The work run on each tick. Reading it before setEvent() was ever called stops the
  // process.
  [[nodiscard]] std::function<void()> Event() const;
  // setEvent()
  //
  // Stores the work and schedules the source again, counting from now: a running timer
  // ticks with the new work at once, then every interval. Stops the process when the
  // interval is not finite or does not fit in 64 bits, or when `event` is empty.
  void setEvent(std::function<void()> event);

  // Resumes the source, once per start/pause cycle: start() on a running timer does
  // nothing.
  void start();
  // Suspends a running timer; does nothing on one that is not running.
  void pause();

  // delay()
  //
  // Runs `block` on the main queue (or on `queue`) `seconds` from now, counted in whole
  // nanoseconds. Stops the process when seconds x 1e9 is not finite or does not fit in
  // 64 bits.
  static void delay(double seconds, std::function<void()> block);
  static void delay(double seconds, const ios::DispatchQueue& queue, std::function<void()> block);

 private:
  explicit GCDTimer(double intervalInSecs);
  void installHandler();

  static constexpr const char* kToken = "com.tavrin.GCDTimer";

  std::shared_ptr<ios::DispatchSourceTimer> timerSource_;
  double interval_ = 1.0;
  Once once_;
  mutable std::mutex eventMutex_;
  std::function<void()> event_;
};

}  // namespace kp
