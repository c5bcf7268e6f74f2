// Property-list coding from arbitrary bytes: keyed archives read back with
// NSKeyedUnarchiver (values, URLs and an object graph of a registered class), the
// tagged property-list form the stand-ins' files hold, and JSONDecoder of a codable
// type.
// Invariants: failures are answered (nothing, or the documented error), never raised
// otherwise; whatever an archive holds is archived again and reads back the same;
// a tagged form decodes to a value whose own form decodes to the same value; every
// description is UTF-8 when the texts inside are.
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/foundation/JSONCoder.h"
#include "platform/foundation/NSKeyedArchiver.h"
#include "platform/foundation/internal/PropertyListCoding.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace {

using ios::PropertyList;

// A small object graph: a value, an optional URL and an optional child of its own class.
class Note : public ios::NSCoding {
 public:
  Note(PropertyList value, std::optional<ios::URL> link, std::shared_ptr<Note> child)
      : value_(std::move(value)), link_(std::move(link)), child_(std::move(child)) {}
  std::string classNameForArchiver() const override { return "FuzzNote"; }
  void encode(ios::NSKeyedArchiver& coder) const override {
    coder.encode(value_, "value");
    if (link_) coder.encode(*link_, "link");
    if (child_) coder.encodeObject(child_, "child");
  }
  static std::shared_ptr<ios::NSCoding> decode(ios::NSKeyedUnarchiver& coder) {
    auto child = std::dynamic_pointer_cast<Note>(coder.decodeObject("child"));
    return std::make_shared<Note>(coder.decodeValue("value").value_or(PropertyList()), coder.decodeURL("link"),
                                  std::move(child));
  }
  // The notes as the tagged forms of their values and the texts of their links.
  nlohmann::json summary() const {
    return nlohmann::json::array({ios::foundation_internal::encodePropertyList(value_),
                                  link_ ? link_->absoluteString() : std::string(),
                                  child_ ? child_->summary() : nlohmann::json()});
  }

 private:
  PropertyList value_;
  std::optional<ios::URL> link_;
  std::shared_ptr<Note> child_;
};

// Two values are the same when their tagged forms are (NaN equals NaN there).
bool same(const PropertyList& a, const PropertyList& b) {
  return ios::foundation_internal::encodePropertyList(a) == ios::foundation_internal::encodePropertyList(b);
}

bool textsAreUTF8(const PropertyList& value) {
  if (const std::string* text = value.stringValue()) return kp_fuzz::isUTF8(*text);
  if (const auto* elements = value.arrayValue()) {
    for (const PropertyList& element : *elements) {
      if (!textsAreUTF8(element)) return false;
    }
  }
  if (const auto* entries = value.dictionaryValue()) {
    for (const auto& [key, element] : *entries) {
      if (!kp_fuzz::isUTF8(key) || !textsAreUTF8(element)) return false;
    }
  }
  return true;
}

void checkValue(const PropertyList& value) {
  if (kp_fuzz::holdsFarDate(value) && kp_fuzz::skipping("date-description")) return;
  if (textsAreUTF8(value)) KP_FUZZ_CHECK(kp_fuzz::isUTF8(value.description()), "a description is not UTF-8");
  const auto again = ios::NSKeyedUnarchiver::unarchiveObject(ios::NSKeyedArchiver::archivedData(value));
  KP_FUZZ_CHECK(again && std::holds_alternative<PropertyList>(*again), "an archived value does not read back");
  KP_FUZZ_CHECK(same(std::get<PropertyList>(*again), value), "an archived value reads back otherwise");
}

void checkArchive(const ios::Data& bytes) {
  const auto root = ios::NSKeyedUnarchiver::unarchiveObject(bytes);
  if (!root) return;
  if (const auto* value = std::get_if<PropertyList>(&*root)) {
    checkValue(*value);
  } else if (const auto* url = std::get_if<ios::URL>(&*root)) {
    const auto again = ios::NSKeyedUnarchiver::unarchiveObject(ios::NSKeyedArchiver::archivedData(*url));
    KP_FUZZ_CHECK(again && std::get_if<ios::URL>(&*again) && *std::get_if<ios::URL>(&*again) == *url,
                  "an archived URL reads back otherwise");
  } else {
    const auto& object = std::get<std::shared_ptr<ios::NSCoding>>(*root);
    if (!object) return;
    const auto note = std::dynamic_pointer_cast<Note>(object);
    KP_FUZZ_CHECK(note != nullptr, "an archive built an object of an unregistered class");
    const auto again = ios::NSKeyedUnarchiver::unarchiveObject(
        ios::NSKeyedArchiver::archivedData(std::shared_ptr<const ios::NSCoding>(note)));
    KP_FUZZ_CHECK(again && std::holds_alternative<std::shared_ptr<ios::NSCoding>>(*again),
                  "an archived object does not read back");
    const auto back = std::dynamic_pointer_cast<Note>(std::get<std::shared_ptr<ios::NSCoding>>(*again));
    KP_FUZZ_CHECK(back && back->summary() == note->summary(), "an archived object reads back otherwise");
  }
}

void checkTaggedForm(const std::string& text) {
  const nlohmann::json form = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (form.is_discarded()) return;
  PropertyList value;
  try {
    value = ios::foundation_internal::decodePropertyList(form);
  } catch (const std::runtime_error&) {
    return;
  }
  const nlohmann::json written = ios::foundation_internal::encodePropertyList(value);
  PropertyList again;
  try {
    again = ios::foundation_internal::decodePropertyList(written);
  } catch (const std::runtime_error&) {
    KP_FUZZ_CHECK(false, "a value's own tagged form does not decode");
  }
  KP_FUZZ_CHECK(same(again, value), "a value's own tagged form decodes to another value");
  KP_FUZZ_CHECK(written.dump() == ios::foundation_internal::encodePropertyList(again).dump(),
                "the tagged form is not stable");
  const PropertyList::Dictionary entries{{"value", value}};
  std::string straight;
  ios::foundation_internal::appendPropertyListText(entries, straight);
  KP_FUZZ_CHECK(straight == ios::foundation_internal::encodePropertyList(entries).dump(),
                "the text written straight from the values differs from the tagged form's");
  checkValue(value);
}

void checkDecoder(const ios::Data& bytes) {
  using Shape = std::map<std::string, std::vector<double>>;
  try {
    const Shape decoded = ios::JSONDecoder().decode<Shape>(bytes);
    const ios::Data encoded = ios::JSONEncoder().encode(decoded);
    KP_FUZZ_CHECK(ios::JSONDecoder().decode<Shape>(encoded) == decoded, "a decoded value encodes to another");
  } catch (const ios::DecodingError&) {
  } catch (const ios::EncodingError&) {
  }
}

const bool registered = [] {
  ios::NSKeyedUnarchiver::setClass("FuzzNote", &Note::decode);
  return true;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kp_fuzz::setUp();
  (void)registered;
  const ios::Data bytes(data, data + size);
  checkArchive(bytes);
  checkTaggedForm(kp_fuzz::text(data, size));
  checkDecoder(bytes);
  return 0;
}
