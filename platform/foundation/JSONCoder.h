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
// DecodingError. Arrays and objects nested deeper than
// JSONSerialization::maximumNestingDepth are refused both ways (EncodingError,
// DecodingError), so hostile bytes cannot exhaust the stack. Differs: keys are written
// in sorted order. Absent: key and date coding strategies.
#pragma once

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
  using Failure = EncodingError;
  struct OutputFormatting {
    bool prettyPrinted = false;
  };
  OutputFormatting outputFormatting;

  // encode()
  //
  // The UTF-8 JSON text of `value`. Throws EncodingError when it holds a non-finite
  // double or text that is not UTF-8, or nests too deeply.
  template <class T>
  [[nodiscard]] Data encode(const T& value) const {
    nlohmann::json tree;
    try {
      tree = value;
    } catch (const nlohmann::json::exception& e) {
      throw EncodingError(e.what());
    }
    rejectUnwritable(tree);
    try {
      const std::string text = tree.dump(outputFormatting.prettyPrinted ? 2 : -1);
      return Data(text.begin(), text.end());
    } catch (const nlohmann::json::exception& e) {
      throw EncodingError(e.what());
    }
  }

 private:
  // Throws EncodingError for a non-finite number or nesting deeper than the limit.
  static void rejectUnwritable(const nlohmann::json& tree);
};

class JSONDecoder {
 public:
  using Failure = DecodingError;
  // decode()
  //
  // The `T` that the JSON text `data` holds. Throws DecodingError for text that is not
  // JSON, nests too deeply, or does not have the shape of a `T`.
  template <class T>
  [[nodiscard]] T decode(const Data& data) const {
    const nlohmann::json tree = parse(data);
    try {
      return tree.template get<T>();
    } catch (const nlohmann::json::exception& e) {
      throw DecodingError(e.what());
    }
  }

 private:
  // The tree the bytes hold; throws DecodingError for text that is not JSON or nests
  // too deeply.
  static nlohmann::json parse(const Data& data);
};

}  // namespace ios
