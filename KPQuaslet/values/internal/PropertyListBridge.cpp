#include "KPQuaslet/values/internal/PropertyListBridge.h"

#include <map>
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
  std::optional<ios::PropertyList> (*convert)(const std::any&, std::size_t depth);
  bool (*isNil)(const std::any&);
};

using Table = std::unordered_map<std::type_index, Entry>;

template <class T>
void add(Table& table) {
  table.emplace(std::type_index(typeid(T)),
                Entry{[](const std::any& value, std::size_t depth) {
                        return toPropertyList(*std::any_cast<T>(&value), depth);
                      },
                      [](const std::any& value) {
                        if constexpr (isOptional<T>) {
                          return !std::any_cast<T>(&value)->has_value();
                        } else {
                          return NullValue<T>;
                        }
                      }});
}

// One scalar S: S itself, optional<S>, and the containers of S, optional<S>.
template <class S>
void addScalar(Table& table) {
  add<S>(table);
  add<std::optional<S>>(table);
  add<std::vector<S>>(table);
  add<std::vector<std::optional<S>>>(table);
  add<std::map<std::string, S>>(table);
  add<std::map<std::string, std::optional<S>>>(table);
  add<std::unordered_map<std::string, S>>(table);
  add<std::unordered_map<std::string, std::optional<S>>>(table);
}

template <class... S>
void addScalars(Table& table, TypeList<S...>) {
  (addScalar<S>(table), ...);
}

template <class... N>
void addNulls(Table& table, TypeList<N...>) {
  (add<N>(table), ...);
}

const Table& table() {
  static const Table* built = [] {
    auto* t = new Table;
    addScalars(*t, Scalars{});
    addNulls(*t, Nulls{});
    add<std::vector<std::any>>(*t);
    add<std::map<std::string, std::any>>(*t);
    add<std::unordered_map<std::string, std::any>>(*t);
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

std::optional<ios::PropertyList> anyToPropertyList(const std::any& value, std::size_t depth) {
  if (!value.has_value()) return ios::PropertyList(nullptr);
  const Entry* entry = entryFor(value);
  if (entry == nullptr) return std::nullopt;
  return entry->convert(value, depth);
}

bool isNilAny(const std::any& value) {
  if (!value.has_value()) return true;
  const Entry* entry = entryFor(value);
  return entry != nullptr && entry->isNil(value);
}

}  // namespace kp::values_internal
