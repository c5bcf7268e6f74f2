// File: KPQuaslet/values/internal/Membership.h
//
// "Does this group of elements contain a value equal to x?" for the set-like array
// operations. Elements that can be hashed are looked up in a hash set of pointers to
// them (constant time per test); others are scanned with == (linear time). Both give
// the same answers, since a hash must agree with ==.
#pragma once

#include <concepts>
#include <cstddef>
#include <functional>
#include <unordered_set>
#include <vector>

namespace kp::values_internal {

template <class T>
concept Hashable = std::equality_comparable<T> && requires(const T& value) {
  { std::hash<T>{}(value) } -> std::convertible_to<std::size_t>;
};

// MembershipIndex
//
// Refers to elements owned elsewhere: they must stay in place, unchanged, while the
// index is used.
template <std::equality_comparable T>
class MembershipIndex {
 public:
  void reserve(std::size_t n) { pointers_.reserve(n); }

  void add(const T& element) {
    if constexpr (Hashable<T>) {
      pointers_.insert(&element);
    } else {
      pointers_.push_back(&element);
    }
  }

  template <class Range>
  void addAll(const Range& elements) {
    for (const T& element : elements) add(element);
  }

  [[nodiscard]] bool contains(const T& value) const {
    if constexpr (Hashable<T>) {
      return pointers_.find(&value) != pointers_.end();
    } else {
      for (const T* p : pointers_) {
        if (*p == value) return true;
      }
      return false;
    }
  }

 private:
  struct Hash {
    std::size_t operator()(const T* p) const { return std::hash<T>{}(*p); }
  };
  struct Equal {
    bool operator()(const T* a, const T* b) const { return *a == *b; }
  };
  using Storage = std::conditional_t<Hashable<T>, std::unordered_set<const T*, Hash, Equal>, std::vector<const T*>>;
  Storage pointers_;
};

}  // namespace kp::values_internal
