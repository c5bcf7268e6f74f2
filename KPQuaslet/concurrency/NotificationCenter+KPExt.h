// File: KPQuaslet/concurrency/NotificationCenter+KPExt.h
//
// Block observers on the default notification centre, added and removed in batches.
//
//   auto tokens = kp::addObserverWithNames({"Saved", "Deleted"}, nullptr, ios::OperationQueue::main(),
//                                          [](const ios::Notification& note) { ... });
//   kp::removeObservers(tokens);
//
// An observer with a queue runs its block on that queue; with none, on the posting
// thread. A non-null object observes only notifications that object sends.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/OperationQueue.h"

namespace kp {

using NotificationBlock = std::function<void(const ios::Notification&)>;

// addObserverWithName()
//
// Registers `block` on the default centre for notifications named `name` sent by
// `object` (any sender when null), run on `queue` (the posting thread when null).
// Answers the observer token that removeObservers() takes.
ios::id addObserverWithName(const std::string& name, const ios::id& object,
                            std::shared_ptr<ios::OperationQueue> queue, NotificationBlock block);
// addObserver()
//
// addObserverWithName() for a notification name.
ios::id addObserver(const ios::Notification::Name& name, const ios::id& object,
                    std::shared_ptr<ios::OperationQueue> queue, NotificationBlock block);

// addObserverWithNames()
//
// One observer per name, in the order of `names`, all with the same object, queue and
// block; answers their tokens in that order.
std::vector<ios::id> addObserverWithNames(const std::vector<std::string>& names, const ios::id& object,
                                          const std::shared_ptr<ios::OperationQueue>& queue,
                                          const NotificationBlock& block);
// addObserverWith()
//
// addObserverWithNames() for notification names.
std::vector<ios::id> addObserverWith(const std::vector<ios::Notification::Name>& names, const ios::id& object,
                                     const std::shared_ptr<ios::OperationQueue>& queue,
                                     const NotificationBlock& block);

// removeObservers()
//
// Removes each observer from the default centre, in order.
void removeObservers(const std::vector<ios::id>& observers);

}  // namespace kp
