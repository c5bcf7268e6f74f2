#include "KPQuaslet/concurrency/KPHelper.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "KPQuaslet/Helper/RawRepresentable.h"
#include "KPQuaslet/concurrency/DispatchQueue+KPExt.h"
#include "KPQuaslet/concurrency/NotificationCenter+KPExt.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIView.h"
#include "tests/support/RuntimeTestClasses.h"
#include "tests/support/ManualDispatchFixture.h"

namespace kp {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// ---- once -------------------------------------------------------------------------------

// Tokens are remembered for the life of the process: every run of a test uses new ones.
std::string token(const std::string& name) {
  static std::atomic<int> runs{0};
  return "KPHelperTest." + std::to_string(runs.fetch_add(1)) + "." + name;
}

TEST(DispatchQueueKPExt, OnceRunsATokenOnlyTheFirstTimeAndNestsOtherTokens) {
  const std::string a = token("a");
  const std::string b = token("b");
  std::vector<std::string> runs;
  once(a, [&] {
    runs.push_back("a");
    once(a, [&] { runs.push_back("nested a"); });
    once(b, [&] { runs.push_back("nested b"); });
  });
  once(a, [&] { runs.push_back("a again"); });
  once(b, [&] { runs.push_back("b again"); });
  EXPECT_THAT(runs, ElementsAre("a", "nested b"));
}

TEST(DispatchQueueKPExt, OnceWithASourceLocationBuildsItsToken) {
  const std::string file = token("A");
  std::vector<std::string> runs;
  once(file + ":f():3", [&] { runs.push_back("by token"); });
  once(file, "f()", 3, [&] { runs.push_back("by location"); });
  once(file, "f()", 4, [&] { runs.push_back("other line"); });
  EXPECT_THAT(runs, ElementsAre("by token", "other line"));
}

TEST(DispatchQueueKPExt, OnceKeepsTheTokenWhenTheBlockThrows) {
  const std::string throws = token("throws");
  EXPECT_THROW(once(throws, [] { throw std::runtime_error("no"); }), std::runtime_error);
  bool ranAgain = false;
  once(throws, [&] { ranAgain = true; });
  EXPECT_FALSE(ranAgain);
}

TEST(DispatchQueueKPExtThreaded, OnceFromManyThreadsRunsOnceAndBlocksNeverOverlap) {
  const std::string shared = token("shared");
  const std::string prefix = token("each");
  std::atomic<int> runs{0};
  std::atomic<int> inside{0};
  std::atomic<int> mostInside{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 20; ++i) {
        once(shared, [&] { runs.fetch_add(1); });
        once(prefix + "." + std::to_string(t) + "." + std::to_string(i), [&] {
          const int now = inside.fetch_add(1) + 1;
          int seen = mostInside.load();
          while (now > seen && !mostInside.compare_exchange_weak(seen, now)) {
          }
          std::this_thread::yield();
          inside.fetch_sub(1);
        });
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(runs.load(), 1);
  EXPECT_EQ(mostInside.load(), 1);
}

// ---- delay and cancel -----------------------------------------------------------------

class KPHelperTest : public ios::testing::ManualDispatchFixture {};

TEST_F(KPHelperTest, DelayedWorkRunsOnTheMainQueueOneTurnAfterTheDeadline) {
  std::vector<std::string> log;
  auto task = delay(1.0, [&] { log.push_back("work@" + ios::DispatchQueue::currentLabel()); });
  ASSERT_TRUE(task.has_value());
  // Due at the same deadline, this block is queued after the deadline check and runs
  // before the work the check submits.
  ios::DispatchQueue::main().asyncAfter(ios::DispatchTime::now() + 1.0, [&] { log.push_back("same deadline"); });
  dispatch_.advanceNanoseconds(999'999'999);
  EXPECT_THAT(log, IsEmpty());
  dispatch_.advanceNanoseconds(1);
  EXPECT_THAT(log, ElementsAre("same deadline", "work@com.apple.main-thread"));
}

TEST_F(KPHelperTest, CancelBeforeTheDeadlineKeepsTheWorkFromRunning) {
  int runs = 0;
  auto task = delay(1.0, [&] { ++runs; });
  dispatch_.advance(0.5);
  cancel(task);
  dispatch_.advance(2.0);
  (*task)(false);  // a cancelled task submits nothing
  dispatch_.runPending();
  EXPECT_EQ(runs, 0);
  cancel(std::nullopt);  // nothing to cancel
}

TEST_F(KPHelperTest, CallingTheTaskWithFalseSubmitsTheWorkEachTimeUntilCancelled) {
  int runs = 0;
  auto task = delay(1.0, [&] { ++runs; });
  (*task)(false);
  dispatch_.runPending();
  EXPECT_EQ(runs, 1) << "submitted by hand before the deadline";
  dispatch_.advance(1.0);
  EXPECT_EQ(runs, 2) << "and again by the deadline";
  (*task)(false);
  dispatch_.runPending();
  EXPECT_EQ(runs, 3);
  cancel(task);
  (*task)(false);
  dispatch_.runPending();
  EXPECT_EQ(runs, 3);
}

TEST_F(KPHelperTest, TheWorkIsReleasedOnceTheTaskIsGoneAfterTheDeadline) {
  auto token = std::make_shared<int>(0);
  std::weak_ptr<int> watch = token;
  auto task = delay(1.0, [token] {});
  token.reset();
  dispatch_.advance(1.0);
  EXPECT_FALSE(watch.expired()) << "the task may still submit it";
  task.reset();
  EXPECT_TRUE(watch.expired());

  auto cancelled = std::make_shared<int>(0);
  std::weak_ptr<int> cancelledWatch = cancelled;
  const std::size_t timersBefore = dispatch_.pendingTimerCount();
  auto pending = delay(10.0, [cancelled] {});
  EXPECT_EQ(dispatch_.pendingTimerCount(), timersBefore + 1);
  cancelled.reset();
  cancel(pending);
  EXPECT_TRUE(cancelledWatch.expired()) << "cancelling releases the work at once";
  EXPECT_EQ(dispatch_.pendingTimerCount(), timersBefore) << "and its deadline with it";
}

// Work that cancels its own task and drops the last copy of it while it runs: what the
// work holds lives until it returns, and is released then.
TEST_F(KPHelperTest, WorkMayCancelAndDropItsOwnTaskWhileItRuns) {
  auto held = std::make_shared<std::string>("held");
  std::optional<DelayTask> task;
  std::vector<std::string> log;
  task = delay(1.0, [&, held] {
    cancel(task);
    task.reset();
    log.push_back(*held);
  });
  const std::weak_ptr<std::string> watch = held;
  held.reset();
  dispatch_.advance(2.0);
  EXPECT_THAT(log, ElementsAre("held"));
  EXPECT_TRUE(watch.expired());
}

TEST(KPHelperDeathTest, DelaysThatCannotBeCountedStop) {
  EXPECT_DEATH((void)delay(std::nan(""), [] {}), "must be finite");
}

TEST(KPHelperThreaded, ACancelFromAWorkerBeforeTheDeadlineWins) {
  auto cancelledRuns = std::make_shared<std::atomic<int>>(0);
  auto keptRuns = std::make_shared<std::atomic<int>>(0);
  auto cancelled = delay(0.05, [cancelledRuns] { cancelledRuns->fetch_add(1); });
  auto kept = delay(0.05, [keptRuns] { keptRuns->fetch_add(1); });
  std::thread canceller([cancelled] { cancel(cancelled); });
  canceller.join();
  const auto limit = ios::Date::now() + 10.0;
  while (keptRuns->load() == 0 && ios::Date::now() < limit) ios::RunLoop::main().run(ios::Date::now() + 0.01);
  EXPECT_EQ(keptRuns->load(), 1);
  EXPECT_EQ(cancelledRuns->load(), 0);
}

// ---- notification observers -----------------------------------------------------------

class NotificationCenterKPExtTest : public ios::testing::ManualDispatchFixture {};

TEST_F(NotificationCenterKPExtTest, BatchesRegisterInOrderAndRemoveTogether) {
  auto center = ios::NotificationCenter::defaultCenter();
  std::vector<std::string> seen;
  auto tokens = addObserverWithNames({"A", "B", "C"}, nullptr, nullptr,
                                     [&](const ios::Notification& note) { seen.push_back(note.name().rawValue); });
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(center->observerCount(), 3u);
  for (const char* name : {"C", "A", "B", "D"}) center->post(ios::Notification::Name(name));
  EXPECT_THAT(seen, ElementsAre("C", "A", "B"));
  // Each token ends its own registration: removing the second leaves "A" and "C".
  center->removeObserver(tokens[1]);
  for (const char* name : {"A", "B", "C"}) center->post(ios::Notification::Name(name));
  EXPECT_THAT(seen, ElementsAre("C", "A", "B", "A", "C"));
  removeObservers(tokens);
  EXPECT_EQ(center->observerCount(), 0u);
  EXPECT_THAT(addObserverWith({}, nullptr, nullptr, [](const ios::Notification&) {}), IsEmpty());
  removeObservers({});
  EXPECT_EQ(center->observerCount(), 0u);
}

TEST_F(NotificationCenterKPExtTest, QueuesAndObjectFiltersDecideWhereAndWhat) {
  auto sender = ios::NSObject::make();
  auto other = ios::NSObject::make();
  auto queue = ios::OperationQueue::make();
  std::vector<std::string> seen;
  auto record = [&](const std::string& who) {
    return [&seen, who](const ios::Notification&) { seen.push_back(who + "@" + ios::DispatchQueue::currentLabel()); };
  };
  auto tokens = std::vector<ios::id>{
      addObserverWithName("Saved", nullptr, nullptr, record("any")),
      addObserver(ios::Notification::Name("Saved"), sender, queue, record("sender")),
      addObserverWithName("Saved", nullptr, ios::OperationQueue::main(), record("main")),
  };
  ios::NotificationCenter::defaultCenter()->post(ios::Notification::Name("Saved"), other);
  ios::NotificationCenter::defaultCenter()->post(ios::Notification::Name("Saved"), sender);
  EXPECT_THAT(seen, ElementsAre("any@com.apple.main-thread", "main@com.apple.main-thread", "any@com.apple.main-thread",
                                "sender@" + queue->name(), "main@com.apple.main-thread"));
  removeObservers(tokens);
}

// ---- enumeration cases ----------------------------------------------------------------

enum class Consecutive { zero, one, two };
std::optional<Consecutive> fromRawValue(std::type_identity<Consecutive>, std::int64_t raw) {
  if (raw < 0 || raw > 2) return std::nullopt;
  return static_cast<Consecutive>(raw);
}
enum class FromOne { one = 1, two };
std::optional<FromOne> fromRawValue(std::type_identity<FromOne>, std::int64_t raw) {
  if (raw < 1 || raw > 2) return std::nullopt;
  return static_cast<FromOne>(raw);
}
enum class WithGap { zero = 0, two = 2 };
std::optional<WithGap> fromRawValue(std::type_identity<WithGap>, std::int64_t raw) {
  if (raw == 0 || raw == 2) return static_cast<WithGap>(raw);
  return std::nullopt;
}

TEST(RawRepresentableItems, WalkTheCasesFromRawValueZero) {
  EXPECT_EQ(itemsCount<Consecutive>(), 3);
  EXPECT_THAT(items<Consecutive>(), ElementsAre(Consecutive::zero, Consecutive::one, Consecutive::two));
  EXPECT_EQ(itemsCount<FromOne>(), 0);
  EXPECT_THAT(items<FromOne>(), IsEmpty());
  EXPECT_EQ(itemsCount<WithGap>(), 1);
  EXPECT_THAT(items<WithGap>(), ElementsAre(WithGap::zero));
}

}  // namespace
}  // namespace kp

