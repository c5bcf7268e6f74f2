// File: platform/dispatch/internal/SpinLock.h
//
// A lock for critical sections of a few instructions (a push or a swap of a queue's
// pending blocks), where parking a thread in the kernel would cost more than the work
// it guards. It spins briefly, then yields the processor; it is never held across a
// block.
//
//   std::lock_guard lock(spinLock);
//
// DO NOT INCLUDE outside platform/.
#pragma once

#include <atomic>
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

}  // namespace ios::dispatch_internal
