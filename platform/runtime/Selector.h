// File: platform/runtime/Selector.h
//
// Selectors: interned method names. Two selectors with the same name are the same
// pointer, so comparing selectors is comparing pointers.
//
//   ios::SEL s = ios::sel_registerName("setTitle:");
//   ios::NSStringFromSelector(s);   // "setTitle:"
//
// Fidelity: selectors are registered for the life of the process, as on the platform.
// The compiler's `@selector` literal is absent: cache the result of sel_registerName()
// in a static where a selector is sent often.
#pragma once

#include <string>
#include <string_view>

namespace ios {

// The interned record behind a selector. Opaque: use sel_getName().
struct objc_selector;
using SEL = const objc_selector*;

// sel_registerName()
//
// The selector named `name`, registered on first use. Never null; safe from any thread.
[[nodiscard]] SEL sel_registerName(std::string_view name);

// sel_getName()
//
// The selector's name, valid for the life of the process; "<null selector>" for null.
[[nodiscard]] const char* sel_getName(SEL selector);

// NSSelectorFromString()
//
// The selector named `name` (the same as sel_registerName()); null for an empty name.
[[nodiscard]] SEL NSSelectorFromString(std::string_view name);

// NSStringFromSelector()
//
// The selector's name; "" for null.
[[nodiscard]] std::string NSStringFromSelector(SEL selector);

}  // namespace ios
