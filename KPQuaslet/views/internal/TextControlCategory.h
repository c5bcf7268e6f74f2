// File: KPQuaslet/views/internal/TextControlCategory.h
//
// What the text-field and text-view categories share: reading a boxed flag or count
// stored as an associated object, and the edit-menu rule.
//
//   bool offered = kp::views_internal::storedBool(field, &key, true);
//
// Internal to the library: not part of the umbrella header.
#pragma once

#include <cstdint>

#include "platform/foundation/NSNumberObject.h"
#include "platform/runtime/AssociatedObjects.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIResponder.h"

namespace kp::views_internal {

// The Boolean stored under `key`, or `fallback` when nothing or no number is stored.
[[nodiscard]] inline bool storedBool(const ios::NSObject& object, const void* key, bool fallback) {
  const auto box = ios::associatedObject<ios::NSNumberObject>(&object, key);
  return box != nullptr ? box->number().boolValue() : fallback;
}

// The integer stored under `key`, or `fallback` when nothing or no integer is stored.
[[nodiscard]] inline std::int64_t storedInteger(const ios::NSObject& object, const void* key, std::int64_t fallback) {
  const auto box = ios::associatedObject<ios::NSNumberObject>(&object, key);
  return box != nullptr && box->number().holdsInteger() ? box->number().integerValue() : fallback;
}

// Stores `value` boxed under `key` with the retain, atomic policy.
template <class T>
void storeNumber(ios::NSObject& object, const void* key, T value) {
  ios::objc_setAssociatedObject(&object, key, ios::NSNumberObject::make(value), ios::OBJC_ASSOCIATION_RETAIN);
}

// The selector "canPerformAction", the getter of the edit-menu flag.
[[nodiscard]] inline ios::SEL canPerformFlagSelector() {
  static const ios::SEL s = ios::sel_registerName("canPerformAction");
  return s;
}

// The edit-menu rule of the text controls: copy, select all and paste are offered
// exactly when the receiver's flag (read through the runtime, so that a subclass's
// getter counts) is on; any other action is answered by the superclass of `extended`.
[[nodiscard]] inline bool editMenuAnswer(ios::UIResponder& self, ios::Class extended, ios::SEL action,
                                         const ios::id& sender) {
  if (action == ios::copySelector() || action == ios::selectAllSelector() || action == ios::pasteSelector()) {
    return ios::send<bool>(&self, canPerformFlagSelector());
  }
  return ios::sendSuper<bool>(&self, extended, ios::canPerformActionSelector(), action, sender);
}

}  // namespace kp::views_internal
