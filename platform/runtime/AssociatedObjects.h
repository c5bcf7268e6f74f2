// File: platform/runtime/AssociatedObjects.h
//
// Associated objects: values attached to any object under a key, usually the address
// of a static variable, and released with the object.
//
//   static char badgeKey;
//   ios::objc_setAssociatedObject(view.get(), &badgeKey, badge, ios::OBJC_ASSOCIATION_RETAIN_NONATOMIC);
//   std::shared_ptr<Badge> b = ios::associatedObject<Badge>(view.get(), &badgeKey);
//
// Policies: retain keeps the value alive until it is replaced, removed or the owner
// goes; copy stores the result of sending `copy` to the value; assign keeps a
// reference that does not keep the value alive. Atomic and nonatomic policies behave
// alike here: every read and write takes the association lock.
//
// Fidelity: the platform's assign policy keeps an unretained pointer that dangles
// once the value is released; here it is a weak reference that reads as null instead.
// Released values are destroyed after the association lock is released, so a value's
// destructor may use associated objects itself.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/runtime/NSObject.h"

namespace ios {

// How an associated value is held.
enum objc_AssociationPolicy : std::uintptr_t {
  OBJC_ASSOCIATION_ASSIGN = 0,
  OBJC_ASSOCIATION_RETAIN_NONATOMIC = 1,
  OBJC_ASSOCIATION_COPY_NONATOMIC = 3,
  OBJC_ASSOCIATION_RETAIN = 01401,
  OBJC_ASSOCIATION_COPY = 01403,
};

// objc_setAssociatedObject()
//
// Stores `value` on `object` under `key` with `policy`, replacing (and releasing) what
// was stored there; a null value removes the entry. With a copy policy the copy is
// made first: if the value cannot be copied (its `copy` raises), the exception passes
// through and nothing changes. A null object does nothing; an unknown policy stops the
// process.
void objc_setAssociatedObject(NSObject* object, const void* key, id value, objc_AssociationPolicy policy);

// objc_getAssociatedObject()
//
// The value stored on `object` under `key`; null when there is none, when `object` is
// null, or when an assigned value has been released.
[[nodiscard]] id objc_getAssociatedObject(const NSObject* object, const void* key);

// objc_removeAssociatedObjects()
//
// Removes and releases every value stored on `object`.
void objc_removeAssociatedObjects(NSObject* object);

// associatedObject<T>()
//
// The value stored on `object` under `key` as a T; null when there is none or when the
// stored object is not a T.
template <class T>
[[nodiscard]] std::shared_ptr<T> associatedObject(const NSObject* object, const void* key) {
  return std::dynamic_pointer_cast<T>(objc_getAssociatedObject(object, key));
}

}  // namespace ios
