// File: platform/foundation/RunLoop.h
//
// Per-thread run loops and the timers they fire.
//
//   auto timer = ios::CFRunLoopTimerCreateWithHandler(ios::CFAbsoluteTimeGetCurrent() + 1, 2.0,
//                                                     [](ios::Timer& t) { ... });
//   ios::CFRunLoopAddTimer(ios::CFRunLoopGetCurrent(), timer, ios::kCFRunLoopCommonModes);
//   ios::RunLoop::current().run(ios::Date::now() + 10);
//
//   // The target-action form: the selector is sent to the target with the timer.
//   ios::Timer::scheduledTimer(1.0, target, ios::sel_registerName("tick:"), {}, true);
//
// Driving the main queue from a command-line program: work sent to the main queue
// (delays, timers of the main thread, completions that report on the main queue) runs
// only while the main thread runs its run loop. Run it until the work is done and stop
// it from wherever the work ends:
//
//   int main() {
//     ios::DispatchQueue::global().async([] {
//       auto answer = compute();
//       ios::DispatchQueue::main().async([answer] {
//         show(answer);
//         ios::RunLoop::main().stop();      // any thread may stop it
//       });
//     });
//     ios::RunLoop::main().run();           // returns once stopped
//   }
//
// run() returns when stopped, run(date) also at the date, and runOnce() after one pass
// that handled something (a timer fired, main-queue blocks ran), for a program that
// interleaves its own work with the loop's.
//
// Fidelity: one run loop per thread, made on first use; modes are names, and the common
// modes are default + tracking on the main thread and default elsewhere. A timer fires
// only while its run loop runs in one of its modes; a repeating timer stays on its grid
// (fire date + k x interval), skipping fires it missed; a timer whose interval is zero
// or less fires once and is then invalidated. Invalidating releases the handler. A timer
// belongs to the first run loop it is added to; adding it elsewhere is ignored. A timer
// may outlive its run loop (the loop of a thread that has ended): it never fires again,
// invalidate() still releases its handler, and adding it to another loop is ignored;
// the timer refers to its loop weakly, so a loop made later at the same address is never
// taken for it. The main run loop also runs the main dispatch queue. Adding a timer from
// another thread wakes the loop, so the timer fires on time. Timer is an object of the
// runtime (class "NSTimer"); a target-action timer keeps its target until it is
// invalidated and reaches it through the runtime, so categories and swizzles apply; a
// scheduled timer's interval of zero or less becomes 0.0001 seconds, as on the
// platform. Differences: a stop() that arrives while the loop is not running is kept
// and ends its next run at once, where the platform drops it (so a worker that
// finishes before the main thread starts its loop cannot leave the program waiting
// forever); a pass of runOnce() / CFRunLoopRunInMode() counts fired timers as handled
// work, as well as main-queue blocks. Run-loop sources, observers and nested runs are
// absent. In manual dispatch (tests) a run moves the manual clock from event to event;
// run() without a date returns once nothing is left that could ever stop it.
#pragma once

#include <any>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/Date.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"

namespace ios {

using CFAbsoluteTime = double;
using CFTimeInterval = double;
using RunLoopMode = std::string;

inline constexpr const char* kCFRunLoopDefaultMode = "kCFRunLoopDefaultMode";
inline constexpr const char* kCFRunLoopCommonModes = "kCFRunLoopCommonModes";
inline constexpr const char* UITrackingRunLoopMode = "UITrackingRunLoopMode";

// Seconds since 2001-01-01 00:00:00 UTC.
[[nodiscard]] CFAbsoluteTime CFAbsoluteTimeGetCurrent();

class RunLoop;
class Timer;
// The platform's Objective-C name for the timer class.
using NSTimer = Timer;

// A run-loop timer (the platform's timer object and its CoreFoundation twin are one).
//
// Timer::make(fireDate, interval, handler, userInfo = {}) makes a timer that calls
// `handler` at `fireDate`, then every `interval` seconds (once when the interval is zero
// or less). It fires once added to a run loop.
class Timer : public NSObject {
  IOS_RUNTIME_CLASS(Timer, NSObject);

 public:
  using Handler = std::function<void(Timer&)>;

  // scheduledTimer()
  //
  // A timer that sends `selector` to `target` with the timer as its one argument,
  // `interval` seconds from now and, when `repeats`, every `interval` seconds after
  // (an interval of zero or less counts as 0.0001 seconds). It keeps `target` and
  // `userInfo` until it is invalidated, and is added to the current run loop in the
  // default mode.
  static std::shared_ptr<Timer> scheduledTimer(CFTimeInterval interval, id target, SEL selector, std::any userInfo,
                                               bool repeats);

  // Stops the timer for good and releases its handler and user info.
  void invalidate();
  [[nodiscard]] bool isValid() const;
  [[nodiscard]] CFAbsoluteTime fireDate() const;
  [[nodiscard]] CFTimeInterval timeInterval() const { return interval_; }
  [[nodiscard]] std::any userInfo() const;
  // Calls the handler now, as a fire would (a one-shot timer is then invalidated).
  void fire();

  Timer(CFAbsoluteTime fireDate, CFTimeInterval interval, Handler handler, std::any userInfo = {})
      : fireDate_(fireDate), interval_(interval), handler_(std::move(handler)), userInfo_(std::move(userInfo)) {}

