#include "platform/foundation/NSDataDetector.h"

#include <algorithm>
#include <string>

#include "platform/foundation/internal/Matches.h"

namespace ios {
namespace {

bool isAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c) { return isAlpha(c) || isDigit(c); }
bool isLocalPartChar(char c) { return isAlnum(c) || c == '.' || c == '_' || c == '%' || c == '+' || c == '-'; }
bool isLabelChar(char c) { return isAlnum(c) || c == '-'; }

// A character a link may hold: printable ASCII other than space and "<>\"{}|\\^`".
bool isLinkChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u <= 0x20 || u >= 0x7F) return false;
  return std::string_view("<>\"{}|\\^`").find(c) == std::string_view::npos;
}

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[at + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The end of the run of link characters at `at`, without trailing punctuation or
// unbalanced closing brackets.
std::size_t linkEnd(std::string_view text, std::size_t at) {
  std::size_t end = at;
  while (end < text.size() && isLinkChar(text[end])) ++end;
  for (;;) {
    if (end == at) return end;
    const char last = text[end - 1];
    if (std::string_view(".,;:!?'\"").find(last) != std::string_view::npos) {
      --end;
      continue;
    }
    if (last == ')' || last == ']') {
      const char open = last == ')' ? '(' : '[';
      const std::string_view link = text.substr(at, end - at);
      if (std::count(link.begin(), link.end(), last) > std::count(link.begin(), link.end(), open)) {
        --end;
        continue;
      }
    }
    return end;
  }
}

// The end of a domain of two or more labels whose last label is two or more letters,
// starting at `at`; `at` when there is none.
std::size_t domainEnd(std::string_view text, std::size_t at) {
  std::size_t p = at;
  std::size_t labels = 0;
  std::size_t lastLabelEnd = at;
  std::size_t validEnd = at;
  while (true) {
    const std::size_t labelStart = p;
    while (p < text.size() && isLabelChar(text[p])) ++p;
    if (p == labelStart) break;
    ++labels;
    lastLabelEnd = p;
    const std::string_view label = text.substr(labelStart, p - labelStart);
    if (labels >= 2 && label.size() >= 2 && std::all_of(label.begin(), label.end(), isAlpha)) validEnd = lastLabelEnd;
    if (p < text.size() && text[p] == '.' && p + 1 < text.size() && isLabelChar(text[p + 1])) {
      ++p;
      continue;
    }
    break;
  }
  return validEnd;
}

// The end of an e-mail address at `at`, or `at`.
std::size_t emailEnd(std::string_view text, std::size_t at) {
  std::size_t p = at;
  while (p < text.size() && isLocalPartChar(text[p])) ++p;
  if (p == at || p >= text.size() || text[p] != '@') return at;
  const std::size_t end = domainEnd(text, p + 1);
  return end == p + 1 ? at : end;
}

constexpr std::size_t kMaxSchemeLength = 32;

struct Link {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string url;
};

// The link that starts at byte `at`, if any; a bare e-mail address only when
// `addressMayStart`.
std::optional<Link> linkAt(std::string_view text, std::size_t at, bool addressMayStart) {
  // scheme "://" rest
  if (isAlpha(text[at])) {
    // Schemes are short; looking no further keeps the scan linear on long dotted runs.
    const std::size_t limit = std::min(text.size(), at + kMaxSchemeLength);
    std::size_t p = at + 1;
    while (p < limit && (isAlnum(text[p]) || text[p] == '+' || text[p] == '.' || text[p] == '-')) ++p;
    if (text.substr(p, 3) == "://") {
      const std::size_t end = linkEnd(text, at);
      if (end > p + 3) return Link{at, end, std::string(text.substr(at, end - at))};
    }
    if (startsWithNoCase(text, at, "mailto:")) {
      const std::size_t end = emailEnd(text, at + 7);
      if (end > at + 7) return Link{at, end, std::string(text.substr(at, end - at))};
    }
  }
  if (startsWithNoCase(text, at, "www.")) {
    const std::size_t end = linkEnd(text, at);
    const std::string_view link = text.substr(at, end - at);
    const std::string_view host = link.substr(0, link.find_first_of("/?#:"));
    if (host.size() > 4 && host.find('.', 4) != std::string_view::npos && host.back() != '.') {
      return Link{at, end, "http://" + std::string(link)};
    }
  }
  const std::size_t end = addressMayStart ? emailEnd(text, at) : at;
  if (end > at) return Link{at, end, "mailto:" + std::string(text.substr(at, end - at))};
  return std::nullopt;
}

}  // namespace

NSDataDetector::NSDataDetector(std::uint64_t types) : types_(types) {}

void NSDataDetector::enumerateMatches(std::string_view text, NSRange range,
                                      const std::function<void(const NSTextCheckingResult&, bool& stop)>& body) const {
  if ((types_ & link) == 0) return;
  const auto [from, to] = matches_internal::byteRange(text, range);
  const std::string_view scope = text.substr(0, to);
  std::size_t unitsBefore = utf16Offset(text, from);
  std::size_t counted = from;  // byte offset that unitsBefore refers to
  for (std::size_t at = from; at < scope.size();) {
    const bool wordStart = at == 0 || !isAlnum(scope[at - 1]);
    // A bare address starts where a run of the characters of its local part starts, so
    // "a.b@example.org" is found once, from "a".
    const bool localStart = at == 0 || !isLocalPartChar(scope[at - 1]);
    std::optional<Link> found;
    if (wordStart) found = linkAt(scope, at, localStart);
    if (!found) {
      ++at;
      continue;
    }
    unitsBefore += utf16Offset(text.substr(counted), found->begin - counted);
    const std::size_t length = utf16Offset(text.substr(found->begin), found->end - found->begin);
    counted = found->begin;
    at = found->end;
    std::optional<URL> url = URL::fromString(found->url);
    if (!url) continue;
    bool stop = false;
    body(NSTextCheckingResult{NSRange{unitsBefore, length}, std::move(url)}, stop);
    if (stop) return;
  }
}

std::vector<NSTextCheckingResult> NSDataDetector::matches(std::string_view text, NSRange range) const {
  return matches_internal::all([&](const auto& body) { enumerateMatches(text, range, body); });
}

std::optional<NSTextCheckingResult> NSDataDetector::firstMatch(std::string_view text, NSRange range) const {
  return matches_internal::first([&](const auto& body) { enumerateMatches(text, range, body); });
}

}  // namespace ios
