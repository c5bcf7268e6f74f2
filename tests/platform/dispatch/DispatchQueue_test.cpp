#include "platform/dispatch/DispatchQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <future>
#include <thread>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Thread.h"

namespace {

using ::testing::ElementsAre;
using ios::DispatchQueue;
using ios::DispatchTime;

TEST(DispatchTime, SecondsTruncateTowardZeroAndIntervalsSaturate) {
  EXPECT_EQ(ios::secondsToNanoseconds(1.0000000009), 1'000'000'000);
  EXPECT_EQ(ios::secondsToNanoseconds(-0.0000000019), -1);
  EXPECT_EQ(ios::secondsToNanoseconds(0.5), 500'000'000);
  const auto t = DispatchTime::fromUptimeNanoseconds(100);
  EXPECT_EQ((t + ios::DispatchTimeInterval::never()), DispatchTime::distantFuture());
  EXPECT_EQ((t + ios::DispatchTimeInterval::seconds(INT64_MAX)), DispatchTime::distantFuture());
  EXPECT_EQ((t + ios::DispatchTimeInterval::nanoseconds(-500)).uptimeNanoseconds(), 0u);
  EXPECT_EQ((t + ios::DispatchTimeInterval::milliseconds(2)).uptimeNanoseconds(), 2'000'100u);
  EXPECT_EQ((DispatchTime::distantFuture() + 1.0), DispatchTime::distantFuture());
  EXPECT_EQ((t - 1.0).uptimeNanoseconds(), 0u);
}

TEST(DispatchTimeDeathTest, SecondsThatCannotBeCountedStopTheProcess) {
  EXPECT_DEATH((void)ios::secondsToNanoseconds(std::nan("")), "must be finite");
  EXPECT_DEATH((void)ios::secondsToNanoseconds(1e10), "too large");
  EXPECT_DEATH((void)ios::secondsToNanoseconds(-1e300), "too large");
}

class ManualDispatchTest : public ::testing::Test {
 protected:
  ios::testing::ManualDispatch dispatch_{1000.0};
};

TEST_F(ManualDispatchTest, SubmissionNeverRunsInlineAndSerialQueuesKeepOrder) {
  auto queue = DispatchQueue::make("serial");
  std::vector<int> order;
  queue->async([&] { order.push_back(1); });
  queue->async([&] {
    order.push_back(2);
    queue->async([&] { order.push_back(4); });
  });
  DispatchQueue::main().async([&] { order.push_back(3); });
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(dispatch_.runPending(), 4u);
  // The serial queue keeps its own order; the main queue's block may come anywhere.
  std::vector<int> serial;
  std::copy_if(order.begin(), order.end(), std::back_inserter(serial), [](int v) { return v != 3; });
  EXPECT_THAT(serial, ElementsAre(1, 2, 4));
  EXPECT_THAT(order, ::testing::Contains(3));
}

TEST_F(ManualDispatchTest, DelayedWorkRunsAtItsDeadlineAndNotBefore) {
  std::vector<std::string> log;
  auto& main = DispatchQueue::main();
  main.asyncAfter(DispatchTime::now() + 2.0, [&] { log.push_back("two"); });
  main.asyncAfter(DispatchTime::now() + 1.0, [&] {
    log.push_back("one");
    main.async([&] { log.push_back("after one"); });
  });
  main.asyncAfter(DispatchTime::now() - 5.0, [&] { log.push_back("past"); });
  main.asyncAfter(DispatchTime::distantFuture(), [&] { log.push_back("never"); });
  dispatch_.runPending();
  EXPECT_THAT(log, ElementsAre("past"));
  dispatch_.advance(0.999999999);
  EXPECT_THAT(log, ElementsAre("past"));
  dispatch_.advanceNanoseconds(1);
  EXPECT_THAT(log, ElementsAre("past", "one", "after one"));
  dispatch_.advance(10);
  EXPECT_THAT(log, ElementsAre("past", "one", "after one", "two"));
  EXPECT_EQ(dispatch_.pendingTimerCount(), 0u);
  EXPECT_DOUBLE_EQ(ios::Date::now().timeIntervalSinceReferenceDate(), 1011.0) << "absolute time moves too";
}

TEST_F(ManualDispatchTest, CurrentQueueLabels) {
  auto queue = DispatchQueue::make("com.example.worker");
  std::vector<std::string> labels;
  queue->async([&] { labels.push_back(DispatchQueue::currentLabel()); });
  DispatchQueue::main().async([&] { labels.push_back(DispatchQueue::currentLabel()); });
  DispatchQueue::global().async([&] { labels.push_back(DispatchQueue::currentLabel()); });
  dispatch_.runPending();
  EXPECT_THAT(labels, ElementsAre("com.example.worker", "com.apple.main-thread", "com.apple.root.default-qos"));
  EXPECT_EQ(DispatchQueue::currentLabel(), "com.apple.main-thread") << "the test runs on the main thread";
  EXPECT_TRUE(DispatchQueue::main().isCurrent());
  EXPECT_FALSE(queue->isCurrent());
}

TEST_F(ManualDispatchTest, CancelledWorkItemsDoNotRun) {
  int runs = 0;
  auto item = ios::DispatchWorkItem::make([&] { ++runs; });
  auto kept = ios::DispatchWorkItem::make([&] { runs += 10; });
  DispatchQueue::main().asyncAfter(DispatchTime::now() + 1.0, item);
  DispatchQueue::main().async(kept);
  item->cancel();
  dispatch_.advance(2);
  EXPECT_EQ(runs, 10);
  EXPECT_TRUE(item->isCancelled());
}

TEST_F(ManualDispatchTest, AThrowingBlockLeavesItsQueueUsable) {
  auto queue = DispatchQueue::make("q");
  std::vector<int> ran;
  queue->async([] { throw std::runtime_error("boom"); });
  queue->async([&] { ran.push_back(2); });
  EXPECT_THROW(dispatch_.runPending(), std::runtime_error);
  dispatch_.runPending();
  EXPECT_THAT(ran, ElementsAre(2));
}

TEST_F(ManualDispatchTest, SyncRunsEarlierBlocksFirst) {
  auto queue = DispatchQueue::make("q");
  std::vector<int> order;
  queue->async([&] { order.push_back(1); });
  queue->sync([&] { order.push_back(2); });
  EXPECT_THAT(order, ElementsAre(1, 2));
}

TEST(DispatchQueueDeathTest, SyncOntoTheQueueThatRunsTheCallerStops) {
  EXPECT_DEATH(
      {
        auto queue = DispatchQueue::make("q");
        queue->sync([&] { queue->sync([] {}); });
      },
      "dispatch_sync called on queue already owned by current thread");
}

TEST(DispatchQueueThreaded, WorkLeftByManualDispatchIsDroppedAndTheQueueStaysUsable) {
  auto queue = DispatchQueue::make("left over");
  auto dropped = std::make_shared<int>(0);
  std::weak_ptr<int> watch = dropped;
  bool ran = false;
  {
    ios::testing::ManualDispatch manual;
    queue->async([&ran, dropped] { ran = true; });
    DispatchQueue::main().async([dropped] {});
  }
  dropped.reset();
  EXPECT_TRUE(watch.expired()) << "the blocks left over are released";
  bool after = false;
  queue->sync([&] { after = true; });  // a queue still marked as draining would never run this
  EXPECT_TRUE(after);
  EXPECT_FALSE(ran);
  {
    ios::testing::ManualDispatch manual;
    DispatchQueue::main().async([&after] { after = false; });
    manual.runPending();
  }
  EXPECT_FALSE(after) << "the main queue drains again under the next manual executor";
}

TEST(DispatchQueueThreaded, ABlockWhoseCapturesSubmitWorkAsTheyGoDoesNotStallTheWorkers) {
  // Releasing a block may release the last reference of an object whose destructor
  // submits work (a timer resuming its source, for one).
  struct SubmitsWhenReleased {
    std::shared_ptr<std::promise<void>> done;
    ~SubmitsWhenReleased() {
      DispatchQueue::global().async([done = done] { done->set_value(); });
    }
  };
  auto done = std::make_shared<std::promise<void>>();
  auto future = done->get_future();
  DispatchQueue::global().async([guard = std::make_shared<SubmitsWhenReleased>(done)] {});
  done.reset();
  ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  bool after = false;
  DispatchQueue::make("still running")->sync([&] { after = true; });
  EXPECT_TRUE(after);
}

TEST(DispatchQueueThreaded, PrivateQueuesRunOffTheCallerInOrder) {
  auto queue = DispatchQueue::make("threaded");
  std::vector<int> order;
  std::atomic<bool> onWorker{true};
  for (int i = 0; i < 100; ++i) {
    queue->async([&, i] {
      order.push_back(i);
      if (ios::Thread::isMainThread() || !queue->isCurrent()) onWorker = false;
    });
  }
  bool syncInQueue = false;
  queue->sync([&] { syncInQueue = queue->isCurrent(); });
  std::vector<int> expected(100);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(order, expected);
  EXPECT_TRUE(onWorker);
  EXPECT_TRUE(syncInQueue);
}

TEST(DispatchQueueThreaded, DelayedWorkArrivesAfterItsDeadline) {
  auto queue = DispatchQueue::make("delayed");
  std::promise<std::uint64_t> ranAt;
  const auto deadline = DispatchTime::now() + 0.02;
  queue->asyncAfter(deadline, [&] { ranAt.set_value(ios::clock::uptimeNanoseconds()); });
  auto future = ranAt.get_future();
  ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_GE(future.get(), deadline.uptimeNanoseconds());
}

TEST(DispatchQueueThreaded, ConcurrentPerformVisitsEveryIndexOnce) {
  std::vector<std::atomic<int>> visits(1000);
  DispatchQueue::concurrentPerform(visits.size(), [&](std::size_t i) { visits[i].fetch_add(1); });
  for (const auto& v : visits) ASSERT_EQ(v.load(), 1);
  DispatchQueue::concurrentPerform(0, [](std::size_t) { FAIL() << "no iterations"; });
}

TEST(DispatchQueueThreaded, ConcurrentPerformStopsAtTheFirstExceptionAndRethrowsIt) {
  // Every call throws, so each taking part (the workers and the caller) runs at most one
  // call: after it, the loop has stopped.
  std::atomic<int> ran{0};
  EXPECT_THROW(DispatchQueue::concurrentPerform(100000,
                                                [&](std::size_t i) {
                                                  ran.fetch_add(1);
                                                  throw std::invalid_argument(std::to_string(i));
                                                }),
               std::invalid_argument);
  EXPECT_GE(ran.load(), 1);
  EXPECT_LE(ran.load(), static_cast<int>(std::max(4u, std::thread::hardware_concurrency())) + 1);
}

}  // namespace

namespace {

TEST(ManualDispatchLifetime, WorkLeftByOneTestNeverReachesTheNext) {
  int stale = 0;
  {
    ios::testing::ManualDispatch first;
    DispatchQueue::main().async([&] { ++stale; });
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 1.0, [&] { ++stale; });
  }  // left behind, never run
  ios::testing::ManualDispatch second;
  int fresh = 0;
  DispatchQueue::main().async([&] { ++fresh; });
  second.advance(5);
  EXPECT_EQ(fresh, 1) << "the main queue is not stuck behind a forgotten drain";
  EXPECT_EQ(stale, 0);
}

}  // namespace
