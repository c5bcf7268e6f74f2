// File: platform/dispatch/internal/WorkerPool.h
//
// The threads that run global and private queues in the threaded executor.
//
//   submitToPool(level, Job{std::move(block), queue->handle()});
//
// Jobs wait in one first-in first-out line per quality-of-service level; a free thread
// takes the oldest job of the highest level that has one. Submitting costs one slot of
// a lock-free ring (a locked overflow list takes over while the ring is full) and, only
// when no thread is busy looking for work and some are parked, one wake-up. A thread
// that runs out of work keeps looking for a short while before it parks, so that a
// burst of small blocks costs no wake-up per block. No lock is held while a job runs.
// The pool keeps `poolWidth()` threads ready: a pool thread that waits for other work
// of the pool (inside `sync`, say) lends its place to another thread meanwhile, so
// waits never starve the pool. The threads live until the process ends.
//
// DO NOT INCLUDE outside platform/.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>

#include "platform/dispatch/internal/Block.h"

namespace ios::dispatch_internal {

class QueueCore;

// One unit of work for a pool thread, 56 bytes, so that a slot of the pool's ring, with
// its sequence number, fills one cache line. What it does follows from what it holds:
// - a block and a queue: run the block as a block of that (concurrent) queue;
// - a queue without a block: run the pending blocks of that (serial) queue;
// - a block without a queue: run it outside any queue (the engine's own helpers).
struct Job {
  Block block;
  // Keeps a private queue alive until its job has run; for a process-wide queue it only
  // points (QueueCore::handle()), so that its jobs touch no shared count.
  std::shared_ptr<QueueCore> queue;
};

// The number of quality-of-service levels; level 0 runs last.
inline constexpr std::size_t kPoolLevelCount = 5;

// Queues `job` at `level` and wakes a thread if none is free to take it. Starts the
// pool on first use.
void submitToPool(std::size_t level, Job job);

// The number of threads the pool keeps ready to run jobs (known without starting it).
[[nodiscard]] std::size_t poolWidth();

// Runs one job taken from the pool (defined by the engine).
void runJob(Job job);

// Sets how long a pool thread that ran out of work looks for more before it parks, and
// returns the previous time (a test seam).
std::chrono::nanoseconds exchangePoolSearchTime(std::chrono::nanoseconds time);

// PoolWaitScope
//
// Marks a wait of the calling thread for other work of the pool. On a pool thread, the
// pool starts or keeps another thread in its place until the scope ends; elsewhere it
// does nothing.
class PoolWaitScope {
 public:
  PoolWaitScope();
  ~PoolWaitScope();
  PoolWaitScope(const PoolWaitScope&) = delete;
  PoolWaitScope& operator=(const PoolWaitScope&) = delete;

 private:
  bool onPoolThread_;
};

}  // namespace ios::dispatch_internal
