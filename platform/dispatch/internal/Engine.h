// File: platform/dispatch/internal/Engine.h
//
// The machinery under dispatch queues and timer sources. Two executors share the same
// queue and timer state machines:
// - threaded (the default): a worker pool runs global and private queues, one timer
//   thread fires deadlines, and the main queue is drained by the main thread when it
//   runs its run loop;
// - manual (tests): no threads at all; ios::testing::ManualDispatch drains every queue
//   on the test thread and moves a manual clock deadline by deadline.
// DO NOT INCLUDE outside platform/.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace ios::dispatch_internal {

// One queue's pending work. Serial queues (and the main queue) run one block at a time
// in order; concurrent queues start their blocks in order, up to one per worker at once.
class QueueCore : public std::enable_shared_from_this<QueueCore> {
 public:
  // A new queue, known to the engine so that leaving manual mode can drop its work.
  [[nodiscard]] static std::shared_ptr<QueueCore> make(std::string label, bool concurrent, bool isMain);

  QueueCore(std::string label, bool concurrent, bool isMain)
      : label_(std::move(label)), concurrent_(concurrent), isMain_(isMain) {}

  [[nodiscard]] const std::string& label() const { return label_; }
  [[nodiscard]] bool isConcurrent() const { return concurrent_; }
  [[nodiscard]] bool isMain() const { return isMain_; }

  // Adds a block; it runs later, never inside this call.
  void enqueue(std::function<void()> block);
  // Forgets the blocks not yet run (the manual executor's queued drain is gone too).
  void discardPending();

 private:
  void drain();
  // How many drains may run at once: one for a serial queue, one per worker otherwise.
  [[nodiscard]] std::size_t width() const;

  const std::string label_;
  const bool concurrent_;
  const bool isMain_;
  std::mutex mutex_;
  std::deque<std::function<void()>> pending_;
  std::size_t drainers_ = 0;  // drains posted and not yet finished
  std::atomic<std::size_t> queued_{0};  // pending_.size(), readable without the lock
};

// The queue whose block is running on this thread, or null.
[[nodiscard]] const QueueCore* currentQueue();

// Runs `block` with `queue` marked as the current one on this thread.
void runAsCurrent(const QueueCore* queue, const std::function<void()>& block);

// Calls `fire` on the executor's timer context once the uptime reaches `deadline`
// (nanoseconds). `fire` must only enqueue work or re-arm timers.
void addTimer(std::uint64_t deadline, std::function<void()> fire);

// Runs `count` calls of `body` (indexes 0..count-1), using worker threads and the caller,
// and returns when all have finished. The first exception thrown by `body` stops the
// remaining calls and is rethrown here.
void concurrentPerform(std::size_t count, const std::function<void(std::size_t)>& body);

// Main thread only: runs the main queue's pending blocks until none is left or
// `deadline` (uptime) passes, sleeping for new work meanwhile (threaded mode) or
// stepping the manual clock (manual mode). Returns the number of blocks run.
std::size_t runMainQueue(std::uint64_t deadline);

// Manual mode.
void enterManualMode(double absoluteTime);
void leaveManualMode();
[[nodiscard]] bool isManualMode();
// Fires due timers and runs every runnable block until nothing is left. Returns the
// number of blocks run.
std::size_t runPending();
// Moves the manual clock forward by `nanoseconds`, deadline by deadline, firing timers
// and running pending work at each one.
std::size_t advance(std::uint64_t nanoseconds);
// Blocks waiting to run, and timers not yet fired.
[[nodiscard]] std::size_t pendingBlockCount();
[[nodiscard]] std::size_t pendingTimerCount();

}  // namespace ios::dispatch_internal
