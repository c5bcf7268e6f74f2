// File: platform/uikit/internal/TargetAction.h
//
// How recognisers and controls send an action to a target: a selector without a colon
// goes with no argument, one with a colon with the sender. An action method may answer a
// Boolean (resignFirstResponder does); the answer is dropped.
//
//   uikit_internal::sendAction(target, action, self);
#pragma once

#include <algorithm>
#include <string_view>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"

namespace ios::uikit_internal {

inline void sendAction(const id& target, SEL action, const id& sender) {
  const std::string_view name = sel_getName(action);
  const bool takesSender = std::count(name.begin(), name.end(), ':') != 0;
  const Method method = target != nullptr ? class_getInstanceMethod(object_getClass(target.get()), action) : nullptr;
  const bool answersBool = method != nullptr && std::string_view(method_getTypeEncoding(method)).starts_with('B');
  if (answersBool) {
    if (takesSender) {
      (void)send<bool>(target, action, sender);
    } else {
      (void)send<bool>(target, action);
    }
  } else if (takesSender) {
    send<void>(target, action, sender);
  } else {
    send<void>(target, action);
  }
}

}  // namespace ios::uikit_internal
