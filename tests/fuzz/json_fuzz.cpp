// JSON text from arbitrary bytes: JSONSerialization reading (with and without
// fragments), writing compact and pretty-printed, and the library's jsonString() of a
// dictionary read from the text, with its values as property lists and as std::any;
// and the same bytes drawn as a property-list value of any kind (bytes, dates, NaN,
// text that is not UTF-8) for the writers.
// Invariants: reading fails only by its documented error; whatever is read and can be
// written is written as UTF-8 that reads back and writes the same text again (compact,
// pretty-printed and without escaped slashes alike); jsonString() writes exactly what
// JSONSerialization writes, whichever C++ form the values take; the writer refuses a
// value (and jsonString() answers nothing) exactly when isValidJSONObject() is false.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <any>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "KPQuaslet/values/Dictionary+KPExt.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/NSError.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

using ios::JSONSerialization;
using ios::PropertyList;

std::optional<PropertyList> read(std::string_view text, JSONSerialization::ReadingOptions options) {
  try {
    return JSONSerialization::jsonObject(text, options);
  } catch (const ios::NSError& error) {
    KP_FUZZ_CHECK(error.code == 3840, "a JSON reading error other than 3840");
    return std::nullopt;
  }
}

std::string write(const PropertyList& value, JSONSerialization::WritingOptions options) {
  const PropertyList::Data bytes = JSONSerialization::data(value, options);
  return std::string(bytes.begin(), bytes.end());
}

// The value as the plain C++ containers a caller would hand to jsonString().
std::any asAny(const PropertyList& value) {
  switch (value.kind()) {
    case PropertyList::Kind::null: return nullptr;
    case PropertyList::Kind::boolean: return *value.boolValue();
    case PropertyList::Kind::integer: return static_cast<long long>(*value.integerValue());
    case PropertyList::Kind::real: return *value.doubleValue();
    case PropertyList::Kind::string: return *value.stringValue();
    case PropertyList::Kind::array: {
      std::vector<std::any> elements;
      for (const PropertyList& element : *value.arrayValue()) elements.push_back(asAny(element));
      return elements;
    }
    case PropertyList::Kind::dictionary: {
      std::unordered_map<std::string, std::any> entries;
      for (const auto& [key, element] : *value.dictionaryValue()) entries.emplace(key, asAny(element));
      return entries;
    }
    case PropertyList::Kind::data:
    case PropertyList::Kind::date: break;
  }
  return {};
}

void checkRoundTrip(const PropertyList& value, bool fragment) {
  const auto fragments = fragment ? JSONSerialization::fragmentsAllowed : JSONSerialization::WritingOptions{0};
  const auto readFragments =
      fragment ? JSONSerialization::readingFragmentsAllowed : JSONSerialization::ReadingOptions{0};
  const std::string compact = write(value, fragments);
  KP_FUZZ_CHECK(kp_fuzz::isUTF8(compact), "written JSON is not UTF-8");
  const auto again = read(compact, readFragments);
  KP_FUZZ_CHECK(again.has_value(), "written JSON does not read back");
  KP_FUZZ_CHECK(write(*again, fragments) == compact, "written JSON reads back to another value");

  const std::string pretty = write(value, JSONSerialization::prettyPrinted | fragments);
  const auto fromPretty = read(pretty, readFragments);
  KP_FUZZ_CHECK(fromPretty && write(*fromPretty, fragments) == compact, "pretty-printed JSON reads back otherwise");
  const std::string plainSlashes = write(value, JSONSerialization::withoutEscapingSlashes | fragments);
  const auto fromPlain = read(plainSlashes, readFragments);
  KP_FUZZ_CHECK(fromPlain && write(*fromPlain, fragments) == compact, "JSON with plain slashes reads back otherwise");

  const PropertyList::Dictionary* entries = value.dictionaryValue();
  if (!entries) return;
  std::unordered_map<std::string, PropertyList> asValues(entries->begin(), entries->end());
  KP_FUZZ_CHECK(kp::jsonString(asValues, false) == compact, "jsonString() differs from JSONSerialization");
  KP_FUZZ_CHECK(kp::jsonString(asValues, true) == pretty, "jsonString(prettify) differs from JSONSerialization");
  const auto asAnys = std::any_cast<std::unordered_map<std::string, std::any>>(asAny(value));
  KP_FUZZ_CHECK(kp::jsonString(asAnys, false) == compact, "jsonString() of std::any values differs");
}

// How deeply the text nests arrays and objects (brackets inside strings count too).
int nesting(std::string_view text) {
  int depth = 0, deepest = 0;
  for (const char c : text) {
    if (c == '[' || c == '{') deepest = std::max(deepest, ++depth);
    if (c == ']' || c == '}') --depth;
  }
  return deepest;
}

// The writers on any value: they refuse exactly what isValidJSONObject() refuses.
void checkWriters(FuzzedDataProvider& in) {
  PropertyList::Dictionary entries;
  const int count = in.ConsumeIntegralInRange<int>(0, 4);
  for (int i = 0; i < count; ++i) entries.insert_or_assign(in.ConsumeRandomLengthString(16), kp_fuzz::propertyList(in, 1));
  const PropertyList value(entries);
  const bool valid = JSONSerialization::isValidJSONObject(value);
  std::optional<std::string> written;
  try {
    written = write(value, {});
  } catch (const JSONSerialization::InvalidObject&) {
  }
  KP_FUZZ_CHECK(written.has_value() == valid, "the writer and isValidJSONObject() disagree");
  const std::unordered_map<std::string, PropertyList> asValues(entries.begin(), entries.end());
  KP_FUZZ_CHECK(kp::jsonString(asValues, false) == written, "jsonString() and the writer disagree");
  if (valid) checkRoundTrip(value, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  const std::string text = kp_fuzz::text(data, size);
  if (nesting(text) > 1000 && kp_fuzz::skipping("json-depth")) return 0;

  const auto strict = read(text, {});
  const auto lenient = read(text, JSONSerialization::readingFragmentsAllowed);
  KP_FUZZ_CHECK(!strict || lenient, "a text read without fragments fails with them");
  if (strict) {
    KP_FUZZ_CHECK(strict->arrayValue() || strict->dictionaryValue(), "the top level read is not a container");
    if (JSONSerialization::isValidJSONObject(*strict)) checkRoundTrip(*strict, false);
  }
  if (lenient) {
    bool writable = true;
    try {
      (void)JSONSerialization::data(*lenient, JSONSerialization::fragmentsAllowed);
    } catch (const JSONSerialization::InvalidObject&) {
      writable = false;
    }
    KP_FUZZ_CHECK(writable || !strict || !JSONSerialization::isValidJSONObject(*strict),
                  "a valid JSON object is refused by the writer");
    if (writable) checkRoundTrip(*lenient, true);
  }
  FuzzedDataProvider in(data, size);
  checkWriters(in);
  return 0;
}