 private:
  friend class RunLoop;
  mutable std::mutex mutex_;
  CFAbsoluteTime fireDate_;
  const CFTimeInterval interval_;
  Handler handler_;
  std::any userInfo_;
  bool valid_ = true;
  bool added_ = false;               // added to a run loop (which may be gone since)
  std::weak_ptr<RunLoop> runLoop_;   // the loop it was added to
  std::set<RunLoopMode> modes_;
};

// Why a run ended.
enum CFRunLoopRunResult : std::int32_t {
  kCFRunLoopRunFinished = 1,       // nothing was left that could ever end it (manual dispatch only)
  kCFRunLoopRunStopped = 2,        // stop() was called
  kCFRunLoopRunTimedOut = 3,       // the time given passed
  kCFRunLoopRunHandledSource = 4,  // a pass handled something and was asked to return then
};

class RunLoop : public std::enable_shared_from_this<RunLoop> {
 public:
  // The calling thread's run loop; it lives until the thread ends.
  [[nodiscard]] static RunLoop& current();
  // The main thread's run loop.
  [[nodiscard]] static RunLoop& main();

  // Adds the timer in `mode` (kCFRunLoopCommonModes: each common mode), waking the
  // loop if it is waiting.
  void add(const std::shared_ptr<Timer>& timer, const RunLoopMode& mode = kCFRunLoopDefaultMode);

  // run()
  //
  // Runs in the default mode, firing due timers (and, on the main run loop, running the
  // main queue), until stop() is called. Must be called on the loop's own thread.
  void run() { run(kCFRunLoopDefaultMode, Date::distantFuture()); }
  // Runs in `mode` (the default mode) until `limit` or until stop(), whichever comes
  // first.
  void run(const RunLoopMode& mode, Date limit);
  void run(Date limit) { run(kCFRunLoopDefaultMode, limit); }

  // runOnce()
  //
  // One pass in `mode`: waits until something can be handled, handles it (every due
  // timer fires; on the main run loop, the main-queue blocks that are waiting run) and
  // returns true; returns false at `before` with nothing handled, and when stopped (even
  // in a pass that handled something), so that `while (loop.runOnce()) { ... }` ends on
  // stop(). The platform's run(mode:before:).
  bool runOnce(const RunLoopMode& mode = kCFRunLoopDefaultMode, Date before = Date::distantFuture());

  // stop()
  //
  // Ends the loop's current run (run(), run(date), runOnce()) once the timer or block it
  // is in returns; callable from any thread. When the loop is not running, its next run
  // returns at once.
  void stop();
  // The timers added and still valid.
  [[nodiscard]] std::size_t timerCount() const;

 private:
  struct Made {};  // only current() and main() make run loops

 public:
  RunLoop(Made, bool isMain);

 private:
  friend class Timer;
  friend CFRunLoopRunResult CFRunLoopRunInMode(const RunLoopMode& mode, CFTimeInterval seconds,
                                               bool returnAfterSourceHandled);
  std::vector<RunLoopMode> expand(const RunLoopMode& mode) const;
  // Fires every timer of `mode` that is due, adding the number fired to `fired`;
  // returns the earliest fire date left, or `limit`.
  CFAbsoluteTime fireDue(const RunLoopMode& mode, CFAbsoluteTime limit, std::size_t& fired);
  void remove(Timer* timer);
  // Wakes the loop from its wait, from any thread.
  void wake();
  // The one run: until `limit`, stop(), or (with `returnAfterHandled`) a pass that
  // handled something.
  CFRunLoopRunResult runUntil(const RunLoopMode& mode, CFAbsoluteTime limit, bool returnAfterHandled);

  const bool isMain_;
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<Timer>> timers_;
  std::shared_ptr<struct RunLoopWake> wake_;
  std::atomic<bool> stopRequested_{false};
};

// CoreFoundation spellings.
[[nodiscard]] std::shared_ptr<Timer> CFRunLoopTimerCreateWithHandler(CFAbsoluteTime fireDate, CFTimeInterval interval,
                                                                     Timer::Handler handler);
[[nodiscard]] inline RunLoop& CFRunLoopGetCurrent() { return RunLoop::current(); }
[[nodiscard]] inline RunLoop& CFRunLoopGetMain() { return RunLoop::main(); }
inline void CFRunLoopAddTimer(RunLoop& runLoop, const std::shared_ptr<Timer>& timer, const RunLoopMode& mode) {
  runLoop.add(timer, mode);
}
// Runs the current thread's loop in the default mode until CFRunLoopStop().
inline void CFRunLoopRun() { RunLoop::current().run(); }
// Ends the loop's current run (see RunLoop::stop()); callable from any thread.
inline void CFRunLoopStop(RunLoop& runLoop) { runLoop.stop(); }
// Runs the current thread's loop in `mode` for up to `seconds` (zero or less: one
// pass over what is due now); with `returnAfterSourceHandled`, returns after the
// first pass that handled something. Answers why it returned.
CFRunLoopRunResult CFRunLoopRunInMode(const RunLoopMode& mode, CFTimeInterval seconds, bool returnAfterSourceHandled);

}  // namespace ios
