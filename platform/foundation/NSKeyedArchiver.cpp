#include "platform/foundation/NSKeyedArchiver.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>

#include "platform/foundation/NSException.h"
#include "platform/foundation/internal/PropertyListCoding.h"

namespace ios {

using nlohmann::json;

namespace {

constexpr const char* kArchiverName = "NSKeyedArchiver";
constexpr int kArchiveVersion = 100000;
// Object nesting deeper than this is refused when reading (a hostile archive must not
// exhaust the stack), and so when writing (what could not be read back).
constexpr int kMaximumDepth = 256;

struct DecoderRegistry {
  std::mutex mutex;
  std::map<std::string, NSKeyedUnarchiver::ClassDecoder, std::less<>> decoders;
};

DecoderRegistry& decoderRegistry() {
  static auto* r = new DecoderRegistry;
  return *r;
}

json valueNode(const PropertyList& value) {
  // What the unarchiver could not read back is refused here, not lost there.
  switch (foundation_internal::findUnencodable(value)) {
    case foundation_internal::Unencodable::none: break;
    case foundation_internal::Unencodable::nestedTooDeeply:
      NSException(NSInvalidArgumentException, "cannot archive a value nested deeper than " +
                                                  std::to_string(foundation_internal::kMaximumDecodingDepth) +
                                                  " arrays and dictionaries")
          .raise();
    case foundation_internal::Unencodable::integerAboveSignedRange:
      NSException(NSInvalidArgumentException, "cannot archive an integer above the signed 64-bit range").raise();
  }
  return json{{"$value", foundation_internal::encodePropertyList(value)}};
}
json urlNode(const URL& url) { return json{{"$url", foundation_internal::encodePropertyList(url.absoluteString())}}; }

Data archiveBytes(const json& root) {
  const json archive{{"$archiver", kArchiverName}, {"$version", kArchiveVersion}, {"$top", {{"root", root}}}};
  const std::string text = archive.dump();
  return Data(text.begin(), text.end());
}

std::string fieldKey(std::string_view key) {
  return foundation_internal::encodePropertyList(std::string(key)).dump();
}

}  // namespace

struct NSKeyedArchiver::Fields {
  std::map<std::string, json> byKey;
};

// Builds and reads object nodes; a friend of both coder classes.
struct ArchiverAccess {
  static json objectNode(const std::shared_ptr<const NSCoding>& object, std::vector<const NSCoding*>& path) {
    if (!object) return nullptr;
    if (std::find(path.begin(), path.end(), object.get()) != path.end()) {
      NSException(NSInvalidArgumentException, "cannot archive an object graph with a cycle (class " +
                                                   object->classNameForArchiver() + ")")
          .raise();
    }
    if (path.size() > static_cast<std::size_t>(kMaximumDepth)) {
      NSException(NSInvalidArgumentException, "cannot archive objects nested deeper than " +
                                                   std::to_string(kMaximumDepth) + " (class " +
                                                   object->classNameForArchiver() + ")")
          .raise();
    }
    path.push_back(object.get());
    NSKeyedArchiver coder(&path);
    object->encode(coder);
    path.pop_back();
    json fields = json::object();
    for (auto& [key, node] : coder.fields_->byKey) fields[key] = std::move(node);
    return json{{"$class", foundation_internal::encodePropertyList(object->classNameForArchiver())},
                {"$fields", std::move(fields)}};
  }

