// File: KPQuaslet/concurrency/Timer+KPExt.h
//
// Run-loop timers made from closures, delayed work on dispatch queues, and time units
// on numbers of seconds.
//
//   kp::after(0.5, [] { ... });                       // once, on this thread's run loop
//   kp::every(1.0, [](ios::Timer& timer) { ... });    // repeating; timer.invalidate() stops it
//   auto timer = kp::newEvery(kp::minutes(2), [] { ... });
//   kp::start(*timer, ios::RunLoop::main(), {ios::kCFRunLoopDefaultMode, ios::UITrackingRunLoopMode});
//   kp::runThisAfterDelay(0.25, [] { ... });          // on the main queue
//
// Timers fire on the thread of the run loop they were added to, only while that run
// loop runs in one of their modes. The time units answer seconds: kp::minutes(2.5) is
// 150, kp::ms(250) is 0.25.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"

namespace kp {

// scheduledTimer()
//
// A target-action timer scheduled on the current run loop in the default mode: its
// target is the timer class itself and its action the class method "executeBlock:",
// which calls `block` with the timer. Repeats every `interval` when `repeats`.
std::shared_ptr<ios::Timer> scheduledTimer(double interval, std::function<void(ios::Timer&)> block, bool repeats);

// runThisEvery()
//
// A run-loop timer that calls `handler` with itself at once and then every `seconds`,
// added to the current run loop in the common modes.
std::shared_ptr<ios::Timer> runThisEvery(double seconds, std::function<void(ios::Timer*)> handler);

// newAfter()
//
// A timer that calls `block` once, `interval` from now. Not scheduled: start() it.
[[nodiscard]] std::shared_ptr<ios::Timer> newAfter(double interval, std::function<void()> block);
// after()
//
// newAfter(), started on the current run loop in the default mode.
std::shared_ptr<ios::Timer> after(double interval, std::function<void()> block);

// newEvery()
//
// A timer that calls `block` (with the timer, for the second form) `interval` from now
// and every `interval` after. Not scheduled: start() it.
[[nodiscard]] std::shared_ptr<ios::Timer> newEvery(double interval, std::function<void()> block);
[[nodiscard]] std::shared_ptr<ios::Timer> newEvery(double interval, std::function<void(ios::Timer&)> block);
// every()
//
// newEvery(), started on the current run loop in the default mode.
std::shared_ptr<ios::Timer> every(double interval, std::function<void()> block);
std::shared_ptr<ios::Timer> every(double interval, std::function<void(ios::Timer&)> block);

// executeBlock()
//
// Calls the block a timer made by scheduledTimer() carries in its user info, with the
// timer; does nothing when the user info holds anything else. It is also the class
// method "executeBlock:" of the timer class, in the library's runtime category.
void executeBlock(ios::Timer& timer);

// start()
//
// Adds the timer to `runLoop` once for each of `modes`, in order; with no modes, for the
// default mode only.
void start(ios::Timer& timer, ios::RunLoop& runLoop, std::initializer_list<ios::RunLoopMode> modes = {});

// runThisAfterDelay()
//
// Runs `after` on the main queue (or on `queue`) `seconds` from now, counted in whole
// nanoseconds. Stops the process when seconds x 1e9 is not finite or does not fit in
// 64 bits.
void runThisAfterDelay(double seconds, std::function<void()> after);
void runThisAfterDelay(double seconds, const ios::DispatchQueue& queue, std::function<void()> after);

// Time units: each answers `value` units in seconds.
[[nodiscard]] constexpr double millisecond(double value) { return value / 1000; }
[[nodiscard]] constexpr double milliseconds(double value) { return value / 1000; }
[[nodiscard]] constexpr double ms(double value) { return value / 1000; }
[[nodiscard]] constexpr double second(double value) { return value; }
[[nodiscard]] constexpr double seconds(double value) { return value; }
[[nodiscard]] constexpr double minute(double value) { return value * 60; }
[[nodiscard]] constexpr double minutes(double value) { return value * 60; }
[[nodiscard]] constexpr double hour(double value) { return value * 3600; }
[[nodiscard]] constexpr double hours(double value) { return value * 3600; }
[[nodiscard]] constexpr double day(double value) { return value * 3600 * 24; }
[[nodiscard]] constexpr double days(double value) { return value * 3600 * 24; }

}  // namespace kp
