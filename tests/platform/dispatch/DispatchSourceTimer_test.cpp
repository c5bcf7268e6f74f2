#include "platform/dispatch/DispatchSourceTimer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"

namespace {

using ios::DispatchQueue;
using ios::DispatchSourceTimer;
using ios::DispatchTime;
using ios::DispatchTimeInterval;

class DispatchSourceTimerTest : public ::testing::Test {
 protected:
  // Seconds since the test began, on the manual clock.
  double elapsed() const { return (ios::clock::uptimeNanoseconds() - start_) / 1e9; }

  ios::testing::ManualDispatch dispatch_;
  std::uint64_t start_ = ios::clock::uptimeNanoseconds();
  std::shared_ptr<DispatchQueue> queue_ = DispatchQueue::make("timers");
};

TEST_F(DispatchSourceTimerTest, NothingFiresBeforeTheFirstResume) {
  auto timer = DispatchSourceTimer::makeTimerSource(queue_);
  std::vector<double> fires;
  timer->setEventHandler([&] { fires.push_back(elapsed()); });
  timer->schedule(DispatchTime::now() + 1.0, DispatchTimeInterval::seconds(1));
  EXPECT_EQ(timer->debugSuspendCount(), 1);
  EXPECT_FALSE(timer->debugIsActivated());
  dispatch_.advance(5);
  EXPECT_TRUE(fires.empty());
  timer->resume();  // the first deadline has passed: it fires at once, then stays on its grid
  dispatch_.advance(2.5);
  EXPECT_THAT(fires, ::testing::ElementsAre(5.0, 6.0, 7.0));
  timer->cancel();
}

TEST_F(DispatchSourceTimerTest, RepeatsStayOnTheGridAndMergeWhileSuspended) {
  auto timer = DispatchSourceTimer::makeTimerSource(queue_);
  std::vector<std::pair<double, std::uint64_t>> fires;
  timer->setEventHandler([&] { fires.emplace_back(elapsed(), timer->data()); });
  timer->schedule(DispatchTime::now() + 1.0, DispatchTimeInterval::seconds(1));
  timer->resume();
  dispatch_.advance(2);
  timer->suspend();
  dispatch_.advance(3.5);  // fires at 3, 4 and 5 are held
  timer->resume();
  dispatch_.runPending();
  dispatch_.advance(0.5);
  using P = std::pair<double, std::uint64_t>;
  EXPECT_THAT(fires, ::testing::ElementsAre(P{1.0, 1}, P{2.0, 1}, P{5.5, 3}, P{6.0, 1}));
  timer->cancel();
}

TEST_F(DispatchSourceTimerTest, RescheduleCountsFromTheCallAndOneShotsFireOnce) {
  auto timer = DispatchSourceTimer::makeTimerSource(queue_);
  std::vector<double> fires;
  timer->setEventHandler([&] { fires.push_back(elapsed()); });
  timer->schedule(DispatchTime::now() + 1.0);
  timer->resume();
  dispatch_.advance(0.5);
  timer->schedule(DispatchTime::now() + 1.0);  // replaces the first schedule
  dispatch_.advance(5);
  EXPECT_THAT(fires, ::testing::ElementsAre(1.5));
  timer->schedule(DispatchTime::now() + 1.0, DispatchTimeInterval::nanoseconds(0));
  dispatch_.advance(5);
  EXPECT_THAT(fires, ::testing::ElementsAre(1.5, 6.5)) << "a zero repeat fires once";
}

TEST_F(DispatchSourceTimerTest, ANewHandlerTakesOverAndCancelReleasesIt) {
  auto timer = DispatchSourceTimer::makeTimerSource(queue_);
  std::vector<char> fires;
  auto token = std::make_shared<int>(0);
  std::weak_ptr<int> watch = token;
  timer->setEventHandler([&fires, token] { fires.push_back('a'); });
  token.reset();
  timer->schedule(DispatchTime::now(), DispatchTimeInterval::seconds(1));
  timer->resume();
  dispatch_.runPending();
  timer->setEventHandler([&] { fires.push_back('b'); });
  EXPECT_TRUE(watch.expired()) << "the replaced handler is released";
  dispatch_.advance(1);
  timer->cancel();
  dispatch_.advance(5);
  EXPECT_THAT(fires, ::testing::ElementsAre('a', 'b'));
  EXPECT_TRUE(timer->isCancelled());
}

TEST_F(DispatchSourceTimerTest, AHandlerMayReleaseItsOwnSource) {
  auto timer = DispatchSourceTimer::makeTimerSource(queue_);
  int fires = 0;
  timer->setEventHandler([&] {
    ++fires;
    timer.reset();  // the last handle goes while the handler runs
  });
  timer->schedule(DispatchTime::now() + 1.0, DispatchTimeInterval::seconds(1));
  timer->resume();
  dispatch_.advance(10);
  EXPECT_EQ(fires, 1);
  EXPECT_EQ(timer, nullptr);
}

TEST_F(DispatchSourceTimerTest, AHandlerHoldingTheLastHandleOfItsSourceMayCancelIt) {
  // The handler keeps its own source alive until it has run, then cancels it: the
  // handler's release drops the last handle, which must not deadlock on the source.
  int fires = 0;
  {
    auto timer = DispatchSourceTimer::makeTimerSource(queue_);
    timer->schedule(DispatchTime::now() + 1.0);
    timer->setEventHandler([timer, &fires] {
      ++fires;
      timer->cancel();
    });
    timer->resume();
  }
  dispatch_.advance(2);
  EXPECT_EQ(fires, 1);
  auto replaced = DispatchSourceTimer::makeTimerSource(queue_);
  auto other = DispatchSourceTimer::makeTimerSource(queue_);
  other->resume();
  other->setEventHandler([other] {});  // holds a handle of its own source
  other->setEventHandler([] {});        // releasing the old handler inside setEventHandler is safe
  other->cancel();
  replaced->resume();
}

TEST(DispatchSourceTimerDeathTest, TheSuspendCountRulesStopTheProcess) {
  EXPECT_DEATH(
      {
        auto timer = DispatchSourceTimer::makeTimerSource(DispatchQueue::make("q"));
        timer->resume();
        timer->resume();
      },
      "Over-resume of an object");
  EXPECT_DEATH({ auto timer = DispatchSourceTimer::makeTimerSource(DispatchQueue::make("q")); },
               "Release of an inactive object");
  EXPECT_DEATH(
      {
        auto timer = DispatchSourceTimer::makeTimerSource(DispatchQueue::make("q"));
        timer->resume();
        timer->suspend();
      },
      "Release of a suspended object");
}

TEST(DispatchSourceTimerThreaded, FiresOnItsTargetQueue) {
  auto queue = DispatchQueue::make("com.example.tick");
  auto timer = DispatchSourceTimer::makeTimerSource(queue);
  std::promise<std::string> label;
  int fires = 0;
  timer->setEventHandler([&] {
    if (++fires == 3) label.set_value(DispatchQueue::currentLabel());
  });
  timer->schedule(DispatchTime::now() + 0.001, DispatchTimeInterval::milliseconds(1));
  timer->resume();
  auto future = label.get_future();
  ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(future.get(), "com.example.tick");
  timer->cancel();
  queue->sync([] {});  // any handler call still queued finishes before `fires` goes away
}

}  // namespace

