// File: platform/uikit/UIResponder.h
//
// The base of objects that take part in the responder chain.
//
//   std::shared_ptr<ios::UIResponder> next = responder->nextResponder();
//
// Fidelity: `nextResponder` is runtime-visible (selector "nextResponder", property
// attributes "T@\"UIResponder\",R,N"), so subclasses, categories and swizzles decide
// what it answers; UIResponder's own answer is nil. First-responder status is kept for
// the whole process: one responder at a time is first, and a responder that is gone
// stops being it. Events and input views come later.
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

  // Whether this responder is the first responder.
  [[nodiscard]] bool isFirstResponder() const;
  // Makes this responder the first responder (the previous one resigns). Answers true.
  bool becomeFirstResponder();
  // Stops being the first responder; answers whether it was.
  bool resignFirstResponder();

 protected:
  UIResponder() = default;
};

namespace testing {

// No responder is first any more.
void resetFirstResponder();

}  // namespace testing
}  // namespace ios
