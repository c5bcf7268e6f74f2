#include "platform/foundation/JSONSerialization.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "platform/foundation/NSError.h"
#include "platform/foundation/internal/JSONNesting.h"
#include "platform/foundation/internal/UTF8.h"

namespace ios {
namespace {

using nlohmann::json;

// Whole doubles in this range are written as integers, as the platform does.
constexpr double kExactWholeLimit = 9007199254740992.0;  // 2^53

// Whether `value` can be written: no deeper than the nesting limit, `depth` being the
// number of containers around it. Text is checked for well-formed UTF-8 only when
// `checkText` is set (the writer itself rejects malformed text while it escapes it).
bool isWritableValue(const PropertyList& value, bool checkText, std::size_t depth = 0) {
  switch (value.kind()) {
    case PropertyList::Kind::null:
    case PropertyList::Kind::boolean:
    case PropertyList::Kind::integer:
      return true;
    case PropertyList::Kind::real:
      return std::isfinite(*value.doubleValue());
    case PropertyList::Kind::string:
      return !checkText || utf8_internal::isValid(*value.stringValue());
    case PropertyList::Kind::data:
    case PropertyList::Kind::date:
      return false;
    case PropertyList::Kind::array:
      if (depth >= JSONSerialization::maximumNestingDepth) return false;
      for (const PropertyList& element : *value.arrayValue()) {
        if (!isWritableValue(element, checkText, depth + 1)) return false;
      }
      return true;
    case PropertyList::Kind::dictionary:
      if (depth >= JSONSerialization::maximumNestingDepth) return false;
      for (const auto& [key, element] : *value.dictionaryValue()) {
        if ((checkText && !utf8_internal::isValid(key)) || !isWritableValue(element, checkText, depth + 1)) {
          return false;
        }
      }
      return true;
  }
  return false;
}

bool isContainer(const PropertyList& value) {
  return value.kind() == PropertyList::Kind::array || value.kind() == PropertyList::Kind::dictionary;
}

// Only called on values that passed isWritableValue().
json toJSON(const PropertyList& value) {
  switch (value.kind()) {
    case PropertyList::Kind::null:
      return nullptr;
    case PropertyList::Kind::boolean:
      return *value.boolValue();
    case PropertyList::Kind::integer:
      if (auto i = value.integerValue()) return *i;
      return *value.unsignedIntegerValue();
    case PropertyList::Kind::real: {
      const double d = *value.doubleValue();
      const bool negativeZero = d == 0.0 && std::signbit(d);
      if (std::trunc(d) == d && std::fabs(d) <= kExactWholeLimit && !negativeZero) {
        return static_cast<std::int64_t>(d);
      }
      return d;
    }
    case PropertyList::Kind::string:
      return *value.stringValue();
    case PropertyList::Kind::array: {
      json out = json::array();
      const auto& elements = *value.arrayValue();
      out.get_ref<json::array_t&>().reserve(elements.size());
      for (const PropertyList& element : elements) out.push_back(toJSON(element));
      return out;
    }
    case PropertyList::Kind::dictionary: {
      json out = json::object();
      auto& entries = out.get_ref<json::object_t&>();
      for (const auto& [key, element] : *value.dictionaryValue()) entries.emplace_hint(entries.end(), key, toJSON(element));
      return out;
    }
    case PropertyList::Kind::data:
    case PropertyList::Kind::date:
      break;
  }
  throw JSONSerialization::InvalidObject("Invalid type in JSON write");
}

// Rewrites nlohmann's text into the platform's layout: " : " after keys when pretty,
// "\/" for "/" inside strings unless slashes stay as they are.
PropertyList::Data platformLayout(const std::string& text, bool pretty, bool escapeSlashes) {
  PropertyList::Data out;
  out.reserve(text.size() + text.size() / 16);
  const char* p = text.data();
  const char* end = p + text.size();
  bool inString = false;
  while (p < end) {
    // Copy the plain run up to the next character that may need attention.
    const char* run = p;
    while (p < end && *p != '"' && *p != '\\' && *p != '/' && *p != ':') ++p;
    out.insert(out.end(), run, p);
    if (p == end) break;
    const char c = *p++;
    if (inString) {
      if (c == '\\') {
        out.push_back('\\');
        if (p < end) out.push_back(static_cast<std::uint8_t>(*p++));  // the escaped character as is
        continue;
      }
      if (c == '"') inString = false;
      if (c == '/' && escapeSlashes) out.push_back('\\');
    } else if (c == '"') {
      inString = true;
    } else if (c == ':' && pretty) {
      out.push_back(' ');
    }
    out.push_back(static_cast<std::uint8_t>(c));
  }
  return out;
}

PropertyList fromJSON(const json& value) {
  switch (value.type()) {
    case json::value_t::null:
    case json::value_t::discarded:
      return nullptr;
    case json::value_t::boolean:
      return value.get<bool>();
    case json::value_t::number_integer:
      return value.get<std::int64_t>();
    case json::value_t::number_unsigned: {
      const auto u = value.get<std::uint64_t>();
      if (u <= static_cast<std::uint64_t>(INT64_MAX)) return static_cast<std::int64_t>(u);
      return static_cast<double>(u);
    }
    case json::value_t::number_float:
      return value.get<double>();
    case json::value_t::string:
      return value.get_ref<const std::string&>();
    case json::value_t::array: {
      PropertyList::Array elements;
      elements.reserve(value.size());
      for (const json& element : value) elements.push_back(fromJSON(element));
      return elements;
    }
    case json::value_t::object: {
      PropertyList::Dictionary entries;
      for (const auto& [key, element] : value.items()) entries.emplace(key, fromJSON(element));
      return entries;
    }
    case json::value_t::binary:
      break;
  }
  throw NSError{"NSCocoaErrorDomain", 3840};
}

}  // namespace

bool JSONSerialization::isValidJSONObject(const PropertyList& object) {
  return isContainer(object) && isWritableValue(object, /*checkText=*/true);
}

PropertyList::Data JSONSerialization::data(const PropertyList& object, WritingOptions options) {
  const bool topLevelAllowed = isContainer(object) || options.contains(fragmentsAllowed);
  if (!topLevelAllowed || !isWritableValue(object, /*checkText=*/false)) {
    throw InvalidObject("Invalid type in JSON write");
  }
  const bool pretty = options.contains(prettyPrinted);
  std::string text;
  try {
    text = toJSON(object).dump(pretty ? 2 : -1, ' ', false, json::error_handler_t::strict);
  } catch (const json::exception& e) {
    throw InvalidObject(std::string("Invalid value in JSON write: ") + e.what());
  }
  return platformLayout(text, pretty, !options.contains(withoutEscapingSlashes));
}

PropertyList JSONSerialization::jsonObject(std::string_view data, ReadingOptions options) {
  if (json_internal::nestsDeeperThan(data, maximumNestingDepth)) throw NSError{"NSCocoaErrorDomain", 3840};
  json parsed = json::parse(data.begin(), data.end(), nullptr, /*allow_exceptions=*/false);
  if (parsed.is_discarded()) throw NSError{"NSCocoaErrorDomain", 3840};
  if (!parsed.is_array() && !parsed.is_object() && !options.contains(readingFragmentsAllowed)) {
    throw NSError{"NSCocoaErrorDomain", 3840};
  }
  return fromJSON(parsed);
}

PropertyList JSONSerialization::jsonObject(const PropertyList::Data& data, ReadingOptions options) {
  return jsonObject(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), options);
}

}  // namespace ios
