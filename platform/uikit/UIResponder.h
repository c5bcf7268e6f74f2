// File: platform/uikit/UIResponder.h
//
// The base of objects that take part in the responder chain, and first-responder
// status (the object that receives keyboard input).
//
//   std::shared_ptr<ios::UIResponder> next = responder->nextResponder();
//   field->becomeFirstResponder();          // true for a field that can take input
//
// Fidelity: `nextResponder` is runtime-visible (selector "nextResponder", property
// attributes "T@\"UIResponder\",R,N"), so subclasses, categories and swizzles decide
// what it answers; UIResponder's own answer is nil. There is one first responder in
// the process (the platform has one per window): becoming first responder makes the
// previous one resign. Only objects whose canBecomeFirstResponder() answers true (false
// here, subclasses decide) can become it. Events and input views are absent.
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

  // Whether this object is the first responder.
  [[nodiscard]] virtual bool isFirstResponder() const;
  // Whether this object can become the first responder (false here).
  [[nodiscard]] virtual bool canBecomeFirstResponder() const { return false; }
  // Makes this object the first responder when it can, the previous one resigning
  // first; answers whether it is the first responder now.
  virtual bool becomeFirstResponder();
  // Gives up first-responder status; answers true (also when it did not have it).
  virtual bool resignFirstResponder();

 protected:
  UIResponder() = default;
};

// The selector "canPerformAction:withSender:" and the edit-menu actions.
[[nodiscard]] SEL canPerformActionSelector();
[[nodiscard]] SEL copySelector();
[[nodiscard]] SEL pasteSelector();
[[nodiscard]] SEL selectAllSelector();
[[nodiscard]] SEL cutSelector();

// canPerformAction()
//
// Sends "canPerformAction:withSender:" to `responder`: whether it offers `action` now.
// UIResponder answers whether the receiver implements the action, else asks its next
// responder (false at the end of the chain); subclasses answer for their own commands.
[[nodiscard]] bool canPerformAction(UIResponder& responder, SEL action, const std::shared_ptr<NSObject>& sender);

namespace testing {

// Clears the first responder.
void resetFirstResponder();

}  // namespace testing
}  // namespace ios
