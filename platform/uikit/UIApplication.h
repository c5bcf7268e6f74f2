// File: platform/uikit/UIApplication.h
//
// The application object: one per process.
//
//   auto app = ios::UIApplication::shared();
//   app->nextResponder();   // the responder chain's end, through the runtime
//
// Fidelity: only the shared instance and the inherited, runtime-dispatched
// `nextResponder` exist; UIApplication defines no `nextResponder` of its own, so it
// answers what UIResponder answers unless a category says otherwise. Delegates, windows,
// events and state come later.
#pragma once

#include <memory>

#include "platform/uikit/UIResponder.h"

namespace ios {

class UIApplication : public UIResponder {
  IOS_RUNTIME_CLASS(UIApplication, UIResponder);

 public:
  // shared()
  //
  // The process's application object, made on first use (safe from any thread); it
  // lives until the process ends.
  [[nodiscard]] static std::shared_ptr<UIApplication> shared();

 private:
  UIApplication() = default;
};

}  // namespace ios
