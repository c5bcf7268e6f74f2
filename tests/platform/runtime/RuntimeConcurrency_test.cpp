// Messages sent while other threads change method tables and associated objects.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/runtime/AssociatedObjects.h"
#include "tests/support/RuntimeTestClasses.h"

namespace ios {
namespace {

using testing::answering;
using testing::makeTestClass;
using testing::sel;

TEST(RuntimeConcurrency, SendsSeeEitherImplementationWhileAnotherThreadSwizzles) {
  Class cls = makeTestClass("Flipping");
  class_addMethod(cls, sel("side"), answering("heads"));
  class_addMethod(cls, sel("other"), answering("tails"));
  Method side = class_getInstanceMethod(cls, sel("side"));
  Method other = class_getInstanceMethod(cls, sel("other"));
  id object = class_createInstance(cls);

  std::atomic<bool> done{false};
  std::thread swizzler([&] {
    for (int i = 0; i < 2000; ++i) {
      method_exchangeImplementations(side, other);
      class_addMethod(makeTestClass("FlippingSub", cls), sel("extra"), answering("x"));
    }
    done = true;
  });
  int heads = 0;
  int tails = 0;
  int wrong = 0;
  while (!done.load()) {
    const std::string answer = testing::ask(object, sel("side"));
    (answer == "heads" ? heads : answer == "tails" ? tails : wrong)++;
  }
  swizzler.join();
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(heads + tails, 0);
}

// Each sending thread keeps its own cache of lookups; a change made on another thread
// must reach all of them: once a sender sees that the changes are over, its next send
// runs the final implementation.
TEST(RuntimeConcurrency, ChangesOnOneThreadReachTheCachedLookupsOfEverySender) {
  Class base = makeTestClass("CachedFlipping");
  Class sub = makeTestClass("CachedFlippingSub", base);
  class_addMethod(base, sel("side"), answering("heads"));
  class_addMethod(base, sel("other"), answering("tails"));
  Method side = class_getInstanceMethod(base, sel("side"));
  Method other = class_getInstanceMethod(base, sel("other"));
  id object = class_createInstance(sub);

  constexpr int kSenders = 4;
  constexpr int kExchanges = 501;  // odd: the selectors end up exchanged
  std::atomic<bool> done{false};
  std::atomic<int> warmed{0};
  std::vector<std::string> lastAnswers(kSenders);
  std::vector<int> wrong(kSenders, 0);
  std::vector<std::thread> senders;
  for (int i = 0; i < kSenders; ++i) {
    senders.emplace_back([&, i] {
      bool counted = false;
      while (!done.load(std::memory_order_acquire)) {
        const std::string answer = testing::ask(object, sel("side"));
        if (answer != "heads" && answer != "tails") ++wrong[i];
        if (!counted) {
          counted = true;
          warmed.fetch_add(1);
        }
      }
      lastAnswers[i] = testing::ask(object, sel("side"));
    });
  }
  while (warmed.load() < kSenders) std::this_thread::yield();  // every sender has a cached lookup
  for (int i = 0; i < kExchanges; ++i) method_exchangeImplementations(side, other);
  done.store(true, std::memory_order_release);
  for (auto& sender : senders) sender.join();

  for (int i = 0; i < kSenders; ++i) {
    EXPECT_EQ(wrong[i], 0);
    EXPECT_EQ(lastAnswers[i], "tails") << "sender " << i;
  }
}

TEST(RuntimeConcurrency, AssociatedObjectsOfOneOwnerFromManyThreads) {
  auto owner = NSObject::make();
  static char keys[4];
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) {
        objc_setAssociatedObject(owner.get(), &keys[t], NSObject::make(), OBJC_ASSOCIATION_RETAIN);
        EXPECT_NE(objc_getAssociatedObject(owner.get(), &keys[t]), nullptr);
        (void)objc_getAssociatedObject(owner.get(), &keys[(t + 1) % 4]);  // another thread's, in flux
        if (i % 2 == 0) {
          objc_setAssociatedObject(owner.get(), &keys[t], nullptr, OBJC_ASSOCIATION_RETAIN);
          EXPECT_EQ(objc_getAssociatedObject(owner.get(), &keys[t]), nullptr);
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  objc_removeAssociatedObjects(owner.get());
  for (auto& key : keys) EXPECT_EQ(objc_getAssociatedObject(owner.get(), &key), nullptr);
}

}  // namespace
}  // namespace ios
