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
