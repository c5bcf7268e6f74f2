// Synchronous blocks in the threaded executor: where they run, what they see of their
// queue, and the order they keep with the queue's other blocks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "tests/platform/dispatch/ThreadSignals.h"

namespace {

using ::testing::ElementsAre;
using ios::DispatchQueue;

struct SyncCase {
  const char* name;
  DispatchQueue::Attributes attributes;
};

class DispatchQueueSyncInPlace : public ::testing::TestWithParam<SyncCase> {};

TEST_P(DispatchQueueSyncInPlace, RunsOnTheCallerAsTheQueue) {
  auto queue = DispatchQueue::make(std::string("sync.") + GetParam().name, ios::DispatchQoS::utility,
                                   GetParam().attributes);
  const auto caller = std::this_thread::get_id();
  std::thread::id ranOn;
  std::string label;
  bool current = false;
  bool mainCurrent = true;
  queue->sync([&] {
    ranOn = std::this_thread::get_id();
    label = DispatchQueue::currentLabel();
    current = queue->isCurrent();
    mainCurrent = DispatchQueue::main().isCurrent();
  });
  EXPECT_EQ(ranOn, caller);
  EXPECT_EQ(label, queue->label());
  EXPECT_TRUE(current);
  EXPECT_FALSE(mainCurrent);
  // Back outside the block the caller is on the main thread again.
  EXPECT_EQ(DispatchQueue::currentLabel(), "com.apple.main-thread");
  EXPECT_FALSE(queue->isCurrent());
}

TEST_P(DispatchQueueSyncInPlace, AThrowingBlockReachesTheCallerAndLeavesTheQueueUsable) {
  auto queue = DispatchQueue::make(std::string("sync.throw.") + GetParam().name, ios::DispatchQoS::unspecified,
                                   GetParam().attributes);
  EXPECT_THROW(queue->sync([] { throw std::runtime_error("boom"); }), std::runtime_error);
  dispatch_test::Countdown ran(1);
  queue->async([&] { ran.countDown(); });
  EXPECT_TRUE(ran.waitFor());
  bool after = false;
  queue->sync([&] { after = true; });
  EXPECT_TRUE(after);
}

INSTANTIATE_TEST_SUITE_P(Queues, DispatchQueueSyncInPlace,
                         ::testing::Values(SyncCase{"serial", DispatchQueue::Attributes::serial},
                                           SyncCase{"concurrent", DispatchQueue::Attributes::concurrent}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DispatchQueueSync, BlocksSubmittedDuringAnInPlaceBlockRunAfterItInOrder) {
  auto queue = DispatchQueue::make("sync.nested");
  std::mutex mutex;
  std::vector<std::string> order;
  const auto record = [&](std::string what) {
    std::lock_guard lock(mutex);
    order.push_back(std::move(what));
  };
  queue->sync([&] {
    queue->async([&] { record("first async"); });
    queue->async([&] { record("second async"); });
    record("sync");
  });
  queue->sync([&] { record("next sync"); });
  EXPECT_THAT(order, ElementsAre("sync", "first async", "second async", "next sync"));
}

TEST(DispatchQueueSync, WaitsForTheBlocksOfABusySerialQueue) {
  auto queue = DispatchQueue::make("sync.busy");
  dispatch_test::Gate gate;
  dispatch_test::Countdown started(1);
  std::atomic<int> finished{0};
  queue->async([&] {
    started.countDown();
    gate.pass();
    ++finished;
  });
  queue->async([&] { ++finished; });
  ASSERT_TRUE(started.waitFor());
  std::atomic<bool> entering{false};
  std::thread opener([&] {
    while (!entering.load()) std::this_thread::yield();
    gate.open(1);
  });
  int seen = -1;
  entering = true;
  queue->sync([&] { seen = finished.load(); });
  opener.join();
  EXPECT_EQ(seen, 2);  // both earlier blocks ran first
}

TEST(DispatchQueueSync, TheMainQueueRunsItsSyncBlocksOnTheMainThread) {
  bool onMain = false;
  std::thread caller([&] { DispatchQueue::main().sync([&] { onMain = ios::Thread::isMainThread(); }); });
  // The main thread serves the main queue while the other thread waits in sync.
  while (!onMain) ios::RunLoop::main().runOnce();
  caller.join();
  EXPECT_TRUE(onMain);
}

}  // namespace
