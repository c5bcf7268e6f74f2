#include "KPQuaslet/concurrency/GCDTimer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <future>
#include <string>
#include <vector>

#include "tests/support/ManualDispatchFixture.h"

namespace kp {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class GCDTimerTest : public ios::testing::ManualDispatchFixture {
 protected:
  std::shared_ptr<GCDTimer> makeRecording(double interval) {
    auto timer = GCDTimer::make(interval);
    timer->setEvent([this] { ticks_.push_back(elapsed()); });
    return timer;
  }
  std::vector<double> ticks_;
};

TEST_F(GCDTimerTest, StartTwiceResumesOnceAndPauseThenStartTicksAgain) {
  auto timer = makeRecording(1.0);
  timer->start();
  timer->start();  // an over-resume would stop the process
  dispatch_.advance(2.5);
  EXPECT_THAT(ticks_, ElementsAre(0.0, 1.0, 2.0));
  timer->pause();
  dispatch_.advance(2.0);
  EXPECT_THAT(ticks_, ElementsAre(0.0, 1.0, 2.0));
  timer->start();  // fires missed meanwhile merge into one tick at once, then the grid goes on
  dispatch_.advance(1.0);
  EXPECT_THAT(ticks_, ElementsAre(0.0, 1.0, 2.0, 4.5, 5.0));
  EXPECT_EQ(timer->timerSource()->debugSuspendCount(), 0);
}

TEST_F(GCDTimerTest, PauseOnAnIdleOrPausedTimerChangesNothing) {
  auto timer = makeRecording(1.0);
  timer->pause();
  timer->pause();
  EXPECT_EQ(timer->timerSource()->debugSuspendCount(), 1);
  timer->start();
  dispatch_.advance(1.0);
  timer->pause();
  timer->pause();
  EXPECT_EQ(timer->timerSource()->debugSuspendCount(), 1);
  timer->start();
  dispatch_.runPending();
  EXPECT_THAT(ticks_, ElementsAre(0.0, 1.0));
}

TEST_F(GCDTimerTest, RepeatIntervalsAreWholeSecondsAndSubSecondOnesStillRepeat) {
  struct Row {
    double interval;
    double runFor;
    std::vector<double> ticks;
  };
  const Row rows[] = {
      {2.9, 4.25, {0.0, 2.0, 4.0}},  // truncated toward zero
      {1.0, 4.25, {0.0, 1.0, 2.0, 3.0, 4.0}},
      {1.9, 2.25, {0.0, 1.0, 2.0}},
      {0.5, 1.75, {0.0, 0.5, 1.0, 1.5}},  // below one second: its own length, never a spin
      {0.9, 2.0, {0.0, 0.9, 1.8}},
      {0.0, 3.0, {0.0}},  // zero or less: once
      {-3.0, 3.0, {0.0}},
  };
  for (const auto& row : rows) {
    ticks_.clear();
    const double begin = elapsed();
    auto timer = GCDTimer::make(row.interval);
    timer->setEvent([&] { ticks_.push_back(elapsed() - begin); });
    timer->start();
    dispatch_.advance(row.runFor);
    ASSERT_EQ(ticks_.size(), row.ticks.size()) << "interval " << row.interval;
    for (std::size_t i = 0; i < ticks_.size(); ++i) {
      EXPECT_NEAR(ticks_[i], row.ticks[i], 1e-9) << "interval " << row.interval << ", tick " << i;
    }
  }
}

TEST_F(GCDTimerTest, SettingTheEventRestartsTheScheduleFromThatMoment) {
  auto timer = makeRecording(2.0);
  timer->start();
  dispatch_.advance(1.5);
  std::vector<double> second;
  timer->setEvent([&] { second.push_back(elapsed()); });
  dispatch_.advance(4.0);
  EXPECT_THAT(ticks_, ElementsAre(0.0));
  EXPECT_THAT(second, ElementsAre(1.5, 3.5, 5.5));
  EXPECT_FALSE(timer->Event() == nullptr);
}

TEST_F(GCDTimerTest, AStartedTimerWithoutEventNeverTicksUntilOneIsSet) {
  auto timer = GCDTimer::make(1.0);
  timer->start();
  dispatch_.advance(3.0);
  timer->setEvent([this] { ticks_.push_back(elapsed()); });
  dispatch_.advance(1.0);
  EXPECT_THAT(ticks_, ElementsAre(3.0, 4.0));
}

TEST_F(GCDTimerTest, TicksOfEveryTimerRunOnTheSharedSerialQueue) {
  std::vector<std::string> labels;
  auto first = GCDTimer::make(1.0);
  auto second = GCDTimer::make(1.0);
  first->setEvent([&] { labels.push_back(ios::DispatchQueue::currentLabel()); });
  second->setEvent([&] { labels.push_back(ios::DispatchQueue::currentLabel()); });
  first->start();
  second->start();
  dispatch_.runPending();
  EXPECT_THAT(labels, ElementsAre("gcdTimerQueue", "gcdTimerQueue"));
}

// An event that drops the last reference to its own timer (and one that pauses it
// first): the timer lives until the event has returned, then goes away.
TEST_F(GCDTimerTest, AnEventMayDropTheLastReferenceToItsOwnTimer) {
  for (bool pauseFirst : {false, true}) {
    std::shared_ptr<GCDTimer> timer = GCDTimer::make(1.0);
    int ticks = 0;
    timer->setEvent([&] {
      ++ticks;
      if (pauseFirst) timer->pause();
      timer.reset();
    });
    const std::weak_ptr<GCDTimer> watch = timer;
    timer->start();
    dispatch_.advance(3.0);
    EXPECT_EQ(ticks, 1) << pauseFirst;
    EXPECT_TRUE(watch.expired()) << pauseFirst;
  }
}

TEST_F(GCDTimerTest, ReleasingATimerInAnyStateIsSafeAndStopsItsTicks) {
  auto idle = makeRecording(1.0);
  auto paused = makeRecording(1.0);
  auto running = makeRecording(1.0);
  auto neverScheduled = GCDTimer::make(1.0);
  paused->start();
  paused->pause();
  running->start();
  dispatch_.runPending();
  ASSERT_THAT(ticks_, ElementsAre(0.0));
  idle.reset();
  paused.reset();
  running.reset();
  neverScheduled.reset();
  dispatch_.advance(5.0);
  EXPECT_THAT(ticks_, ElementsAre(0.0));
}

TEST_F(GCDTimerTest, AnEventMayReleaseItsOwnTimer) {
  auto timer = GCDTimer::make(1.0);
  int ticks = 0;
  timer->setEvent([&] {
    ++ticks;
    timer.reset();
  });
  timer->start();
  dispatch_.advance(3.0);
  EXPECT_EQ(ticks, 1);
}

TEST_F(GCDTimerTest, DelayRunsOnTheMainQueueOrTheGivenOneAfterWholeNanoseconds) {
  std::vector<std::pair<std::string, double>> runs;
  auto record = [&](const char* what) {
    return [&runs, this, what] { runs.emplace_back(std::string(what) + "@" + ios::DispatchQueue::currentLabel(), elapsed()); };
  };
  auto queue = ios::DispatchQueue::make("com.example.delay");
  GCDTimer::delay(0.5, record("half"));
  GCDTimer::delay(0.0000000001, record("tiny"));  // below a nanosecond: no delay at all
  GCDTimer::delay(0.25, *queue, record("queued"));
  dispatch_.runPending();
  EXPECT_EQ(runs.size(), 1u);
  dispatch_.advanceNanoseconds(499'999'999);
  EXPECT_EQ(runs.size(), 2u);
  dispatch_.advanceNanoseconds(1);
  using P = std::pair<std::string, double>;
  EXPECT_THAT(runs, ElementsAre(P{"tiny@com.apple.main-thread", 0.0}, P{"queued@com.example.delay", 0.25},
                                P{"half@com.apple.main-thread", 0.5}));
}

TEST(GCDTimerOnce, RunsEachTokenOnceUntilReset) {
  GCDTimer::Once once;
  std::vector<std::string> runs;
  once.doIt("a", [&] {
    runs.push_back("a");
    once.doIt("a", [&] { runs.push_back("nested a"); });
    once.doIt("b", [&] { runs.push_back("nested b"); });
  });
  once.doIt("a", [&] { runs.push_back("a again"); });
  once.reset("a");
  once.reset("never seen");
  once.doIt("a", [&] { runs.push_back("a after reset"); });
  EXPECT_THAT(runs, ElementsAre("a", "nested b", "a after reset"));
}

TEST(GCDTimerDeathTest, ReadingTheEventBeforeSettingItAndBadIntervalsStop) {
  EXPECT_DEATH((void)GCDTimer::make(1.0)->Event(), "Event was read before it was set");
  EXPECT_DEATH(GCDTimer::make(std::nan(""))->setEvent([] {}), "infinite or NaN");
  EXPECT_DEATH(GCDTimer::make(1e300)->setEvent([] {}), "greater than Int.max");
  EXPECT_DEATH(GCDTimer::delay(1e10, [] {}), "too large");
}

TEST(GCDTimerThreaded, TicksArriveOnTheTimerQueue) {
  auto timer = GCDTimer::make(1.0);
  // Shared with the ticks, which may still be running when the test ends.
  auto label = std::make_shared<std::promise<std::string>>();
  auto ticks = std::make_shared<std::atomic<int>>(0);
  auto future = label->get_future();
  timer->setEvent([label, ticks] {
    if (ticks->fetch_add(1) == 0) label->set_value(ios::DispatchQueue::currentLabel());
  });
  timer->start();
  ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(future.get(), "gcdTimerQueue");
  timer->pause();
  timer.reset();
}

}  // namespace
}  // namespace kp
