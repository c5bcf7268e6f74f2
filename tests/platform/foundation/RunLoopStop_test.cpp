// Ending a run loop's run: stop() from inside and from other threads, runs until a
// date, and single passes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"

namespace {

using ::testing::ElementsAre;
using ios::DispatchQueue;
using ios::DispatchTime;
using ios::RunLoop;

class RunLoopStopTest : public ::testing::Test {
 protected:
  double now() const { return ios::CFAbsoluteTimeGetCurrent(); }
  ios::testing::ManualDispatch dispatch_{100.0};
  std::vector<std::string> log_;
};

TEST_F(RunLoopStopTest, RunEndsAfterTheBlockThatStopsItAndLeavesLaterWorkWaiting) {
  DispatchQueue::main().asyncAfter(DispatchTime::now() + 1.0, [&] {
    log_.push_back("stops");
    RunLoop::main().stop();
  });
  DispatchQueue::main().asyncAfter(DispatchTime::now() + 2.0, [&] { log_.push_back("later"); });
  RunLoop::main().run();
  EXPECT_THAT(log_, ElementsAre("stops"));
  EXPECT_DOUBLE_EQ(now(), 101.0);
  RunLoop::main().run(ios::Date::now() + 5);  // a fresh run goes on with the rest
  EXPECT_THAT(log_, ElementsAre("stops", "later"));
}

TEST_F(RunLoopStopTest, ATimerThatStopsTheLoopEndsARunBeforeItsDate) {
  auto timer = ios::Timer::make(now() + 1, 1.0, [&](ios::Timer&) {
    log_.push_back("tick");
    if (log_.size() == 2) RunLoop::main().stop();
  });
  RunLoop::main().add(timer);
  RunLoop::main().run(ios::Date::now() + 10);
  EXPECT_THAT(log_, ElementsAre("tick", "tick"));
  EXPECT_DOUBLE_EQ(now(), 102.0);
  timer->invalidate();
}

TEST_F(RunLoopStopTest, AStopWhileNotRunningEndsTheNextRunAtOnce) {
  DispatchQueue::main().asyncAfter(DispatchTime::now() + 1.0, [&] { log_.push_back("work"); });
  RunLoop::main().stop();
  RunLoop::main().run(ios::Date::now() + 5);
  EXPECT_TRUE(log_.empty());
  EXPECT_DOUBLE_EQ(now(), 100.0);
  RunLoop::main().run(ios::Date::now() + 5);  // the stop was used up
  EXPECT_THAT(log_, ElementsAre("work"));
}

TEST_F(RunLoopStopTest, RunWithoutADateReturnsWhenNothingIsLeftThatCouldStopIt) {
  DispatchQueue::main().asyncAfter(DispatchTime::now() + 3.0, [&] { log_.push_back("last"); });
  RunLoop::main().run();
  EXPECT_THAT(log_, ElementsAre("last"));
  EXPECT_DOUBLE_EQ(now(), 103.0);
}

TEST_F(RunLoopStopTest, RunOncePassesOverWhatIsDueOrWaitsForTheNextEvent) {
  auto& loop = RunLoop::main();
  // Blocks already waiting: one pass runs them all and returns without moving the clock.
  DispatchQueue::main().async([&] { log_.push_back("a"); });
  DispatchQueue::main().async([&] { log_.push_back("b"); });
  EXPECT_TRUE(loop.runOnce());
  EXPECT_THAT(log_, ElementsAre("a", "b"));
  EXPECT_DOUBLE_EQ(now(), 100.0);
  // Nothing waiting: the pass waits for the next timer and returns once it fired.
  auto timer = ios::Timer::make(now() + 2, 0, [&](ios::Timer&) { log_.push_back("timer"); });
  loop.add(timer);
  DispatchQueue::main().asyncAfter(DispatchTime::now() + 4.0, [&] { log_.push_back("delayed"); });
  EXPECT_TRUE(loop.runOnce());
  EXPECT_THAT(log_, ElementsAre("a", "b", "timer"));
  EXPECT_DOUBLE_EQ(now(), 102.0);
  EXPECT_TRUE(loop.runOnce());
  EXPECT_THAT(log_, ElementsAre("a", "b", "timer", "delayed"));
  EXPECT_DOUBLE_EQ(now(), 104.0);
  // Nothing at all before the date: false at the date.
  EXPECT_FALSE(loop.runOnce(ios::kCFRunLoopDefaultMode, ios::Date::now() + 1));
  EXPECT_DOUBLE_EQ(now(), 105.0);
  // Stopped in the pass: false, so that a pumping loop ends.
  DispatchQueue::main().async([&] { loop.stop(); });
  EXPECT_FALSE(loop.runOnce());
}

TEST_F(RunLoopStopTest, RunInModeAnswersWhyItReturned) {
  struct Case {
    const char* name;
    bool stopInBlock;
    bool returnAfterSourceHandled;
    double seconds;
    ios::CFRunLoopRunResult expected;
    double clockAfter;
  };
  const Case cases[] = {
      {"stopped by a block", true, false, 10, ios::kCFRunLoopRunStopped, 1},
      {"timed out while blocks ran", false, false, 10, ios::kCFRunLoopRunTimedOut, 10},
      {"returns after the handled block", false, true, 10, ios::kCFRunLoopRunHandledSource, 1},
      {"nothing due within the time", false, true, 0.5, ios::kCFRunLoopRunTimedOut, 0.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const double start = now();
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 1.0, [&, stop = c.stopInBlock] {
      if (stop) ios::CFRunLoopStop(ios::CFRunLoopGetMain());
    });
    EXPECT_EQ(ios::CFRunLoopRunInMode(ios::kCFRunLoopDefaultMode, c.seconds, c.returnAfterSourceHandled), c.expected);
    EXPECT_DOUBLE_EQ(now() - start, c.clockAfter);
    dispatch_.advance(1.0);  // what a short run left behind
  }
}

// Threaded: the main thread waits for real, and other threads end its wait.

TEST(RunLoopStopThreaded, AWorkerThatReportsOnTheMainQueueStopsTheMainLoop) {
  std::atomic<int> answer{0};
  DispatchQueue::global().async([&] {
    const int computed = 6 * 7;
    DispatchQueue::main().async([&, computed] {
      answer = computed;
      RunLoop::main().stop();
    });
  });
  RunLoop::main().run();
  EXPECT_EQ(answer.load(), 42);
}

TEST(RunLoopStopThreaded, StopFromAnotherThreadEndsTheMainLoopsWait) {
  std::thread stopper([] { ios::CFRunLoopStop(ios::CFRunLoopGetMain()); });
  // Whether the stop comes before the run or during its wait, the run ends stopped.
  EXPECT_EQ(ios::CFRunLoopRunInMode(ios::kCFRunLoopDefaultMode, 3600, false), ios::kCFRunLoopRunStopped);
  stopper.join();
}

TEST(RunLoopStopThreaded, ATimerAddedFromAnotherThreadWakesTheWaitingMainLoop) {
  std::atomic<bool> fired{false};
  std::thread adder([&] {
    RunLoop::main().add(ios::Timer::make(ios::CFAbsoluteTimeGetCurrent(), 0, [&](ios::Timer&) { fired = true; }));
  });
  // Without a wake-up the pass would sleep until its date, a year away.
  while (!fired.load()) RunLoop::main().runOnce(ios::kCFRunLoopDefaultMode, ios::Date::now() + 365 * 86400.0);
  adder.join();
  EXPECT_TRUE(fired.load());
}

TEST(RunLoopStopThreaded, StopEndsTheRunOfAnotherThreadsLoop) {
  std::mutex mutex;
  std::condition_variable ready;
  RunLoop* workerLoop = nullptr;
  ios::CFRunLoopRunResult result{};
  std::thread worker([&] {
    {
      std::lock_guard lock(mutex);
      workerLoop = &RunLoop::current();
    }
    ready.notify_all();
    result = ios::CFRunLoopRunInMode(ios::kCFRunLoopDefaultMode, 3600, false);
  });
  {
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] { return workerLoop != nullptr; });
  }
  workerLoop->stop();
  worker.join();
  EXPECT_EQ(result, ios::kCFRunLoopRunStopped);
}

}  // namespace
