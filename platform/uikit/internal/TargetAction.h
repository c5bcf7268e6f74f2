// File: platform/uikit/internal/TargetAction.h
//
// How recognisers and controls send an action to a target: a selector without a colon
// goes with no argument, one with a colon with the sender.
//
//   uikit_internal::sendAction(target, action, self);
#pragma once

#include <algorithm>
#include <string_view>

#include "platform/runtime/Send.h"

namespace ios::uikit_internal {

inline void sendAction(const id& target, SEL action, const id& sender) {
  const std::string_view name = sel_getName(action);
  if (std::count(name.begin(), name.end(), ':') == 0) {
    send<void>(target, action);
  } else {
    send<void>(target, action, sender);
  }
}

}  // namespace ios::uikit_internal
