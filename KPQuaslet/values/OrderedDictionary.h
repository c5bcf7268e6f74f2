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
// A value type: copies are independent, and a dictionary moved from is left empty and
// ready for use. The keys in array() and in dictionary() are always the same, each key
// once in array(); both are readable, and only the members below change them. Positions
// given to insert(), removeAt() and at() must exist (see each member); a position
// outside them stops the process.
//
// Costs: looking up, appending and removing a key (set(), get()) take constant time on
// average, removal included wherever the key stands, and hash the key once; removeAt()
// of the first or last position too. insert() at a position before the end moves the
// keys after it. at() takes constant time unless keys were removed from the middle of
// the order since the last reordering, when it counts its way to the position. Removed
// keys leave a gap in the order that is closed once gaps outnumber keys, so the order
// never takes more than about twice the room of the keys. The order refers to the keys
// stored in dictionary() instead of holding copies of them, so copying an ordered
// dictionary hashes each key once more to rebuild its order.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "KPQuaslet/values/internal/AddressIndex.h"
#include "platform/foundation/Describe.h"
#include "platform/foundation/Precondition.h"

namespace kp {

template <class Key, class Value, class Hash = std::hash<Key>, class KeyEqual = std::equal_to<Key>>
class OrderedDictionary {
 public:
  using Dictionary = std::unordered_map<Key, Value, Hash, KeyEqual>;

  // An empty ordered dictionary.
  OrderedDictionary() = default;

  // Copies are independent: a copy points its order at its own entries.
  OrderedDictionary(const OrderedDictionary& other) : dictionary_(other.dictionary_) {
    slots_.reserve(dictionary_.size());
    positions_.reserve(dictionary_.size());
    for (std::size_t slot = other.first_; slot < other.slots_.size(); ++slot) {
      if (!other.slots_[slot].live()) continue;
      Entry& entry = *dictionary_.find(other.slots_[slot].entry->first);
      positions_.insert(&entry, slots_.size());
      slots_.push_back(Slot{&entry});
    }
  }
  // A move keeps the entries where they are; the source is left empty.
  OrderedDictionary(OrderedDictionary&& other) noexcept
      : slots_(std::move(other.slots_)),
        first_(std::exchange(other.first_, 0)),
        positions_(std::move(other.positions_)),
        dictionary_(std::move(other.dictionary_)) {
    other.clear();
  }
  OrderedDictionary& operator=(const OrderedDictionary& other) {
    if (this != &other) *this = OrderedDictionary(other);
    return *this;
  }
  OrderedDictionary& operator=(OrderedDictionary&& other) noexcept {
    if (this != &other) {
      slots_ = std::move(other.slots_);
      first_ = std::exchange(other.first_, 0);
      positions_ = std::move(other.positions_);
      dictionary_ = std::move(other.dictionary_);
      other.clear();
    }
    return *this;
  }
  ~OrderedDictionary() = default;

  // The keys, in order (a copy).
  [[nodiscard]] std::vector<Key> array() const {
    std::vector<Key> keys;
    keys.reserve(dictionary_.size());
    for (std::size_t slot = first_; slot < slots_.size(); ++slot) {
      if (slots_[slot].live()) keys.push_back(slots_[slot].entry->first);
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
    const auto p = static_cast<std::int64_t>(*positions_.find(&*found));
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
    auto node = dictionary_.extract(dictionary_.find(slots_[slot].entry->first));
    positions_.erase(slots_[slot].entry);
    vacate(slot);
    return {std::move(node.key()), std::move(node.mapped())};
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
    auto found = dictionary_.find(key);
    if (value) {
      if (found != dictionary_.end()) {
        found->second = std::move(*value);
      } else {
        append(key, std::move(*value));
      }
      return;
    }
    if (found == dictionary_.end()) return;
    const std::size_t slot = positions_.erase(&*found);
    dictionary_.erase(found);
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
    const Entry& entry = *slots_[slotOf(static_cast<std::size_t>(index))].entry;
    return {entry.first, entry.second};
  }

  // Equal keys in the same order with equal values.
  friend bool operator==(const OrderedDictionary& a, const OrderedDictionary& b) {
    return a.dictionary_ == b.dictionary_ && a.array() == b.array();
  }

  // "[k: v, ...]" in key order ("[:]" when empty).
  [[nodiscard]] std::string description() const {
    if (dictionary_.empty()) return "[:]";
    std::string out = "[";
    for (std::size_t slot = first_; slot < slots_.size(); ++slot) {
      if (!slots_[slot].live()) continue;
      if (out.size() > 1) out += ", ";
      out += ios::debugDescribe(slots_[slot].entry->first) + ": " + ios::debugDescribe(slots_[slot].entry->second);
    }
    return out + "]";
  }

 private:
  using Entry = typename Dictionary::value_type;

  // One place in the order: the key's entry in dictionary_, which does not move while
  // the key is present. A removed key leaves its slot dead (null) until the order is
  // compacted.
  struct Slot {
    Entry* entry;
    [[nodiscard]] bool live() const { return entry != nullptr; }
  };

  // Adds a new key and its value at the end of the order.
  void append(const Key& key, Value value) { add(key, std::move(value), slots_.size()); }

  // Adds a new key and its value in a slot inserted at `slot` (the slots after it move
  // up and must be renumbered); nothing changes when a hash, a copy or an allocation
  // throws.
  void add(const Key& key, Value value, std::size_t slot) {
    const auto at = slots_.begin() + static_cast<std::ptrdiff_t>(slot);
    slots_.insert(at, Slot{nullptr});
    try {
      const auto entry = dictionary_.emplace(key, std::move(value)).first;
      try {
        positions_.insert(&*entry, slot);
        slots_[slot] = Slot{&*entry};
      } catch (...) {
        dictionary_.erase(entry);
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
    slots_[slot] = Slot{nullptr};
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
    slots_.erase(std::remove_if(slots_.begin(), slots_.end(), [](const Slot& slot) { return !slot.live(); }),
                 slots_.end());
    first_ = 0;
    renumber(0, slots_.size());
  }

  // Records the slots of the keys in [begin, end) after they moved.
  void renumber(std::size_t begin, std::size_t end) {
    for (std::size_t slot = begin; slot < end; ++slot) *positions_.find(slots_[slot].entry) = slot;
  }

  // Empties every field (what a move leaves behind).
  void clear() noexcept {
    slots_.clear();
    first_ = 0;
    positions_.clear();
    dictionary_.clear();
  }

  std::vector<Slot> slots_;  // the order, with gaps; slots before first_ are all dead
  std::size_t first_ = 0;
  values_internal::AddressIndex<Entry> positions_;  // the slot of each key, by its entry
  Dictionary dictionary_;
};

}  // namespace kp
