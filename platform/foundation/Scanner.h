// File: platform/foundation/Scanner.h
//
// Reads numbers from the front of a text, skipping whitespace.
//
//   ios::Scanner s(" -42 ");
//   s.scanInt();    // -42
//   s.isAtEnd();    // true: only skipped characters remain
//
// Fidelity: the platform's Scanner with its default characters to be skipped
// (whitespacesAndNewlines) and no locale, so the decimal separator is ".". An integer is
// an optional sign and decimal digits (ASCII); a double adds an optional fraction and an
// optional exponent. A failed scan leaves the position unchanged. As on the platform, an
// integer that does not fit in 64 bits is scanned whole and answers INT64_MAX or
// INT64_MIN. Strings, character sets, hexadecimal and the locale setting are absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ios {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  // The integer at the current position (after skipped characters), clamped to the
  // 64-bit range, or nothing.
  [[nodiscard]] std::optional<std::int64_t> scanInt();
  // The double at the current position (after skipped characters), or nothing.
  [[nodiscard]] std::optional<double> scanDouble();
  // True when only skipped characters remain.
  [[nodiscard]] bool isAtEnd() const;
  // The byte offset of the next character to read.
  [[nodiscard]] std::size_t currentIndex() const { return position_; }

 private:
  [[nodiscard]] std::size_t afterSkipped() const;

  std::string text_;
  std::size_t position_ = 0;
};

}  // namespace ios
