// File: platform/dispatch/internal/Spin.h
//
// Busy waiting, for waits shorter than a trip through the kernel: a lock for critical
// sections of a few instructions (a push or a swap of a queue's pending blocks; never
// held across a block), and a bounded spin for an answer that is usually moments away.
//
//   std::lock_guard lock(spinLock);
//   if (!spinUntil(std::chrono::microseconds(50), [&] { return ready.load(); })) sleep();
//
// DO NOT INCLUDE outside platform/.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

namespace ios::dispatch_internal {

// Tells the processor that the caller is waiting in a loop (a pause on x86).
inline void cpuRelax() noexcept {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#elif defined(__aarch64__)
  asm volatile("yield" ::: "memory");
#endif
}

class SpinLock {
 public:
  void lock() noexcept {
    int spins = 0;
    while (locked_.exchange(true, std::memory_order_acquire)) {
      while (locked_.load(std::memory_order_relaxed)) {
        if (++spins < 64) {
          cpuRelax();
        } else {
          std::this_thread::yield();  // the holder may have been preempted
        }
      }
    }
  }
  void unlock() noexcept { locked_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> locked_{false};
};

// Calls `done()` until it answers true or `limit` has passed, pausing between calls at
// first and then yielding the processor. Returns the last answer.
template <typename Done>
bool spinUntil(std::chrono::nanoseconds limit, Done done) {
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0;; ++round) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() - start >= limit) return false;
    if (round < 64) {
      for (int i = 0; i < 4; ++i) cpuRelax();
    } else {
      std::this_thread::yield();
    }
  }
}

}  // namespace ios::dispatch_internal
