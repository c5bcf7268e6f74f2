// File: KPQuaslet/values/Dictionary+KPExt.h
//
// Hash dictionaries (std::unordered_map): key tests, merging with a fixed rule for
// which side wins a shared key, a value-aware difference, removal of key lists, JSON
// text, re-keying and construction from sequences. The opt-in namespace
// kp::operators adds +, +=, - and -=.
//
//   std::unordered_map<std::string, int> a{{"x", 1}}, b{{"x", 2}, {"y", 3}};
//   kp::mergeWith(a, b);          // x: 2, y: 3  (the argument wins)
//   kp::union_(a, b);             // x: 1, y: 3  (the receiver wins)
//   kp::jsonString(a, false);     // {"x":1}
//
// The predicate family of Sequence+KPExt.h (count, all, any, ...) also takes a
// dictionary; its closures get the key and the value. The dictionary's own iteration
// order, which the standard leaves unspecified, is the order of each(),
// allKeysForValue() and lowercaseAllKeys().
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <ranges>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "KPQuaslet/values/internal/PropertyListBridge.h"
#include "KPQuaslet/values/internal/RandomEntry.h"
#include "KPQuaslet/values/internal/Support.h"
#include "KPQuaslet/values/internal/ValueCast.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/StringCase.h"

namespace kp {

// A hash dictionary: std::unordered_map with any hash, equality and allocator.
template <class D>
concept HashDictionary = requires {
  typename D::key_type;
  typename D::mapped_type;
  typename D::hasher;
  typename D::key_equal;
} && std::same_as<D, std::unordered_map<typename D::key_type, typename D::mapped_type, typename D::hasher,
                                        typename D::key_equal, typename D::allocator_type>>;

// A sequence of keys of the dictionary D.
template <class R, class D>
concept KeySequence = std::ranges::input_range<R> &&
                      std::convertible_to<std::ranges::range_reference_t<R>, const typename D::key_type&>;

// ---------------------------------------------------------------------------------
// Key tests and copies

// containsKey()
//
// True when `key` is present (also when its value is an empty optional).
template <HashDictionary D>
[[nodiscard]] bool containsKey(const D& dictionary, const typename D::key_type& key) {
  return dictionary.find(key) != dictionary.end();
}

// has()
//
// True when `key` is present (the same answer as containsKey()).
template <HashDictionary D>
[[nodiscard]] bool has(const D& dictionary, const typename D::key_type& key) {
  return containsKey(dictionary, key);
}

// makeDictionary()
//
// A copy of `dictionary`, built by reserving room for its count and adding its pairs.
template <HashDictionary D>
[[nodiscard]] D makeDictionary(const D& dictionary) {
  D copy;
  copy.reserve(dictionary.size());
  for (const auto& pair : dictionary) copy.insert(pair);
  return copy;
}

// each()
//
// Calls body(key, value) (or body(pair)) for every pair, in iteration order.
template <HashDictionary D, values_internal::ElementCallable<const typename D::value_type&> F>
void each(const D& dictionary, F body) {
  for (const auto& pair : dictionary) values_internal::callWith(body, pair);
}

// allKeysForValue()
//
// The keys whose value equals `value`, in iteration order; empty when none.
template <HashDictionary D>
  requires std::equality_comparable<typename D::mapped_type>
[[nodiscard]] std::vector<typename D::key_type> allKeysForValue(const D& dictionary,
                                                                const typename D::mapped_type& value) {
  std::vector<typename D::key_type> keys;
  for (const auto& [key, v] : dictionary) {
    if (v == value) keys.push_back(key);
  }
  return keys;
}

// ---------------------------------------------------------------------------------
// Merging. Only union_() lets the receiver win a shared key.

// addEntriesFrom()
//
// Writes every pair of `other` into the dictionary; a shared key takes `other`'s value.
template <HashDictionary D>
void addEntriesFrom(D& dictionary, const D& other) {
  for (const auto& [key, value] : other) dictionary.insert_or_assign(key, value);
}

// dictionaryByAddingEntiesFrom()
//
// A copy of the dictionary (room reserved for its count) with every pair of `other`
// written in; a shared key takes `other`'s value.
template <HashDictionary D>
[[nodiscard]] D dictionaryByAddingEntiesFrom(const D& dictionary, const D& other) {
  D merged = makeDictionary(dictionary);
  addEntriesFrom(merged, other);
  return merged;
}

// mergeWith()
//
// A copy of the dictionary with every pair of `other` written in; a shared key takes
// `other`'s value.
template <HashDictionary D>
[[nodiscard]] D mergeWith(const D& dictionary, const D& other) {
  D merged = dictionary;
  addEntriesFrom(merged, other);
  return merged;
}

// union_()
//
// A copy of `other` with every pair of the dictionary written in: a shared key takes
// the dictionary's (the receiver's) value.
template <HashDictionary D>
[[nodiscard]] D union_(const D& dictionary, const D& other) {
  D merged = other;
  addEntriesFrom(merged, dictionary);
  return merged;
}

// ---------------------------------------------------------------------------------
// Removal of keys

// removeKeys()
//
// Removes each key of `keys`, in order, and answers how many removals found a value (a
// key listed twice counts once, a missing key counts zero).
template <HashDictionary D, KeySequence<D> R>
std::int64_t removeKeys(D& dictionary, const R& keys) {
  std::int64_t removed = 0;
  for (const auto& key : keys) removed += static_cast<std::int64_t>(dictionary.erase(key));
  return removed;
}

// removeAll()
//
// Removes each key of `keys`; missing keys are ignored.
template <HashDictionary D, KeySequence<D> R>
void removeAll(D& dictionary, const R& keys) {
  for (const auto& key : keys) dictionary.erase(key);
}

// removeValueForRandomKey()
//
// Removes one key picked uniformly at random with the platform's random source and
// answers its value; nothing, and no change, when the dictionary is empty. The
// dictionary must hold at most 4294967295 pairs.
//
// Up to 256 pairs, and in dictionaries with far more buckets than pairs, the pick is
// the pair at a random position of the iteration order. Larger dictionaries are sampled
// by their buckets against a bound on the longest bucket that is remembered between
// calls, so a call takes constant time on average while the dictionary is about as full
// as its buckets allow, and draining a dictionary call by call takes O(n log n) in all
// rather than O(n^2). The pick is exactly uniform over the keys while the dictionary is
// changed only by these calls between them, or by changes that alter its size, bucket
// count or first pair in iteration order. Other code that changes it between two calls
// and keeps all three (an insertion and a removal, say) may leave a remembered bound too
// short, which can leave keys of the lengthened bucket out of the picks until the bound
// is checked afresh: at once when the long bucket is drawn, and at the latest after a
// quarter of the dictionary's size in calls (KPQuaslet/values/internal/RandomEntry.h).
template <HashDictionary D>
std::optional<typename D::mapped_type> removeValueForRandomKey(D& dictionary) {
  if (dictionary.empty()) return std::nullopt;
  auto entry = values_internal::removeRandomEntry(dictionary);
  return std::optional<typename D::mapped_type>(std::move(entry.mapped()));
}

// ---------------------------------------------------------------------------------
// Difference

// difference()
//
// The pairs of the dictionary whose value is an Out (see below) and that no argument
// holds with the same key and an equal value. A shared key with a different value
// survives. Pairs whose value is not an Out are left out; with no argument the result
// is every pair whose value is one, and Out must be named:
//
//   kp::difference(a, b);           // Out from b
//   kp::difference<int>(anyValues); // the pairs holding an int
//
// "Is an Out": the value itself when the value type is Out; the held value of a
// std::any, a std::variant or a present std::optional; the matching kind of an
// ios::PropertyList. No numeric conversions.
template <class Out, HashDictionary D, class... Others>
  requires std::equality_comparable<Out> &&
           (std::same_as<Others, std::unordered_map<typename D::key_type, Out, typename D::hasher,
                                                    typename D::key_equal>> && ...)
[[nodiscard]] std::unordered_map<typename D::key_type, Out, typename D::hasher, typename D::key_equal> difference(
    const D& dictionary, const Others&... others) {
  std::unordered_map<typename D::key_type, Out, typename D::hasher, typename D::key_equal> result;
  for (const auto& [key, value] : dictionary) {
    if (std::optional<Out> converted = values_internal::castTo<Out>(value)) result.emplace(key, std::move(*converted));
  }
  [[maybe_unused]] auto removeEqual = [&](const auto& other) {
    for (const auto& [key, value] : other) {
      auto it = result.find(key);
      if (it != result.end() && it->second == value) result.erase(it);
    }
  };
  (removeEqual(others), ...);
  return result;
}

// The same, with Out taken from the first argument.
template <HashDictionary D, class Out, class H, class E, class A, class... Others>
  requires std::same_as<H, typename D::hasher> && std::same_as<E, typename D::key_equal> &&
           std::equality_comparable<Out>
[[nodiscard]] std::unordered_map<typename D::key_type, Out, H, E> difference(
    const D& dictionary, const std::unordered_map<typename D::key_type, Out, H, E, A>& first, const Others&... rest) {
  return difference<Out>(dictionary, first, rest...);
}

// ---------------------------------------------------------------------------------
// JSON text

// jsonString()
//
// The dictionary as JSON text, compact or (with `prettify`) indented over several lines,
// written by the platform's JSONSerialization; nothing when the dictionary cannot be
// written: a key that is not text, a value with no JSON form (a date, bytes, a user
// type), a NaN or infinite double, text that is not well-formed UTF-8, containers nested
// deeper than ios::JSONSerialization::maximumNestingDepth.
//
// The C++ values that stand for the platform's JSON objects (the same set the typed user
// defaults store, which refuse unsigned values above INT64_MAX):
//   null     an empty std::optional or std::any, std::nullopt, nullptr, std::monostate
//   Boolean  bool
//   number   every integer width from std::int8_t to std::uint64_t (UINT64_MAX too),
//            float, double, long double; not char or the other character types
//   text     std::string, std::string_view, const char*
//   array    any other range of these (std::vector, std::array, std::list, std::set...),
//            std::vector<std::uint8_t> included: numbers, as every integer vector
//   object   std::map, std::unordered_map and other maps with text keys
//   and      std::optional<T> (nil or the value), std::variant (the held value),
//            ios::NSNumber, ios::PropertyList, and a std::any holding one of them.
// ios::Data is bytes, which JSON cannot hold. Statically typed values bridge at any
// depth. A std::any can only be looked into for types listed beforehand, which are (C is
// any of std::vector, std::list, std::deque, std::set, std::map<std::string, _> and
// std::unordered_map<std::string, _>; N is 16 or less):
//   - the null types above and ios::PropertyList::Dictionary;
//   - S, std::optional<S> and C<E> where E is S, std::optional<S> or std::any, for S each
//     Boolean, number and text type above, ios::Date, ios::Data, ios::NSNumber and
//     ios::PropertyList;
//   - C<C<E>> where E is bool, int, unsigned, long, unsigned long, long long, unsigned
//     long long, float, double, std::string or std::any;
//   - C<C<C<E>>> where E is int, long long, double, std::string or bool;
//   - std::array<E, N>, std::vector<std::array<E, N>> and std::array<E, N> as the value
//     of either map, where E is one of the ten types of C<C<E>> but std::any.
// (There is no std::set of an unordered type: std::any, an unordered map,
// ios::PropertyList, ios::NSNumber.) A std::any holding
// any other type (four levels, std::array<int, 17>, a map with another comparator, a
// user type) answers nothing: for such shapes nest std::any or ios::PropertyList at each
// level, which bridge at any depth. Looking into a std::any costs one hash lookup.
template <HashDictionary D>
[[nodiscard]] std::optional<std::string> jsonString(const D& dictionary, bool prettify) {
  const std::optional<ios::PropertyList> object =
      values_internal::toPropertyList(dictionary, 0, values_internal::LargeUnsigned::keep);
  if (!object || !ios::JSONSerialization::isValidJSONObject(*object)) return std::nullopt;
  try {
    const ios::PropertyList::Data bytes = ios::JSONSerialization::data(
        *object, prettify ? ios::JSONSerialization::prettyPrinted : ios::JSONSerialization::WritingOptions{0});
    return std::string(bytes.begin(), bytes.end());
  } catch (const ios::JSONSerialization::InvalidObject&) {
    return std::nullopt;
  }
}

// ---------------------------------------------------------------------------------
// Construction and re-keying

// makeDictionary()
//
// Each element of `sequence` under the key keyMapper(element), in order: an element
// whose key is nothing is skipped, and a later element with the same key replaces the
// earlier one.
template <std::ranges::input_range R, class F>
  requires std::invocable<F&, std::ranges::range_reference_t<R>> &&
           values_internal::isOptional<std::invoke_result_t<F&, std::ranges::range_reference_t<R>>>
[[nodiscard]] auto makeDictionary(R&& sequence, F keyMapper) {
  using K = typename std::remove_cvref_t<std::invoke_result_t<F&, std::ranges::range_reference_t<R>>>::value_type;
  using V = std::ranges::range_value_t<R>;
  std::unordered_map<K, V> dictionary;
  for (auto&& element : sequence) {
    if (auto key = std::invoke(keyMapper, element)) {
      dictionary.insert_or_assign(std::move(*key), V(std::forward<decltype(element)>(element)));
    }
  }
  return dictionary;
}

// makeDictionary()
//
// keys[i] -> values[i], pairing the two position by position and stopping at the end
// of the shorter one; a later duplicate key replaces the earlier pair.
template <class K, class V>
  requires std::equality_comparable<V>
[[nodiscard]] std::unordered_map<K, V> makeDictionary(const std::vector<K>& keys, const std::vector<V>& values) {
  std::unordered_map<K, V> dictionary;
  const std::size_t n = keys.size() < values.size() ? keys.size() : values.size();
  dictionary.reserve(n);
  for (std::size_t i = 0; i < n; ++i) dictionary.insert_or_assign(keys[i], values[i]);
  return dictionary;
}

// lowercaseAllKeys()
//
// Moves every value to the lower-cased form of its key (full Unicode case mapping).
// Keys are taken as they were before the call and handled in iteration order; each
// value is stored under its lower-cased key, replacing whatever is there, so of two keys
// that differ only in case one value remains (with "A" -> 1 and "a" -> 2 it is 1). A key
// that is not well-formed UTF-8 keeps its entry unchanged.
template <HashDictionary D>
  requires std::same_as<typename D::key_type, std::string>
void lowercaseAllKeys(D& dictionary) {
  std::vector<std::string> keys;
  keys.reserve(dictionary.size());
  for (const auto& pair : dictionary) keys.push_back(pair.first);
  for (const std::string& key : keys) {
    std::optional<std::string> lower = ios::lowercased(key);
    if (!lower) continue;
    auto node = dictionary.extract(key);
    if (node.empty()) continue;
    dictionary.insert_or_assign(std::move(*lower), std::move(node.mapped()));
  }
}

// ---------------------------------------------------------------------------------
// Operators (opt in with `using namespace kp::operators;`)

namespace operators {

// a + b: mergeWith(a, b) (b wins a shared key).
template <HashDictionary D>
[[nodiscard]] D operator+(const D& left, const D& right) {
  return mergeWith(left, right);
}

// a += b: addEntriesFrom(a, b) (b wins a shared key).
template <HashDictionary D>
D& operator+=(D& left, const D& right) {
  addEntriesFrom(left, right);
  return left;
}

// a - keys: a copy of a without the listed keys.
template <HashDictionary D, KeySequence<D> R>
[[nodiscard]] D operator-(const D& dictionary, const R& keys) {
  D copy = dictionary;
  removeAll(copy, keys);
  return copy;
}

// a -= keys: removeAll(a, keys).
template <HashDictionary D, KeySequence<D> R>
D& operator-=(D& dictionary, const R& keys) {
  removeAll(dictionary, keys);
  return dictionary;
}

}  // namespace operators
}  // namespace kp
