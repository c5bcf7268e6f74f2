// Helpers for tests that make classes at run time. Classes cannot be removed, so each
// test makes classes under names of its own.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"

namespace ios::testing {

// Makes and registers a class named `base` plus a unique suffix.
inline Class makeTestClass(std::string_view base, Class superclass = NSObject::classObject()) {
  static std::atomic<int> counter{0};
  const std::string name = std::string(base) + "_" + std::to_string(++counter);
  Class cls = objc_allocateClassPair(superclass, name);
  objc_registerClassPair(cls);
  return cls;
}

// An implementation answering `label`.
inline IMP answering(std::string label) {
  return imp([label](NSObject&, SEL) { return label; });
}

// Sends `selector` expecting a text answer.
inline std::string ask(NSObject* receiver, SEL selector) { return send<std::string>(receiver, selector); }
inline std::string ask(const id& receiver, SEL selector) { return send<std::string>(receiver, selector); }

inline SEL sel(std::string_view name) { return sel_registerName(name); }

}  // namespace ios::testing
