// File: platform/foundation/URL.h
//
// URLs parsed from text.
//
//   ios::URL::fromString("https://h/a/b?q")->deletingLastPathComponent();  // https://h/a/?q
//   auto url = ios::URL::fromString("file:///var/app/Store.x");  // optional
//   url->lastPathComponent();                                    // "Store.x"
//   ios::URL::fromString("has space");                            // nothing
//
// Fidelity: parses RFC 3986 references as the platform's URL(string:) does. Text with
// characters a URL may not hold (space, non-ASCII, control characters, "<>\"{}|\\^`"),
// a malformed percent escape, a bracket outside the host, or a second "#" gives no
// URL; so does the empty string. Path components are percent-decoded when read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/CharacterSet.h"

namespace ios {

class URL {
 public:
  // The URL `text` stands for, or nothing when it is not a valid URL string.
  [[nodiscard]] static std::optional<URL> fromString(std::string_view text);
  // A file URL for an absolute or relative file-system path; a relative path is taken
  // from the current directory, as the platform resolves it ("a:b" names the file "a:b"
  // there, not a host and a port). Characters other than unreserved ones and
  // "!$&'()*+,;=:@/" are percent-encoded.
  [[nodiscard]] static URL fileURLWithPath(std::string_view path);

  // The whole text of the URL.
  [[nodiscard]] const std::string& absoluteString() const { return text_; }
  // The scheme ("https"), or nothing.
  [[nodiscard]] std::optional<std::string> scheme() const;
  // The host, or nothing.
  [[nodiscard]] std::optional<std::string> host() const;
  // The percent-decoded path ("" when there is none).
  [[nodiscard]] std::string path() const;
  // The query without "?", or nothing.
  [[nodiscard]] std::optional<std::string> query() const;
  // The fragment without "#", or nothing.
  [[nodiscard]] std::optional<std::string> fragment() const;
  // The path's components, decoded, with "/" for the root.
  [[nodiscard]] std::vector<std::string> pathComponents() const;
  // The last path component ("" when the path is empty).
  [[nodiscard]] std::string lastPathComponent() const;
  [[nodiscard]] bool isFileURL() const;

  // The URL without its last path component; the slash before it stays ("/a/b" gives
  // "/a/", "/a" gives "/"), as do the query and fragment. A single relative component
  // gives "./"; an empty path or the root alone is left as it is.
  [[nodiscard]] URL deletingLastPathComponent() const { return deletingLastPathComponents(1); }
  // Removes the last path component in place (see deletingLastPathComponent()).
  void deleteLastPathComponent() { *this = deletingLastPathComponent(); }
  // The URL as `count` calls of deletingLastPathComponent() leave it, in time linear in
  // its length however many components go (calling it that often copies the whole
  // text each time).
  [[nodiscard]] URL deletingLastPathComponents(std::size_t count) const;

  bool operator==(const URL& other) const { return text_ == other.text_; }
  [[nodiscard]] std::string description() const { return text_; }

 private:
  struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool present = false;
  };
  URL() = default;
  [[nodiscard]] std::string part(Span span) const { return text_.substr(span.begin, span.end - span.begin); }

  std::string text_;
  Span scheme_, authority_, host_, path_, query_, fragment_;
};

// Encodes every scalar of `text` that is not in `allowed` as %XX escapes of its UTF-8
// bytes (upper-case hexadecimal); nothing when `text` is not well-formed UTF-8.
[[nodiscard]] std::optional<std::string> addingPercentEncoding(std::string_view text, const CharacterSet& allowed);

// Decodes %XX escapes; nothing when an escape is malformed or the result is not UTF-8.
[[nodiscard]] std::optional<std::string> removingPercentEncoding(std::string_view text);

}  // namespace ios
