// File: platform/foundation/NSAttributedString.h
//
// Text with attributes over ranges of it.
//
//   ios::NSAttributedString s("Hi 👋", {{ios::NSAttributedString::Key::underlineStyle,
//                                        std::int64_t{ios::NSUnderlineStyle::single}}});
//   s.length();                                   // 5 UTF-16 units
//   ios::NSRange run;
//   s.attributes(0, &run);                        // the underline; run is {0, 5}
//
// Fidelity: an immutable value (copies are independent). Locations and ranges are
// UTF-16 code units, as the platform's; attribute values are std::any (the platform's
// Any) under the platform's key names ("NSFont", "NSColor", "NSUnderline"). Making one
// string with one set of attributes gives one run over the whole text (none for the
// empty text). Mutation, enumeration and the other keys are absent.
#pragma once

#include <any>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/NSRange.h"

namespace ios {

// NSUnderlineStyle raw values.
struct NSUnderlineStyle {
  static constexpr std::int64_t single = 1;
  static constexpr std::int64_t thick = 2;
  static constexpr std::int64_t double_ = 9;
};

class NSAttributedString {
 public:
  struct Key {
    static constexpr std::string_view font = "NSFont";
    static constexpr std::string_view foregroundColor = "NSColor";
    static constexpr std::string_view underlineStyle = "NSUnderline";
  };
  using Attributes = std::map<std::string, std::any, std::less<>>;

  NSAttributedString() = default;
  // `string` with `attributes` over all of it.
  explicit NSAttributedString(std::string string, Attributes attributes = {});

  // The text.
  [[nodiscard]] const std::string& string() const { return text_; }
  // The length in UTF-16 units.
  [[nodiscard]] std::size_t length() const { return length_; }

  // The attributes at UTF-16 `location`; `effectiveRange`, when given, receives the
  // range over which they hold. Precondition: location < length().
  [[nodiscard]] Attributes attributes(std::size_t location, NSRange* effectiveRange = nullptr) const;

  // The value of `key` at `location` (an empty any when absent), with its range.
  // Precondition: location < length().
  [[nodiscard]] std::any attribute(std::string_view key, std::size_t location,
                                   NSRange* effectiveRange = nullptr) const;

 private:
  struct Run {
    NSRange range;
    Attributes attributes;
  };
  std::string text_;
  std::size_t length_ = 0;
  std::vector<Run> runs_;
};

}  // namespace ios
