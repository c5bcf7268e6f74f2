// File: platform/foundation/Describe.h
//
// The platform's textual form of a value, as its string interpolation writes it.
//
//   ios::describe(std::string("hi"));                 // hi
//   ios::describe(3.0);                               // 3.0
//   ios::describe(std::optional<int>(2));             // Optional(2)
//   ios::describe(std::vector<std::string>{"a"});     // ["a"]
//   ios::describe(std::map<std::string, int>{{"k", 1}});  // ["k": 1]
//
// Rules:
// - text (std::string, std::string_view, const char*) is written as is at the top level
//   and quoted, with escapes, inside a collection or an optional;
// - integers in decimal; booleans "true" / "false";
// - double and float in the shortest form that reads back to the same value, with ".0"
//   on whole numbers, and in exponent form ("1e-05", "1e+16") below 1e-4 or above 2^53
//   (2^24 for float); "inf", "-inf", "nan";
// - optionals "Optional(x)" or "nil"; arrays and sets "[1, 2]"; dictionaries
//   "[k: v]" ("[:]" when empty); pairs and tuples "(a, b)";
// - a null shared_ptr is "nil"; a shared_ptr to a described type describes the object.
//
// An enum is printed by its case name ("portrait"), which it supplies through
// `ios_describe`; describing an enum that supplies no form does not compile, so no
// enum is ever printed as its underlying integer (the library's enums stop the process
// when asked to print a value made by a cast that is none of their cases).
//
// A type supplies its own form through, in this order of preference:
// a free function `ios_describe(const T&)` found by argument-dependent lookup, a member
// `description()`, a free function `description(const T&)` found by lookup, or
// `operator<<`. Text-like types may also supply `ios_debugDescribe(const T&)`, the
// form used inside collections.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <set>
#include <utility>
#include <vector>

