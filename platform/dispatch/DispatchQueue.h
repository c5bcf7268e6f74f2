// File: platform/dispatch/DispatchQueue.h
//
// Dispatch queues: the main queue, the global queues and private serial or concurrent
// queues, with asynchronous, delayed and synchronous submission.
//
//   auto queue = ios::DispatchQueue::make("com.example.io");
//   queue->async([] { ... });
//   ios::DispatchQueue::main().asyncAfter(ios::DispatchTime::now() + 0.5, [] { ... });
//   ios::DispatchQueue::concurrentPerform(100, [&](std::size_t i) { ... });
//
// Fidelity: keeps FIFO order on serial queues and the main queue, one block at a time;
// a concurrent queue starts its blocks in submission order, as many at once as there are
// free workers; submission never runs the block inside the call; a deadline already past
// runs as soon as possible; `sync` onto the serial queue that is running the caller stops
// the process (the platform deadlocks there). Quality of service orders waiting work:
// when every worker is busy, the next free one starts the oldest block of the highest
// class that has one. The main queue runs on the main thread when it runs its run loop.
// `sync` runs the block on the caller's thread when it can, as the platform does: on a
// concurrent queue at once, on a serial queue (not the main queue) when nothing of the
// queue is pending or running; the block then counts as running on the queue (label,
// isCurrent), and blocks submitted meanwhile run after it. Otherwise the block goes to
// the queue (a worker, or the main thread for the main queue) and the caller waits; a
// worker that waits so lends its place in the pool to another thread meanwhile, so that
// however many workers wait at once, the work they wait for still finds a thread.
// Differences: the six classes map to five levels (unspecified is default), and threads
// get no operating-system priority. Tests switch the whole layer to a manual executor
// (ios::testing::ManualDispatch) that runs everything on the test thread with a manual
// clock.
#pragma once

#include <atomic>
#include <chrono>
#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/dispatch/DispatchTime.h"
#include "platform/dispatch/internal/Block.h"

namespace ios {

namespace dispatch_internal {
class QueueCore;
struct TimerId;
}

enum class DispatchQoS { unspecified, background, utility, default_, userInitiated, userInteractive };

class DispatchWorkItem;

class DispatchQueue {
 public:
  enum class Attributes { serial, concurrent };

  // A private queue with this label.
  [[nodiscard]] static std::shared_ptr<DispatchQueue> make(std::string label, DispatchQoS qos = DispatchQoS::unspecified,
                                                           Attributes attributes = Attributes::serial);
  // The main queue (label "com.apple.main-thread").
  [[nodiscard]] static DispatchQueue& main();
  // The global concurrent queue of this quality of service.
  [[nodiscard]] static DispatchQueue& global(DispatchQoS qos = DispatchQoS::default_);
  // The shared handle of the main queue / a global queue, for APIs that keep a queue.
  [[nodiscard]] static std::shared_ptr<DispatchQueue> mainQueue();
  [[nodiscard]] static std::shared_ptr<DispatchQueue> globalQueue(DispatchQoS qos = DispatchQoS::default_);

  [[nodiscard]] const std::string& label() const;
  [[nodiscard]] bool isConcurrent() const;

  // Runs `block` (any callable taking no arguments, std::function included) on this
  // queue later. Captures of up to 32 bytes travel with the block without an allocation
  // of their own.
  template <typename F>
    requires std::invocable<std::decay_t<F>&>
  void async(F&& block) const {
    enqueue(dispatch_internal::Block(std::forward<F>(block)));
  }
  // Runs the work item on this queue later, unless it is cancelled first.
  void async(const std::shared_ptr<DispatchWorkItem>& item) const;
  // Runs `block` on this queue once the deadline has come.
  void asyncAfter(DispatchTime deadline, std::function<void()> block) const;
  void asyncAfter(DispatchTime deadline, const std::shared_ptr<DispatchWorkItem>& item) const;
  // Runs `block` on this queue and waits for it, on the calling thread when the queue is
  // concurrent or idle (see above). Exceptions thrown by the block reach the caller.
  void sync(const std::function<void()>& block) const;

