#include "KPQuaslet/concurrency/NotificationCenter+KPExt.h"

namespace kp {

ios::id addObserverWithName(const std::string& name, const ios::id& object,
                            std::shared_ptr<ios::OperationQueue> queue, NotificationBlock block) {
  return addObserver(ios::Notification::Name(name), object, std::move(queue), std::move(block));
}

ios::id addObserver(const ios::Notification::Name& name, const ios::id& object,
                    std::shared_ptr<ios::OperationQueue> queue, NotificationBlock block) {
  return ios::NotificationCenter::defaultCenter()->addObserver(name, object, std::move(queue), std::move(block));
}

std::vector<ios::id> addObserverWithNames(const std::vector<std::string>& names, const ios::id& object,
                                          const std::shared_ptr<ios::OperationQueue>& queue,
                                          const NotificationBlock& block) {
  std::vector<ios::Notification::Name> converted;
  converted.reserve(names.size());
  for (const auto& name : names) converted.emplace_back(name);
  return addObserverWith(converted, object, queue, block);
}

std::vector<ios::id> addObserverWith(const std::vector<ios::Notification::Name>& names, const ios::id& object,
                                     const std::shared_ptr<ios::OperationQueue>& queue,
                                     const NotificationBlock& block) {
  std::vector<ios::id> tokens;
  tokens.reserve(names.size());
  for (const auto& name : names) tokens.push_back(addObserver(name, object, queue, block));
  return tokens;
}

void removeObservers(const std::vector<ios::id>& observers) {
  auto center = ios::NotificationCenter::defaultCenter();
  for (const auto& observer : observers) center->removeObserver(observer);
}

}  // namespace kp