namespace ios {

// Shortest round-trip text of a double / float, in the platform's layout.
[[nodiscard]] std::string describeDouble(double value);
[[nodiscard]] std::string describeFloat(float value);

// A string literal as the platform writes it inside collections: in double quotes,
// with \" \\ \n \r \t \0 escaped and other control characters as \u{X}.
[[nodiscard]] std::string quotedString(std::string_view text);

namespace describe_internal {

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <class T>
struct IsSharedPtr : std::false_type {};
template <class T>
struct IsSharedPtr<std::shared_ptr<T>> : std::true_type {};

template <class T>
struct IsPair : std::false_type {};
template <class A, class B>
struct IsPair<std::pair<A, B>> : std::true_type {};

template <class T>
struct IsTuple : std::false_type {};
template <class... Ts>
struct IsTuple<std::tuple<Ts...>> : std::true_type {};

template <class T>
concept TextLike = std::is_convertible_v<const T&, std::string_view> &&
                   !std::is_same_v<std::remove_cvref_t<T>, std::nullptr_t>;

template <class T>
concept MapLike = requires(const T& m) {
  typename T::key_type;
  typename T::mapped_type;
  m.begin();
  m.end();
};

template <class T>
concept RangeLike = !TextLike<T> && !MapLike<T> && requires(const T& r) {
  r.begin();
  r.end();
};

template <class T>
concept HasAdlDescribe = requires(const T& v) {
  { ios_describe(v) } -> std::convertible_to<std::string>;
};

template <class T>
concept HasAdlDebugDescribe = requires(const T& v) {
  { ios_debugDescribe(v) } -> std::convertible_to<std::string>;
};

template <class T>
concept HasMemberDescription = requires(const T& v) {
  { v.description() } -> std::convertible_to<std::string>;
};

template <class T>
concept HasFreeDescription = requires(const T& v) {
  { description(v) } -> std::convertible_to<std::string>;
};

template <class T>
concept Streamable = requires(std::ostream& os, const T& v) { os << v; };

}  // namespace describe_internal

// NamedEnum
//
// An enum that describe() accepts: one that supplies its printed form (its case names)
// through `ios_describe`, or a `description` of its own.
template <class E>
concept NamedEnum =
    std::is_enum_v<E> && (describe_internal::HasAdlDescribe<E> || describe_internal::HasFreeDescription<E>);

namespace describe_internal {

template <class T>
std::string text(const T& value, bool nested);

template <class Range>
std::string sequence(const Range& range) {
  std::string out = "[";
  bool first = true;
  for (const auto& element : range) {
    if (!first) out += ", ";
    first = false;
    out += text(element, true);
  }
  out += ']';
  return out;
}

template <class Map>
std::string dictionary(const Map& map) {
  if (map.begin() == map.end()) return "[:]";
  std::string out = "[";
  bool first = true;
  for (const auto& [key, value] : map) {
    if (!first) out += ", ";
    first = false;
    out += text(key, true);
    out += ": ";
    out += text(value, true);
  }
  out += ']';
  return out;
}

template <class Tuple, std::size_t... I>
std::string tuple(const Tuple& t, std::index_sequence<I...>) {
  std::string out = "(";
  ((out += (I == 0 ? "" : ", "), out += text(std::get<I>(t), true)), ...);
  out += ')';
  return out;
}

template <class T>
std::string text(const T& value, bool nested) {
  using V = std::remove_cvref_t<T>;
  if constexpr (HasAdlDebugDescribe<V>) {
    if (nested) return ios_debugDescribe(value);
    if constexpr (HasAdlDescribe<V>) return ios_describe(value);
  }
  if constexpr (HasAdlDescribe<V>) {
    return ios_describe(value);
  } else if constexpr (std::is_same_v<V, bool>) {
    return value ? "true" : "false";
  } else if constexpr (std::is_same_v<V, double> || std::is_same_v<V, long double>) {
    return describeDouble(static_cast<double>(value));
  } else if constexpr (std::is_same_v<V, float>) {
    return describeFloat(value);
  } else if constexpr (std::is_same_v<V, char>) {
    std::string one(1, value);
    return nested ? quotedString(one) : one;
  } else if constexpr (std::is_integral_v<V>) {
    return std::to_string(value);
  } else if constexpr (std::is_same_v<V, std::nullptr_t>) {
    return "nil";
  } else if constexpr (TextLike<V>) {
    std::string_view view = value;
    return nested ? quotedString(view) : std::string(view);
  } else if constexpr (std::is_same_v<V, std::nullopt_t>) {
    return "nil";
  } else if constexpr (IsOptional<V>::value) {
    if (!value) return "nil";
    return "Optional(" + text(*value, true) + ")";
  } else if constexpr (IsSharedPtr<V>::value) {
    if (!value) return "nil";
    return text(*value, nested);
  } else if constexpr (IsPair<V>::value) {
    return "(" + text(value.first, true) + ", " + text(value.second, true) + ")";
  } else if constexpr (IsTuple<V>::value) {
    return tuple(value, std::make_index_sequence<std::tuple_size_v<V>>{});
  } else if constexpr (HasMemberDescription<V>) {
    return value.description();
  } else if constexpr (HasFreeDescription<V>) {
    return description(value);
  } else if constexpr (MapLike<V>) {
    return dictionary(value);
  } else if constexpr (RangeLike<V>) {
    return sequence(value);
  } else if constexpr (std::is_enum_v<V>) {
    static_assert(NamedEnum<V>,
                  "ios::describe: an enum is printed by its case names; declare `std::string ios_describe(E)` "
                  "answering them next to the enum");
    return {};
  } else {
    static_assert(Streamable<V>, "ios::describe: the type has no textual form");
    std::ostringstream os;
    os << value;
    return os.str();
  }
}

}  // namespace describe_internal

// describe()
//
// The value's textual form as string interpolation writes it (see the rules above).
template <class T>
[[nodiscard]] std::string describe(const T& value) {
  return describe_internal::text(value, false);
}

// debugDescribe()
//
// The value's form inside a collection: like describe(), but text is quoted.
template <class T>
[[nodiscard]] std::string debugDescribe(const T& value) {
  return describe_internal::text(value, true);
}

}  // namespace ios
