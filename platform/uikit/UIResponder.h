// File: platform/uikit/UIResponder.h
//
// The base of objects that take part in the responder chain.
//
//   std::shared_ptr<ios::UIResponder> next = responder->nextResponder();
//
// Fidelity: `nextResponder` is runtime-visible (selector "nextResponder", property
// attributes "T@\"UIResponder\",R,N"), so subclasses, categories and swizzles decide
// what it answers; UIResponder's own answer is nil. Events, first-responder status and
// input views come later.
#pragma once

#include <memory>

#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"

namespace ios {

class UIResponder : public NSObject {
  IOS_RUNTIME_CLASS(UIResponder, NSObject);

 public:
  // The selector "nextResponder".
  [[nodiscard]] static SEL nextResponderSelector();

  // nextResponder()
  //
  // The next responder in the chain, as the runtime answers the message
  // "nextResponder"; null at the end of the chain (or when the answer is not a
  // responder).
  std::shared_ptr<UIResponder> nextResponder();

 protected:
  UIResponder() = default;
};

}  // namespace ios
