// File: platform/foundation/JSONCoder.h
//
// Codable values to JSON bytes and back.
//
//   struct Profile { std::string name; int age; };
//   NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Profile, name, age)   // makes Profile codable
//   ios::Data bytes = ios::JSONEncoder().encode(Profile{"Ann", 30});  // {"age":30,"name":"Ann"}
//   ios::JSONDecoder().decode<Profile>(bytes).name;                   // "Ann"
//
// Fidelity: a C++ type is codable when nlohmann-json can convert it (to_json / from_json
// found for it), the way a platform type conforms to Codable. Keeps the platform's
// failures: encoding a NaN or infinite double, or text that is not UTF-8, throws
// EncodingError; bytes that are not JSON, or JSON of the wrong shape, throw
// DecodingError. Differs: keys are written in sorted order. Absent: key and date coding
// strategies.
#pragma once

#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "platform/foundation/Data.h"

namespace ios {

// The value could not be written as JSON.
class EncodingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bytes do not hold a JSON text of the expected shape.
class DecodingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class JSONEncoder {
 public:
  struct OutputFormatting {
    bool prettyPrinted = false;
  };
  OutputFormatting outputFormatting;

  // encode()
  //
  // The UTF-8 JSON text of `value`. Throws EncodingError when it holds a non-finite
  // double or text that is not UTF-8.
  template <class T>
  [[nodiscard]] Data encode(const T& value) const {
    nlohmann::json tree;
    try {
      tree = value;
    } catch (const nlohmann::json::exception& e) {
      throw EncodingError(e.what());
    }
    rejectNonFinite(tree);
    try {
      const std::string text = tree.dump(outputFormatting.prettyPrinted ? 2 : -1);
      return Data(text.begin(), text.end());
    } catch (const nlohmann::json::exception& e) {
      throw EncodingError(e.what());
    }
  }

 private:
  static void rejectNonFinite(const nlohmann::json& tree) {
    if (tree.is_number_float() && !std::isfinite(tree.get<double>())) {
      throw EncodingError("Unable to encode a non-finite number directly in JSON.");
    }
    if (tree.is_structured()) {
      for (const auto& element : tree) rejectNonFinite(element);
    }
  }
};

class JSONDecoder {
 public:
  // decode()
  //
  // The `T` that the JSON text `data` holds. Throws DecodingError for text that is not
  // JSON or does not have the shape of a `T`.
  template <class T>
  [[nodiscard]] T decode(const Data& data) const {
    try {
      return nlohmann::json::parse(data.begin(), data.end()).template get<T>();
    } catch (const nlohmann::json::exception& e) {
      throw DecodingError(e.what());
    }
  }
};

}  // namespace ios
