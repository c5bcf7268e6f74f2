#include "platform/foundation/RunLoop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <any>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/runtime/Runtime.h"
#include "tests/support/RuntimeTestClasses.h"

namespace {

using ::testing::ElementsAre;

class RunLoopTest : public ::testing::Test {
 protected:
  double now() const { return ios::CFAbsoluteTimeGetCurrent(); }
  void runFor(double seconds, const ios::RunLoopMode& mode = ios::kCFRunLoopDefaultMode) {
    ios::RunLoop::main().run(mode, ios::Date::now() + seconds);
  }

  ios::testing::ManualDispatch dispatch_{100.0};
};

TEST_F(RunLoopTest, RepeatingTimersFireOnTheirGridWhileTheLoopRuns) {
  std::vector<double> fires;
  ios::Timer* seen = nullptr;
  auto timer = ios::CFRunLoopTimerCreateWithHandler(now() + 1, 2.0, [&](ios::Timer& t) {
    fires.push_back(now());
    seen = &t;
  });
  ios::CFRunLoopAddTimer(ios::CFRunLoopGetCurrent(), timer, ios::kCFRunLoopCommonModes);
  runFor(5.5);
  EXPECT_THAT(fires, ElementsAre(101.0, 103.0, 105.0));
  EXPECT_EQ(seen, timer.get()) << "the handler gets the timer itself";
  dispatch_.advance(10);  // the loop is not running: nothing fires
  runFor(2.0);            // a late timer fires once at once, then goes on on its grid
  EXPECT_THAT(fires, ElementsAre(101.0, 103.0, 105.0, 115.5, 117.0));
  timer->invalidate();
  EXPECT_EQ(ios::RunLoop::main().timerCount(), 0u);
}

TEST_F(RunLoopTest, OneShotTimersFireOnceAndAreInvalidated) {
  int fires = 0;
  auto timer = ios::CFRunLoopTimerCreateWithHandler(now() + 1, 0, [&](ios::Timer&) { ++fires; });
  ios::RunLoop::main().add(timer);
  runFor(3);
  EXPECT_EQ(fires, 1);
  EXPECT_FALSE(timer->isValid());
}

TEST_F(RunLoopTest, TimersFireOnlyInTheirModes) {
  std::vector<std::string> fires;
  auto tracking = ios::Timer::make(now() + 1, 0, [&](ios::Timer&) { fires.push_back("tracking"); });
  auto common = ios::Timer::make(now() + 1, 0, [&](ios::Timer&) { fires.push_back("common"); });
  ios::RunLoop::main().add(tracking, ios::UITrackingRunLoopMode);
  ios::RunLoop::main().add(common, ios::kCFRunLoopCommonModes);
  runFor(2);
  EXPECT_THAT(fires, ElementsAre("common"));
  runFor(2, ios::UITrackingRunLoopMode);
  EXPECT_THAT(fires, ElementsAre("common", "tracking"));
}

TEST_F(RunLoopTest, InvalidatingReleasesTheHandlerAndWorksFromInsideIt) {
  auto token = std::make_shared<int>(0);
  std::weak_ptr<int> watch = token;
  int fires = 0;
  auto timer = ios::Timer::make(now() + 1, 1.0, [&fires, token](ios::Timer& t) {
    if (++fires == 2) t.invalidate();
  });
  token.reset();
  ios::RunLoop::main().add(timer);
  runFor(10);
  EXPECT_EQ(fires, 2);
  EXPECT_TRUE(watch.expired());
}

TEST_F(RunLoopTest, TheMainLoopRunsTheMainQueue) {
  std::vector<std::string> log;
  ios::DispatchQueue::main().asyncAfter(ios::DispatchTime::now() + 1.5, [&] { log.push_back("dispatch"); });
  auto timer = ios::Timer::make(now() + 1, 0, [&](ios::Timer&) { log.push_back("timer"); });
  ios::RunLoop::main().add(timer);
  runFor(2);
  EXPECT_THAT(log, ElementsAre("timer", "dispatch"));
}

TEST_F(RunLoopTest, TargetActionTimersSendTheirSelectorAndKeepTheTargetUntilInvalidated) {
  ios::Class cls = ios::testing::makeTestClass("RunLoopTestTarget");
  std::vector<std::pair<double, bool>> fires;
  ios::class_addMethod(cls, ios::sel_registerName("tick:"),
                       ios::imp([&](ios::NSObject&, ios::SEL, std::shared_ptr<ios::Timer> timer) {
                         fires.emplace_back(now(), std::any_cast<int>(timer->userInfo()) == 7);
                       }));
  ios::id target = ios::class_createInstance(cls);
  std::weak_ptr<ios::NSObject> watch = target;
  auto timer = ios::Timer::scheduledTimer(1.0, target, ios::sel_registerName("tick:"), 7, true);
  auto once = ios::Timer::scheduledTimer(-1.0, target, ios::sel_registerName("tick:"), 7, false);
  EXPECT_TRUE(timer->isMemberOfClass(ios::NSTimer::classObject()));
  EXPECT_EQ(ios::NSStringFromClass(ios::NSTimer::classObject()), "NSTimer");
  EXPECT_EQ(once->timeInterval(), 0.0);
  target.reset();
  EXPECT_FALSE(watch.expired()) << "the timer keeps its target";
  runFor(2.5);
  using ::testing::DoubleNear;
  using ::testing::Pair;
  EXPECT_THAT(fires, ElementsAre(Pair(DoubleNear(100.0001, 1e-6), true), Pair(101.0, true), Pair(102.0, true)));
  EXPECT_FALSE(once->isValid());
  timer->invalidate();
  EXPECT_TRUE(watch.expired()) << "invalidating releases the target";
}

TEST(RunLoopThreaded, ATimerFiresOnTheThreadWhoseLoopRunsIt) {
  std::atomic<int> fires{0};
  std::thread::id firedOn;
  std::thread worker([&] {
    auto timer = ios::Timer::make(ios::CFAbsoluteTimeGetCurrent() + 0.001, 0.001, [&](ios::Timer& t) {
      firedOn = std::this_thread::get_id();
      if (fires.fetch_add(1) + 1 == 3) t.invalidate();
    });
    ios::RunLoop::current().add(timer);
    while (timer->isValid()) ios::RunLoop::current().run(ios::Date::now() + 0.05);
  });
  const auto workerId = worker.get_id();
  worker.join();
  EXPECT_EQ(fires.load(), 3);
  EXPECT_EQ(firedOn, workerId);
}

// A thread's run loop ends with the thread; timers added to it outlive it harmlessly,
// and a loop made later (possibly at the same address) never takes them for its own.
TEST(RunLoopThreaded, TimersOutliveTheLoopOfAThreadThatEnded) {
  int fires = 0;
  auto timer = ios::Timer::make(ios::CFAbsoluteTimeGetCurrent(), 0.001, [&](ios::Timer&) { ++fires; });
  const std::weak_ptr<ios::Timer> watch = timer;
  std::thread([&] { ios::RunLoop::current().add(timer); }).join();
  EXPECT_TRUE(timer->isValid());

  std::size_t adopted = 0;
  std::thread([&] {
    auto& loop = ios::RunLoop::current();
    loop.add(timer);  // it belongs to the loop that is gone
    adopted = loop.timerCount();
    loop.run(ios::Date::now() + 0.01);
  }).join();
  EXPECT_EQ(adopted, 0u);
  EXPECT_EQ(fires, 0);

  timer->invalidate();  // nothing to remove it from any more
  EXPECT_FALSE(timer->isValid());
  timer->invalidate();
  timer.reset();
  EXPECT_TRUE(watch.expired()) << "nothing else keeps it";
}

}  // namespace
