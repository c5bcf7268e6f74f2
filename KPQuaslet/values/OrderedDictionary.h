// File: KPQuaslet/values/OrderedDictionary.h
//
// A dictionary that keeps its keys in an order the caller controls.
//
//   kp::OrderedDictionary<std::string, int> scores;
//   scores.set("ann", 3);                 // appended
//   scores.set("bob", 5);
//   scores.insert(7, "cy", 0);           // cy, ann, bob
//   scores.at(0);                         // ("cy", 7)
//   scores.get("bob");                    // 5
//   scores.set("ann", std::nullopt);      // removed: cy, bob
//
// A value type: copies are independent. The keys in array() and in dictionary() are
// always the same, each key once in array(); both are readable, and only the members
// below change them. Positions given to insert(), removeAt() and at() must exist (see
// each member); a position outside them stops the process.
//
// Costs: looking up, appending and removing a key (set(), get()) take constant time on
// average, removal included wherever the key stands; removeAt() of the first or last
// position too. insert() at a position before the end moves the keys after it. at()
// takes constant time unless keys were removed from the middle of the order since the
// last reordering, when it counts its way to the position. Removed keys leave a gap in
// the order that is closed once gaps outnumber keys, so the order never takes more than
// about twice the room of the keys.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/foundation/Describe.h"
#include "platform/foundation/Precondition.h"

namespace kp {

template <class Key, class Value, class Hash = std::hash<Key>, class KeyEqual = std::equal_to<Key>>
class OrderedDictionary {
 public:
  using Dictionary = std::unordered_map<Key, Value, Hash, KeyEqual>;

  // An empty ordered dictionary.
  OrderedDictionary() = default;

  // Copies are independent (a copy points its order at its own position records).
  OrderedDictionary(const OrderedDictionary& other)
      : slots_(other.slots_), first_(other.first_), positions_(other.positions_), dictionary_(other.dictionary_) {
    for (Slot& slot : slots_) {
      if (slot.live()) slot.position = &positions_.find(slot.key)->second;
    }
  }
  OrderedDictionary(OrderedDictionary&& other) noexcept = default;
  OrderedDictionary& operator=(const OrderedDictionary& other) {
    if (this != &other) *this = OrderedDictionary(other);
    return *this;
  }
  OrderedDictionary& operator=(OrderedDictionary&& other) noexcept = default;
  ~OrderedDictionary() = default;

  // The keys, in order (a copy).
  [[nodiscard]] std::vector<Key> array() const {
    std::vector<Key> keys;
    keys.reserve(dictionary_.size());
    for (std::size_t slot = first_; slot < slots_.size(); ++slot) {
      if (slots_[slot].live()) keys.push_back(slots_[slot].key);
    }
    return keys;
  }
  // The value of each key.
  [[nodiscard]] const Dictionary& dictionary() const { return dictionary_; }
  // The number of keys.
  [[nodiscard]] std::int64_t count() const { return static_cast<std::int64_t>(dictionary_.size()); }

  // insert()
  //
  // Stores `value` under `key` and places the key at `index`, which must lie in
  // 0...count(); answers the key's previous value, or nothing for a new key. A key that
  // was already present moves so that it lands just before the key that held position
  // `index` before the call (at the end when index is count()); at its own position it
  // stays where it is.
  std::optional<Value> insert(Value value, const Key& key, std::int64_t index) {
    KP_PRECONDITION(index >= 0 && index <= count(), "Index out of range");
    auto found = dictionary_.find(key);
    if (found == dictionary_.end()) {
      if (index == count()) {
        append(key, std::move(value));
        return std::nullopt;
      }
      compact();
      add(key, std::move(value), static_cast<std::size_t>(index));
      renumber(static_cast<std::size_t>(index) + 1, slots_.size());
      return std::nullopt;
    }
    std::optional<Value> previous = found->second;
    // Move the key from its position p to the target, shifting the keys between.
    compact();
    const auto p = static_cast<std::int64_t>(positions_.at(key));
    const auto base = slots_.begin();
    if (p < index) {
      std::rotate(base + p, base + p + 1, base + index);  // lands at index - 1
      renumber(static_cast<std::size_t>(p), static_cast<std::size_t>(index));
    } else if (p > index) {
      std::rotate(base + index, base + p, base + p + 1);  // lands at index
      renumber(static_cast<std::size_t>(index), static_cast<std::size_t>(p) + 1);
    }
    found->second = std::move(value);
    return previous;
  }

  // removeAt()
  //
  // Removes the key at `index` (which must lie in 0..<count()) and its value, and
  // answers both.
  std::pair<Key, Value> removeAt(std::int64_t index) {
    KP_PRECONDITION(index >= 0 && index < count(), "Index out of range");
    const std::size_t slot = slotOf(static_cast<std::size_t>(index));
    auto node = dictionary_.extract(slots_[slot].key);
    std::pair<Key, Value> removed{std::move(node.key()), std::move(node.mapped())};
    positions_.erase(removed.first);
    vacate(slot);
    return removed;
  }

