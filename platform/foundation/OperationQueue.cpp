#include "platform/foundation/OperationQueue.h"

#include <atomic>
#include <cstdint>

namespace ios {
namespace {

std::string privateQueueName() {
  static std::atomic<std::uint64_t> made{0};
  return "NSOperationQueue " + std::to_string(made.fetch_add(1) + 1);
}

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(OperationQueue, "NSOperationQueue", nullptr)

OperationQueue::OperationQueue() : name_(privateQueueName()), queue_(DispatchQueue::make(name_)) {}

OperationQueue::OperationQueue(std::string name, std::shared_ptr<DispatchQueue> queue)
    : name_(std::move(name)), queue_(std::move(queue)) {}

std::shared_ptr<OperationQueue> OperationQueue::main() {
  // Lives for the whole process, like the main dispatch queue under it.
  static auto* queue =
      new std::shared_ptr<OperationQueue>(make(std::string("NSOperationQueue Main Queue"), DispatchQueue::mainQueue()));
  return *queue;
}

void OperationQueue::addOperation(std::function<void()> block) const { queue_->async(std::move(block)); }

void OperationQueue::addOperationAndWait(const std::function<void()>& block) const {
  if (queue_->isCurrent()) {
    block();
    return;
  }
  queue_->sync(block);
}

void OperationQueue::waitUntilAllOperationsAreFinished() const {
  if (queue_->isCurrent()) return;  // the caller is one of the operations
  queue_->sync([] {});
}

}  // namespace ios
