// File: platform/foundation/NSKeyedArchiver.h
//
// Keyed archiving: a value, a URL or an object graph of NSCoding objects as bytes, and
// back.
//
//   class Note : public ios::NSCoding { ... encode(coder) writes coder.encode(text_, "text") };
//   ios::NSKeyedUnarchiver::setClass("Note", [](ios::NSKeyedUnarchiver& coder) { ... });
//   ios::Data bytes = ios::NSKeyedArchiver::archivedData(std::make_shared<Note>("hi"));
//   auto back = ios::NSKeyedUnarchiver::unarchiveObject(bytes);  // holds a Note
//
// Fidelity: keeps the platform's contract: an archive names each object's class, holds
// its keyed fields, and reading it back builds the objects through the decoder
// registered for that class name. The bytes are our own JSON layout, not the
// platform's binary property list. Differs: an object reached twice is archived twice
// (and read back as two objects); a cycle raises NSInvalidArgumentException instead of
// being archived; bytes that are not an archive, or that name a class without a
// registered decoder, read back as nothing instead of raising. Absent: secure coding,
// class substitution, the encoder and decoder delegates.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "platform/foundation/Data.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/URL.h"

namespace ios {

class NSKeyedArchiver;
class NSKeyedUnarchiver;

// An object that can write itself into a keyed archive.
class NSCoding {
 public:
  virtual ~NSCoding() = default;
  // The class name the archive records; NSKeyedUnarchiver::setClass() registers the
  // decoder for it.
  [[nodiscard]] virtual std::string classNameForArchiver() const = 0;
  // Writes the object's fields.
  virtual void encode(NSKeyedArchiver& coder) const = 0;
};

// What an archive's root holds.
using ArchivedObject = std::variant<PropertyList, URL, std::shared_ptr<NSCoding>>;

class NSKeyedArchiver {
 public:
  // The archive of a value, a URL or an object (a null object archives as nil). An
  // object graph with a cycle, objects nested more than 256 deep, a value nested deeper
  // than 512 arrays and dictionaries and an unsigned integer above the signed 64-bit
  // range (none could be read back) raise NSInvalidArgumentException.
  [[nodiscard]] static Data archivedData(const PropertyList& rootObject);
  [[nodiscard]] static Data archivedData(const URL& rootObject);
  [[nodiscard]] static Data archivedData(const std::shared_ptr<const NSCoding>& rootObject);

  // Field writers for NSCoding::encode(); a later write of a key replaces the earlier.
  void encode(const PropertyList& value, std::string_view key);
  void encode(const URL& value, std::string_view key);
  void encodeObject(const std::shared_ptr<const NSCoding>& object, std::string_view key);

  ~NSKeyedArchiver();
  NSKeyedArchiver(const NSKeyedArchiver&) = delete;
  NSKeyedArchiver& operator=(const NSKeyedArchiver&) = delete;

 private:
  NSKeyedArchiver(std::vector<const NSCoding*>* path);
  struct Fields;
  std::unique_ptr<Fields> fields_;
  std::vector<const NSCoding*>* path_;
  friend struct ArchiverAccess;
};

class NSKeyedUnarchiver {
 public:
  using ClassDecoder = std::function<std::shared_ptr<NSCoding>(NSKeyedUnarchiver&)>;

  // Registers how objects archived under `className` are built again (replacing an
  // earlier decoder for that name).
  static void setClass(std::string className, ClassDecoder decoder);

  // The archive's root, or nothing when `data` is not an archive this class wrote or
  // names a class without a decoder (or its decoder answers null or throws).
  [[nodiscard]] static std::optional<ArchivedObject> unarchiveObject(const Data& data);

  // Field readers for decoders: nothing (or null) when the key is absent or holds
  // another kind of field.
  [[nodiscard]] bool containsValue(std::string_view key) const;
  [[nodiscard]] std::optional<PropertyList> decodeValue(std::string_view key) const;
  [[nodiscard]] std::optional<URL> decodeURL(std::string_view key) const;
  [[nodiscard]] std::shared_ptr<NSCoding> decodeObject(std::string_view key) const;

  ~NSKeyedUnarchiver();
  NSKeyedUnarchiver(const NSKeyedUnarchiver&) = delete;
  NSKeyedUnarchiver& operator=(const NSKeyedUnarchiver&) = delete;

 private:
  NSKeyedUnarchiver(const nlohmann::json* fields, int depth);
  const nlohmann::json* fields_;
  int depth_;
  friend struct ArchiverAccess;
};

}  // namespace ios