  // get()
  //
  // The value of `key`, or nothing when the key is absent.
  [[nodiscard]] std::optional<Value> get(const Key& key) const {
    auto found = dictionary_.find(key);
    if (found == dictionary_.end()) return std::nullopt;
    return found->second;
  }

  // set()
  //
  // With a value: stores it under `key`, appending the key when it is new (a present key
  // keeps its place). With nothing: removes the key and its value; nothing happens when
  // the key is absent.
  void set(const Key& key, std::optional<Value> value) {
    if (value) {
      auto found = dictionary_.find(key);
      if (found != dictionary_.end()) {
        found->second = std::move(*value);
      } else {
        append(key, std::move(*value));
      }
      return;
    }
    auto position = positions_.find(key);
    if (position == positions_.end()) return;
    const std::size_t slot = position->second;
    positions_.erase(position);
    dictionary_.erase(key);
    vacate(slot);
  }

  // modify()
  //
  // Hands the current value of `key` (or nothing) to change(std::optional<Value>&) and
  // writes the result back as set() does. When `change` throws, nothing is written.
  template <class F>
    requires std::invocable<F&, std::optional<Value>&>
  void modify(const Key& key, F change) {
    std::optional<Value> value = get(key);
    std::invoke(change, value);
    set(key, std::move(value));
  }

  // at()
  //
  // The key at `index` (which must lie in 0..<count()) and its value.
  [[nodiscard]] std::pair<Key, Value> at(std::int64_t index) const {
    KP_PRECONDITION(index >= 0 && index < count(), "Index out of range");
    const Key& key = slots_[slotOf(static_cast<std::size_t>(index))].key;
    return {key, dictionary_.at(key)};
  }

  // Equal keys in the same order with equal values.
  friend bool operator==(const OrderedDictionary& a, const OrderedDictionary& b) {
    return a.dictionary_ == b.dictionary_ && a.array() == b.array();
  }

  // "[k: v, ...]" in key order ("[:]" when empty).
  [[nodiscard]] std::string description() const {
    if (dictionary_.empty()) return "[:]";
    std::string out = "[";
    for (const Key& key : array()) {
      if (out.size() > 1) out += ", ";
      out += ios::debugDescribe(key) + ": " + ios::debugDescribe(dictionary_.at(key));
    }
    return out + "]";
  }

 private:
  // One place in the order; a removed key leaves its slot dead until the order is
  // compacted.
  struct Slot {
    Key key;
    std::size_t* position;  // the key's entry in positions_ (entries never move); null once dead
    [[nodiscard]] bool live() const { return position != nullptr; }
  };

  // Adds a new key and its value at the end of the order.
  void append(const Key& key, Value value) { add(key, std::move(value), slots_.size()); }

  // Adds a new key and its value in a slot inserted at `slot` (the slots after it move
  // up and must be renumbered); nothing changes when an allocation throws.
  void add(const Key& key, Value value, std::size_t slot) {
    const auto at = slots_.begin() + static_cast<std::ptrdiff_t>(slot);
    slots_.insert(at, Slot{key, nullptr});
    try {
      slots_[slot].position = &positions_.emplace(key, slot).first->second;
      try {
        dictionary_.emplace(key, std::move(value));
      } catch (...) {
        positions_.erase(key);
        throw;
      }
    } catch (...) {
      slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(slot));
      throw;
    }
  }

  // The slot of the key at position `index` of the order.
  std::size_t slotOf(std::size_t index) const {
    if (slots_.size() - first_ == dictionary_.size()) return first_ + index;  // no gaps inside
    std::size_t slot = first_;
    for (std::size_t seen = 0;; ++slot) {
      if (slots_[slot].live() && seen++ == index) return slot;
    }
  }

  // Marks `slot` dead (its key already removed from both maps); dead slots at either end
  // are dropped at once, and the order is compacted once gaps outnumber keys.
  void vacate(std::size_t slot) {
    slots_[slot].position = nullptr;
    while (!slots_.empty() && !slots_.back().live()) slots_.pop_back();
    while (first_ < slots_.size() && !slots_[first_].live()) ++first_;
    if (first_ >= slots_.size()) {
      slots_.clear();
      first_ = 0;
    } else if (slots_.size() > 2 * dictionary_.size()) {
      compact();
    }
  }

  // Closes the gaps left by removed keys.
  void compact() {
    if (first_ == 0 && slots_.size() == dictionary_.size()) return;
    std::size_t to = 0;
    for (std::size_t from = first_; from < slots_.size(); ++from) {
      if (!slots_[from].live()) continue;
      if (to != from) slots_[to] = std::move(slots_[from]);
      ++to;
    }
    slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(to), slots_.end());
    first_ = 0;
    renumber(0, to);
  }

  // Records the slots of the keys in [begin, end) after they moved.
  void renumber(std::size_t begin, std::size_t end) {
    for (std::size_t slot = begin; slot < end; ++slot) *slots_[slot].position = slot;
  }

  std::vector<Slot> slots_;  // the order, with gaps; slots before first_ are all dead
  std::size_t first_ = 0;
  std::unordered_map<Key, std::size_t, Hash, KeyEqual> positions_;  // the slot of each key
  Dictionary dictionary_;
};

}  // namespace kp
