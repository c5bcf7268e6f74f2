// File: tests/platform/dispatch/ThreadSignals.h
//
// Waiting on other threads in threaded dispatch tests, without sleeping: a countdown
// the test waits on (with a limit, so that a hang fails the test instead of stalling
// it), a gate that lets blocked workers through one ticket at a time, and a hold that
// keeps a number of workers inside blocks of the global queue.
//
//   Countdown done(3);
//   ... three blocks call done.countDown() ...
//   ASSERT_TRUE(done.waitFor());
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/dispatch/DispatchQueue.h"

namespace dispatch_test {

inline constexpr std::chrono::seconds kHangLimit{60};

class Countdown {
 public:
  explicit Countdown(int count) : left_(count) {}

  void countDown() {
    std::lock_guard lock(mutex_);
    if (--left_ == 0) zero_.notify_all();
  }

  // Whether the count reached zero within `limit`.
  [[nodiscard]] bool waitFor(std::chrono::seconds limit = kHangLimit) {
    std::unique_lock lock(mutex_);
    return zero_.wait_for(lock, limit, [&] { return left_ <= 0; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable zero_;
  int left_;
};

class Gate {
 public:
  // Waits for a ticket and takes it.
  void pass() {
    std::unique_lock lock(mutex_);
    opened_.wait(lock, [&] { return tickets_ > 0; });
    --tickets_;
  }

  // Lets `tickets` more callers of pass() through.
  void open(int tickets) {
    std::lock_guard lock(mutex_);
    tickets_ += tickets;
    opened_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  int tickets_ = 0;
};

// Holds `count` workers in blocks of the global queue until release() lets them go
// (one at a time or all at once); the destructor lets the rest go and waits for them.
class HeldWorkers {
 public:
  explicit HeldWorkers(int count) : count_(count), held_(count), left_(count) {
    for (int i = 0; i < count; ++i) {
      ios::DispatchQueue::global().async([this] {
        held_.countDown();
        gate_.pass();
        left_.countDown();
      });
    }
  }
  ~HeldWorkers() {
    gate_.open(count_);
    if (!left_.waitFor()) ADD_FAILURE() << "held workers did not finish";
  }
  HeldWorkers(const HeldWorkers&) = delete;
  HeldWorkers& operator=(const HeldWorkers&) = delete;

  // Whether every worker asked for is held.
  [[nodiscard]] bool allHeld() { return held_.waitFor(); }
  void releaseOne() {
    gate_.open(1);
    --count_;
  }

 private:
  int count_;  // still held
  Countdown held_;
  Countdown left_;
  Gate gate_;
};

}  // namespace dispatch_test
