// File: platform/dispatch/internal/Engine.h
//
// The machinery under dispatch queues and timer sources. Two executors share the same
// queue and timer state machines:
// - threaded (the default): the worker pool (WorkerPool.h) runs global and private
//   queues, one timer thread fires deadlines, and the main queue is drained by the main
//   thread when it runs its run loop;
// - manual (tests): no threads at all; ios::testing::ManualDispatch drains every queue
//   on the test thread and moves a manual clock deadline by deadline.
// DO NOT INCLUDE outside platform/.
#pragma once

#include <atomic>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dispatch/internal/Block.h"
#include "platform/dispatch/internal/Spin.h"

namespace ios::dispatch_internal {

// The pool level of work that names no quality of service.
inline constexpr std::size_t kDefaultLevel = 2;

// QueueCore
//
// One queue. Serial queues (and the main queue) keep their pending blocks here and run
// them one at a time, in order, in drains: one drain is posted when the queue goes
// from idle to busy, and it takes the pending blocks a batch at a time, so a burst of
// blocks costs one hand-off rather than one per block. In the threaded executor a
// concurrent queue hands each block to the pool at once, where blocks start in
// submission order, as many at a time as there are free threads. In the manual
// executor a concurrent queue keeps its blocks here too, with up to one drain per
// worker, each taking one block at a time.
class QueueCore : public std::enable_shared_from_this<QueueCore> {
 public:
  // A new queue at pool level `level`, known to the engine so that leaving manual mode
  // can drop its work. A process-wide queue (main, global) is never released, so its
  // jobs need not keep it alive.
  [[nodiscard]] static std::shared_ptr<QueueCore> make(std::string label, bool concurrent, bool isMain,
                                                       std::size_t level, bool processWide);

  QueueCore(std::string label, bool concurrent, bool isMain, std::size_t level, bool processWide)
      : label_(std::move(label)), concurrent_(concurrent), isMain_(isMain), processWide_(processWide),
        level_(level) {}

  [[nodiscard]] const std::string& label() const { return label_; }
  [[nodiscard]] bool isConcurrent() const { return concurrent_; }
  [[nodiscard]] bool isMain() const { return isMain_; }
  [[nodiscard]] std::size_t level() const { return level_; }

  // Adds a block; it runs later, never inside this call. `block` must not be empty.
  void enqueue(Block block);
  // Runs pending blocks until none is left (a drain on the worker pool hands over to a
  // fresh drain after a while, so that other work of the pool gets its turn).
  void drain();
  // Forgets the blocks not yet run (the manual executor's queued drain is gone too).
  void discardPending();
  // A handle for a job of this queue: owning for a private queue, only pointing for a
  // process-wide one.
  [[nodiscard]] std::shared_ptr<QueueCore> handle();
  // Serial queues: takes the queue's one drain slot when nothing is pending or running,
  // so that the caller may run a block in place; false when the queue is busy. Blocks
  // submitted meanwhile wait for leaveInline(), which hands them to a drain.
  [[nodiscard]] bool tryEnterInline();
  void leaveInline();

 private:
  void postDrain();
  // How many drains may run at once: one for a serial queue, one per worker otherwise.
  [[nodiscard]] std::size_t width() const;
  // Caller holds lock_. Moves the next block (`one`) or every pending block into `batch`.
  void takeLocked(std::vector<Block>& batch, bool one);

  const std::string label_;
  const bool concurrent_;
  const bool isMain_;
  const bool processWide_;
  const std::size_t level_;
  SpinLock lock_;                  // held for pushes and swaps only, never across a block
  std::vector<Block> pending_;     // blocks waiting, the oldest at head_
  std::size_t head_ = 0;           // manual drains take one block at a time from here
  std::vector<Block> spare_;       // the storage of the last batch, reused by the next drain
  std::size_t drainers_ = 0;       // drains posted and not yet finished
  std::atomic<std::size_t> queued_{0};  // pending_.size() - head_, readable without the lock
};

// The queue whose block is running on this thread, or null.
[[nodiscard]] const QueueCore* currentQueue();

// CurrentQueueScope
//
// Marks `queue` as the one running on this thread (and counts a block run) until the
// scope ends.
class CurrentQueueScope {
 public:
  explicit CurrentQueueScope(const QueueCore* queue);
  ~CurrentQueueScope();
  CurrentQueueScope(const CurrentQueueScope&) = delete;
  CurrentQueueScope& operator=(const CurrentQueueScope&) = delete;

 private:
  const QueueCore* previous_;
};

// Runs `block` with `queue` marked as the current one on this thread.
template <typename F>
void runAsCurrent(const QueueCore* queue, F& block) {
  const CurrentQueueScope scope(queue);
  block();
}

// Threaded executor: runs `block` on `queue` and waits for it; rethrows what it throws.
// The block runs on the calling thread (marked as running on `queue`) when the queue
// allows it: a concurrent queue always, a serial queue other than the main queue when
// it is idle. Otherwise it is handed to the queue; a pool thread waiting for it lends
// its place in the pool to another thread.
void syncOn(QueueCore& queue, const std::function<void()>& block);

// A timer of the engine: its deadline and the order it was added in.
struct TimerId {
  std::uint64_t deadline = 0;
  std::uint64_t sequence = 0;
  auto operator<=>(const TimerId&) const = default;
};

// Calls `fire` on the executor's timer context once the uptime reaches `deadline`
// (nanoseconds). `fire` must only enqueue work or re-arm timers.
TimerId addTimer(std::uint64_t deadline, std::function<void()> fire);
// Takes the timer out and releases its `fire` now; nothing when it has fired already.
void cancelTimer(TimerId id);

// Runs the indexes 0..count-1 in chunks: `body(context, begin, end, stop)` runs the
// indexes begin..end-1 and should leave out the rest once `stop` is set. Worker threads
// and the caller take part; returns when all chunks have finished. The first exception
// thrown by `body` sets `stop`, so that the remaining calls are left out, and is
// rethrown here.
using ChunkBody = void (*)(void* context, std::size_t begin, std::size_t end, const std::atomic<bool>& stop);
void concurrentPerform(std::size_t count, ChunkBody body, void* context);

// Main thread only: runs the main queue's pending blocks until `deadline` (uptime)
// passes, sleeping for new work meanwhile, or until interruptMainQueue() is called
// (before or during the wait); with `returnAfterWork`, also as soon as it has run at
// least one block and none is left. In manual mode it steps the manual clock instead.
// Returns the number of blocks run on the calling thread.
std::size_t runMainQueue(std::uint64_t deadline, bool returnAfterWork = false);
// Makes the main thread's runMainQueue() return now, or the next call return at once.
void interruptMainQueue();

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
// The deadline (uptime) of the earliest timer not yet fired; UINT64_MAX when none.
[[nodiscard]] std::uint64_t nextTimerDeadline();
// Drain tasks waiting to run, and timers not yet fired.
[[nodiscard]] std::size_t pendingBlockCount();
[[nodiscard]] std::size_t pendingTimerCount();

}  // namespace ios::dispatch_internal
