// File: platform/foundation/OperationQueue.h
//
// Operation queues: the main one and private ones, as far as notification observers
// and callers that hand work to a queue need them.
//
//   auto queue = ios::OperationQueue::make();
//   queue->addOperation([] { ... });
//   queue->waitUntilAllOperationsAreFinished();
//   ios::OperationQueue::main()->addOperation([] { ... });   // runs on the main queue
//
// Fidelity: the main operation queue runs its operations on the main dispatch queue; a
// private operation queue runs them one at a time, in order, on a serial dispatch queue
// of its own (the platform's default would run several at once). Operation objects,
// dependencies, priorities, cancellation and suspension are absent.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/runtime/NSObject.h"

namespace ios {

class OperationQueue : public NSObject {
  IOS_RUNTIME_CLASS(OperationQueue, NSObject);

 public:
  // The queue whose operations run on the main thread, on the main dispatch queue.
  [[nodiscard]] static std::shared_ptr<OperationQueue> main();

  // Runs `block` on the queue later, never inside this call.
  void addOperation(std::function<void()> block) const;
  // Runs `block` on the queue and returns once it has run: at once, in place, when the
  // caller already runs on this queue. Exceptions thrown by the block reach the caller.
  void addOperationAndWait(const std::function<void()>& block) const;
  // Returns once every operation added so far has run.
  void waitUntilAllOperationsAreFinished() const;

  // The queue's name ("NSOperationQueue Main Queue" for the main one).
  [[nodiscard]] const std::string& name() const { return name_; }
  // The dispatch queue the operations run on.
  [[nodiscard]] const std::shared_ptr<DispatchQueue>& underlyingQueue() const { return queue_; }
  // Whether the caller runs on this queue.
  [[nodiscard]] bool isCurrent() const { return queue_->isCurrent(); }

 protected:
  // A private queue, with a serial dispatch queue of its own.
  OperationQueue();
  OperationQueue(std::string name, std::shared_ptr<DispatchQueue> queue);

 private:
  std::string name_;
  std::shared_ptr<DispatchQueue> queue_;
};

}  // namespace ios
