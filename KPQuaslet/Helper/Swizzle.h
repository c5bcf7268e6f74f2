// File: KPQuaslet/Helper/Swizzle.h
//
// A registry of swizzled methods. Swizzler points an instance method of a class at the
// implementation of another selector and records the change as a Swizzle, with named
// hooks, so that it can be undone later.
//
//   kp::Swizzler::swizzleSelector(sel("viewDidLoad"), sel("kp_viewDidLoad"), Screen::classObject(),
//                                 "trace", [](ios::id, ios::SEL, ios::id, ios::id) {});
//   ...
//   kp::Swizzler::unswizzleSelector(sel("viewDidLoad"), Screen::classObject(), "trace");
//
// The hooks are only stored and listed by `description()`; nothing calls them.
// The registry and each Swizzle's hooks are guarded by locks, so swizzling from several
// threads, or describing a Swizzle while another thread changes its hooks, cannot
// corrupt them; the method changes themselves are still best made in one place at
// start-up.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>

#include "platform/runtime/Runtime.h"

namespace kp {

// Swizzle
//
// One recorded change: the class and selector, the implementation the selector had
// before, and the named hooks. Its hooks may be read and changed from any thread.
class Swizzle {
 public:
  // A hook: (object, selector, argument, argument).
  using Block = std::function<void(ios::id, ios::SEL, ios::id, ios::id)>;
  using Blocks = std::map<std::string, Block>;

  // Records a change of `selector` on `aClass` whose previous implementation was
  // `originalMethod`, with the one hook `name` -> `block`.
  Swizzle(Block block, std::string name, ios::Class aClass, ios::SEL selector, ios::IMP originalMethod);
  Swizzle(const Swizzle&) = delete;
  Swizzle& operator=(const Swizzle&) = delete;

  // The class whose method was changed.
  const ios::Class aClass;
  // The selector whose implementation was replaced.
  const ios::SEL selector;
  // The implementation before the change; unswizzling restores it.
  const ios::IMP originalMethod;

  // The named hooks, by name: a copy taken at the moment of the call.
  [[nodiscard]] Blocks blocks() const;
  // Replaces every hook.
  void setBlocks(Blocks blocks);
  // Adds the hook `name`, or replaces the one of that name.
  void setBlock(const std::string& name, Block block);
  // Removes the hook `name`, if any; answers how many hooks remain.
  std::size_t removeBlock(const std::string& name);

  // description()
  //
  // "Swizzle on " + class name + "::" + selector name + " [" + one line per hook
  // (a tab, the name, " : ", "(Function)", a line feed), in name order, + "]".
  [[nodiscard]] std::string description() const;

 private:
  mutable std::mutex mutex_;  // blocks_
  Blocks blocks_;
};

// Writes description().
std::ostream& operator<<(std::ostream& out, const Swizzle& swizzle);

// Swizzler
//
// The registry of Swizzles, keyed by the runtime Method they were made on (one Swizzle
// may be registered under two methods, see swizzleSelector()).
class Swizzler {
 public:
  Swizzler() = delete;

  // swizzleSelector()
  //
  // Points the instance method `originalSelector` of `aClass` at the implementation of
  // `swizzledSelector` and records hook `name` -> `block` on the Swizzle of that
  // method (made on the first swizzle; a later one adds or replaces a hook and keeps
  // the first recorded original). When `aClass` only inherits the method, the method
  // is added to `aClass` (its superclass is left alone) and the Swizzle is registered
  // under both the inherited and the added method. When either method is missing,
  // logs "Swizzling error: Cannot find method for <originalSelector> on <class>" at
  // level debug and changes nothing. The swizzled selector keeps its implementation.
  static void swizzleSelector(ios::SEL originalSelector, ios::SEL swizzledSelector, ios::Class aClass,
                              const std::string& name, Swizzle::Block block);

  // unswizzleSelector()
  //
  // With a `name`, removes that hook from the Swizzle of `aClass`'s method `selector`;
  // when no hook remains (or when no name is given), sets the method back to the
  // recorded original implementation and forgets the Swizzle under that method only,
  // so a superclass and a subclass that share one Swizzle (either swizzled first) can
  // each be undone, in either order. Once the Swizzle no longer stands for any changed
  // method, it is also forgotten under the inherited method its class was swizzled
  // through, so a later swizzle of the superclass records its own original instead of
  // joining an outdated one. Does nothing when the method or its Swizzle does not exist.
  static void unswizzleSelector(ios::SEL selector, ios::Class aClass,
                                const std::optional<std::string>& name = std::nullopt);

  // The Swizzle registered under `method`, or null.
  [[nodiscard]] static std::shared_ptr<Swizzle> getSwizzle(ios::Method method);
  // Registers `swizzle` under `method`, replacing what was there.
  static void setSwizzle(std::shared_ptr<Swizzle> swizzle, ios::Method method);
  // Forgets what is registered under `method`.
  static void removeSwizzle(ios::Method method);
};

}  // namespace kp
