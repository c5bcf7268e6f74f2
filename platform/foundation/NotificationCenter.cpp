#include "platform/foundation/NotificationCenter.h"

#include <algorithm>
#include <atomic>

#include "platform/foundation/Precondition.h"
#include "platform/runtime/Send.h"

namespace ios {

// One registration. `removed` is set under the centre's lock and read before each call,
// so a registration removed during a post is not called after its removal.
struct NotificationCenter::Registration {
  std::optional<Notification::Name> name;
  const NSObject* filter = nullptr;       // identity only; null: any sender
  std::weak_ptr<NSObject> filterAlive;    // a filter object that is gone matches nothing
  std::shared_ptr<OperationQueue> queue;  // null: the posting thread
  Block block;
  id token;                               // block form
  std::weak_ptr<NSObject> observer;       // selector form
  const NSObject* observerIdentity = nullptr;
  SEL selector = nullptr;
  std::atomic<bool> removed{false};

  [[nodiscard]] bool matches(const Notification& note) const {
    if (name && *name != note.name()) return false;
    if (filter == nullptr) return true;
    return note.object().get() == filter && !filterAlive.expired();
  }
  [[nodiscard]] bool isFor(const NSObject* who) const {
    return who != nullptr && (token.get() == who || observerIdentity == who);
  }
};

IOS_DEFINE_RUNTIME_CLASS(NotificationCenter, "NSNotificationCenter", nullptr)

std::shared_ptr<NotificationCenter> NotificationCenter::defaultCenter() {
  static auto* center = new std::shared_ptr<NotificationCenter>(make());  // lives for the whole process
  return *center;
}

id NotificationCenter::addObserver(std::optional<Notification::Name> name, const id& object,
                                   std::shared_ptr<OperationQueue> queue, Block block) {
  KP_PRECONDITION(block != nullptr, "a notification observer needs a block");
  auto registration = std::make_shared<Registration>();
  registration->name = std::move(name);
  registration->filter = object.get();
  registration->filterAlive = object;
  registration->queue = std::move(queue);
  registration->block = std::move(block);
  registration->token = NSObject::make();
  id token = registration->token;
  std::lock_guard lock(mutex_);
  registrations_.push_back(std::move(registration));
  return token;
}

void NotificationCenter::addObserver(const id& observer, SEL selector, std::optional<Notification::Name> name,
                                     const id& object) {
  KP_PRECONDITION(observer != nullptr && selector != nullptr, "a selector observer needs an observer and a selector");
  auto registration = std::make_shared<Registration>();
  registration->name = std::move(name);
  registration->filter = object.get();
  registration->filterAlive = object;
  registration->observer = observer;
  registration->observerIdentity = observer.get();
  registration->selector = selector;
  std::lock_guard lock(mutex_);
  registrations_.push_back(std::move(registration));
}

void NotificationCenter::removeObserver(const id& observer) { removeObserver(observer, std::nullopt, nullptr); }

void NotificationCenter::removeObserver(const id& observer, const std::optional<Notification::Name>& name,
                                        const id& object) {
  if (!observer) return;
  std::vector<std::shared_ptr<Registration>> removed;  // blocks are released after the lock
  std::lock_guard lock(mutex_);
  auto keep = std::stable_partition(registrations_.begin(), registrations_.end(), [&](const auto& r) {
    const bool hit = r->isFor(observer.get()) && (!name || r->name == name) && (!object || r->filter == object.get());
    return !hit;
  });
  for (auto it = keep; it != registrations_.end(); ++it) {
    (*it)->removed.store(true);
    removed.push_back(std::move(*it));
  }
  registrations_.erase(keep, registrations_.end());
}

void NotificationCenter::post(Notification::Name name, id object, std::optional<Notification::UserInfo> userInfo) {
  post(Notification(std::move(name), std::move(object), std::move(userInfo)));
}

void NotificationCenter::post(const Notification& notification) {
  std::vector<std::shared_ptr<Registration>> matching;
  {
    std::lock_guard lock(mutex_);
    for (const auto& r : registrations_) {
      if (r->matches(notification)) matching.push_back(r);
    }
  }
  for (const auto& r : matching) {
    if (r->removed.load()) continue;
    if (r->selector != nullptr) {
      if (id observer = r->observer.lock()) {
        send<void>(observer, r->selector, notification);
      } else {
        // The observer is gone: forget its registration.
        r->removed.store(true);
        std::lock_guard lock(mutex_);
        std::erase(registrations_, r);
      }
      continue;
    }
    if (r->queue == nullptr) {
      r->block(notification);
    } else {
      r->queue->addOperationAndWait([&] {
        if (!r->removed.load()) r->block(notification);
      });
    }
  }
}

std::size_t NotificationCenter::observerCount() const {
  std::lock_guard lock(mutex_);
  return registrations_.size();
}

void NotificationCenter::removeAllObservers() {
  std::vector<std::shared_ptr<Registration>> removed;
  std::lock_guard lock(mutex_);
  for (auto& r : registrations_) r->removed.store(true);
  removed.swap(registrations_);
}

namespace testing {

void resetNotificationCenter() { NotificationCenter::defaultCenter()->removeAllObservers(); }

}  // namespace testing
}  // namespace ios
