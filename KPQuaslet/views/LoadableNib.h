// File: KPQuaslet/views/LoadableNib.h
//
// Identifiable and LoadableNib: a reuse or storyboard identifier and a nib named after
// a type; view loading from such nibs, storyboard access, and table-cell registration
// keyed by them.
//
//   class Card : public ios::UIView, public kp::LoadableNib { ... };
//   auto card = kp::instantiate<Card>();          // the first object of the nib "Card"
//   kp::registerCell<NoteCell>(*table);            // by nib when NoteCell is LoadableNib
//
// A type adopts a protocol by deriving from it. Its identifier is its class name
// (without module), unless it declares `static std::string identifier()`; its nib is
// the nib of that name in the main bundle, unless it declares
// `static std::shared_ptr<ios::UINib> nib()`.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "KPQuaslet/views/UITableView+KPExt.h"
#include "platform/foundation/Bundle.h"
#include "platform/uikit/UINib.h"
#include "platform/uikit/UIStoryboard.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIView.h"

namespace kp {

// Adopted by types that have an identifier.
struct Identifiable {};
// Adopted by types that load from a nib.
struct LoadableNib {};

namespace kp_internal {

// "Nib <description of nib> is not exist ?!", then stops the process.
[[noreturn]] void missingNib(const ios::UINib& nib);
// "Cannot loadNibNamed <name>", then stops the process.
[[noreturn]] void cannotLoadNib(const std::string& name);
// Stops the process: the storyboard has no controller of the expected class.
[[noreturn]] void wrongController(const std::string& identifier);

}  // namespace kp_internal

// T's identifier: T::identifier() when T declares one, else its class name.
template <class T>
[[nodiscard]] std::string identifier() {
  if constexpr (requires { { T::identifier() } -> std::convertible_to<std::string>; }) {
    return T::identifier();
  } else {
    return className(T::classObject());
  }
}

// T's nib: T::nib() when T declares one, else the nib named after T in the main bundle.
template <class T>
[[nodiscard]] std::shared_ptr<ios::UINib> nib() {
  if constexpr (requires { { T::nib() } -> std::convertible_to<std::shared_ptr<ios::UINib>>; }) {
    return T::nib();
  } else {
    return ios::UINib::make(std::string_view(className(T::classObject())), static_cast<const ios::Bundle*>(nullptr));
  }
}

// The first object of the main bundle's nib named after T. Stops the process with
// "Cannot loadNibNamed <T's name>" when it is not a T or the nib is empty.
template <class T>
  requires std::is_base_of_v<LoadableNib, T> && std::is_base_of_v<ios::UIView, T>
[[nodiscard]] std::shared_ptr<T> instantiate() {
  const std::string name = className(T::classObject());
  auto objects = ios::Bundle::main().loadNibNamed(name, nullptr);
  if (!objects.empty()) {
    if (auto view = std::dynamic_pointer_cast<T>(objects.front())) return view;
  }
  kp_internal::cannotLoadNib(name);
}

// The first object of T's nib (the receiver is not used). Stops the process with
// "Nib <nib> is not exist ?!" when it is not a T.
template <class T>
  requires std::is_base_of_v<LoadableNib, T> && std::is_base_of_v<ios::UIView, T>
[[nodiscard]] std::shared_ptr<T> instantiateFromNib(const ios::UIView&) {
  std::shared_ptr<ios::UINib> n = nib<T>();
  auto objects = n->instantiate(nullptr);
  if (!objects.empty()) {
    if (auto view = std::dynamic_pointer_cast<T>(objects.front())) return view;
  }
  kp_internal::missingNib(*n);
}

// Loads the nib named after T with the receiver as owner; its first object, a view,
// fills the receiver (frame = bounds, flexible width and height) as its last subview.
// Stops the process with "Nib <T's nib> is not exist ?!" when the first object is not
// a view.
template <class T>
  requires std::is_base_of_v<LoadableNib, T>
void instantiateFromNibOwner(ios::UIView& owner) {
  auto objects = ios::Bundle::forClass(owner.getClass()).loadNibNamed(className(T::classObject()),
                                                                     owner.shared_from_this());
  std::shared_ptr<ios::UIView> view = objects.empty() ? nullptr : std::dynamic_pointer_cast<ios::UIView>(objects.front());
  if (view == nullptr) kp_internal::missingNib(*nib<T>());
  view->setFrame(owner.bounds());
  view->setAutoresizingMask(ios::UIViewAutoresizingOption::flexibleWidth |
                            ios::UIViewAutoresizingOption::flexibleHeight);
  owner.addSubview(view);
}

// The storyboard the main bundle names under "UIMainStoryboardFile"; null when the key
// is missing or not text.
[[nodiscard]] std::shared_ptr<ios::UIStoryboard> mainStoryboard();

// The storyboard's controller with T's class name as identifier, or null when it is
// not a T.
template <class T>
[[nodiscard]] std::shared_ptr<T> instantiateVC(const ios::UIStoryboard& storyboard) {
  return std::dynamic_pointer_cast<T>(storyboard.instantiateViewController(className(T::classObject())));
}

// The storyboard's controller under T's identifier. The storyboard must hold a T
// there: otherwise the process stops with a message naming the identifier.
template <class T>
  requires std::is_base_of_v<Identifiable, T> && std::is_base_of_v<ios::UIViewController, T>
[[nodiscard]] std::shared_ptr<T> instantiateController(const ios::UIStoryboard& storyboard) {
  const std::string id = identifier<T>();
  auto controller = std::dynamic_pointer_cast<T>(storyboard.instantiateViewController(id));
  if (controller == nullptr) kp_internal::wrongController(id);
  return controller;
}

// Registers T for T's identifier: by T's nib when T is LoadableNib, else by class.
template <class T>
  requires std::is_base_of_v<Identifiable, T>
void registerCell(ios::UITableView& table) {
  if constexpr (std::is_base_of_v<LoadableNib, T>) {
    table.registerNib(nib<T>(), identifier<T>());
  } else {
    table.registerClass(T::classObject(), identifier<T>());
  }
}

// A cell dequeued with T's identifier, or null when it is not a T.
template <class T>
  requires std::is_base_of_v<Identifiable, T>
[[nodiscard]] std::shared_ptr<T> dequeue(ios::UITableView& table, const ios::IndexPath& path) {
  return std::dynamic_pointer_cast<T>(table.dequeueReusableCell(identifier<T>(), path));
}

}  // namespace kp
