#include "platform/foundation/internal/PropertyListCoding.h"

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "platform/foundation/Data.h"
#include "platform/foundation/internal/UTF8.h"

namespace ios::foundation_internal {
namespace {

using nlohmann::json;

json encodeText(const std::string& text) {
  if (utf8_internal::isValid(text)) return text;
  return json{{"bytes", base64EncodedString(Data(text.begin(), text.end()))}};
}

json encodeReal(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  return value;
}

[[noreturn]] void malformed(const std::string& what) { throw std::runtime_error("malformed value: " + what); }

std::vector<std::uint8_t> decodeBase64(const json& form) {
  if (!form.is_string()) malformed("Base64 is not text");
  auto bytes = dataFromBase64Encoded(form.get_ref<const std::string&>());
  if (!bytes) malformed("bad Base64");
  return *bytes;
}

std::string decodeText(const json& form) {
  if (form.is_string()) return form.get<std::string>();
  if (form.is_object() && form.size() == 1 && form.contains("bytes")) {
    const auto bytes = decodeBase64(form["bytes"]);
    return std::string(bytes.begin(), bytes.end());
  }
  malformed("text expected");
}

double decodeReal(const json& form) {
  if (form.is_number()) return form.get<double>();
  if (form == "nan") return std::numeric_limits<double>::quiet_NaN();
  if (form == "inf") return std::numeric_limits<double>::infinity();
  if (form == "-inf") return -std::numeric_limits<double>::infinity();
  malformed("number expected");
}

}  // namespace

json encodePropertyList(const PropertyList& value) {
  switch (value.kind()) {
    case PropertyList::Kind::null: return nullptr;
    case PropertyList::Kind::boolean: return *value.boolValue();
    case PropertyList::Kind::integer:
      if (auto i = value.integerValue()) return *i;
      malformed("integer above the signed 64-bit range");
    case PropertyList::Kind::real: return json{{"real", encodeReal(*value.doubleValue())}};
    case PropertyList::Kind::string: return encodeText(*value.stringValue());
    case PropertyList::Kind::data: return json{{"data", base64EncodedString(*value.dataValue())}};
    case PropertyList::Kind::date:
      return json{{"date", encodeReal(value.dateValue()->timeIntervalSinceReferenceDate())}};
    case PropertyList::Kind::array: {
      json out = json::array();
      for (const PropertyList& element : *value.arrayValue()) out.push_back(encodePropertyList(element));
      return out;
    }
    case PropertyList::Kind::dictionary: return encodePropertyList(*value.dictionaryValue());
  }
  return nullptr;
}

json encodePropertyList(const PropertyList::Dictionary& entries) {
  json pairs = json::array();
  pairs.get_ref<json::array_t&>().reserve(entries.size());
  for (const auto& [key, element] : entries) pairs.push_back(json::array({encodeText(key), encodePropertyList(element)}));
  return json{{"dict", std::move(pairs)}};
}

bool nestsTooDeeplyToDecode(const PropertyList& value, std::size_t depth) {
  std::vector<std::pair<const PropertyList*, std::size_t>> pending{{&value, depth}};
  while (!pending.empty()) {
    const auto [node, depth] = pending.back();
    pending.pop_back();
    if (depth > kMaximumDecodingDepth) return true;
    if (const auto* elements = node->arrayValue()) {
      for (const PropertyList& element : *elements) pending.emplace_back(&element, depth + 1);
    } else if (const auto* entries = node->dictionaryValue()) {
      for (const auto& [key, element] : *entries) pending.emplace_back(&element, depth + 1);
    }
  }
  return false;
}

namespace {
PropertyList decodeAtDepth(const json& form, std::size_t depth);

// The entries of a dictionary form's body, each value lying at `depth` + 1. The encoder
// writes them in key order, so each lands at the end of the map.
PropertyList::Dictionary decodeEntries(const json& body, std::size_t depth) {
  PropertyList::Dictionary entries;
  for (const json& pair : body) {
    if (!pair.is_array() || pair.size() != 2) malformed("dictionary entry");
    entries.insert_or_assign(entries.end(), decodeText(pair[0]), decodeAtDepth(pair[1], depth + 1));
  }
  return entries;
}
}  // namespace

PropertyList decodePropertyList(const json& form) { return decodeAtDepth(form, 0); }

std::optional<PropertyList::Dictionary> decodePropertyListDictionary(const json& form) {
  if (!form.is_object() || form.size() != 1) return std::nullopt;
  const auto body = form.find("dict");
  if (body == form.end() || !body->is_array()) return std::nullopt;
  return decodeEntries(*body, 0);
}

namespace {
PropertyList decodeAtDepth(const json& form, std::size_t depth) {
  if (depth > kMaximumDecodingDepth) malformed("nested too deeply");
  switch (form.type()) {
    case json::value_t::null: return PropertyList();
    case json::value_t::boolean: return form.get<bool>();
    case json::value_t::number_integer: return form.get<std::int64_t>();
    case json::value_t::number_unsigned: {
      const auto n = form.get<std::uint64_t>();
      if (n > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) malformed("integer too large");
      return static_cast<std::int64_t>(n);
    }
    case json::value_t::string: return form.get<std::string>();
    case json::value_t::array: {
      PropertyList::Array elements;
      elements.reserve(form.size());
      for (const json& element : form) elements.push_back(decodeAtDepth(element, depth + 1));
      return PropertyList(std::move(elements));
    }
    case json::value_t::object: {
      if (form.size() != 1) break;
      const auto only = form.begin();
      const std::string& tag = only.key();
      const json& body = only.value();
      if (tag == "real") return decodeReal(body);
      if (tag == "data") return PropertyList::fromData(decodeBase64(body));
      if (tag == "date") return Date::fromTimeIntervalSinceReferenceDate(decodeReal(body));
      if (tag == "bytes") return decodeText(form);
      if (tag == "dict" && body.is_array()) return PropertyList(decodeEntries(body, depth));
      break;
    }
    default: break;
  }
  malformed("unknown form");
}
}  // namespace

}  // namespace ios::foundation_internal
