#include "KPQuaslet/concurrency/KPTimer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ManualDispatchFixture.h"

namespace kp {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ios::DispatchTimeInterval;

class KPTimerTest : public ios::testing::ManualDispatchFixture {
 protected:
  KPTimer::Handler recorder(std::vector<double>& into) {
    return [this, &into](KPTimer&) { into.push_back(elapsed()); };
  }
  std::shared_ptr<ios::DispatchQueue> queue_ = ios::DispatchQueue::make("com.example.kptimer");
};

TEST_F(KPTimerTest, RepeatingTimerTicksOnItsCreationGridOnlyWhileStarted) {
  std::vector<double> ticks;
  auto timer = KPTimer::repeaticTimer(DispatchTimeInterval::seconds(1), queue_, recorder(ticks));
  EXPECT_TRUE(timer->repeats());
  dispatch_.advance(3.5);
  EXPECT_THAT(ticks, IsEmpty()) << "nothing before start()";
  timer->start();  // late: one merged tick at once, then on the grid of the creation
  dispatch_.advance(1.0);
  EXPECT_THAT(ticks, ElementsAre(3.5, 4.0));
  timer->suspend();
  timer->suspend();
  dispatch_.advance(2.0);
  timer->start();
  timer->start();
  dispatch_.advance(0.75);
  EXPECT_THAT(ticks, ElementsAre(3.5, 4.0, 6.5, 7.0));
}

TEST_F(KPTimerTest, OneShotTimerFiresOnceAndNeverWithoutStart) {
  std::vector<double> never;
  std::vector<double> late;
  auto unstarted = KPTimer::make(DispatchTimeInterval::seconds(1), false, queue_, recorder(never));
  auto started = KPTimer::make(DispatchTimeInterval::seconds(1), false, queue_, recorder(late));
  EXPECT_FALSE(started->repeats());
  dispatch_.advance(2.0);
  started->start();
  dispatch_.advance(5.0);
  EXPECT_THAT(never, IsEmpty());
  EXPECT_THAT(late, ElementsAre(2.0));
}

TEST_F(KPTimerTest, FireRunsTheHandlerInPlaceAndEndsAOneShotTimer) {
  std::vector<std::string> calls;
  auto oneShot = KPTimer::make(DispatchTimeInterval::seconds(1), false, queue_, [&](KPTimer&) {
    calls.push_back("one-shot@" + ios::DispatchQueue::currentLabel());
  });
  auto repeating = KPTimer::repeaticTimer(DispatchTimeInterval::seconds(1), queue_, [&](KPTimer&) {
    calls.push_back("repeating@" + ios::DispatchQueue::currentLabel());
  });
  oneShot->fire();
  repeating->fire();
  oneShot->start();
  repeating->start();
  dispatch_.advance(2.0);
  EXPECT_THAT(calls, ElementsAre("one-shot@com.apple.main-thread", "repeating@com.apple.main-thread",
                                 "repeating@com.example.kptimer", "repeating@com.example.kptimer"));
  EXPECT_TRUE(oneShot->repeats() == false);
}

TEST_F(KPTimerTest, RescheduleChangesTheIntervalOfRepeatingTimersOnlyAndTheHandler) {
  std::vector<double> repeating;
  std::vector<double> oneShot;
  auto timer = KPTimer::repeaticTimer(DispatchTimeInterval::seconds(1), queue_, recorder(repeating));
  auto single = KPTimer::make(DispatchTimeInterval::seconds(1), false, queue_, recorder(oneShot));
  timer->start();
  single->start();
  dispatch_.advance(1.5);
  timer->rescheduleRepeating(DispatchTimeInterval::seconds(3));
  single->rescheduleRepeating(DispatchTimeInterval::seconds(3));  // left as it is
  dispatch_.advance(3.0);
  EXPECT_THAT(repeating, ElementsAre(1.0, 4.5));
  EXPECT_THAT(oneShot, ElementsAre(1.0));

  std::vector<std::string> handlers;
  timer->rescheduleHandler([&](KPTimer&) { handlers.push_back("new"); });
  dispatch_.advance(3.0);
  timer->fire();
  EXPECT_THAT(handlers, ElementsAre("new", "new"));
  EXPECT_THAT(repeating, ElementsAre(1.0, 4.5));
}

TEST_F(KPTimerTest, ReleasingATimerInAnyStateIsSafe) {
  std::vector<double> ticks;
  auto inactive = KPTimer::repeaticTimer(DispatchTimeInterval::seconds(1), queue_, recorder(ticks));
  auto suspended = KPTimer::repeaticTimer(DispatchTimeInterval::seconds(1), queue_, recorder(ticks));
  auto running = KPTimer::repeaticTimer(DispatchTimeInterval::seconds(1), queue_, recorder(ticks));
  auto fired = KPTimer::make(DispatchTimeInterval::seconds(1), false, queue_, recorder(ticks));
  suspended->start();
  suspended->suspend();
  running->start();
  fired->fire();
  inactive.reset();
  suspended.reset();
  running.reset();
  fired.reset();
  dispatch_.advance(3.0);
  EXPECT_THAT(ticks, ElementsAre(0.0)) << "only the manual fire()";
}

// "Done, forget the timer": a handler that drops the last reference to its own timer,
// from fire() and from a tick, one-shot and repeating. The timer must stay alive until
// the call has returned, and go away right after it.
TEST_F(KPTimerTest, AHandlerMayDropTheLastReferenceToItsOwnTimer) {
  const struct {
    const char* name;
    bool repeats;
    bool byFire;
  } rows[] = {
      {"one-shot, fire()", false, true},
      {"repeating, fire()", true, true},
      {"one-shot, tick", false, false},
      {"repeating, tick", true, false},
  };
  for (const auto& row : rows) {
    std::shared_ptr<KPTimer> timer;
    int calls = 0;
    timer = KPTimer::make(DispatchTimeInterval::seconds(1), row.repeats, queue_, [&](KPTimer& self) {
      ++calls;
      EXPECT_EQ(self.repeats(), row.repeats) << row.name;
      timer.reset();
      EXPECT_EQ(self.repeats(), row.repeats) << row.name << ": still alive inside the call";
    });
    const std::weak_ptr<KPTimer> watch = timer;
    if (row.byFire) {
      KPTimer* raw = timer.get();
      raw->fire();
    } else {
      timer->start();
      dispatch_.advance(1.0);
    }
    dispatch_.advance(3.0);
    EXPECT_EQ(calls, 1) << row.name;
    EXPECT_TRUE(watch.expired()) << row.name << ": released once the call returned";
  }
}

TEST_F(KPTimerTest, ACountDownHandlerMayDropTheLastReferenceToItsCountDown) {
  std::shared_ptr<KPCountDownTimer> countDown;
  std::vector<std::int64_t> reports;
  countDown = KPCountDownTimer::make(DispatchTimeInterval::seconds(1), 3, queue_,
                                     [&](KPCountDownTimer& self, std::int64_t left) {
                                       reports.push_back(left);
                                       countDown.reset();
                                       self.reCountDown();  // the count-down is still usable here
                                     });
  const std::weak_ptr<KPCountDownTimer> watch = countDown;
  countDown->start();
  dispatch_.advance(5.0);
  EXPECT_THAT(reports, ElementsAre(2));
  EXPECT_TRUE(watch.expired());
}

TEST_F(KPTimerTest, ThrottleRunsTheLastCallOfABurstAfterTheInterval) {
  std::vector<std::pair<std::string, double>> runs;
  auto call = [&](const std::string& id, const std::string& what) {
    KPTimer::throttle(DispatchTimeInterval::seconds(1), id, queue_, [&runs, this, what] { runs.emplace_back(what, elapsed()); });
  };
  const std::size_t timersBefore = dispatch_.pendingTimerCount();
  call("save", "first");
  dispatch_.advance(0.1);
  call("save", "second");
  call("load", "load");
  dispatch_.advance(0.1);
  call("save", "third");
  // The calls a newer one replaced left nothing waiting: one deadline per identifier.
  EXPECT_EQ(dispatch_.pendingTimerCount(), timersBefore + 2);
  dispatch_.advance(5.0);
  call("save", "after the burst");
  dispatch_.advance(1.0);
  using P = std::pair<std::string, double>;
  EXPECT_THAT(runs, ElementsAre(P{"load", 1.1}, P{"third", 1.2}, P{"after the burst", 6.2}));
}

TEST_F(KPTimerTest, ThrottleKeepsANewerCallQueuedWhileAnOlderHandlerRuns) {
  // The older handler starts a new burst for its own identifier; its clean-up must not
  // forget the newer call, which would then run even if yet another call came.
  std::vector<std::string> runs;
  std::function<void(const std::string&)> call = [&](const std::string& what) {
    KPTimer::throttle(DispatchTimeInterval::seconds(1), "chain", queue_, [&runs, &call, what] {
      runs.push_back(what);
      if (what == "first") call("from the handler");
    });
  };
  call("first");
  dispatch_.advance(1.5);
  call("replacement");  // must cancel "from the handler"
  dispatch_.advance(5.0);
  EXPECT_THAT(runs, ElementsAre("first", "replacement"));
}

TEST_F(KPTimerTest, CountDownReportsEachTickLeftThenSuspends) {
  std::vector<std::pair<std::int64_t, double>> reports;
  auto countDown = KPCountDownTimer::make(DispatchTimeInterval::seconds(1), 3, queue_,
                                          [&](KPCountDownTimer&, std::int64_t left) { reports.emplace_back(left, elapsed()); });
  dispatch_.advance(0.5);
  EXPECT_THAT(reports, IsEmpty()) << "not started by make()";
  countDown->start();
  dispatch_.advance(10.0);
  using P = std::pair<std::int64_t, double>;
  EXPECT_THAT(reports, ElementsAre(P{2, 1.0}, P{1, 2.0}, P{0, 3.0}));
  countDown->reCountDown();
  dispatch_.advance(5.0);
  EXPECT_EQ(reports.size(), 3u) << "reCountDown() starts nothing";
  countDown->start();
  dispatch_.advance(2.0);
  EXPECT_THAT(reports, ElementsAre(P{2, 1.0}, P{1, 2.0}, P{0, 3.0}, P{2, 15.5}, P{1, 16.0}, P{0, 17.0}));
}

TEST_F(KPTimerTest, CountDownOfZeroOrLessSuspendsOnItsFirstTickAndSuspendPauses) {
  for (std::int64_t times : {0, -2}) {
    int reports = 0;
    auto countDown = KPCountDownTimer::make(DispatchTimeInterval::seconds(1), times, queue_,
                                            [&](KPCountDownTimer&, std::int64_t) { ++reports; });
    countDown->start();
    dispatch_.advance(5.0);
    EXPECT_EQ(reports, 0) << times;
  }
  int reports = 0;
  auto paused = KPCountDownTimer::make(DispatchTimeInterval::seconds(1), 5, queue_,
                                       [&](KPCountDownTimer&, std::int64_t) { ++reports; });
  paused->start();
  dispatch_.advance(2.0);
  paused->suspend();
  dispatch_.advance(5.0);
  EXPECT_EQ(reports, 2);
}

TEST_F(KPTimerTest, TimesFromSecondsAndLiterals) {
  using namespace kp::literals;
  const std::uint64_t now = ios::DispatchTime::now().uptimeNanoseconds();
  EXPECT_EQ(makeDispatchTimeIntegerLiteral(2).uptimeNanoseconds() - now, 2'000'000'000u);
  EXPECT_EQ((2_dt).uptimeNanoseconds() - now, 2'000'000'000u);
  EXPECT_EQ(makeDispatchTimeFloatLiteral(0.0015).uptimeNanoseconds() - now, 1'000'000u);
  EXPECT_EQ((0.0015_dt).uptimeNanoseconds() - now, 1'000'000u);
  EXPECT_EQ((0.5_dt).uptimeNanoseconds() - now, 500'000'000u);
  EXPECT_EQ(fromSeconds(1.5), DispatchTimeInterval::nanoseconds(1'500'000'000));
  EXPECT_EQ(fromSeconds(1e-10), DispatchTimeInterval::nanoseconds(0));
  EXPECT_EQ(fromSeconds(-0.25), DispatchTimeInterval::nanoseconds(-250'000'000));
}

TEST(KPTimerDeathTest, SecondsThatDoNotFitStopTheProcess) {
  EXPECT_DEATH((void)fromSeconds(std::nan("")), "must be finite");
  EXPECT_DEATH((void)makeDispatchTimeFloatLiteral(1e300), "greater than Int.max");
  EXPECT_DEATH((void)makeDispatchTimeFloatLiteral(-INFINITY), "infinite or NaN");
}

TEST(KPTimerThreaded, ThrottleFromManyThreadsRunsOncePerBurst) {
  auto queue = ios::DispatchQueue::globalQueue();
  auto runs = std::make_shared<std::atomic<int>>(0);
  auto done = std::make_shared<std::promise<void>>();
  auto finished = done->get_future();
  std::vector<std::thread> callers;
  for (int t = 0; t < 8; ++t) {
    callers.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        // Other identifiers churn the shared table at the same time.
        KPTimer::throttle(DispatchTimeInterval::microseconds(10), "noise" + std::to_string(t), queue, [] {});
        KPTimer::throttle(DispatchTimeInterval::milliseconds(200), "burst", queue, [runs, done] {
          if (runs->fetch_add(1) == 0) done->set_value();
        });
      }
    });
  }
  for (auto& caller : callers) caller.join();
  ASSERT_EQ(finished.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  // A second run would be due 200 ms after the last call at the latest: a sentinel due
  // later than that comes after it.
  auto sentinel = std::make_shared<std::promise<int>>();
  auto seen = sentinel->get_future();
  KPTimer::throttle(DispatchTimeInterval::milliseconds(400), "sentinel", ios::DispatchQueue::make("after"),
                    [runs, sentinel] { sentinel->set_value(runs->load()); });
  ASSERT_EQ(seen.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(seen.get(), 1);
}

TEST(KPTimerThreaded, ARepeatingTimerTicksOnItsQueue) {
  auto queue = ios::DispatchQueue::make("com.example.threaded-kptimer");
  auto labels = std::make_shared<std::promise<std::string>>();
  auto ticks = std::make_shared<std::atomic<int>>(0);
  auto future = labels->get_future();
  auto timer = KPTimer::repeaticTimer(DispatchTimeInterval::milliseconds(1), queue, [labels, ticks](KPTimer&) {
    if (ticks->fetch_add(1) == 2) labels->set_value(ios::DispatchQueue::currentLabel());
  });
  timer->start();
  ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(future.get(), "com.example.threaded-kptimer");
  timer.reset();
  queue->sync([] {});
}

}  // namespace
}  // namespace kp
