#include "platform/runtime/Synchronization.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tests/support/RuntimeTestClasses.h"

namespace ios {
namespace {

TEST(Synchronization, TheOwningThreadMayEnterAgainAndMustExitAsOften) {
  auto object = NSObject::make();
  EXPECT_EQ(objc_sync_enter(object.get()), OBJC_SYNC_SUCCESS);
  EXPECT_EQ(objc_sync_enter(object.get()), OBJC_SYNC_SUCCESS);
  EXPECT_EQ(objc_sync_enter(object.get()), OBJC_SYNC_SUCCESS);

  // Another thread neither holds nor can release it.
  int otherExit = 0;
  std::thread([&] { otherExit = objc_sync_exit(object.get()); }).join();
  EXPECT_EQ(otherExit, OBJC_SYNC_NOT_OWNING_THREAD_ERROR);

  EXPECT_EQ(objc_sync_exit(object.get()), OBJC_SYNC_SUCCESS);
  EXPECT_EQ(objc_sync_exit(object.get()), OBJC_SYNC_SUCCESS);
  EXPECT_EQ(objc_sync_exit(object.get()), OBJC_SYNC_SUCCESS);
  EXPECT_EQ(objc_sync_exit(object.get()), OBJC_SYNC_NOT_OWNING_THREAD_ERROR);

  EXPECT_EQ(objc_sync_enter(nullptr), OBJC_SYNC_SUCCESS);
  EXPECT_EQ(objc_sync_exit(nullptr), OBJC_SYNC_SUCCESS);
}

TEST(Synchronization, ThreadsTakeTurnsAndNestedEntriesDoNotBlock) {
  Class key = testing::makeTestClass("MonitorKey");  // class objects are monitor keys too
  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  long counter = 0;  // deliberately not atomic: the monitor protects it
  int maxInside = 0;
  int inside = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i) {
        SyncGuard outer(key);
        maxInside = std::max(maxInside, ++inside);
        {
          SyncGuard inner(key);
          ++counter;
        }
        --inside;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counter, kThreads * kRounds);
  EXPECT_EQ(maxInside, 1);
}

TEST(Synchronization, TheGuardExitsWhenItsScopeIsLeftByAnException) {
  auto object = NSObject::make();
  try {
    SyncGuard guard(object.get());
    throw std::runtime_error("leave");
  } catch (const std::runtime_error&) {
  }
  int entered = -2;
  std::thread([&] {
    entered = objc_sync_enter(object.get());
    objc_sync_exit(object.get());
  }).join();
  EXPECT_EQ(entered, OBJC_SYNC_SUCCESS);
  EXPECT_EQ(objc_sync_exit(object.get()), OBJC_SYNC_NOT_OWNING_THREAD_ERROR);
}

TEST(Synchronization, AWaitingThreadGetsTheMonitorOnceTheOwnerHasFullyExited) {
  auto object = NSObject::make();
  std::atomic<bool> acquired{false};
  objc_sync_enter(object.get());
  objc_sync_enter(object.get());
  std::thread waiter([&] {
    SyncGuard guard(object.get());
    acquired = true;
  });
  objc_sync_exit(object.get());
  // Still held once: the waiter cannot have it yet.
  EXPECT_FALSE(acquired.load());
  objc_sync_exit(object.get());
  waiter.join();
  EXPECT_TRUE(acquired.load());
}

}  // namespace
}  // namespace ios
