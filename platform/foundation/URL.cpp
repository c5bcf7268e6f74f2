#include "platform/foundation/URL.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/foundation/Precondition.h"
#include "platform/foundation/internal/UTF8.h"
#include "platform/foundation/internal/Unicode.h"

namespace ios {
namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (std::tolower(static_cast<unsigned char>(c)) - 'a') + 10;
}

// Characters that may stand anywhere in a URL string (unreserved, reserved, "%").
bool isURLCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u <= 0x20 || u >= 0x7f) return false;
  switch (c) {
    case '"': case '<': case '>': case '\\': case '^': case '`':
    case '{': case '|': case '}':
      return false;
    default:
      return true;
  }
}

}  // namespace

std::optional<std::string> addingPercentEncoding(std::string_view text, const CharacterSet& allowed) {
  if (!utf8_internal::isValid(text)) return std::nullopt;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const char32_t scalar = unicode_internal::decodeScalar(text, i);
    if (allowed.contains(scalar)) {
      out.append(text.substr(start, i - start));
      continue;
    }
    for (std::size_t k = start; k < i; ++k) {
      const auto byte = static_cast<unsigned char>(text[k]);
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

std::optional<std::string> removingPercentEncoding(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (text.size() - i < 3) return std::nullopt;
    if (!isHex(text[i + 1]) || !isHex(text[i + 2])) return std::nullopt;
    out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
    i += 2;
  }
  if (!utf8_internal::isValid(out)) return std::nullopt;
  return out;
}

std::optional<URL> URL::fromString(std::string_view text) {
  if (text.empty()) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!isURLCharacter(text[i])) return std::nullopt;
    if (text[i] == '%' && (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2]))) {
      return std::nullopt;
    }
  }

  URL url;
  url.text_ = std::string(text);
  const std::string& s = url.text_;
  std::size_t pos = 0;

  // scheme ":" — a letter followed by letters, digits, "+", "-", "." before the first ":".
  const std::size_t colon = s.find(':');
  const std::size_t firstDelimiter = s.find_first_of("/?#");
  if (colon != std::string::npos && colon > 0 && (firstDelimiter == std::string::npos || colon < firstDelimiter) &&
      std::isalpha(static_cast<unsigned char>(s[0]))) {
    bool schemeOk = true;
    for (std::size_t i = 1; i < colon; ++i) {
      const char c = s[i];
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') schemeOk = false;
    }
    if (schemeOk) {
      url.scheme_ = {0, colon, true};
      pos = colon + 1;
    }
  }

  // "//" authority
  if (s.compare(pos, 2, "//") == 0) {
    const std::size_t begin = pos + 2;
    std::size_t end = s.find_first_of("/?#", begin);
    if (end == std::string::npos) end = s.size();
    url.authority_ = {begin, end, true};
    std::size_t hostBegin = begin;
    const std::size_t at = std::string_view(s).substr(begin, end - begin).rfind('@');
    if (at != std::string_view::npos) hostBegin = begin + at + 1;
    std::size_t hostEnd = end;
    if (hostBegin < end && s[hostBegin] == '[') {
      const std::size_t close = s.find(']', hostBegin);
      if (close == std::string::npos || close >= end) return std::nullopt;
      hostEnd = close + 1;
    } else {
      const std::size_t portColon = s.find(':', hostBegin);
      if (portColon != std::string::npos && portColon < end) hostEnd = portColon;
    }
    if (hostEnd < end && s[hostEnd] == ':') {
      for (std::size_t i = hostEnd + 1; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return std::nullopt;
      }
    }
    for (std::size_t i = begin; i < end; ++i) {
      if ((s[i] == '[' || s[i] == ']') && (i < hostBegin || i >= hostEnd)) return std::nullopt;
    }
    url.host_ = {hostBegin, hostEnd, true};
    pos = end;
  }

  std::size_t pathEnd = s.find_first_of("?#", pos);
  if (pathEnd == std::string::npos) pathEnd = s.size();
  url.path_ = {pos, pathEnd, true};
  pos = pathEnd;

  if (pos < s.size() && s[pos] == '?') {
    std::size_t end = s.find('#', pos + 1);
    if (end == std::string::npos) end = s.size();
    url.query_ = {pos + 1, end, true};
    pos = end;
  }
  if (pos < s.size() && s[pos] == '#') {
    url.fragment_ = {pos + 1, s.size(), true};
    if (s.find('#', pos + 1) != std::string::npos) return std::nullopt;
  }
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((s[i] == '[' || s[i] == ']') && !(url.host_.present && i >= url.host_.begin && i < url.host_.end)) {
      return std::nullopt;
    }
  }
  return url;
}

