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

  // The keys, in order.
  [[nodiscard]] const std::vector<Key>& array() const { return array_; }
  // The value of each key.
  [[nodiscard]] const Dictionary& dictionary() const { return dictionary_; }
  // The number of keys.
  [[nodiscard]] std::int64_t count() const { return static_cast<std::int64_t>(array_.size()); }

  // insert()
  //
  // Stores `value` under `key` and places the key at `index`, which must lie in
  // 0...count(); answers the key's previous value, or nothing for a new key. A key that
  // was already present moves so that it lands just before the key that held position
  // `index` before the call (at the end when index is count()); at its own position it
  // stays where it is.
  std::optional<Value> insert(Value value, const Key& key, std::int64_t index) {
    KP_PRECONDITION(index >= 0 && index <= count(), "Index out of range");
    std::optional<Value> previous;
    auto found = dictionary_.find(key);
    if (found == dictionary_.end()) {
      array_.insert(array_.begin() + index, key);
      try {
        dictionary_.emplace(key, std::move(value));
      } catch (...) {
        array_.erase(array_.begin() + index);
        throw;
      }
      return previous;
    }
    previous = found->second;
    // Move the key from its position p to the target, shifting the keys between.
    const std::int64_t p = positionOf(key);
    const auto base = array_.begin();
    if (p < index) {
      std::rotate(base + p, base + p + 1, base + index);  // lands at index - 1
    } else if (p > index) {
      std::rotate(base + index, base + p, base + p + 1);  // lands at index
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
    Key key = std::move(array_[static_cast<std::size_t>(index)]);
    array_.erase(array_.begin() + index);
    auto node = dictionary_.extract(key);
    return {std::move(key), std::move(node.mapped())};
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
      auto [it, inserted] = dictionary_.insert_or_assign(key, std::move(*value));
      if (inserted) {
        try {
          array_.push_back(key);
        } catch (...) {
          dictionary_.erase(it);
          throw;
        }
      }
    } else if (dictionary_.erase(key) > 0) {
      array_.erase(array_.begin() + positionOf(key));
    }
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
    const Key& key = array_[static_cast<std::size_t>(index)];
    return {key, dictionary_.at(key)};
  }

  // Equal keys in the same order with equal values.
  friend bool operator==(const OrderedDictionary& a, const OrderedDictionary& b) {
    return a.array_ == b.array_ && a.dictionary_ == b.dictionary_;
  }

  // "[k: v, ...]" in key order ("[:]" when empty).
  [[nodiscard]] std::string description() const {
    if (array_.empty()) return "[:]";
    std::string out = "[";
    for (std::size_t i = 0; i < array_.size(); ++i) {
      if (i > 0) out += ", ";
      out += ios::debugDescribe(array_[i]) + ": " + ios::debugDescribe(dictionary_.at(array_[i]));
    }
    return out + "]";
  }

 private:
  // The position of a key that is present.
  std::int64_t positionOf(const Key& key) const {
    const KeyEqual equal;
    const auto it = std::find_if(array_.begin(), array_.end(), [&](const Key& k) { return equal(k, key); });
    return static_cast<std::int64_t>(it - array_.begin());
  }

  std::vector<Key> array_;
  Dictionary dictionary_;
};

}  // namespace kp