  // Throws std::runtime_error for a malformed node.
  static ArchivedObject readNode(const json& node, int depth) {
    if (node.is_null()) return std::shared_ptr<NSCoding>();
    if (!node.is_object() || node.empty()) throw std::runtime_error("not an archive node");
    if (node.contains("$value")) return foundation_internal::decodePropertyList(node["$value"]);
    if (node.contains("$url")) {
      const PropertyList text = foundation_internal::decodePropertyList(node["$url"]);
      auto url = text.stringValue() ? URL::fromString(*text.stringValue()) : std::nullopt;
      if (!url) throw std::runtime_error("not a URL");
      return *url;
    }
    if (depth > kMaximumDepth) throw std::runtime_error("objects nested too deeply");
    const PropertyList className = foundation_internal::decodePropertyList(node.at("$class"));
    const json& fields = node.at("$fields");
    if (!className.stringValue() || !fields.is_object()) throw std::runtime_error("not an object node");
    NSKeyedUnarchiver::ClassDecoder decoder;
    {
      auto& r = decoderRegistry();
      std::lock_guard lock(r.mutex);
      auto it = r.decoders.find(*className.stringValue());
      if (it == r.decoders.end()) throw std::runtime_error("no decoder for " + *className.stringValue());
      decoder = it->second;
    }
    NSKeyedUnarchiver coder(&fields, depth + 1);
    auto object = decoder(coder);
    if (!object) throw std::runtime_error("the decoder answered null");
    return object;
  }
};

NSKeyedArchiver::NSKeyedArchiver(std::vector<const NSCoding*>* path)
    : fields_(std::make_unique<Fields>()), path_(path) {}
NSKeyedArchiver::~NSKeyedArchiver() = default;

Data NSKeyedArchiver::archivedData(const PropertyList& rootObject) { return archiveBytes(valueNode(rootObject)); }
Data NSKeyedArchiver::archivedData(const URL& rootObject) { return archiveBytes(urlNode(rootObject)); }
Data NSKeyedArchiver::archivedData(const std::shared_ptr<const NSCoding>& rootObject) {
  std::vector<const NSCoding*> path;
  return archiveBytes(ArchiverAccess::objectNode(rootObject, path));
}

void NSKeyedArchiver::encode(const PropertyList& value, std::string_view key) {
  fields_->byKey.insert_or_assign(fieldKey(key), valueNode(value));
}
void NSKeyedArchiver::encode(const URL& value, std::string_view key) {
  fields_->byKey.insert_or_assign(fieldKey(key), urlNode(value));
}
void NSKeyedArchiver::encodeObject(const std::shared_ptr<const NSCoding>& object, std::string_view key) {
  fields_->byKey.insert_or_assign(fieldKey(key), ArchiverAccess::objectNode(object, *path_));
}

void NSKeyedUnarchiver::setClass(std::string className, ClassDecoder decoder) {
  auto& r = decoderRegistry();
  std::lock_guard lock(r.mutex);
  r.decoders.insert_or_assign(std::move(className), std::move(decoder));
}

std::optional<ArchivedObject> NSKeyedUnarchiver::unarchiveObject(const Data& data) {
  try {
    const json archive = json::parse(data.begin(), data.end());
    if (!archive.is_object() || archive.value("$archiver", "") != kArchiverName) return std::nullopt;
    return ArchiverAccess::readNode(archive.at("$top").at("root"), 0);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

NSKeyedUnarchiver::NSKeyedUnarchiver(const json* fields, int depth) : fields_(fields), depth_(depth) {}
NSKeyedUnarchiver::~NSKeyedUnarchiver() = default;

bool NSKeyedUnarchiver::containsValue(std::string_view key) const { return fields_->contains(fieldKey(key)); }

namespace {
// The field under `key` when it holds a T; a field that cannot be read counts as absent.
template <class T>
std::optional<T> decodeField(const json& fields, std::string_view key, int depth) {
  auto it = fields.find(fieldKey(key));
  if (it == fields.end()) return std::nullopt;
  try {
    auto read = ArchiverAccess::readNode(*it, depth);
    if (auto* value = std::get_if<T>(&read)) return *value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}
}  // namespace

std::optional<PropertyList> NSKeyedUnarchiver::decodeValue(std::string_view key) const {
  return decodeField<PropertyList>(*fields_, key, depth_);
}

std::optional<URL> NSKeyedUnarchiver::decodeURL(std::string_view key) const {
  return decodeField<URL>(*fields_, key, depth_);
}

std::shared_ptr<NSCoding> NSKeyedUnarchiver::decodeObject(std::string_view key) const {
  auto it = fields_->find(fieldKey(key));
  if (it == fields_->end()) return nullptr;
  // A nested object that cannot be read fails the whole archive, as on the platform.
  auto read = ArchiverAccess::readNode(*it, depth_);
  if (auto* object = std::get_if<std::shared_ptr<NSCoding>>(&read)) return *object;
  return nullptr;
}

}  // namespace ios