URL URL::fileURLWithPath(std::string_view path) {
  std::string absolute;
  if (!path.starts_with('/')) {
    // A relative path names a file in the current directory. (Written after "file://"
    // as it is, "a:b" would read as a host and a port.)
    std::error_code error;
    absolute = std::filesystem::current_path(error).string();
    if (error || absolute.empty()) absolute = "/";
    if (!absolute.ends_with('/')) absolute += '/';
  }
  absolute += path;
  std::string encoded = "file://";
  for (unsigned char c : absolute) {
    if (std::isalnum(c) || std::string_view("-._~/!$&'()*+,;=:@").find(static_cast<char>(c)) != std::string_view::npos) {
      encoded += static_cast<char>(c);
    } else {
      static const char* digits = "0123456789ABCDEF";
      encoded += '%';
      encoded += digits[c >> 4];
      encoded += digits[c & 15];
    }
  }
  // An absolute path of unreserved and escaped characters always forms a URL.
  auto url = fromString(encoded);
  KP_PRECONDITION(url.has_value(), "URL: a file path formed no URL");
  return *url;
}

std::optional<std::string> URL::scheme() const {
  if (!scheme_.present) return std::nullopt;
  return part(scheme_);
}

std::optional<std::string> URL::host() const {
  if (!host_.present) return std::nullopt;
  return removingPercentEncoding(part(host_));
}

std::string URL::path() const { return removingPercentEncoding(part(path_)).value_or(part(path_)); }

std::optional<std::string> URL::query() const {
  if (!query_.present) return std::nullopt;
  return part(query_);
}

std::optional<std::string> URL::fragment() const {
  if (!fragment_.present) return std::nullopt;
  return part(fragment_);
}

std::vector<std::string> URL::pathComponents() const {
  std::vector<std::string> components;
  const std::string raw = part(path_);
  if (raw.empty()) return components;
  std::size_t pos = 0;
  if (raw[0] == '/') {
    components.push_back("/");
    pos = 1;
  }
  while (pos < raw.size()) {
    std::size_t slash = raw.find('/', pos);
    if (slash == std::string::npos) slash = raw.size();
    if (slash > pos) {
      std::string segment = raw.substr(pos, slash - pos);
      components.push_back(removingPercentEncoding(segment).value_or(segment));
    }
    pos = slash + 1;
  }
  return components;
}

std::string URL::lastPathComponent() const {
  auto components = pathComponents();
  return components.empty() ? std::string() : components.back();
}

URL URL::deletingLastPathComponents(std::size_t count) const {
  std::string raw = part(path_);
  if (raw.empty() || raw == "/" || count == 0) return *this;
  // Each step only shortens the path from its end, so all of them cost one pass.
  for (std::size_t i = 0; i < count && !raw.empty() && raw != "/"; ++i) {
    while (raw.size() > 1 && raw.back() == '/') raw.pop_back();
    const std::size_t slash = raw.rfind('/');
    if (slash == std::string::npos) {
      raw = "./";
    } else {
      raw.resize(slash + 1);
    }
  }
  std::string text = text_.substr(0, path_.begin) + raw + text_.substr(path_.end);
  // Removing characters from a valid URL leaves a valid one; keep the receiver should
  // that ever fail.
  return fromString(text).value_or(*this);
}

bool URL::isFileURL() const { return scheme_.present && part(scheme_) == "file"; }

}  // namespace ios
