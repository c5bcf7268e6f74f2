#include "platform/dispatch/internal/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/dispatch/internal/Spin.h"

namespace ios::dispatch_internal {
namespace {

constexpr std::size_t kRingCapacity = 4096;  // a power of two
constexpr std::size_t kMaxThreads = 256;     // stand-ins included
// How long a thread that ran out of work keeps looking before it parks (tests change it).
std::atomic<std::int64_t> gSearchNanoseconds{50'000};

thread_local bool tOnPoolThread = false;

// JobRing
//
// A bounded first-in first-out ring of jobs for any number of producers and consumers,
// without locks. Each cell's sequence number says whose turn it is: a cell whose number
// equals the push position is free for that push; one whose number is the position + 1
// holds the job for the pop at that position.
class JobRing {
 public:
  JobRing() : cells_(new Cell[kRingCapacity]) {
    for (std::size_t i = 0; i < kRingCapacity; ++i) cells_[i].sequence.store(i, std::memory_order_relaxed);
  }

  // Moves `job` in; false (and `job` untouched) when the ring is full.
  bool tryPush(Job& job) {
    std::uint64_t position = enqueue_.load(std::memory_order_relaxed);
    for (;;) {
      Cell& cell = cells_[position & (kRingCapacity - 1)];
      const std::uint64_t sequence = cell.sequence.load(std::memory_order_acquire);
      const auto lag = static_cast<std::int64_t>(sequence - position);
      if (lag == 0) {
        // Sequentially consistent: a thread about to park reads the position after
        // announcing itself, so either it sees this job or this push sees it parked.
        if (enqueue_.compare_exchange_weak(position, position + 1, std::memory_order_seq_cst,
                                           std::memory_order_relaxed)) {
          cell.job = std::move(job);
          cell.sequence.store(position + 1, std::memory_order_release);
          return true;
        }
      } else if (lag < 0) {
        return false;
      } else {
        position = enqueue_.load(std::memory_order_relaxed);
      }
    }
  }

  // Moves the oldest job out; false when there is none ready (a push still writing its
  // job counts as none yet).
  bool tryPop(Job& out) {
    std::uint64_t position = dequeue_.load(std::memory_order_relaxed);
    for (;;) {
      Cell& cell = cells_[position & (kRingCapacity - 1)];
      const std::uint64_t sequence = cell.sequence.load(std::memory_order_acquire);
      const auto lag = static_cast<std::int64_t>(sequence - (position + 1));
      if (lag == 0) {
        if (dequeue_.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) {
          out = std::move(cell.job);
          cell.sequence.store(position + kRingCapacity, std::memory_order_release);
          return true;
        }
      } else if (lag < 0) {
        return false;
      } else {
        position = dequeue_.load(std::memory_order_relaxed);
      }
    }
  }

  // Whether every job pushed so far has been taken (pushes still writing included).
  [[nodiscard]] bool isEmpty() const {
    return dequeue_.load(std::memory_order_seq_cst) == enqueue_.load(std::memory_order_seq_cst);
  }

 private:
  struct alignas(64) Cell {  // one cache line: neighbouring pushes and pops do not share it
    std::atomic<std::uint64_t> sequence{0};
    Job job;
  };
  static_assert(sizeof(Cell) == 64);
  std::unique_ptr<Cell[]> cells_;
  alignas(64) std::atomic<std::uint64_t> enqueue_{0};
  alignas(64) std::atomic<std::uint64_t> dequeue_{0};
};

// One quality-of-service level: a ring, made on first use, and a locked list that
// takes the jobs while the ring is full. While the list holds jobs, new jobs join it
// too, and it is served only once the ring is empty, so that the level stays first in,
// first out.
class Level {
 public:
  void push(Job job) {
    if (overflowCount_.load(std::memory_order_seq_cst) == 0 && ring().tryPush(job)) return;
    std::lock_guard lock(overflowMutex_);
    overflow_.push_back(std::move(job));
    overflowCount_.fetch_add(1, std::memory_order_seq_cst);
  }

  bool pop(Job& out) {
    JobRing* ring = ring_.load(std::memory_order_acquire);
    if (ring != nullptr && ring->tryPop(out)) return true;
    if (overflowCount_.load(std::memory_order_relaxed) == 0) return false;
    std::lock_guard lock(overflowMutex_);
    if (overflow_.empty() || (ring != nullptr && !ring->isEmpty())) return false;  // older jobs come first
    out = std::move(overflow_.front());
    overflow_.pop_front();
    overflowCount_.fetch_sub(1, std::memory_order_seq_cst);
    return true;
  }

  [[nodiscard]] bool hasWork() const {
    const JobRing* ring = ring_.load(std::memory_order_acquire);
    return (ring != nullptr && !ring->isEmpty()) || overflowCount_.load(std::memory_order_seq_cst) > 0;
  }

 private:
  JobRing& ring() {
    JobRing* ring = ring_.load(std::memory_order_acquire);
    if (ring != nullptr) return *ring;
    auto* made = new JobRing;  // lives as long as the pool: for the whole process
    if (ring_.compare_exchange_strong(ring, made, std::memory_order_acq_rel)) return *made;
    delete made;
    return *ring;
  }

  std::atomic<JobRing*> ring_{nullptr};
  std::mutex overflowMutex_;
  std::deque<Job> overflow_;
  std::atomic<std::size_t> overflowCount_{0};
};

class Pool {
 public:
  Pool() : width_(poolWidth()) {
    std::lock_guard lock(idleMutex_);
    for (std::size_t i = 0; i < width_; ++i) spawnLocked();
  }

  void push(std::size_t level, Job job) {
    levels_[level].push(std::move(job));
    // A thread that is looking for work will find this job; only when none is looking
    // does a parked one need waking.
    if (searching_.load(std::memory_order_seq_cst) == 0 && idleCount_.load(std::memory_order_seq_cst) > 0) {
      wakeOne();
    }
  }

  void beginWait() {
    std::lock_guard lock(idleMutex_);
    ++waiting_;
    if (threads_ - waiting_ < width_ && threads_ < kMaxThreads) spawnLocked();
    updateExcessLocked();
  }

  void endWait() {
    std::lock_guard lock(idleMutex_);
    --waiting_;
    updateExcessLocked();
  }

 private:
  // A parked thread's wake-up call.
  struct Parker {
    std::mutex mutex;
    std::condition_variable wake;
    bool signalled = false;
    bool listed = false;  // in idle_ (guarded by idleMutex_)
  };

  void spawnLocked() {
    try {
      std::thread([this] { run(); }).detach();
      ++threads_;
    } catch (const std::system_error& error) {
      std::fprintf(stderr, "dispatch: cannot start a worker thread: %s\n", error.what());
    }
    updateExcessLocked();
  }

  void updateExcessLocked() {
    excess_.store(static_cast<std::ptrdiff_t>(threads_) - static_cast<std::ptrdiff_t>(waiting_) -
                      static_cast<std::ptrdiff_t>(width_),
                  std::memory_order_relaxed);
  }

  // Whether this thread leaves because the pool has more threads ready than it keeps.
  bool retireLocked() {
    if (excess_.load(std::memory_order_relaxed) <= 0) return false;
    --threads_;
    updateExcessLocked();
    return true;
  }

  bool popAny(Job& out) {
    for (std::size_t level = kPoolLevelCount; level-- > 0;) {
      if (levels_[level].pop(out)) return true;
    }
    return false;
  }

  [[nodiscard]] bool hasWork() const {
    return std::any_of(std::begin(levels_), std::end(levels_), [](const Level& level) { return level.hasWork(); });
  }

  void run() {
    tOnPoolThread = true;
    Parker parker;
    bool counted = false;  // already counted in searching_ by whoever woke this thread
    for (;;) {
      Job job;
      if (counted || !popAny(job)) {
        if (!search(job, counted)) {
          counted = false;
          if (!park(parker)) return;
          counted = true;
          continue;
        }
      }
      counted = false;
      runJob(std::move(job));
      if (excess_.load(std::memory_order_relaxed) > 0) {
        std::lock_guard lock(idleMutex_);
        if (retireLocked()) return;
      }
    }
  }

  // Looks for a job for a while: first with pauses, then yielding the processor.
  bool search(Job& job, bool counted) {
    if (!counted) searching_.fetch_add(1, std::memory_order_seq_cst);
    bool found = false;
    spinUntil(std::chrono::nanoseconds(gSearchNanoseconds.load(std::memory_order_relaxed)), [&] {
      found = popAny(job);
      // A thread the pool no longer needs stops looking and leaves when it parks.
      return found || excess_.load(std::memory_order_relaxed) > 0;
    });
    const bool wasLast = searching_.fetch_sub(1, std::memory_order_seq_cst) == 1;
    // The last thread looking took a job: if more wait, get another thread looking, so
    // that a burst spreads over the pool.
    if (found && wasLast && idleCount_.load(std::memory_order_seq_cst) > 0 && hasWork()) wakeOne();
    return found;
  }

  // Parks until woken. False when the thread should leave instead.
  bool park(Parker& parker) {
    {
      std::lock_guard lock(idleMutex_);
      if (retireLocked()) return false;
      parker.listed = true;
      idle_.push_back(&parker);
      idleCount_.fetch_add(1, std::memory_order_seq_cst);
    }
    // A job pushed before the count went up was not seen by its pusher's wake check:
    // look once more before sleeping.
    if (hasWork()) {
      std::lock_guard lock(idleMutex_);
      if (parker.listed) {
        std::erase(idle_, &parker);
        parker.listed = false;
        idleCount_.fetch_sub(1, std::memory_order_seq_cst);
        searching_.fetch_add(1, std::memory_order_seq_cst);
        return true;
      }
      // Someone is already waking this thread: take the call.
    }
    std::unique_lock lock(parker.mutex);
    parker.wake.wait(lock, [&] { return parker.signalled; });
    parker.signalled = false;
    return true;
  }

  void wakeOne() {
    Parker* parker = nullptr;
    {
      std::lock_guard lock(idleMutex_);
      if (idle_.empty()) return;
      parker = idle_.back();  // the most recently parked thread: its caches are warm
      idle_.pop_back();
      parker->listed = false;
      idleCount_.fetch_sub(1, std::memory_order_seq_cst);
      searching_.fetch_add(1, std::memory_order_seq_cst);  // on its behalf, so no one else wakes a second thread
    }
    // Notified under the lock: once the thread sees the call it may leave the pool, and
    // its parker with it, as soon as the lock is free.
    std::lock_guard lock(parker->mutex);
    parker->signalled = true;
    parker->wake.notify_one();
  }

  const std::size_t width_;
  Level levels_[kPoolLevelCount];
  alignas(64) std::atomic<int> searching_{0};
  alignas(64) std::atomic<int> idleCount_{0};
  std::atomic<std::ptrdiff_t> excess_{0};  // threads ready beyond width_: that many leave
  std::mutex idleMutex_;
  std::vector<Parker*> idle_;
  std::size_t threads_ = 0;  // guarded by idleMutex_
  std::size_t waiting_ = 0;  // pool threads inside a PoolWaitScope; guarded by idleMutex_
};

Pool& pool() {
  static auto* shared = new Pool;  // lives for the whole process, with its threads
  return *shared;
}

}  // namespace

void submitToPool(std::size_t level, Job job) { pool().push(level, std::move(job)); }

std::size_t poolWidth() {
  static const std::size_t width = std::max(4u, std::thread::hardware_concurrency());
  return width;
}

std::chrono::nanoseconds exchangePoolSearchTime(std::chrono::nanoseconds time) {
  return std::chrono::nanoseconds(gSearchNanoseconds.exchange(time.count()));
}

PoolWaitScope::PoolWaitScope() : onPoolThread_(tOnPoolThread) {
  if (onPoolThread_) pool().beginWait();
}

PoolWaitScope::~PoolWaitScope() {
  if (onPoolThread_) pool().endWait();
}

}  // namespace ios::dispatch_internal
