// File: KPQuaslet/text/NSObject+KPExt.h
//
// Class names without the module prefix.
//
//   kp::stringFrom(kp::BlockTap::classObject());   // "BlockTap" (runtime name "KPQuaslet.BlockTap")
//   kp::className(*ios::UIView::make());           // "UIView"
//   kp::className<ios::UIView>();                  // "UIView"
#pragma once

#include <string>

#include "platform/runtime/NSObject.h"

namespace kp {

// The runtime name of `cls` (NSStringFromClass) after its last ".": a module-qualified
// name loses its module, a name without a dot is returned whole ("" for null).
[[nodiscard]] std::string stringFrom(ios::Class cls);

// The name, without module prefix, of the dynamic class of `object`.
[[nodiscard]] std::string className(const ios::NSObject& object);

// The name, without module prefix, of the runtime class of `T`.
template <class T>
[[nodiscard]] std::string className() {
  return stringFrom(T::classObject());
}

}  // namespace kp
