// File: KPQuaslet/values/internal/Membership.h
//
// "Does this group of elements contain a value equal to x?" for the set-like array
// operations. The answer is defined by a linear scan with ==. For the standard types
// whose std::hash is defined from the same value that == compares (KnownHashAgrees), a
// hash set of pointers to the elements answers the same in constant time per test; any
// other type, a user type with its own std::hash included, is scanned, so that a hash
// that disagrees with == cannot change an answer.
#pragma once

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <unordered_set>
#include <vector>

namespace kp::values_internal {

template <class T>
struct HashAgreesWithEquality
    : std::bool_constant<std::is_arithmetic_v<T> || std::is_pointer_v<T> || std::is_same_v<T, std::nullptr_t> ||
                         std::is_same_v<T, std::type_index>> {};
template <class C, class A>
struct HashAgreesWithEquality<std::basic_string<C, std::char_traits<C>, A>> : std::true_type {};
template <class C>
struct HashAgreesWithEquality<std::basic_string_view<C, std::char_traits<C>>> : std::true_type {};
template <class T>
struct HashAgreesWithEquality<std::shared_ptr<T>> : std::true_type {};

// The standard types whose hash and == look at the same thing and whose == a program
// cannot replace: numbers, pointers (shared ones included), strings and string views,
// type indices. (An enum may have an == of its own, so enums are scanned.)
template <class T>
concept KnownHashAgrees = HashAgreesWithEquality<T>::value;

// MembershipIndex
//
// Refers to elements owned elsewhere: they must stay in place, unchanged, while the
// index is used.
template <std::equality_comparable T>
class MembershipIndex {
 public:
  void reserve(std::size_t n) { pointers_.reserve(n); }

  void add(const T& element) {
    if constexpr (KnownHashAgrees<T>) {
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
    if constexpr (KnownHashAgrees<T>) {
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
  using Storage = std::conditional_t<KnownHashAgrees<T>, std::unordered_set<const T*, Hash, Equal>, std::vector<const T*>>;
  Storage pointers_;
};

}  // namespace kp::values_internal
