#include "platform/foundation/NSDataDetector.h"

#include <algorithm>
#include <array>
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

bool isTrailingPunctuation(char c) { return std::string_view(".,;:!?'\"").find(c) != std::string_view::npos; }

// The brackets "(", ")", "[" and "]" counted in a stretch of text.
using BracketCounts = std::array<std::ptrdiff_t, 4>;

void countBrackets(std::string_view text, std::size_t from, std::size_t to, BracketCounts& counts) {
  for (std::size_t i = from; i < to; ++i) {
    const std::size_t k = std::string_view("()[]").find(text[i]);
    if (k != std::string_view::npos) ++counts[k];
  }
}

// The run of link characters a scan is in, measured once however many links are tried
// from word starts inside it; measuring it (or counting its brackets) afresh for each
// would make a long run cost time quadratic in its length. The scan moves forward, so
// the brackets before a start are counted on from the previous start.
class LinkRun {
 public:
  explicit LinkRun(std::string_view text) : text_(text) {}

  // Measures the run of link characters that `at` starts or lies in.
  void measure(std::size_t at) {
    if (at >= from_ && at < end_) return;
    from_ = at;
    end_ = at;
    while (end_ < text_.size() && isLinkChar(text_[end_])) ++end_;
    plainEnd_ = end_;
    while (plainEnd_ > from_ && isTrailingPunctuation(text_[plainEnd_ - 1])) --plainEnd_;
    hardEnd_ = plainEnd_;
    while (hardEnd_ > from_ && (isTrailingPunctuation(text_[hardEnd_ - 1]) ||
                                std::string_view("()[]").find(text_[hardEnd_ - 1]) != std::string_view::npos)) {
      --hardEnd_;
    }
    plain_.fill(0);
    countBrackets(text_, from_, plainEnd_, plain_);
    cursor_ = from_;
    before_.fill(0);
    delimiterFrom_ = end_;
    delimiter_ = end_;
  }
  // The run's end without its trailing punctuation (as far back as where it was measured).
  [[nodiscard]] std::size_t plainEnd() const { return plainEnd_; }
  // The end of the run's last character that no link loses from its end (neither
  // punctuation nor a bracket); a link of the run ends there or later.
  [[nodiscard]] std::size_t hardEnd() const { return hardEnd_; }
  // The first of "/?#:" at `at` or after it in the run, or the run's end.
  [[nodiscard]] std::size_t delimiterFrom(std::size_t at) {
    if (at < delimiterFrom_ || at > delimiter_) {
      delimiterFrom_ = at;
      delimiter_ = at;
      while (delimiter_ < end_ && std::string_view("/?#:").find(text_[delimiter_]) == std::string_view::npos) {
        ++delimiter_;
      }
    }
    return delimiter_;
  }
  // The brackets from `at` (inside the run, at or after the previous start) to plainEnd().
  [[nodiscard]] BracketCounts bracketsFrom(std::size_t at) {
    if (at < cursor_) {
      cursor_ = from_;
      before_.fill(0);
    }
    countBrackets(text_, cursor_, at, before_);
    cursor_ = at;
    BracketCounts rest;
    for (std::size_t k = 0; k < rest.size(); ++k) rest[k] = plain_[k] - before_[k];
    return rest;
  }

 private:
  std::string_view text_;
  std::size_t from_ = 0;
  std::size_t end_ = 0;
  std::size_t plainEnd_ = 0;
  std::size_t hardEnd_ = 0;
  std::size_t delimiterFrom_ = 0;
  std::size_t delimiter_ = 0;
  BracketCounts plain_{};   // in [from_, plainEnd_)
  std::size_t cursor_ = 0;
  BracketCounts before_{};  // in [from_, cursor_)
};

// The end of the run of link characters at `at`, without trailing punctuation or
// unbalanced closing brackets. The counts of brackets follow each one taken off, so
// that a long run of closing brackets costs linear time.
std::size_t linkEnd(std::string_view text, std::size_t at, LinkRun& run) {
  run.measure(at);
  if (run.plainEnd() <= at) return at;
  std::size_t end = run.plainEnd();
  BracketCounts counts = run.bracketsFrom(at);  // in [at, end)
  for (;;) {
    if (end == at) return end;
    const char last = text[end - 1];
    if (isTrailingPunctuation(last)) {
      --end;
      continue;
    }
    if (last == ')' || last == ']') {
      const std::size_t close = last == ')' ? 1 : 3;
      if (counts[close] > counts[close - 1]) {
        --counts[close];
        --end;
        continue;
      }
    }
    return end;
  }
}

// Whether the host of a "www." link at `at` could have a dot after "www.": the host is
// what comes before the first of "/?#:", or a shorter part of it once trailing
// punctuation is taken off; without such a dot no part of it is a host. Looking only
// that far keeps a long run of "www." starts without a host linear.
bool mayHoldHost(std::string_view text, std::size_t at) {
  for (std::size_t i = at + 4; i < text.size() && isLinkChar(text[i]); ++i) {
    if (text[i] == '.') return true;
    if (std::string_view("/?#:").find(text[i]) != std::string_view::npos) return false;
  }
  return false;
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
std::optional<Link> linkAt(std::string_view text, std::size_t at, bool addressMayStart, LinkRun& run) {
  // scheme "://" rest
  if (isAlpha(text[at])) {
    // Schemes are short; looking no further keeps the scan linear on long dotted runs.
    const std::size_t limit = std::min(text.size(), at + kMaxSchemeLength);
    std::size_t p = at + 1;
    while (p < limit && (isAlnum(text[p]) || text[p] == '+' || text[p] == '.' || text[p] == '-')) ++p;
    if (text.substr(p, 3) == "://") {
      const std::size_t end = linkEnd(text, at, run);
      if (end > p + 3) return Link{at, end, std::string(text.substr(at, end - at))};
    }
    if (startsWithNoCase(text, at, "mailto:")) {
      const std::size_t end = emailEnd(text, at + 7);
      if (end > at + 7) return Link{at, end, std::string(text.substr(at, end - at))};
    }
  }
  if (startsWithNoCase(text, at, "www.") && mayHoldHost(text, at)) {
    run.measure(at);
    const std::size_t delimiter = run.delimiterFrom(at);
    // When the link surely reaches past the first delimiter, its host is known without
    // finding where the link ends (which a refused host would not need).
    const bool hostKnown = run.hardEnd() > delimiter;
    const std::string_view known = text.substr(at, delimiter - at);
    if (!hostKnown || (known.size() > 4 && known.back() != '.')) {
      const std::size_t end = linkEnd(text, at, run);
      const std::string_view link = text.substr(at, end - at);
      const std::string_view host = link.substr(0, link.find_first_of("/?#:"));
      if (host.size() > 4 && host.find('.', 4) != std::string_view::npos && host.back() != '.') {
        return Link{at, end, "http://" + std::string(link)};
      }
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
  LinkRun run(scope);
  for (std::size_t at = from; at < scope.size();) {
    const bool wordStart = at == 0 || !isAlnum(scope[at - 1]);
    // A bare address starts where a run of the characters of its local part starts, so
    // "a.b@example.org" is found once, from "a".
    const bool localStart = at == 0 || !isLocalPartChar(scope[at - 1]);
    std::optional<Link> found;
    if (wordStart) found = linkAt(scope, at, localStart, run);
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
