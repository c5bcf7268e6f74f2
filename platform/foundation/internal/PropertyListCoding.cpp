#include "platform/foundation/internal/PropertyListCoding.h"

#include <charconv>
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

namespace {

// JSON text of valid UTF-8, escaped as nlohmann-json's dump() escapes it: quote,
// backslash and the control characters; everything else, 0x7F and multi-byte sequences
// included, as it is.
void appendQuoted(std::string_view text, std::string& out) {
  out += '"';
  std::size_t plainFrom = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(text, plainFrom, i - plainFrom);
    plainFrom = i + 1;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default: {
        static constexpr char kHex[] = "0123456789abcdef";
        const char escaped[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
        out.append(escaped, sizeof escaped);
      }
    }
  }
  out.append(text, plainFrom, text.size() - plainFrom);
  out += '"';
}

void appendText(const std::string& text, std::string& out) {
  if (utf8_internal::isValid(text)) return appendQuoted(text, out);
  out += "{\"bytes\":";
  appendQuoted(base64EncodedString(Data(text.begin(), text.end())), out);
  out += '}';
}

// A tagged double ("real" or "date"); its number as nlohmann-json writes one.
void appendTaggedReal(const char* tag, double value, std::string& out) {
  out += "{\"";
  out += tag;
  out += "\":";
  out += encodeReal(value).dump();
  out += '}';
}

void appendValueText(const PropertyList& value, std::string& out);

void appendEntriesText(const PropertyList::Dictionary& entries, std::string& out) {
  out += "{\"dict\":[";
  bool first = true;
  for (const auto& [key, element] : entries) {
    if (!first) out += ',';
    first = false;
    out += '[';
    appendText(key, out);
    out += ',';
    appendValueText(element, out);
    out += ']';
  }
  out += "]}";
}

void appendValueText(const PropertyList& value, std::string& out) {
  switch (value.kind()) {
    case PropertyList::Kind::null: out += "null"; return;
    case PropertyList::Kind::boolean: out += *value.boolValue() ? "true" : "false"; return;
    case PropertyList::Kind::integer: {
      const auto integer = value.integerValue();
      if (!integer) malformed("integer above the signed 64-bit range");
      char digits[24];
      const auto end = std::to_chars(digits, digits + sizeof digits, *integer).ptr;
      out.append(digits, end);
      return;
    }
    case PropertyList::Kind::real: return appendTaggedReal("real", *value.doubleValue(), out);
    case PropertyList::Kind::string: return appendText(*value.stringValue(), out);
    case PropertyList::Kind::data:
      out += "{\"data\":";
      appendQuoted(base64EncodedString(*value.dataValue()), out);
      out += '}';
      return;
    case PropertyList::Kind::date:
      return appendTaggedReal("date", value.dateValue()->timeIntervalSinceReferenceDate(), out);
    case PropertyList::Kind::array: {
      out += '[';
      bool first = true;
      for (const PropertyList& element : *value.arrayValue()) {
        if (!first) out += ',';
        first = false;
        appendValueText(element, out);
      }
      out += ']';
      return;
    }
    case PropertyList::Kind::dictionary: return appendEntriesText(*value.dictionaryValue(), out);
  }
}

}  // namespace

void appendPropertyListText(const PropertyList::Dictionary& entries, std::string& out) {
  appendEntriesText(entries, out);
}

Unencodable findUnencodable(const PropertyList& value, std::size_t depth) {
  const auto scalarFault = [](const PropertyList& scalar) {
    return scalar.kind() == PropertyList::Kind::integer && !scalar.integerValue() ? Unencodable::integerAboveSignedRange
                                                                                  : Unencodable::none;
  };
  if (depth > kMaximumDecodingDepth) return Unencodable::nestedTooDeeply;
  if (!value.arrayValue() && !value.dictionaryValue()) return scalarFault(value);
  std::vector<std::pair<const PropertyList*, std::size_t>> pending{{&value, depth}};
  while (!pending.empty()) {
    const auto [node, depth] = pending.back();
    pending.pop_back();
    if (depth > kMaximumDecodingDepth) return Unencodable::nestedTooDeeply;
    if (const auto* elements = node->arrayValue()) {
      for (const PropertyList& element : *elements) pending.emplace_back(&element, depth + 1);
    } else if (const auto* entries = node->dictionaryValue()) {
      for (const auto& [key, element] : *entries) pending.emplace_back(&element, depth + 1);
    } else if (const Unencodable fault = scalarFault(*node); fault != Unencodable::none) {
      return fault;
    }
  }
  return Unencodable::none;
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
