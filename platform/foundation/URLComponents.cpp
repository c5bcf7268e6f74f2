#include "platform/foundation/URLComponents.h"

#include <cctype>

namespace ios {
namespace {

// The query characters an item's name or value may hold unescaped: RFC 3986's query set
// without the separators "&" and "=" and without "+", which many servers read as a space.
bool isQueryItemCharacter(unsigned char c) {
  if (std::isalnum(c)) return true;
  return std::string_view("-._~!$'()*,;:@/?").find(static_cast<char>(c)) != std::string_view::npos;
}

// Escapes every byte that is not a query item character. Each byte of a multi-byte
// scalar is escaped, and so is a byte of ill-formed UTF-8, so no input is lost.
std::string encodeQueryItemText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (isQueryItemCharacter(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

// The decoded form of an item's text; a text whose escapes do not decode is kept as written.
std::string decodeQueryItemText(std::string_view text) {
  return removingPercentEncoding(text).value_or(std::string(text));
}

}  // namespace

std::optional<URLComponents> URLComponents::fromURL(const URL& url, bool /*resolvingAgainstBaseURL*/) {
  return fromString(url.absoluteString());
}

std::optional<URLComponents> URLComponents::fromString(std::string_view text) {
  const std::optional<URL> url = URL::fromString(text);
  if (!url) return std::nullopt;
  URLComponents components;
  components.query_ = url->query();
  components.fragment_ = url->fragment();
  std::size_t headLength = text.size();
  if (components.fragment_) headLength -= components.fragment_->size() + 1;
  if (components.query_) headLength -= components.query_->size() + 1;
  components.head_ = std::string(text.substr(0, headLength));
  return components;
}

std::optional<std::vector<URLQueryItem>> URLComponents::queryItems() const {
  if (!query_) return std::nullopt;
  std::vector<URLQueryItem> items;
  if (query_->empty()) return items;
  std::size_t pos = 0;
  while (true) {
    std::size_t end = query_->find('&', pos);
    if (end == std::string::npos) end = query_->size();
    const std::string_view piece = std::string_view(*query_).substr(pos, end - pos);
    const std::size_t equals = piece.find('=');
    URLQueryItem item;
    if (equals == std::string_view::npos) {
      item.name = decodeQueryItemText(piece);
    } else {
      item.name = decodeQueryItemText(piece.substr(0, equals));
      item.value = decodeQueryItemText(piece.substr(equals + 1));
    }
    items.push_back(std::move(item));
    if (end == query_->size()) break;
    pos = end + 1;
  }
  return items;
}

void URLComponents::setQueryItems(const std::optional<std::vector<URLQueryItem>>& items) {
  if (!items) {
    query_.reset();
    return;
  }
  std::string query;
  for (std::size_t i = 0; i < items->size(); ++i) {
    const URLQueryItem& item = (*items)[i];
    if (i > 0) query += '&';
    query += encodeQueryItemText(item.name);
    if (item.value) {
      query += '=';
      query += encodeQueryItemText(*item.value);
    }
  }
  query_ = std::move(query);
}

std::string URLComponents::string() const {
  std::string text = head_;
  if (query_) text += "?" + *query_;
  if (fragment_) text += "#" + *fragment_;
  return text;
}

}  // namespace ios
