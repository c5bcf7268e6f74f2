// The order in which the worker pool starts waiting work. Every worker but one is held
// inside a block, so that the one left free shows the order by running everything
// itself. A process of its own: no earlier test has left extra threads in the pool.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <numeric>
#include <string>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "tests/platform/dispatch/ThreadSignals.h"

namespace {

using ios::DispatchQoS;
using ios::DispatchQueue;

using dispatch_test::HeldWorkers;

// Every worker the pool keeps.
int allWorkers() { return static_cast<int>(ios::testing::dispatchWorkerCount()); }

TEST(DispatchQueueScheduling, AFreeWorkerStartsTheHighestClassFirstThenTheOldest) {
  auto privateSerial = DispatchQueue::make("private.serial", DispatchQoS::userInitiated);
  auto privateConcurrent =
      DispatchQueue::make("private.concurrent", DispatchQoS::utility, DispatchQueue::Attributes::concurrent);
  struct Row {
    const char* name;
    std::shared_ptr<DispatchQueue> queue;
    int rank;  // the class's place: higher starts first
  };
  // In submission order.
  const std::vector<Row> rows = {
      {"background 1", DispatchQueue::globalQueue(DispatchQoS::background), 0},
      {"default 1", DispatchQueue::globalQueue(DispatchQoS::default_), 2},
      {"user interactive 1", DispatchQueue::globalQueue(DispatchQoS::userInteractive), 4},
      {"private serial 1", privateSerial, 3},
      {"unspecified 1", DispatchQueue::globalQueue(DispatchQoS::unspecified), 2},
      {"private concurrent 1", privateConcurrent, 1},
      {"background 2", DispatchQueue::globalQueue(DispatchQoS::background), 0},
      {"user interactive 2", DispatchQueue::globalQueue(DispatchQoS::userInteractive), 4},
      {"private serial 2", privateSerial, 3},
      {"utility 1", DispatchQueue::globalQueue(DispatchQoS::utility), 1},
      {"default 2", DispatchQueue::globalQueue(DispatchQoS::default_), 2},
      {"user initiated 1", DispatchQueue::globalQueue(DispatchQoS::userInitiated), 3},
      {"private concurrent 2", privateConcurrent, 1},
  };
  HeldWorkers held(allWorkers());
  ASSERT_TRUE(held.allHeld());

  std::mutex mutex;
  std::vector<std::string> started;
  std::vector<std::string> offQueue;
  dispatch_test::Countdown ran(static_cast<int>(rows.size()));
  for (const Row& row : rows) {
    row.queue->async([&, row] {
      {
        std::lock_guard lock(mutex);
        started.emplace_back(row.name);
        if (!row.queue->isCurrent()) offQueue.emplace_back(row.name);
      }
      ran.countDown();
    });
  }
  held.releaseOne();
  ASSERT_TRUE(ran.waitFor());

  std::vector<Row> expected = rows;
  std::stable_sort(expected.begin(), expected.end(), [](const Row& a, const Row& b) { return a.rank > b.rank; });
  std::vector<std::string> expectedNames;
  for (const Row& row : expected) expectedNames.emplace_back(row.name);
  std::lock_guard lock(mutex);
  EXPECT_EQ(started, expectedNames);
  EXPECT_THAT(offQueue, ::testing::IsEmpty());
}

TEST(DispatchQueueScheduling, AConcurrentQueueStartsItsBlocksInSubmissionOrderPastAFullRing) {
  // More blocks wait than the pool's lock-free ring holds, so the rest wait in its
  // overflow list; halfway the free worker starts taking them while more arrive. The
  // order must hold across the ring, the list and the hand-over between them.
  constexpr int kBlocks = 20'000;
  HeldWorkers held(allWorkers());
  ASSERT_TRUE(held.allHeld());
  std::vector<int> order;  // written by the one free worker only
  dispatch_test::Countdown ran(kBlocks);
  for (int i = 0; i < kBlocks; ++i) {
    if (i == kBlocks / 2) held.releaseOne();
    DispatchQueue::global().async([&order, &ran, i] {
      order.push_back(i);
      ran.countDown();
    });
  }
  ASSERT_TRUE(ran.waitFor());
  std::vector<int> expected(kBlocks);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(order, expected);
}

}  // namespace
