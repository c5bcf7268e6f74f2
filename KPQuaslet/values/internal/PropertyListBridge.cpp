#include "KPQuaslet/values/internal/PropertyListBridge.h"

#include <array>
#include <deque>
#include <list>
#include <map>
#include <utility>
#include <typeindex>
#include <unordered_map>
#include <vector>

namespace kp::values_internal {
namespace {

template <class... Ts>
struct TypeList {};

// The scalars a std::any is looked into for (see the header).
using Scalars = TypeList<bool, signed char, unsigned char, short, unsigned short, int, unsigned, long, unsigned long,
                         long long, unsigned long long, float, double, long double, std::string, std::string_view,
                         const char*, ios::Date, ios::Data, ios::NSNumber, ios::PropertyList>;
using Nulls = TypeList<std::nullptr_t, std::nullopt_t, std::monostate>;

struct Entry {
  std::optional<ios::PropertyList> (*convert)(const std::any&, std::size_t depth, LargeUnsigned large);
  bool (*isNil)(const std::any&);
};

using Table = std::unordered_map<std::type_index, Entry>;

template <class T>
void add(Table& table) {
  table.emplace(std::type_index(typeid(T)),
                Entry{[](const std::any& value, std::size_t depth, LargeUnsigned large) {
                        return toPropertyList(*std::any_cast<T>(&value), depth, large);
                      },
                      [](const std::any& value) {
                        if constexpr (isOptional<T>) {
                          return !std::any_cast<T>(&value)->has_value();
                        } else {
                          return NullValue<T>;
                        }
                      }});
}

// The numbers, Booleans and text that nested containers and fixed-size arrays in a
// std::any are looked into for (the table grows with every shape registered).
using NestedScalars = TypeList<bool, int, unsigned, long, unsigned long, long long, unsigned long long, float, double,
                               std::string>;

// Fixed-size arrays are looked into up to this many elements.
constexpr std::size_t kLongestArray = 4;

template <class... Ts>
void addAll(Table& table, TypeList<Ts...>) {
  (add<Ts>(table), ...);
}

// One scalar S: S itself, optional<S>, and the sequences (std::vector, std::list,
// std::deque) and std::string-keyed maps of S and of optional<S>.
template <class S>
void addScalar(Table& table) {
  add<S>(table);
  add<std::optional<S>>(table);
  addAll(table, TypeList<std::vector<S>, std::list<S>, std::deque<S>, std::map<std::string, S>,
                         std::unordered_map<std::string, S>>{});
  addAll(table, TypeList<std::vector<std::optional<S>>, std::list<std::optional<S>>, std::deque<std::optional<S>>,
                         std::map<std::string, std::optional<S>>, std::unordered_map<std::string, std::optional<S>>>{});
}

// Two levels of std::vector and std::map around S, and std::array of S alone and in a
// vector.
template <class S>
void addNestedScalar(Table& table) {
  addAll(table, TypeList<std::vector<std::vector<S>>, std::vector<std::map<std::string, S>>,
                         std::map<std::string, std::vector<S>>, std::map<std::string, std::map<std::string, S>>,
                         std::unordered_map<std::string, std::vector<S>>>{});
  [&]<std::size_t... N>(std::index_sequence<N...>) {
    ((add<std::array<S, N + 1>>(table), add<std::vector<std::array<S, N + 1>>>(table)), ...);
  }(std::make_index_sequence<kLongestArray>{});
}

template <class... S>
void addScalars(Table& table, TypeList<S...>) {
  (addScalar<S>(table), ...);
}

template <class... S>
void addNestedScalars(Table& table, TypeList<S...>) {
  (addNestedScalar<S>(table), ...);
}

template <class... N>
void addNulls(Table& table, TypeList<N...>) {
  (add<N>(table), ...);
}

const Table& table() {
  static const Table* built = [] {
    auto* t = new Table;
    addScalars(*t, Scalars{});
    addNestedScalars(*t, NestedScalars{});
    addNulls(*t, Nulls{});
    addAll(*t, TypeList<std::vector<std::any>, std::list<std::any>, std::deque<std::any>,
                        std::map<std::string, std::any>, std::unordered_map<std::string, std::any>>{});
    // The property list's own containers (its dictionary orders keys with std::less<>).
    add<ios::PropertyList::Dictionary>(*t);
    return t;
  }();
  return *built;
}

const Entry* entryFor(const std::any& value) {
  const Table& t = table();
  auto found = t.find(std::type_index(value.type()));
  return found == t.end() ? nullptr : &found->second;
}

}  // namespace

std::optional<ios::PropertyList> anyToPropertyList(const std::any& value, std::size_t depth, LargeUnsigned large) {
  if (!value.has_value()) return ios::PropertyList(nullptr);
  const Entry* entry = entryFor(value);
  if (entry == nullptr) return std::nullopt;
  return entry->convert(value, depth, large);
}

bool isNilAny(const std::any& value) {
  if (!value.has_value()) return true;
  const Entry* entry = entryFor(value);
  return entry != nullptr && entry->isNil(value);
}

}  // namespace kp::values_internal
