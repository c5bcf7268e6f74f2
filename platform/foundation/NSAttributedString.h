// File: platform/foundation/NSAttributedString.h
//
// Text with attributes over ranges of it, and its mutable form.
//
//   ios::NSAttributedString s("Hi 👋", {{ios::NSAttributedString::Key::underlineStyle,
//                                        std::int64_t{ios::NSUnderlineStyle::single}}});
//   s.length();                                   // 5 UTF-16 units
//   ios::NSRange run;
//   s.attributes(0, &run);                        // the underline; run is {0, 5}
//   ios::NSMutableAttributedString m = s.mutableCopy();
//   m.addAttribute(ios::NSAttributedString::Key::strikethroughStyle, ios::NSNumber(1), {0, 2});
//
// Fidelity: values (copies are independent, so a mutable copy never changes its
// source). Locations and ranges are UTF-16 code units, as the platform's; attribute
// values are std::any (the platform's Any) under the platform's key names ("NSFont",
// "NSColor", "NSUnderline", "NSStrikethrough", "NSKern", "NSParagraphStyle"). Adding an
// attribute replaces that key over the range and keeps the other keys; neighbouring
// runs whose attributes are then equal join into one, where a value added through the
// typed addAttribute() compares with its type's ==, and a value given as std::any only
// equals the pieces of itself that a split left. Removing attributes, editing the text
// and enumeration are absent.
#pragma once

#include <any>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/foundation/NSRange.h"

namespace ios {

// NSUnderlineStyle raw values.
struct NSUnderlineStyle {
  static constexpr std::int64_t single = 1;
  static constexpr std::int64_t thick = 2;
  static constexpr std::int64_t double_ = 9;
};

class NSMutableAttributedString;

class NSAttributedString {
 public:
  struct Key {
    static constexpr std::string_view font = "NSFont";
    static constexpr std::string_view foregroundColor = "NSColor";
    static constexpr std::string_view underlineStyle = "NSUnderline";
    static constexpr std::string_view strikethroughStyle = "NSStrikethrough";
    static constexpr std::string_view kern = "NSKern";
    static constexpr std::string_view paragraphStyle = "NSParagraphStyle";
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

  // The value of `key` at `location` (an empty any when absent), with the range of the
  // run that holds it. Precondition: location < length().
  [[nodiscard]] std::any attribute(std::string_view key, std::size_t location,
                                   NSRange* effectiveRange = nullptr) const;

  // A mutable copy of the text and its attributes.
  [[nodiscard]] NSMutableAttributedString mutableCopy() const;

 protected:
  // One attribute value, shared by the runs a split made from one run.
  struct Value {
    std::shared_ptr<const std::any> value;
    bool (*equal)(const std::any&, const std::any&) = nullptr;  // null: equal only to itself
  };
  struct Run {
    NSRange range;
    std::map<std::string, Value, std::less<>> attributes;
  };

  std::string text_;
  std::size_t length_ = 0;
  std::vector<Run> runs_;  // in order, covering the whole text without gaps
};

class NSMutableAttributedString : public NSAttributedString {
 public:
  NSMutableAttributedString() = default;
  explicit NSMutableAttributedString(std::string string, Attributes attributes = {})
      : NSAttributedString(std::move(string), std::move(attributes)) {}

  // Sets `key` to `value` over `range` (UTF-16 units); the other keys stay. Precondition:
  // the range lies within the text.
  template <class T>
    requires(!std::same_as<std::decay_t<T>, std::any>)
  void addAttribute(std::string_view key, T&& value, NSRange range) {
    using V = std::decay_t<T>;
    Value stored{std::make_shared<const std::any>(std::in_place_type<V>, std::forward<T>(value)), nullptr};
    if constexpr (std::equality_comparable<V>) {
      stored.equal = [](const std::any& a, const std::any& b) {
        return *std::any_cast<V>(&a) == *std::any_cast<V>(&b);
      };
    }
    addValue(key, std::move(stored), range);
  }
  // The same for a value already held in a std::any.
  void addAttribute(std::string_view key, std::any value, NSRange range) {
    addValue(key, Value{std::make_shared<const std::any>(std::move(value)), nullptr}, range);
  }

 private:
  void addValue(std::string_view key, Value value, NSRange range);
  // Splits the run holding `location` so that a run starts there.
  void splitAt(std::size_t location);
  // Joins neighbouring runs whose attributes are equal.
  void coalesce();
};

}  // namespace ios
