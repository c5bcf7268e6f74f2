#include "platform/foundation/PropertyList.h"

#include "platform/foundation/Describe.h"
#include "platform/foundation/Precondition.h"

namespace ios {

PropertyList::PropertyList(Array value) : storage_(ArrayBox{std::make_shared<const Array>(std::move(value))}) {}

PropertyList::PropertyList(Dictionary value)
    : storage_(DictionaryBox{std::make_shared<const Dictionary>(std::move(value))}) {}

PropertyList::PropertyList(const PropertyList& other) = default;
PropertyList::PropertyList(PropertyList&& other) noexcept = default;
PropertyList& PropertyList::operator=(const PropertyList& other) = default;
PropertyList& PropertyList::operator=(PropertyList&& other) noexcept = default;
PropertyList::~PropertyList() = default;

PropertyList PropertyList::fromData(Data bytes) {
  PropertyList result;
  result.storage_ = DataBox{std::make_shared<const Data>(std::move(bytes))};
  return result;
}

PropertyList PropertyList::fromUnsignedInteger(std::uint64_t value) {
  PropertyList result;
  if (value > static_cast<std::uint64_t>(INT64_MAX)) {
    result.storage_.emplace<kUnsignedIndex>(value);
  } else {
    result.storage_ = static_cast<std::int64_t>(value);
  }
  return result;
}

void PropertyList::integerOutOfRange() {
  fatalError("PropertyList: integer does not fit in 64 signed bits");
}

std::optional<bool> PropertyList::boolValue() const {
  if (const bool* b = std::get_if<bool>(&storage_)) return *b;
  return std::nullopt;
}

std::optional<std::int64_t> PropertyList::integerValue() const {
  if (const std::int64_t* i = std::get_if<std::int64_t>(&storage_)) return *i;
  return std::nullopt;
}

std::optional<std::uint64_t> PropertyList::unsignedIntegerValue() const {
  if (const std::int64_t* i = std::get_if<std::int64_t>(&storage_)) {
    if (*i >= 0) return static_cast<std::uint64_t>(*i);
    return std::nullopt;
  }
  if (storage_.index() == kUnsignedIndex) return std::get<kUnsignedIndex>(storage_);
  return std::nullopt;
}

std::optional<double> PropertyList::doubleValue() const {
  if (const double* d = std::get_if<double>(&storage_)) return *d;
  return std::nullopt;
}

std::optional<Date> PropertyList::dateValue() const {
  if (const Date* d = std::get_if<Date>(&storage_)) return *d;
  return std::nullopt;
}

const PropertyList::Data* PropertyList::dataValue() const {
  if (const DataBox* box = std::get_if<DataBox>(&storage_)) return box->bytes.get();
  return nullptr;
}

const PropertyList::Array* PropertyList::arrayValue() const {
  if (const ArrayBox* box = std::get_if<ArrayBox>(&storage_)) return box->elements.get();
  return nullptr;
}

const PropertyList::Dictionary* PropertyList::dictionaryValue() const {
  if (const DictionaryBox* box = std::get_if<DictionaryBox>(&storage_)) return box->entries.get();
  return nullptr;
}

bool operator==(const PropertyList& a, const PropertyList& b) {
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case PropertyList::Kind::null:
      return true;
    case PropertyList::Kind::boolean:
      return *a.boolValue() == *b.boolValue();
    case PropertyList::Kind::integer:
      return a.integerValue() == b.integerValue() && a.unsignedIntegerValue() == b.unsignedIntegerValue();
    case PropertyList::Kind::real:
      return *a.doubleValue() == *b.doubleValue();
    case PropertyList::Kind::string:
      return *a.stringValue() == *b.stringValue();
    case PropertyList::Kind::data:
      return *a.dataValue() == *b.dataValue();
    case PropertyList::Kind::date:
      return *a.dateValue() == *b.dateValue();
    case PropertyList::Kind::array:
      return *a.arrayValue() == *b.arrayValue();
    case PropertyList::Kind::dictionary:
      return *a.dictionaryValue() == *b.dictionaryValue();
  }
  return false;
}

std::string PropertyList::description() const {
  switch (kind()) {
    case Kind::null:
      return "<null>";
    case Kind::boolean:
      return describe(*boolValue());
    case Kind::integer:
      if (auto i = integerValue()) return describe(*i);
      return std::to_string(*unsignedIntegerValue());
    case Kind::real:
      return describe(*doubleValue());
    case Kind::string:
      return debugDescribe(*stringValue());
    case Kind::data:
      return std::to_string(dataValue()->size()) + " bytes";
    case Kind::date:
      return dateValue()->description();
    case Kind::array:
      return describe(*arrayValue());
    case Kind::dictionary:
      return describe(*dictionaryValue());
  }
  return {};
}

}  // namespace ios
