#include "platform/foundation/NotificationCenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Thread.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/RuntimeTestClasses.h"

namespace {

using ::testing::ElementsAre;
using ios::Notification;
using ios::NotificationCenter;

class NotificationCenterTest : public ios::testing::PlatformFixture {
 protected:
  std::shared_ptr<NotificationCenter> center_ = NotificationCenter::defaultCenter();
  ios::testing::ManualDispatch dispatch_;
  std::vector<std::string> seen_;
  NotificationCenter::Block record(const std::string& who) {
    return [this, who](const Notification& note) {
      seen_.push_back(who + ":" + note.name().rawValue + "@" + ios::DispatchQueue::currentLabel());
    };
  }
};

TEST_F(NotificationCenterTest, ObserversRunInRegistrationOrderAndMatchNameAndSender) {
  auto sender = ios::NSObject::make();
  center_->addObserver(Notification::Name("Ping"), nullptr, nullptr, record("ping"));
  center_->addObserver(std::nullopt, nullptr, nullptr, record("all"));
  center_->addObserver(Notification::Name("Ping"), sender, nullptr, record("from sender"));
  center_->post(Notification::Name("Ping"));
  center_->post(Notification::Name("Pong"), sender);
  center_->post(Notification::Name("Ping"), sender, Notification::UserInfo{{"count", 1}});
  EXPECT_THAT(seen_, ElementsAre("ping:Ping@com.apple.main-thread", "all:Ping@com.apple.main-thread",
                                 "all:Pong@com.apple.main-thread", "ping:Ping@com.apple.main-thread",
                                 "all:Ping@com.apple.main-thread", "from sender:Ping@com.apple.main-thread"));
}

TEST_F(NotificationCenterTest, AFilterObjectThatIsGoneMatchesNothingAndIsNotKept) {
  auto sender = ios::NSObject::make();
  std::weak_ptr<ios::NSObject> watch = sender;
  center_->addObserver(Notification::Name("Ping"), sender, nullptr, record("filtered"));
  sender.reset();
  EXPECT_TRUE(watch.expired());
  center_->post(Notification::Name("Ping"), ios::NSObject::make());
  EXPECT_TRUE(seen_.empty());
}

TEST_F(NotificationCenterTest, AnObserverRemovedDuringAPostIsNotCalledAfterwards) {
  ios::id second;
  center_->addObserver(Notification::Name("Ping"), nullptr, nullptr, [&](const Notification&) {
    seen_.push_back("first");
    center_->removeObserver(second);
  });
  second = center_->addObserver(Notification::Name("Ping"), nullptr, nullptr, record("second"));
  center_->post(Notification::Name("Ping"));
  center_->post(Notification::Name("Ping"));
  EXPECT_THAT(seen_, ElementsAre("first", "first"));
  EXPECT_EQ(center_->observerCount(), 1u);
}

// A block that removes its own registration and drops the last reference to its token
// and to its queue, while it runs: everything it uses stays alive until it returns.
TEST_F(NotificationCenterTest, AnObserverMayEndItsOwnRegistrationWhileItRuns) {
  for (bool queued : {false, true}) {
    auto queue = queued ? ios::OperationQueue::make() : nullptr;
    auto state = std::make_shared<std::string>("alive");
    ios::id token;
    token = center_->addObserver(Notification::Name("Once"), nullptr, queue, [&, state](const Notification&) {
      center_->removeObserver(token);
      token.reset();
      queue.reset();
      seen_.push_back(*state);  // the block and what it holds outlive the removal
    });
    const std::weak_ptr<std::string> watch = state;
    state.reset();
    center_->post(Notification::Name("Once"));
    center_->post(Notification::Name("Once"));
    EXPECT_THAT(seen_, ElementsAre("alive")) << queued;
    EXPECT_TRUE(watch.expired()) << "the block is released once the post is over";
    EXPECT_EQ(center_->observerCount(), 0u);
    seen_.clear();
  }
}

TEST_F(NotificationCenterTest, RemovingByNameAndObjectEndsOnlyThoseRegistrations) {
  auto observer = ios::NSObject::make();
  ios::Class cls = ios::testing::makeTestClass("NotificationObserver");
  ios::class_addMethod(cls, ios::sel_registerName("noted:"),
                       ios::imp([this](ios::NSObject&, ios::SEL, Notification note) {
                         seen_.push_back("selector:" + note.name().rawValue);
                       }));
  ios::id target = ios::class_createInstance(cls);
  center_->addObserver(target, ios::sel_registerName("noted:"), Notification::Name("A"), nullptr);
  center_->addObserver(target, ios::sel_registerName("noted:"), Notification::Name("B"), nullptr);
  center_->post(Notification::Name("A"));
  center_->removeObserver(target, Notification::Name("A"), nullptr);
  center_->post(Notification::Name("A"));
  center_->post(Notification::Name("B"));
  EXPECT_THAT(seen_, ElementsAre("selector:A", "selector:B"));
  // A selector observer is not kept: once it is gone, it is forgotten.
  target.reset();
  center_->post(Notification::Name("B"));
  EXPECT_EQ(center_->observerCount(), 0u);
  center_->removeObserver(observer);  // unknown: nothing happens
  center_->removeObserver(nullptr);
}

TEST_F(NotificationCenterTest, QueuedObserversRunOnTheirQueueBeforePostReturns) {
  auto queue = ios::OperationQueue::make();
  center_->addObserver(Notification::Name("Ping"), nullptr, queue, record("queued"));
  center_->addObserver(Notification::Name("Ping"), nullptr, ios::OperationQueue::main(), record("main"));
  center_->post(Notification::Name("Ping"));
  EXPECT_THAT(seen_, ElementsAre("queued:Ping@" + queue->name(), "main:Ping@com.apple.main-thread"));
}

TEST_F(NotificationCenterTest, ExceptionsFromObserversReachThePoster) {
  center_->addObserver(Notification::Name("Ping"), nullptr, nullptr,
                       [](const Notification&) { throw std::runtime_error("observer failed"); });
  EXPECT_THROW(center_->post(Notification::Name("Ping")), std::runtime_error);
}

TEST_F(NotificationCenterTest, ResetForgetsEveryRegistration) {
  center_->addObserver(Notification::Name("Ping"), nullptr, nullptr, record("kept"));
  ios::testing::resetPlatform();
  center_->post(Notification::Name("Ping"));
  EXPECT_TRUE(seen_.empty());
  EXPECT_EQ(center_->observerCount(), 0u);
}

TEST(OperationQueue, RunsOperationsInOrderOnItsOwnQueue) {
  ios::testing::ManualDispatch dispatch;
  auto queue = ios::OperationQueue::make();
  std::vector<std::string> log;
  for (int i = 0; i < 3; ++i) {
    queue->addOperation([&, i] { log.push_back(std::to_string(i) + "@" + ios::DispatchQueue::currentLabel()); });
  }
  EXPECT_TRUE(log.empty()) << "never inside addOperation()";
  queue->waitUntilAllOperationsAreFinished();
  const std::string at = "@" + queue->name();
  EXPECT_THAT(log, ElementsAre("0" + at, "1" + at, "2" + at));
  EXPECT_EQ(ios::OperationQueue::main()->name(), "NSOperationQueue Main Queue");
  EXPECT_EQ(ios::OperationQueue::main()->underlyingQueue()->label(), "com.apple.main-thread");
  EXPECT_NE(ios::OperationQueue::make()->name(), queue->name());
}

TEST(OperationQueue, AnOperationMayDropTheLastReferenceToItsQueue) {
  ios::testing::ManualDispatch dispatch;
  auto queue = ios::OperationQueue::make();
  std::vector<std::string> log;
  queue->addOperation([&] {
    queue.reset();
    log.push_back(ios::DispatchQueue::currentLabel());
  });
  queue->addOperation([&] { log.push_back("second"); });
  const std::string name = queue->name();
  dispatch.runPending();
  EXPECT_THAT(log, ElementsAre(name, "second")) << "queued work still runs once the queue object is gone";
}

TEST(NotificationCenterThreaded, PostFromAWorkerWaitsForTheQueuedObserver) {
  auto center = NotificationCenter::defaultCenter();
  auto queue = ios::OperationQueue::make();
  std::atomic<int> delivered{0};
  std::string label;
  auto token = center->addObserver(Notification::Name("ThreadedPing"), nullptr, queue, [&](const Notification&) {
    label = ios::DispatchQueue::currentLabel();
    delivered.fetch_add(1);
  });
  int seenAfterPost = -1;
  std::thread poster([&] {
    center->post(Notification::Name("ThreadedPing"));
    seenAfterPost = delivered.load();
  });
  poster.join();
  EXPECT_EQ(seenAfterPost, 1);
  EXPECT_EQ(label, queue->name());
  center->removeObserver(token);
}

}  // namespace
