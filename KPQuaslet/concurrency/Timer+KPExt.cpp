#include "KPQuaslet/concurrency/Timer+KPExt.h"

#include <any>

#include "KPQuaslet/Helper/internal/RuntimeCategory.h"
#include "KPQuaslet/Helper/KPFunctions.h"
#include "platform/runtime/Runtime.h"

namespace kp {
namespace {

using TimerBlock = std::function<void(ios::Timer&)>;

// Carries a timer's closure in the timer's user info.
template <class T>
class BlockWrapper {
 public:
  explicit BlockWrapper(T block) : block(std::move(block)) {}
  T block;
};

ios::SEL executeBlockSelector() {
  static const ios::SEL selector = ios::sel_registerName("executeBlock:");
  return selector;
}

std::shared_ptr<ios::Timer> handleOf(ios::Timer& timer) {
  return std::static_pointer_cast<ios::Timer>(timer.shared_from_this());
}

// +[NSTimer executeBlock:] from the category.
void executeBlockMethod(ios::objc_class&, ios::SEL, std::shared_ptr<ios::Timer> timer) {
  if (timer) executeBlock(*timer);
}

// Attached when the library is loaded; runs nothing else.
const kp_internal::CategoryRegistration timerCategory([] {
  ios::Category category;
  category.name = kp_internal::kCategoryName;
  category.classMethods.push_back({executeBlockSelector(), ios::imp(&executeBlockMethod), {}});
  ios::attachCategory(ios::NSTimer::classObject(), category);
});

std::shared_ptr<ios::Timer> makeRepeating(double interval, TimerBlock block) {
  return ios::CFRunLoopTimerCreateWithHandler(ios::CFAbsoluteTimeGetCurrent() + interval, interval, std::move(block));
}

}  // namespace

std::shared_ptr<ios::Timer> scheduledTimer(double interval, std::function<void(ios::Timer&)> block, bool repeats) {
  std::any userInfo = std::make_shared<BlockWrapper<TimerBlock>>(std::move(block));
  return ios::Timer::scheduledTimer(interval, ios::NSTimer::classObject()->shared_from_this(), executeBlockSelector(),
                                    std::move(userInfo), repeats);
}

std::shared_ptr<ios::Timer> runThisEvery(double seconds, std::function<void(ios::Timer*)> handler) {
  return KP::runThisEvery(seconds, 0, std::move(handler));
}

std::shared_ptr<ios::Timer> newAfter(double interval, std::function<void()> block) {
  return ios::CFRunLoopTimerCreateWithHandler(ios::CFAbsoluteTimeGetCurrent() + interval, 0,
                                              [block = std::move(block)](ios::Timer&) { block(); });
}

std::shared_ptr<ios::Timer> after(double interval, std::function<void()> block) {
  auto timer = newAfter(interval, std::move(block));
  start(*timer, ios::RunLoop::current());
  return timer;
}

std::shared_ptr<ios::Timer> newEvery(double interval, std::function<void()> block) {
  return makeRepeating(interval, [block = std::move(block)](ios::Timer&) { block(); });
}

std::shared_ptr<ios::Timer> newEvery(double interval, std::function<void(ios::Timer&)> block) {
  return makeRepeating(interval, std::move(block));
}

std::shared_ptr<ios::Timer> every(double interval, std::function<void()> block) {
  auto timer = newEvery(interval, std::move(block));
  start(*timer, ios::RunLoop::current());
  return timer;
}

std::shared_ptr<ios::Timer> every(double interval, std::function<void(ios::Timer&)> block) {
  auto timer = newEvery(interval, std::move(block));
  start(*timer, ios::RunLoop::current());
  return timer;
}

void executeBlock(ios::Timer& timer) {
  const std::any userInfo = timer.userInfo();
  const auto* wrapper = std::any_cast<std::shared_ptr<BlockWrapper<TimerBlock>>>(&userInfo);
  if (wrapper == nullptr || *wrapper == nullptr || !(*wrapper)->block) return;
  // The wrapper is kept by this copy of the user info while the block runs, even if the
  // block invalidates the timer.
  (*wrapper)->block(timer);
}

void start(ios::Timer& timer, ios::RunLoop& runLoop, std::initializer_list<ios::RunLoopMode> modes) {
  const auto handle = handleOf(timer);
  if (modes.size() == 0) {
    runLoop.add(handle, ios::kCFRunLoopDefaultMode);
    return;
  }
  for (const auto& mode : modes) runLoop.add(handle, mode);
}

void runThisAfterDelay(double seconds, std::function<void()> after) {
  KP::runThisAfterDelay(seconds, ios::DispatchQueue::main(), std::move(after));
}

void runThisAfterDelay(double seconds, const ios::DispatchQueue& queue, std::function<void()> after) {
  KP::runThisAfterDelay(seconds, queue, std::move(after));
}

}  // namespace kp
