// The start-up scan runs once per process: this file has an executable of its own, and
// one test that walks the whole sequence.
#include "KPQuaslet/concurrency/SelfAware.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/uikit/UIApplication.h"
#include "tests/support/RuntimeTestClasses.h"

namespace kp {
namespace {

using ::testing::ElementsAre;

std::mutex callsLock;
std::vector<std::string> calls;  // class names, in call order

std::atomic<bool> scanStarted{false};
std::atomic<bool> secondRequestIssued{false};
std::shared_ptr<ios::UIResponder> answerInsideHook = ios::UIApplication::shared();

void record(const ios::objc_class& cls) {
  std::lock_guard lock(callsLock);
  calls.push_back(ios::NSStringFromClass(const_cast<ios::objc_class*>(&cls)));
}

std::size_t callCount() {
  std::lock_guard lock(callsLock);
  return calls.size();
}

// A C++ class whose static startupHook() holds the scan until a second thread has
// asked for the next responder too.
class Tracker : public ios::NSObject {
  IOS_RUNTIME_CLASS(Tracker, ios::NSObject);

 public:
  static void startupHook() {
    record(*classObject());
    scanStarted = true;
    while (!secondRequestIssued.load()) std::this_thread::yield();
  }
};

}  // namespace
}  // namespace kp

IOS_DEFINE_RUNTIME_CLASS(kp::Tracker, "Tracker", nullptr)

namespace kp {
namespace {

TEST(StartupScan, CallsEachConformingClassOnceBeforeTheFirstAnswer) {
  SelfAware::adopt<Tracker>();
  ios::Class trackerSub = ios::testing::makeTestClass("TrackerSub", Tracker::classObject());
  ios::Class bystander = ios::testing::makeTestClass("Bystander");
  ios::Class curious = ios::testing::makeTestClass("Curious");
  // Inherited hooks run for the subclass with the subclass as receiver.
  ios::class_addMethod(ios::object_getClass(trackerSub), SelfAware::startupHookSelector(),
                       ios::imp([](ios::objc_class& cls, ios::SEL) { record(cls); }));
  // A hook that itself asks the application for its next responder gets the answer at
  // once instead of waiting for the scan it belongs to.
  SelfAware::adopt(curious, ios::imp([](ios::objc_class& cls, ios::SEL) {
    answerInsideHook = ios::UIApplication::shared()->nextResponder();
    record(cls);
  }));
  EXPECT_EQ(callCount(), 0u);

  std::shared_ptr<ios::UIResponder> firstAnswer = ios::UIApplication::shared();
  std::thread first([&] { firstAnswer = ios::UIApplication::shared()->nextResponder(); });
  while (!scanStarted.load()) std::this_thread::yield();

  std::size_t seenBySecond = 0;
  std::thread second([&] {
    secondRequestIssued = true;
    ios::UIApplication::shared()->nextResponder();
    seenBySecond = callCount();  // the scan had finished before this request returned
  });
  first.join();
  second.join();

  const std::vector<std::string> expected{"Tracker", ios::NSStringFromClass(trackerSub), ios::NSStringFromClass(curious)};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(seenBySecond, expected.size());
  EXPECT_EQ(firstAnswer, nullptr);
  EXPECT_EQ(answerInsideHook, nullptr);
  EXPECT_FALSE(ios::conformsToProtocol(bystander, SelfAware::protocol()));

  // Later requests, and classes adopting after the scan, call nothing.
  ios::Class late = ios::testing::makeTestClass("Late");
  SelfAware::adopt(late, ios::imp([](ios::objc_class& cls, ios::SEL) { record(cls); }));
  EXPECT_EQ(ios::UIApplication::shared()->nextResponder(), nullptr);
  EXPECT_EQ(calls, expected);
}

}  // namespace
}  // namespace kp
