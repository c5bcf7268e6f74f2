// File: KPQuaslet/concurrency/KPHelper.h
//
// Work on the main queue after a delay, with a way to call it off; and the search for
// the first responder.
//
//   auto task = kp::delay(1.0, [] { ... });   // runs on the main queue a second from now
//   kp::cancel(task);                         // ... unless cancelled before then
//   auto responder = kp::findFirstResponder();   // the focused view under the window
//
// A task is cancelled for good once it is called with true (or given to cancel());
// called with false it submits the work to the main queue at once, as the deadline
// does. The deadline submits the work unless the task was cancelled before it, so the
// work runs one main-queue turn after the deadline. Tasks may be called and cancelled
// from any thread; a cancel that completes before the deadline is handled always wins.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace ios {
class UIResponder;
class UIView;
}  // namespace ios

namespace ios {
class DispatchWorkItem;
}  // namespace ios

namespace kp {

// DelayTask
//
// The handle delay() answers: task(true) cancels, task(false) submits the work now.
// Copies share one state. The work is released once the task is cancelled, or once
// every copy is gone and the deadline has passed; cancelling also drops the pending
// deadline from the main queue's timers at once, so nothing of a cancelled task waits
// there until its old deadline.
class DelayTask {
 public:
  // Cancels (true) or submits the work to the main queue now (false; nothing once
  // cancelled).
  void operator()(bool cancel) const;

 private:
  friend std::optional<DelayTask> delay(double time, std::function<void()> work);
  struct Cell {
    std::mutex mutex;
    std::function<void()> work;  // empty once cancelled
  };
  DelayTask(std::shared_ptr<Cell> cell, std::shared_ptr<ios::DispatchWorkItem> deadline)
      : cell_(std::move(cell)), deadline_(std::move(deadline)) {}
  static void submit(Cell& cell);

  std::shared_ptr<Cell> cell_;
  std::shared_ptr<ios::DispatchWorkItem> deadline_;  // the pending deadline, dropped on cancel
};

// delay()
//
// Runs `work` on the main queue `time` seconds from now (whole nanoseconds), unless the
// answered task is cancelled first. Stops the process when time x 1e9 is not finite or
// does not fit in 64 bits.
std::optional<DelayTask> delay(double time, std::function<void()> work);

// cancel()
//
// Cancels the task; nothing for an absent one.
void cancel(const std::optional<DelayTask>& task);

// findFirstResponder()
//
// The first responder at or under the window of the application's delegate: null when
// there is no delegate, when it does not answer "window", or when its window is null.
// Main thread only.
[[nodiscard]] std::shared_ptr<ios::UIResponder> findFirstResponder();

// findFirstResponderInView()
//
// `view` when it is the first responder; otherwise the first hit of a depth-first search
// of its subviews, in order; null when there is none. Main thread only.
[[nodiscard]] std::shared_ptr<ios::UIResponder> findFirstResponderInView(ios::UIView& view);

}  // namespace kp
