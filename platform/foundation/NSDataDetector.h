// File: platform/foundation/NSDataDetector.h
//
// Finds links in free text: web addresses and e-mail addresses.
//
//   ios::NSDataDetector detector(ios::NSDataDetector::link);
//   std::string text = "see www.example.com or write to me@example.org";
//   auto found = detector.matches(text, {0, ios::utf16Length(text)});
//   found[0].url->absoluteString();   // "http://www.example.com"
//   found[1].url->absoluteString();   // "mailto:me@example.org"
//
// Fidelity: our own link detector (the platform's is not available). It recognises,
// left to right and without overlap:
//   - a scheme followed by "://" and at least one more character ("https://a.b/c?d");
//   - "mailto:" followed by an e-mail address;
//   - a host starting with "www." that holds one more dot, as an http link;
//   - an e-mail address: letters, digits and "._%+-" before "@", then a domain of two or
//     more labels of letters, digits and "-" whose last label is two or more letters,
//     as a mailto link.
// A link starts at the beginning of a word (not after a letter or digit), runs over
// the characters a URL may hold and stops at whitespace, a non-ASCII character or one
// of "<>\"{}|\\^`"; trailing ".,;:!?'\"" and unbalanced closing ")" or "]" are not part
// of it. Bare host names without "www." ("example.com"), phone numbers, dates and
// addresses are not detected. Ranges are in UTF-16 units; only the link type exists.
// A scan takes time linear in the text, also for long runs of closing brackets after a
// link or of "www." starts without a host, which took time quadratic in their length.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/foundation/NSRange.h"
#include "platform/foundation/NSRegularExpression.h"

namespace ios {

class NSDataDetector {
 public:
  // NSTextCheckingResult.CheckingType: only links are detected.
  enum CheckingType : std::uint64_t { link = 1ull << 5 };

  explicit NSDataDetector(std::uint64_t types);

  // Every link inside `range` of `text`, in order; a range beyond the text is clipped.
  [[nodiscard]] std::vector<NSTextCheckingResult> matches(std::string_view text, NSRange range) const;
  // The first link inside `range`, or nothing.
  [[nodiscard]] std::optional<NSTextCheckingResult> firstMatch(std::string_view text, NSRange range) const;
  // Calls `body` with each link in order until it sets its stop flag.
  void enumerateMatches(std::string_view text, NSRange range,
                        const std::function<void(const NSTextCheckingResult&, bool& stop)>& body) const;

 private:
  std::uint64_t types_;
};

}  // namespace ios