namespace kp {
namespace {

// ---- first responder ------------------------------------------------------------------

// A view that can take keyboard input, so it can become first responder.
class Field : public ios::UIView {
  IOS_RUNTIME_CLASS(Field, ios::UIView);

 public:
  bool canBecomeFirstResponder() const override { return true; }

 protected:
  Field() = default;
};
IOS_DEFINE_RUNTIME_CLASS(Field, "KPHelperTestField", nullptr)

class FirstResponderTest : public ios::testing::PlatformFixture {
 protected:
  // An application delegate class answering "window" with `window_`, or not at all.
  ios::id makeDelegate(bool answersWindow) {
    ios::Class cls = ios::testing::makeTestClass("TestAppDelegate");
    if (answersWindow) {
      ios::class_addMethod(cls, ios::sel_registerName("window"),
                           ios::imp([this](ios::NSObject&, ios::SEL) -> ios::id { return window_; }));
    }
    return ios::class_createInstance(cls);
  }
  std::shared_ptr<ios::UIWindow> window_ = ios::UIWindow::make();
};

TEST_F(FirstResponderTest, NothingWithoutADelegateThatAnswersAWindow) {
  auto field = Field::make();
  window_->addSubview(field);
  field->becomeFirstResponder();
  EXPECT_EQ(findFirstResponder(), nullptr) << "no delegate";
  auto mute = makeDelegate(false);
  ios::UIApplication::shared()->setDelegate(mute);
  EXPECT_EQ(findFirstResponder(), nullptr) << "a delegate without a window";
  auto delegate = makeDelegate(true);
  ios::UIApplication::shared()->setDelegate(delegate);
  EXPECT_EQ(findFirstResponder(), field);
  window_ = nullptr;
  EXPECT_EQ(findFirstResponder(), nullptr) << "a nil window";
}

TEST_F(FirstResponderTest, FindsTheResponderDepthFirstAtAnyLevel) {
  auto delegate = makeDelegate(true);
  ios::UIApplication::shared()->setDelegate(delegate);
  auto container = ios::UIView::make();
  auto sibling = Field::make();
  auto field = Field::make();
  window_->addSubview(container);
  window_->addSubview(sibling);
  container->addSubview(field);
  EXPECT_EQ(findFirstResponder(), nullptr) << "nobody is first responder";
  field->becomeFirstResponder();
  EXPECT_EQ(findFirstResponder(), field) << "two levels below the window";
  sibling->becomeFirstResponder();
  EXPECT_FALSE(field->isFirstResponder()) << "one first responder at a time";
  EXPECT_EQ(findFirstResponder(), sibling);
  EXPECT_EQ(findFirstResponderInView(*container), nullptr);
  EXPECT_EQ(findFirstResponderInView(*sibling), sibling) << "the view itself counts";
  EXPECT_TRUE(sibling->resignFirstResponder());
  EXPECT_EQ(findFirstResponder(), nullptr);
}

TEST_F(FirstResponderTest, ViewsMoveBetweenSuperviewsAndRefuseCycles) {
  auto a = ios::UIView::make();
  auto b = ios::UIView::make();
  auto child = ios::UIView::make();
  a->addSubview(child);
  b->addSubview(child);
  EXPECT_TRUE(a->subviews().empty());
  EXPECT_THAT(b->subviews(), ElementsAre(child));
  EXPECT_EQ(child->superview(), b);
  child->removeFromSuperview();
  EXPECT_TRUE(b->subviews().empty());
  EXPECT_EQ(child->superview(), nullptr);
  a->addSubview(b);
  b->addSubview(a);  // a view never goes inside its own subtree
  EXPECT_EQ(a->superview(), nullptr);
  EXPECT_THAT(b->subviews(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace kp
