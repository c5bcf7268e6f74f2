#include "platform/dispatch/DispatchQueue.h"

#include <array>

#include "platform/dispatch/internal/Engine.h"
#include "platform/dispatch/internal/WorkerPool.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/Thread.h"

namespace ios {

using dispatch_internal::QueueCore;

namespace {

// The worker pool's level for a quality of service: background runs last, user
// interactive first; unspecified counts as default.
std::size_t poolLevel(DispatchQoS qos) {
  switch (qos) {
    case DispatchQoS::background:
      return 0;
    case DispatchQoS::utility:
      return 1;
    case DispatchQoS::unspecified:
    case DispatchQoS::default_:
      return dispatch_internal::kDefaultLevel;
    case DispatchQoS::userInitiated:
      return 3;
    case DispatchQoS::userInteractive:
      return 4;
  }
  return dispatch_internal::kDefaultLevel;
}

}  // namespace

std::shared_ptr<DispatchQueue> DispatchQueue::make(std::string label, DispatchQoS qos, Attributes attributes) {
  return std::make_shared<DispatchQueue>(
      QueueCore::make(std::move(label), attributes == Attributes::concurrent, false, poolLevel(qos), false));
}

std::shared_ptr<DispatchQueue> DispatchQueue::mainQueue() {
  static auto* queue = new std::shared_ptr<DispatchQueue>(std::make_shared<DispatchQueue>(
      QueueCore::make("com.apple.main-thread", false, true, dispatch_internal::kDefaultLevel, true)));
  return *queue;
}

DispatchQueue& DispatchQueue::main() { return *mainQueue(); }

std::shared_ptr<DispatchQueue> DispatchQueue::globalQueue(DispatchQoS qos) {
  static auto* queues = [] {
    const char* labels[] = {"com.apple.root.default-qos", "com.apple.root.background-qos",
                            "com.apple.root.utility-qos", "com.apple.root.default-qos",
                            "com.apple.root.user-initiated-qos", "com.apple.root.user-interactive-qos"};
    auto* made = new std::array<std::shared_ptr<DispatchQueue>, 6>;
    for (std::size_t i = 0; i < made->size(); ++i) {
      (*made)[i] = std::make_shared<DispatchQueue>(
          QueueCore::make(labels[i], true, false, poolLevel(static_cast<DispatchQoS>(i)), true));
    }
    return made;
  }();
  return (*queues)[static_cast<std::size_t>(qos)];
}

DispatchQueue& DispatchQueue::global(DispatchQoS qos) { return *globalQueue(qos); }

const std::string& DispatchQueue::label() const { return core_->label(); }

bool DispatchQueue::isConcurrent() const { return core_->isConcurrent(); }

void DispatchQueue::enqueue(dispatch_internal::Block block) const { core_->enqueue(std::move(block)); }

void DispatchQueue::async(const std::shared_ptr<DispatchWorkItem>& item) const {
  core_->enqueue([item] { item->perform(); });
}

void DispatchQueue::asyncAfter(DispatchTime deadline, std::function<void()> block) const {
  if (deadline.isDistantFuture()) return;  // never comes
  dispatch_internal::addTimer(deadline.uptimeNanoseconds(),
                              [core = core_, block = std::move(block)]() mutable { core->enqueue(std::move(block)); });
}

void DispatchQueue::asyncAfter(DispatchTime deadline, const std::shared_ptr<DispatchWorkItem>& item) const {
  if (deadline.isDistantFuture() || item->isCancelled()) return;  // never runs
  item->addDeadline(dispatch_internal::addTimer(
      deadline.uptimeNanoseconds(), [core = core_, item]() mutable { core->enqueue([item] { item->perform(); }); }));
}

void DispatchQueue::sync(const std::function<void()>& block) const {
  if (!core_->isConcurrent() && dispatch_internal::currentQueue() == core_.get()) {
    fatalError("BUG IN CLIENT OF LIBDISPATCH: dispatch_sync called on queue already owned by current thread");
  }
  if (core_->isMain() && Thread::isMainThread() && dispatch_internal::currentQueue() == nullptr &&
      !dispatch_internal::isManualMode()) {
    fatalError("BUG IN CLIENT OF LIBDISPATCH: dispatch_sync called on the main queue from the main thread");
  }
  if (dispatch_internal::isManualMode()) {
    // One thread: earlier blocks of the queue run first, then this one, in place.
    dispatch_internal::runPending();
    dispatch_internal::runAsCurrent(core_.get(), block);
    return;
  }
  dispatch_internal::syncOn(*core_, block);
}

void DispatchQueue::performChunks(std::size_t iterations, ChunkBody chunk, void* context) {
  dispatch_internal::concurrentPerform(iterations, chunk, context);
}

std::string DispatchQueue::currentLabel() {
  if (const QueueCore* queue = dispatch_internal::currentQueue()) return queue->label();
  return Thread::isMainThread() ? "com.apple.main-thread" : "";
}

bool DispatchQueue::isCurrent() const {
  const QueueCore* queue = dispatch_internal::currentQueue();
  if (queue) return queue == core_.get();
  return core_->isMain() && Thread::isMainThread();
}

std::shared_ptr<DispatchWorkItem> DispatchWorkItem::make(std::function<void()> block) {
  return std::make_shared<DispatchWorkItem>(std::move(block));
}

DispatchWorkItem::DispatchWorkItem(std::function<void()> block) : block_(std::move(block)) {}

DispatchWorkItem::~DispatchWorkItem() = default;

void DispatchWorkItem::perform() {
  if (!cancelled_.load() && block_) block_();
}

void DispatchWorkItem::addDeadline(const dispatch_internal::TimerId& timer) {
  const std::uint64_t now = clock::uptimeNanoseconds();
  std::lock_guard lock(deadlinesMutex_);
  std::erase_if(deadlines_, [now](const dispatch_internal::TimerId& t) { return t.deadline < now; });
  deadlines_.push_back(timer);
  if (cancelled_.load()) {
    // cancel() ran meanwhile and may have missed this one.
    for (const auto& t : deadlines_) dispatch_internal::cancelTimer(t);
    deadlines_.clear();
  }
}

void DispatchWorkItem::cancel() {
  cancelled_.store(true);
  std::vector<dispatch_internal::TimerId> dropped;
  {
    std::lock_guard lock(deadlinesMutex_);
    dropped.swap(deadlines_);
  }
  // Outside the lock: a dropped deadline releases its reference to this item.
  for (const auto& timer : dropped) dispatch_internal::cancelTimer(timer);
}

bool DispatchWorkItem::isCancelled() const { return cancelled_.load(); }

namespace testing {

ManualDispatch::ManualDispatch(double absoluteTime) { dispatch_internal::enterManualMode(absoluteTime); }
ManualDispatch::~ManualDispatch() { dispatch_internal::leaveManualMode(); }
std::size_t ManualDispatch::runPending() { return dispatch_internal::runPending(); }
std::size_t ManualDispatch::advance(double seconds) {
  KP_PRECONDITION(seconds >= 0, "the clock only moves forward");
  return dispatch_internal::advance(static_cast<std::uint64_t>(secondsToNanoseconds(seconds)));
}
std::size_t ManualDispatch::advanceNanoseconds(std::uint64_t nanoseconds) {
  return dispatch_internal::advance(nanoseconds);
}
std::size_t ManualDispatch::pendingBlockCount() const { return dispatch_internal::pendingBlockCount(); }
std::size_t ManualDispatch::pendingTimerCount() const { return dispatch_internal::pendingTimerCount(); }

std::size_t dispatchWorkerCount() { return dispatch_internal::poolWidth(); }

ScopedWorkerSearchTime::ScopedWorkerSearchTime(std::chrono::nanoseconds time)
    : previous_(dispatch_internal::exchangePoolSearchTime(time)) {}
ScopedWorkerSearchTime::~ScopedWorkerSearchTime() { dispatch_internal::exchangePoolSearchTime(previous_); }

}  // namespace testing
}  // namespace ios
