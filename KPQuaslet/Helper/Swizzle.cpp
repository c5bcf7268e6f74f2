#include "KPQuaslet/Helper/Swizzle.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "KPQuaslet/Helper/KPFunctions.h"

namespace kp {
namespace {

// This file's path and the line and function its log line names.
constexpr std::string_view kThisFile = "KPQuaslet/Helper/Swizzle.cpp";
constexpr std::int64_t kSwizzleErrorLine = 67;
constexpr std::string_view kSwizzleFunction = "swizzleSelector(_:withSelector:for:name:block:)";

struct Registry {
  // Recursive: getSwizzle() and friends are also used while a swizzle is being made.
  std::recursive_mutex lock;
  std::unordered_map<ios::Method, std::shared_ptr<Swizzle>> swizzles;
  // The registered methods whose implementation a swizzle replaced and no unswizzle has
  // restored yet. A registered method outside this set is only the inherited method
  // under which a subclass's Swizzle is also found.
  std::unordered_set<ios::Method> changed;

  // Whether `swizzle` still stands for a change of some method's implementation.
  [[nodiscard]] bool changesAnyMethod(const std::shared_ptr<Swizzle>& swizzle) const {
    return std::any_of(swizzles.begin(), swizzles.end(),
                       [&](const auto& entry) { return entry.second == swizzle && changed.contains(entry.first); });
  }
};

Registry& registry() {
  static auto* instance = new Registry;  // lives for the whole process
  return *instance;
}

}  // namespace

Swizzle::Swizzle(Block block, std::string name, ios::Class aClass, ios::SEL selector, ios::IMP originalMethod)
    : aClass(aClass), selector(selector), originalMethod(originalMethod) {
  blocks_.emplace(std::move(name), std::move(block));
}

Swizzle::Blocks Swizzle::blocks() const {
  std::lock_guard lock(mutex_);
  return blocks_;
}

void Swizzle::setBlocks(Blocks blocks) {
  std::lock_guard lock(mutex_);
  blocks_.swap(blocks);  // the replaced hooks are destroyed after the lock
}

void Swizzle::setBlock(const std::string& name, Block block) {
  std::lock_guard lock(mutex_);
  std::swap(blocks_[name], block);
}

std::size_t Swizzle::removeBlock(const std::string& name) {
  Block removed;  // destroyed after the lock
  std::lock_guard lock(mutex_);
  if (auto it = blocks_.find(name); it != blocks_.end()) {
    removed = std::move(it->second);
    blocks_.erase(it);
  }
  return blocks_.size();
}

std::string Swizzle::description() const {
  std::string text = "Swizzle on " + ios::NSStringFromClass(aClass) + "::" + ios::NSStringFromSelector(selector) + " [";
  std::lock_guard lock(mutex_);
  for (const auto& [name, block] : blocks_) {
    text += '\t';
    text += name;
    text += " : (Function)\n";
  }
  text += ']';
  return text;
}

std::ostream& operator<<(std::ostream& out, const Swizzle& swizzle) { return out << swizzle.description(); }

void Swizzler::swizzleSelector(ios::SEL originalSelector, ios::SEL swizzledSelector, ios::Class aClass,
                               const std::string& name, Swizzle::Block block) {
  ios::Method originalMethod = ios::class_getInstanceMethod(aClass, originalSelector);
  ios::Method swizzledMethod = ios::class_getInstanceMethod(aClass, swizzledSelector);
  if (originalMethod == nullptr || swizzledMethod == nullptr) {
    KP::print("Swizzling error: Cannot find method for " + ios::NSStringFromSelector(originalSelector) + " on " +
                  ios::NSStringFromClass(aClass),
              KP::logLevel::debug, kThisFile, kSwizzleErrorLine, kSwizzleFunction);
    return;
  }

  auto& r = registry();
  std::lock_guard lock(r.lock);
  std::shared_ptr<Swizzle> swizzle = getSwizzle(originalMethod);
  if (swizzle != nullptr) {
    swizzle->setBlock(name, std::move(block));
  } else {
    swizzle = std::make_shared<Swizzle>(std::move(block), name, aClass, originalSelector,
                                        ios::method_getImplementation(originalMethod));
    setSwizzle(swizzle, originalMethod);
  }

  ios::IMP swizzledImp = ios::method_getImplementation(swizzledMethod);
  if (ios::class_addMethod(aClass, originalSelector, swizzledImp, ios::method_getTypeEncoding(swizzledMethod))) {
    // The class only inherited the method: the added one is registered too.
    ios::Method added = ios::class_getInstanceMethod(aClass, originalSelector);
    setSwizzle(swizzle, added);
    r.changed.insert(added);
  } else {
    ios::method_setImplementation(originalMethod, swizzledImp);
    r.changed.insert(originalMethod);
  }
}

void Swizzler::unswizzleSelector(ios::SEL selector, ios::Class aClass, const std::optional<std::string>& name) {
  ios::Method method = ios::class_getInstanceMethod(aClass, selector);
  if (method == nullptr) return;
  auto& r = registry();
  std::lock_guard lock(r.lock);
  std::shared_ptr<Swizzle> swizzle = getSwizzle(method);
  if (swizzle == nullptr) return;
  if (name && swizzle->removeBlock(*name) > 0) return;
  ios::method_setImplementation(method, swizzle->originalMethod);
  r.swizzles.erase(method);
  r.changed.erase(method);
  if (!r.changesAnyMethod(swizzle)) {
    // Nothing is left to undo: the Swizzle remains only under the inherited method its
    // class was swizzled through. Forget it there too, so that a later swizzle of that
    // method starts a record of its own instead of joining this one's hooks and its
    // outdated original implementation.
    std::erase_if(r.swizzles, [&](const auto& entry) { return entry.second == swizzle; });
  }
}

std::shared_ptr<Swizzle> Swizzler::getSwizzle(ios::Method method) {
  auto& r = registry();
  std::lock_guard lock(r.lock);
  auto it = r.swizzles.find(method);
  return it != r.swizzles.end() ? it->second : nullptr;
}

void Swizzler::setSwizzle(std::shared_ptr<Swizzle> swizzle, ios::Method method) {
  auto& r = registry();
  std::lock_guard lock(r.lock);
  r.swizzles.insert_or_assign(method, std::move(swizzle));
}

void Swizzler::removeSwizzle(ios::Method method) {
  auto& r = registry();
  std::lock_guard lock(r.lock);
  r.swizzles.erase(method);
  r.changed.erase(method);
}

}  // namespace kp
