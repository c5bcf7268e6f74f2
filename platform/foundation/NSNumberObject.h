// File: platform/foundation/NSNumberObject.h
//
// A number as an object, for the places that hold objects only (associated objects,
// user-information dictionaries of objects).
//
//   ios::objc_setAssociatedObject(view.get(), &key, ios::NSNumberObject::make(true),
//                                 ios::OBJC_ASSOCIATION_RETAIN);
//   ios::associatedObject<ios::NSNumberObject>(view.get(), &key)->number().boolValue();
//
// Fidelity: on the platform every NSNumber is an object; here the number itself is the
// value type ios::NSNumber and this class boxes one, immutably. The runtime class is
// named "NSNumber".
#pragma once

#include "platform/foundation/NSNumber.h"
#include "platform/runtime/NSObject.h"

namespace ios {

class NSNumberObject : public NSObject {
  IOS_RUNTIME_CLASS(NSNumberObject, NSObject);

 public:
  [[nodiscard]] const NSNumber& number() const { return number_; }

 protected:
  explicit NSNumberObject(NSNumber number) : number_(number) {}
  explicit NSNumberObject(bool value) : number_(value) {}
  explicit NSNumberObject(std::int64_t value) : number_(value) {}

 private:
  NSNumber number_;
};

}  // namespace ios