namespace {

// What a cancelled deadline leaves in the dispatch timers: nothing, at once, and what it
// held is released then, not at the old deadline.
struct CancelCase {
  const char* name;
  // Sets up a pending deadline an hour away that holds `token`; answers the cancel.
  std::function<std::function<void()>(std::shared_ptr<int> token)> arm;
};

class DispatchDeadlineCancelTest : public ::testing::TestWithParam<CancelCase> {
 protected:
  ios::testing::ManualDispatch dispatch_;
};

TEST_P(DispatchDeadlineCancelTest, CancellingDropsTheEngineEntryAndItsCapturesAtOnce) {
  const std::size_t before = dispatch_.pendingTimerCount();
  auto token = std::make_shared<int>(0);
  const std::weak_ptr<int> watch = token;
  auto cancel = GetParam().arm(std::move(token));
  EXPECT_EQ(dispatch_.pendingTimerCount(), before + 1);
  cancel();
  EXPECT_EQ(dispatch_.pendingTimerCount(), before);
  EXPECT_TRUE(watch.expired());
  cancel = nullptr;
  dispatch_.advance(7200);  // nothing fires at the old deadline
  EXPECT_EQ(dispatch_.pendingTimerCount(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Deadlines, DispatchDeadlineCancelTest,
    ::testing::Values(
        CancelCase{"TimerSource",
                   [](std::shared_ptr<int> token) -> std::function<void()> {
                     auto timer = DispatchSourceTimer::makeTimerSource(DispatchQueue::make("cancel"));
                     timer->setEventHandler([token] {});
                     timer->schedule(DispatchTime::now() + 3600.0);
                     timer->resume();
                     return [timer] { timer->cancel(); };
                   }},
        CancelCase{"TimerSourceScheduledForever",
                   [](std::shared_ptr<int> token) -> std::function<void()> {
                     auto timer = DispatchSourceTimer::makeTimerSource(DispatchQueue::make("forever"));
                     timer->schedule(DispatchTime::now() + 3600.0);
                     timer->resume();
                     return [timer, token]() mutable {
                       timer->schedule(DispatchTime::distantFuture());
                       token.reset();
                       timer->cancel();
                     };
                   }},
        CancelCase{"WorkItemAfterADeadline",
                   [](std::shared_ptr<int> token) -> std::function<void()> {
                     auto item = ios::DispatchWorkItem::make([token] {});
                     DispatchQueue::main().asyncAfter(DispatchTime::now() + 3600.0, item);
                     const std::weak_ptr<ios::DispatchWorkItem> weak = item;
                     item.reset();  // the deadline alone keeps it
                     return [weak] {
                       if (auto kept = weak.lock()) kept->cancel();
                     };
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DispatchSourceTimerTest, ReschedulingKeepsOneEngineEntry) {
  auto timer = DispatchSourceTimer::makeTimerSource(queue_);
  int fires = 0;
  timer->setEventHandler([&] { ++fires; });
  timer->resume();
  const std::size_t before = dispatch_.pendingTimerCount();
  for (int i = 1; i <= 50; ++i) timer->schedule(DispatchTime::now() + static_cast<double>(i));
  EXPECT_EQ(dispatch_.pendingTimerCount(), before + 1);
  dispatch_.advance(100);
  EXPECT_EQ(fires, 1);  // only the last schedule fires
  EXPECT_EQ(dispatch_.pendingTimerCount(), before);
  timer->cancel();
}

}  // namespace