  // Calls `body` with 0..iterations-1, several at once on the workers and the caller, and
  // returns when all are done. The first exception thrown by `body` stops the remaining
  // calls (a thread finishes the run of up to 64 calls it is in) and is rethrown. `body`
  // is called directly, not through a std::function, so a cheap body costs little more
  // than in a plain loop.
  template <typename Body>
    requires std::invocable<Body&, std::size_t>
  static void concurrentPerform(std::size_t iterations, Body&& body) {
    using Callable = std::remove_reference_t<Body>;
    const auto chunk = [](void* context, std::size_t begin, std::size_t end, const std::atomic<bool>& stop) {
      Callable& call = *static_cast<Callable*>(context);
      // The stop flag is read once per run of calls, so that the compiler may vectorise
      // a cheap body.
      while (begin < end && !stop.load(std::memory_order_relaxed)) {
        const std::size_t runEnd = end - begin > 64 ? begin + 64 : end;
        for (; begin < runEnd; ++begin) call(begin);
      }
    };
    performChunks(iterations, chunk, const_cast<void*>(static_cast<const void*>(std::addressof(body))));
  }

  // The label of the queue running the caller; "com.apple.main-thread" on the main
  // thread outside any queue; "" elsewhere.
  [[nodiscard]] static std::string currentLabel();
  // Whether the caller runs on this queue.
  [[nodiscard]] bool isCurrent() const;

  [[nodiscard]] const std::shared_ptr<dispatch_internal::QueueCore>& core() const { return core_; }

  explicit DispatchQueue(std::shared_ptr<dispatch_internal::QueueCore> core) : core_(std::move(core)) {}

 private:
  void enqueue(dispatch_internal::Block block) const;

  using ChunkBody = void (*)(void* context, std::size_t begin, std::size_t end, const std::atomic<bool>& stop);
  // concurrentPerform() without the template: runs the chunks of 0..iterations-1.
  static void performChunks(std::size_t iterations, ChunkBody chunk, void* context);

  std::shared_ptr<dispatch_internal::QueueCore> core_;
};

// A block that can be cancelled before it runs.
class DispatchWorkItem {
 public:
  [[nodiscard]] static std::shared_ptr<DispatchWorkItem> make(std::function<void()> block);

  // Runs the block now, on the caller's thread, unless cancelled.
  void perform();
  // Keeps the block from running if it has not started; a running block finishes. The
  // deadlines it waits for through asyncAfter() are dropped at once, and with them
  // their references to the item.
  void cancel();
  [[nodiscard]] bool isCancelled() const;

  explicit DispatchWorkItem(std::function<void()> block);
  ~DispatchWorkItem();
  DispatchWorkItem(const DispatchWorkItem&) = delete;
  DispatchWorkItem& operator=(const DispatchWorkItem&) = delete;

 private:
  friend class DispatchQueue;
  // Remembers a deadline the item waits for, so that cancel() can drop it; forgets the
  // ones that have passed.
  void addDeadline(const dispatch_internal::TimerId& timer);

  std::function<void()> block_;
  std::atomic<bool> cancelled_{false};
  std::mutex deadlinesMutex_;
  std::vector<dispatch_internal::TimerId> deadlines_;
};

namespace testing {

// ManualDispatch
//
// While alive, dispatch runs no threads: queues and timers wait until the test runs
// them, on its own thread, and the clock (uptime and absolute time) stands still except
// when advance() moves it.
class ManualDispatch {
 public:
  explicit ManualDispatch(double absoluteTime = 0.0);
  ~ManualDispatch();
  ManualDispatch(const ManualDispatch&) = delete;
  ManualDispatch& operator=(const ManualDispatch&) = delete;

  // Runs every block that can run now (and timers already due), until none is left.
  // Returns the number of blocks run.
  std::size_t runPending();
  // Moves the clock forward by `seconds`, deadline by deadline, running what comes due.
  std::size_t advance(double seconds);
  std::size_t advanceNanoseconds(std::uint64_t nanoseconds);
  // Drain tasks waiting to run, and timers not yet fired.
  [[nodiscard]] std::size_t pendingBlockCount() const;
  [[nodiscard]] std::size_t pendingTimerCount() const;
};

// The number of workers the threaded executor keeps ready for the global and private
// queues (at least four); a concurrentPerform call runs on at most this many plus the
// caller.
[[nodiscard]] std::size_t dispatchWorkerCount();

// ScopedWorkerSearchTime
//
// While alive, a worker that runs out of work looks for more for `time` before it parks
// (50 microseconds otherwise). Zero makes workers park as soon as they run dry, so that
// tests meet the hand-over between a parking worker and a new block as often as possible.
class ScopedWorkerSearchTime {
 public:
  explicit ScopedWorkerSearchTime(std::chrono::nanoseconds time);
  ~ScopedWorkerSearchTime();
  ScopedWorkerSearchTime(const ScopedWorkerSearchTime&) = delete;
  ScopedWorkerSearchTime& operator=(const ScopedWorkerSearchTime&) = delete;

 private:
  std::chrono::nanoseconds previous_;
};

}  // namespace testing
}  // namespace ios
