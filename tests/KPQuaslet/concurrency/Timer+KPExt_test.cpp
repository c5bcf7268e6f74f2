#include "KPQuaslet/concurrency/Timer+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <any>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "tests/support/ManualDispatchFixture.h"

namespace kp {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TimerKPExtTest : public ios::testing::ManualDispatchFixture {
 protected:
  void runLoop(double seconds, const ios::RunLoopMode& mode = ios::kCFRunLoopDefaultMode) {
    ios::RunLoop::main().run(mode, ios::Date::now() + seconds);
  }
  ~TimerKPExtTest() override {
    for (auto& timer : made_) timer->invalidate();
  }
  std::shared_ptr<ios::Timer> keep(std::shared_ptr<ios::Timer> timer) {
    made_.push_back(timer);
    return timer;
  }
  std::vector<std::shared_ptr<ios::Timer>> made_;
};

TEST_F(TimerKPExtTest, AfterFiresOnceInTheDefaultModeOnly) {
  std::vector<double> fires;
  keep(after(0.5, [&] { fires.push_back(elapsed()); }));
  runLoop(2.0, ios::UITrackingRunLoopMode);
  EXPECT_THAT(fires, IsEmpty()) << "a default-mode timer waits while the loop tracks";
  runLoop(2.0);
  EXPECT_THAT(fires, ElementsAre(2.0));
  auto timer = keep(after(0.5, [&] { fires.push_back(elapsed()); }));
  runLoop(2.0);
  EXPECT_THAT(fires, ElementsAre(2.0, 4.5));
  EXPECT_FALSE(timer->isValid());
}

TEST_F(TimerKPExtTest, RunThisEveryFiresAtOnceThenEverySecondInEveryCommonMode) {
  std::vector<double> fires;
  ios::Timer* seen = nullptr;
  auto timer = keep(runThisEvery(1.0, [&](ios::Timer* t) {
    fires.push_back(elapsed());
    seen = t;
  }));
  runLoop(1.5);
  runLoop(1.0, ios::UITrackingRunLoopMode);
  EXPECT_THAT(fires, ElementsAre(0.0, 1.0, 2.0));
  EXPECT_EQ(seen, timer.get());
}

TEST_F(TimerKPExtTest, NewTimersWaitForStartAndStartAddsEachModeOrTheDefault) {
  std::vector<std::string> fires;
  auto both = keep(newEvery(1.0, [&] { fires.push_back("both"); }));
  auto defaultOnly = keep(newAfter(1.0, [&] { fires.push_back("default"); }));
  runLoop(3.0);
  EXPECT_THAT(fires, IsEmpty()) << "not scheduled until started";
  start(*both, ios::RunLoop::main(), {ios::kCFRunLoopDefaultMode, ios::UITrackingRunLoopMode, ios::UITrackingRunLoopMode});
  start(*defaultOnly, ios::RunLoop::main());
  runLoop(0.5, ios::UITrackingRunLoopMode);
  EXPECT_THAT(fires, ElementsAre("both")) << "the missed fires merge into one";
  runLoop(1.0);
  EXPECT_THAT(fires, ElementsAre("both", "default", "both"));
}

TEST_F(TimerKPExtTest, EveryWithATimerArgumentCanStopItself) {
  std::vector<double> fires;
  auto timer = keep(every(2.0, [&](ios::Timer& t) {
    fires.push_back(elapsed());
    if (fires.size() == 3) t.invalidate();
  }));
  std::vector<double> plain;
  keep(every(3.0, [&] { plain.push_back(elapsed()); }));
  runLoop(10.0);
  EXPECT_THAT(fires, ElementsAre(2.0, 4.0, 6.0));
  EXPECT_THAT(plain, ElementsAre(3.0, 6.0, 9.0));
  EXPECT_FALSE(timer->isValid());
}

TEST_F(TimerKPExtTest, ScheduledTimersRunTheirBlockThroughTheRuntimeCategory) {
  std::vector<double> once;
  std::vector<double> repeating;
  auto single = keep(scheduledTimer(1.0, [&](ios::Timer&) { once.push_back(elapsed()); }, false));
  auto token = std::make_shared<int>(0);
  std::weak_ptr<int> watch = token;
  auto repeated = keep(scheduledTimer(
      1.5, [&repeating, token, this](ios::Timer&) { repeating.push_back(elapsed()); }, true));
  token.reset();
  runLoop(4.0);
  EXPECT_THAT(once, ElementsAre(1.0));
  EXPECT_FALSE(single->isValid());
  EXPECT_THAT(repeating, ElementsAre(1.5, 3.0));
  repeated->invalidate();
  EXPECT_TRUE(watch.expired()) << "invalidating releases the block";

  const ios::SEL executeBlock = ios::sel_registerName("executeBlock:");
  ASSERT_NE(ios::class_getClassMethod(ios::NSTimer::classObject(), executeBlock), nullptr);
  EXPECT_THAT(ios::categoryNames(ios::NSTimer::classObject()), ::testing::Contains("KPQuaslet"));
}

TEST_F(TimerKPExtTest, ExecuteBlockIgnoresOtherUserInfo) {
  int fires = 0;
  for (std::any info : {std::any(), std::any(std::string("text")), std::any(ios::NSObject::make()),
                        std::any(std::function<void(ios::Timer&)>([&](ios::Timer&) { ++fires; }))}) {
    auto timer = ios::Timer::make(0.0, 0.0, [](ios::Timer&) {}, info);
    executeBlock(*timer);
    ios::send<void>(ios::NSTimer::classObject(), ios::sel_registerName("executeBlock:"), timer);
  }
  EXPECT_EQ(fires, 0);
}

TEST_F(TimerKPExtTest, RunThisAfterDelayUsesTheMainQueueOrTheGivenOne) {
  std::vector<std::pair<std::string, double>> runs;
  auto queue = ios::DispatchQueue::make("com.example.later");
  runThisAfterDelay(0.75, [&] { runs.emplace_back(ios::DispatchQueue::currentLabel(), elapsed()); });
  runThisAfterDelay(0.25, *queue, [&] { runs.emplace_back(ios::DispatchQueue::currentLabel(), elapsed()); });
  dispatch_.advance(1.0);
  using P = std::pair<std::string, double>;
  EXPECT_THAT(runs, ElementsAre(P{"com.example.later", 0.25}, P{"com.apple.main-thread", 0.75}));
}

// Timers made on a thread that has ended since: invalidating them afterwards does
// nothing harmful and still releases their blocks.
TEST(TimerKPExtThreaded, TimersOfAThreadThatEndedCanStillBeInvalidated) {
  auto block = std::make_shared<int>(0);
  std::vector<std::shared_ptr<ios::Timer>> timers;
  std::thread([&] {
    timers.push_back(every(1.0, [block] {}));
    timers.push_back(every(1.0, [block](ios::Timer&) {}));
    timers.push_back(after(1.0, [block] {}));
    timers.push_back(runThisEvery(1.0, [block](ios::Timer*) {}));
    timers.push_back(scheduledTimer(1.0, [block](ios::Timer&) {}, true));
  }).join();
  for (const auto& timer : timers) {
    EXPECT_TRUE(timer->isValid());
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
  }
  EXPECT_EQ(block.use_count(), 1) << "every block was released";
}

TEST(TimeUnits, AnswerSeconds) {
  struct Row {
    const char* unit;
    double (*convert)(double);
    double value;
    double seconds;
  };
  const Row rows[] = {
      {"millisecond", &millisecond, 250.0, 0.25}, {"milliseconds", &milliseconds, 1.0, 0.001},
      {"ms", &ms, 250.0, 0.25},                   {"second", &second, 2.5, 2.5},
      {"seconds", &seconds, -1.0, -1.0},          {"minute", &minute, 1.0, 60.0},
      {"minutes", &minutes, 2.5, 150.0},          {"hour", &hour, 0.5, 1800.0},
      {"hours", &hours, 1.0, 3600.0},             {"day", &day, 1.0, 86400.0},
      {"days", &days, 1.5, 129600.0},
  };
  for (const auto& row : rows) EXPECT_EQ(row.convert(row.value), row.seconds) << row.unit;
}

TEST(TimerKPExtDeathTest, DelaysThatCannotBeCountedStop) {
  EXPECT_DEATH(runThisAfterDelay(std::numeric_limits<double>::infinity(), [] {}), "must be finite");
}

}  // namespace
}  // namespace kp
