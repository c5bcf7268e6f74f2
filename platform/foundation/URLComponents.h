// File: platform/foundation/URLComponents.h
//
// A URL taken apart, with its query as a list of name-value items.
//
//   auto parts = ios::URLComponents::fromString("https://h/p?a=1&b&c=");
//   parts->queryItems();        // {a, "1"}, {b, nothing}, {c, ""}
//   parts->setQueryItems(std::vector<ios::URLQueryItem>{{"q", "x&y"}});
//   parts->url();               // https://h/p?q=x%26y
//
// Fidelity: splits the text as URL::fromString parses it (nothing when it would give no
// URL). Query items are read in order, percent-decoded, with "+" kept as it is ("a" has
// no value, "a=" the empty value, an empty query no items). Setting them percent-encodes
// names and values for the query and also escapes "&", "=" and "+", so an item's text
// always reads back unchanged. Differs: URLs relative to a base URL are absent, so
// resolving against it changes nothing; the scheme, host and path setters are absent.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/URL.h"

namespace ios {

struct URLQueryItem {
  std::string name;
  std::optional<std::string> value;

  friend bool operator==(const URLQueryItem&, const URLQueryItem&) = default;
  // "name=value", or "name" when the item has no value.
  [[nodiscard]] std::string description() const { return value ? name + "=" + *value : name; }
};

class URLComponents {
 public:
  // The components of `url`. Every URL can be split, so the answer always has a value.
  [[nodiscard]] static std::optional<URLComponents> fromURL(const URL& url, bool resolvingAgainstBaseURL);
  // The components of `text`, or nothing when it is not a valid URL string.
  [[nodiscard]] static std::optional<URLComponents> fromString(std::string_view text);

  // The query as written (percent-encoded, without "?"), or nothing when there is none.
  [[nodiscard]] const std::optional<std::string>& percentEncodedQuery() const { return query_; }
  // Replaces the query by text that is already percent-encoded, kept exactly as given;
  // nothing removes the query.
  void setPercentEncodedQuery(std::optional<std::string> query) { query_ = std::move(query); }
  // The decoded query items in order, or nothing when there is no query.
  [[nodiscard]] std::optional<std::vector<URLQueryItem>> queryItems() const;
  // Replaces the query by `items`, encoded; nothing removes the query, an empty list
  // leaves an empty one ("?").
  void setQueryItems(const std::optional<std::vector<URLQueryItem>>& items);

  // The text the components form.
  [[nodiscard]] std::string string() const;
  // The URL the components form, or nothing when they form none.
  [[nodiscard]] std::optional<URL> url() const { return URL::fromString(string()); }

 private:
  URLComponents() = default;

  std::string head_;  // scheme, authority and path, as written
  std::optional<std::string> query_;
  std::optional<std::string> fragment_;
};

}  // namespace ios
