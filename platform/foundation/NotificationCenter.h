// File: platform/foundation/NotificationCenter.h
//
// Notifications and the process's default notification centre.
//
//   auto center = ios::NotificationCenter::defaultCenter();
//   ios::id token = center->addObserver(ios::Notification::Name("Saved"), nullptr, nullptr,
//                                       [](const ios::Notification& note) { ... });
//   center->post(ios::Notification::Name("Saved"), document);
//   center->removeObserver(token);
//
// Fidelity: kept are the platform's delivery rules. Observers are called in the order
// they registered, synchronously within post(): a block observer with no queue runs on
// the posting thread; one with a queue runs on that queue and post() waits for it (in
// place when the poster already runs on that queue). A nil name or object observes
// every name or sender; an object filter compares identity and does not keep the
// object. The centre keeps an observer's block (and its token) until removeObserver()
// is given the token; an observer removed while a notification is being delivered is
// not called afterwards. Selector observers are held weakly and reached through the
// runtime. Differences: user info is a map of std::any; there is no notification queue,
// no suspension, and no distributed centre.
#pragma once

#include <any>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/OperationQueue.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"

namespace ios {

// A notification: its name, the object that sent it, and optional user info.
class Notification {
 public:
  // A notification name (the platform's NSNotification.Name).
  struct Name {
    std::string rawValue;
    Name() = default;
    explicit Name(std::string raw) : rawValue(std::move(raw)) {}
    bool operator==(const Name&) const = default;
    auto operator<=>(const Name&) const = default;
  };
  using UserInfo = std::map<std::string, std::any>;

  Notification(Name name, id object = nullptr, std::optional<UserInfo> userInfo = std::nullopt)
      : name_(std::move(name)), object_(std::move(object)), userInfo_(std::move(userInfo)) {}

  [[nodiscard]] const Name& name() const { return name_; }
  [[nodiscard]] const id& object() const { return object_; }
  [[nodiscard]] const std::optional<UserInfo>& userInfo() const { return userInfo_; }

 private:
  Name name_;
  id object_;
  std::optional<UserInfo> userInfo_;
};

// The platform's spelling of a notification name.
using NSNotificationName = Notification::Name;

class NotificationCenter : public NSObject {
  IOS_RUNTIME_CLASS(NotificationCenter, NSObject);

 public:
  using Block = std::function<void(const Notification&)>;

  // The process's default centre.
  [[nodiscard]] static std::shared_ptr<NotificationCenter> defaultCenter();

  // addObserver()
  //
  // Calls `block` for every notification named `name` (any name when absent) sent by
  // `object` (any sender when null), on `queue` (the posting thread when null). Answers
  // a new token object; the centre keeps the block until the token is removed.
  id addObserver(std::optional<Notification::Name> name, const id& object, std::shared_ptr<OperationQueue> queue,
                 Block block);

  // addObserver(observer, selector, ...)
  //
  // Sends `selector` to `observer` with the notification (its implementation takes
  // `ios::Notification`) for every matching notification, on the posting thread. The
  // observer is not kept: once it is gone it is skipped and forgotten.
  void addObserver(const id& observer, SEL selector, std::optional<Notification::Name> name, const id& object);

  // removeObserver()
  //
  // Ends every registration made under `observer` (a token answered by addObserver(),
  // or an observer given to the selector form). An unknown or null object changes
  // nothing.
  void removeObserver(const id& observer);
  // Ends the registrations of `observer` for `name` (every name when absent) and
  // `object` (every sender when null).
  void removeObserver(const id& observer, const std::optional<Notification::Name>& name, const id& object);

  // post()
  //
  // Delivers the notification to every matching observer, in registration order, and
  // returns once all have run. Exceptions thrown by an observer reach the poster.
  void post(const Notification& notification);
  void post(Notification::Name name, id object = nullptr, std::optional<Notification::UserInfo> userInfo = std::nullopt);

  // The number of registrations (a token, or an observer and selector, each count one).
  [[nodiscard]] std::size_t observerCount() const;

  // Removes every registration (used by the platform reset between tests).
  void removeAllObservers();

 protected:
  NotificationCenter() = default;

 private:
  struct Registration;
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<Registration>> registrations_;
};

namespace testing {

// Forgets every registration of the default notification centre.
void resetNotificationCenter();

}  // namespace testing
}  // namespace ios
