// The threaded executor under load: order and exclusion on serial queues with many
// submitters, no lost wake-ups between submitters and parking workers, waits inside
// workers (sync, nested concurrentPerform) that must not starve the pool, and private
// queues released while their blocks still wait.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/dispatch/DispatchSourceTimer.h"
#include "tests/platform/dispatch/ThreadSignals.h"

namespace {

using ios::DispatchQoS;
using ios::DispatchQueue;

TEST(DispatchQueueWorkers, ASerialQueueKeepsEachSubmittersOrderAndRunsOneBlockAtATime) {
  constexpr int kSubmitters = 4;
  constexpr int kBlocksEach = 3'000;  // more than one drain's turn: drains hand over on the way
  for (DispatchQoS qos : {DispatchQoS::background, DispatchQoS::default_, DispatchQoS::userInteractive}) {
    SCOPED_TRACE(static_cast<int>(qos));
    auto queue = DispatchQueue::make("contended", qos);
    std::vector<std::vector<int>> seen(kSubmitters);  // written by the queue's blocks only
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::vector<std::thread> submitters;
    for (int s = 0; s < kSubmitters; ++s) {
      submitters.emplace_back([&, s] {
        for (int i = 0; i < kBlocksEach; ++i) {
          queue->async([&, s, i] {
            if (inside.fetch_add(1) != 0) overlaps.fetch_add(1);
            seen[s].push_back(i);
            inside.fetch_sub(1);
          });
        }
      });
    }
    for (auto& submitter : submitters) submitter.join();
    queue->sync([] {});
    EXPECT_EQ(overlaps.load(), 0);
    for (int s = 0; s < kSubmitters; ++s) {
      ASSERT_EQ(seen[s].size(), static_cast<std::size_t>(kBlocksEach));
      for (int i = 0; i < kBlocksEach; ++i) ASSERT_EQ(seen[s][i], i) << "submitter " << s;
    }
  }
}

TEST(DispatchQueueWorkers, EveryBlockSubmittedWhileAWorkerParksIsRun) {
  // All workers but one are held, the free one parks as soon as it runs dry, and the
  // test sends the next block just after the last one has run, at varying delays, so
  // that blocks keep arriving while the only free worker is on its way to parking. A
  // lost wake-up leaves a block unrun for good.
  ios::testing::ScopedWorkerSearchTime parkAtOnce(std::chrono::nanoseconds(0));
  dispatch_test::HeldWorkers held(static_cast<int>(ios::testing::dispatchWorkerCount()) - 1);
  ASSERT_TRUE(held.allHeld());
  constexpr int kRounds = 20'000;
  auto serial = DispatchQueue::make("ping");
  const std::vector<const DispatchQueue*> targets = {&DispatchQueue::global(), serial.get(),
                                                     &DispatchQueue::global(DispatchQoS::background)};
  int lost = 0;
  for (int round = 0; round < kRounds && lost == 0; ++round) {
    std::atomic<bool> ran{false};
    dispatch_test::Countdown done(1);
    targets[round % targets.size()]->async([&] {
      ran.store(true, std::memory_order_release);
      done.countDown();
    });
    // Watch for the block without sleeping, then wait a varying number of steps.
    for (int spin = 0; spin < 1'000'000 && !ran.load(std::memory_order_acquire); ++spin) {
    }
    for (int step = 0; step < (round * 37) % 600; ++step) std::atomic_signal_fence(std::memory_order_seq_cst);
    if (!done.waitFor(std::chrono::seconds(20))) ++lost;
  }
  EXPECT_EQ(lost, 0);
}

TEST(DispatchQueueWorkers, WaitsInsideEveryWorkerAtOnceStillFinish) {
  // Each case first gets every worker the pool keeps into one wait together, then has
  // each of them sync onto a serial queue, whose blocks need a free worker of their own.
  const int workers = static_cast<int>(ios::testing::dispatchWorkerCount());
  struct Case {
    const char* name;
    int syncs;
    std::function<void(const std::function<void()>& rendezvousThenSync)> run;
  };
  const std::vector<Case> cases = {
      {"blocks of the global queue", workers * 2,
       [&](const std::function<void()>& rendezvousThenSync) {
         dispatch_test::Countdown finished(workers * 2);
         for (int i = 0; i < workers * 2; ++i) {
           DispatchQueue::global().async([&] {
             rendezvousThenSync();
             finished.countDown();
           });
         }
         ASSERT_TRUE(finished.waitFor());
       }},
      {"concurrentPerform bodies", workers * 4,
       [&](const std::function<void()>& rendezvousThenSync) {
         DispatchQueue::concurrentPerform(static_cast<std::size_t>(workers) * 4,
                                          [&](std::size_t) { rendezvousThenSync(); });
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto serial = DispatchQueue::make("synced onto");
    std::mutex mutex;
    std::condition_variable arrived;
    int in = 0;
    std::atomic<int> rendezvousMissed{0};
    std::atomic<int> ranOnSerial{0};
    c.run([&] {
      {
        std::unique_lock lock(mutex);
        ++in;
        arrived.notify_all();
        if (!arrived.wait_for(lock, dispatch_test::kHangLimit, [&] { return in >= workers; })) {
          rendezvousMissed.fetch_add(1);
        }
      }
      serial->sync([&] {
        if (serial->isCurrent()) ranOnSerial.fetch_add(1);
      });
    });
    EXPECT_EQ(rendezvousMissed.load(), 0);
    EXPECT_EQ(ranOnSerial.load(), c.syncs);
  }
}

TEST(DispatchQueueWorkers, NestedConcurrentPerformInsideWorkersVisitsEveryIndexOnce) {
  const std::size_t outer = ios::testing::dispatchWorkerCount() * 2;
  constexpr std::size_t kInner = 500;
  std::vector<std::atomic<int>> visits(outer * kInner);
  dispatch_test::Countdown finished(static_cast<int>(outer));
  for (std::size_t o = 0; o < outer; ++o) {
    DispatchQueue::global(DispatchQoS::utility).async([&, o] {
      DispatchQueue::concurrentPerform(kInner, [&](std::size_t i) { visits[o * kInner + i].fetch_add(1); });
      finished.countDown();
    });
  }
  ASSERT_TRUE(finished.waitFor());
  for (const auto& v : visits) ASSERT_EQ(v.load(), 1);
}

TEST(DispatchQueueWorkers, APrivateQueueReleasedWithBlocksWaitingRunsThemAsItself) {
  for (auto attributes : {DispatchQueue::Attributes::serial, DispatchQueue::Attributes::concurrent}) {
    constexpr int kBlocks = 200;
    std::mutex mutex;
    std::vector<std::string> labels;
    dispatch_test::Countdown ran(kBlocks);
    {
      auto queue = DispatchQueue::make("released early", DispatchQoS::default_, attributes);
      for (int i = 0; i < kBlocks; ++i) {
        queue->async([&] {
          {
            std::lock_guard lock(mutex);
            labels.push_back(DispatchQueue::currentLabel());
          }
          ran.countDown();
        });
      }
    }  // the last handle goes while blocks still wait
    ASSERT_TRUE(ran.waitFor());
    std::lock_guard lock(mutex);
    EXPECT_THAT(labels, ::testing::Each(std::string("released early")));
  }
}

TEST(DispatchQueueWorkersDeathTest, TheProcessExitsCleanlyWhileWorkersAreBusy) {
  // Leaving the process must not wait for, or pull the engine from under, blocks that
  // are running or waiting on workers, drains, timers and delayed work.
  EXPECT_EXIT(
      {
        auto counter = std::make_shared<std::atomic<long>>(0);
        auto serial = DispatchQueue::make("still busy at exit");
        for (int i = 0; i < 2'000; ++i) {
          auto spin = [counter] {
            for (int k = 0; k < 10'000; ++k) counter->fetch_add(1, std::memory_order_relaxed);
          };
          DispatchQueue::global(i % 2 == 0 ? DispatchQoS::utility : DispatchQoS::userInitiated).async(spin);
          serial->async(spin);
        }
        serial->asyncAfter(ios::DispatchTime::now() + 0.001, [counter] { counter->fetch_add(1); });
        auto timer = ios::DispatchSourceTimer::makeTimerSource(serial);
        timer->setEventHandler([counter] { counter->fetch_add(1); });
        timer->schedule(ios::DispatchTime::now(), ios::DispatchTimeInterval::milliseconds(1));
        timer->resume();
        DispatchQueue::concurrentPerform(64, [counter](std::size_t) { counter->fetch_add(1); });
        std::exit(counter->load() > 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
