// File: KPQuaslet/values/KPConfigurable.h
//
// Inline configuration of values and objects: with() configures a copy, do_() runs a
// block with the value, then() runs a block with an object and hands the object back.
//
//   auto frame = kp::with(ios::CGRect(0, 0, 10, 10), [](ios::CGRect& r) { r.size.width = 50; });
//   auto view = kp::then(std::make_shared<Label>(), [](auto& label) { label->text = "Hi"; });
//
// The configurable types are the geometry values (CGPoint, CGSize, CGRect, CGVector)
// and every object handle (std::shared_ptr to a class). Another type joins by
// specialising kp::enableKPConfigurable<T> to true. For an object handle, with()
// copies the handle, not the object: the block changes the shared object.
#pragma once

#include <concepts>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/coregraphics/CGGeometry.h"

namespace kp {

// Opt-in switch of the configurable types.
template <class T>
inline constexpr bool enableKPConfigurable = false;
template <>
inline constexpr bool enableKPConfigurable<ios::CGPoint> = true;
template <>
inline constexpr bool enableKPConfigurable<ios::CGSize> = true;
template <>
inline constexpr bool enableKPConfigurable<ios::CGRect> = true;
template <>
inline constexpr bool enableKPConfigurable<ios::CGVector> = true;
template <class T>
inline constexpr bool enableKPConfigurable<std::shared_ptr<T>> = std::is_class_v<T>;

template <class T>
concept KPConfigurable = enableKPConfigurable<std::remove_cvref_t<T>>;

// An object handle: the configurable types with reference semantics.
template <class T>
concept KPConfigurableObject = KPConfigurable<T> && requires(const std::remove_cvref_t<T>& t) {
  typename std::remove_cvref_t<T>::element_type;
  t.get();
};

// with()
//
// A copy of `value` changed by `body` (which takes it by reference); `value` itself
// is unchanged. An exception from `body` passes through.
template <KPConfigurable T, std::invocable<T&> F>
[[nodiscard]] T with(T value, F&& body) {
  body(value);
  return value;
}

// do_()
//
// Calls `body` with `value`; answers nothing.
template <KPConfigurable T, std::invocable<const T&> F>
void do_(const T& value, F&& body) {
  body(value);
}

// then()
//
// Calls `body` with the object handle and answers the same handle.
template <KPConfigurableObject P, std::invocable<const P&> F>
P then(P object, F&& body) {
  body(std::as_const(object));
  return object;
}

}  // namespace kp
