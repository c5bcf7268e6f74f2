#include "platform/foundation/internal/Regex.h"

#include <algorithm>
#include <limits>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/foundation/NSRegularExpression.h"
#include "platform/foundation/internal/ICU.h"

namespace ios::regex_internal {

// The time limit of a match attempt over a text of `length` bytes.
std::int32_t timeLimit(std::int64_t length) {
  constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
  const std::int64_t units =
      NSRegularExpression::matchTimeLimit + std::max<std::int64_t>(length, 0) / NSRegularExpression::matchTimeLimitBytesPerUnit;
  return static_cast<std::int32_t>(std::min(units, most));
}

// The backtracking memory of a match attempt over a text of `length` bytes.
std::int32_t stackLimit(std::int64_t length) {
  const std::int64_t bytes = std::min(NSRegularExpression::matchStackLimit +
                                          std::max<std::int64_t>(length, 0) * NSRegularExpression::matchStackBytesPerTextByte,
                                      NSRegularExpression::matchStackLimitMost);
  return static_cast<std::int32_t>(bytes);
}

class CompiledPattern {
 public:
  explicit CompiledPattern(std::unique_ptr<icu::RegexPattern> pattern) : pattern_(std::move(pattern)) {}

  // A matcher over `text`, which must outlive it, with the time limit of each match
  // attempt and its backtracking memory set. The UText is owned by the caller.
  [[nodiscard]] std::unique_ptr<icu::RegexMatcher> matcher(UText* text) const {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> m(pattern_->matcher(status));
    if (U_FAILURE(status) || !m) return nullptr;
    m->reset(text);
    const std::int64_t length = utext_nativeLength(text);
    m->setTimeLimit(timeLimit(length), status);
    m->setStackLimit(stackLimit(length), status);
    if (U_FAILURE(status)) return nullptr;
    return m;
  }

 private:
  std::unique_ptr<icu::RegexPattern> pattern_;
};

namespace {

std::uint32_t icuFlags(std::uint32_t flags) {
  using O = NSRegularExpression;
  std::uint32_t out = 0;
  if (flags & O::caseInsensitive) out |= UREGEX_CASE_INSENSITIVE;
  if (flags & O::allowCommentsAndWhitespace) out |= UREGEX_COMMENTS;
  if (flags & O::ignoreMetacharacters) out |= UREGEX_LITERAL;
  if (flags & O::dotMatchesLineSeparators) out |= UREGEX_DOTALL;
  if (flags & O::anchorsMatchLines) out |= UREGEX_MULTILINE;
  if (flags & O::useUnixLineSeparators) out |= UREGEX_UNIX_LINES;
  if (flags & O::useUnicodeWordBoundaries) out |= UREGEX_UWORD;
  return out;
}

// A bounded cache of compiled patterns, most recently used first.
class PatternCache {
 public:
  std::shared_ptr<const CompiledPattern> get(const std::string& key) {
    std::lock_guard lock(mutex_);
    auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, found->second);
    return found->second->second;
  }
  void put(const std::string& key, std::shared_ptr<const CompiledPattern> pattern) {
    std::lock_guard lock(mutex_);
    if (index_.count(key)) return;
    order_.emplace_front(key, std::move(pattern));
    index_[key] = order_.begin();
    if (order_.size() > kCapacity) {
      index_.erase(order_.back().first);
      order_.pop_back();
    }
  }

 private:
  static constexpr std::size_t kCapacity = 64;
  using Entry = std::pair<std::string, std::shared_ptr<const CompiledPattern>>;
  std::mutex mutex_;
  std::list<Entry> order_;
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};

PatternCache& cache() {
  static PatternCache* instance = new PatternCache;  // never destroyed: used until exit
  return *instance;
}

struct UTF8Text {
  explicit UTF8Text(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    utext_openUTF8(&handle, text.data(), static_cast<int64_t>(text.size()), &status);
    ok = U_SUCCESS(status);
  }
  ~UTF8Text() { utext_close(&handle); }
  UTF8Text(const UTF8Text&) = delete;
  UTF8Text& operator=(const UTF8Text&) = delete;
  UText handle = UTEXT_INITIALIZER;
  bool ok = false;
};

}  // namespace

std::shared_ptr<const CompiledPattern> compile(std::string_view pattern, std::uint32_t flags) {
  std::string key = std::to_string(flags) + ':';
  key.append(pattern);
  if (auto cached = cache().get(key)) return cached;
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError{};
  std::unique_ptr<icu::RegexPattern> compiled(
      icu::RegexPattern::compile(icu_internal::toUnicode(pattern), icuFlags(flags), parseError, status));
  if (U_FAILURE(status) || !compiled) return nullptr;
  auto made = std::make_shared<const CompiledPattern>(std::move(compiled));
  cache().put(key, made);
  return made;
}

bool matchesWhole(const CompiledPattern& pattern, std::string_view text) {
  UTF8Text utext(text);
  if (!utext.ok) return false;
  auto matcher = pattern.matcher(&utext.handle);
  if (!matcher) return false;
  UErrorCode status = U_ZERO_ERROR;
  const bool matched = matcher->matches(status);
  return U_SUCCESS(status) && matched;
}

void forEachMatch(const CompiledPattern& pattern, std::string_view text, std::size_t from, std::size_t to,
                  const std::function<bool(std::size_t, std::size_t)>& found) {
  UTF8Text utext(text);
  if (!utext.ok) return;
  auto matcher = pattern.matcher(&utext.handle);
  if (!matcher) return;
  UErrorCode status = U_ZERO_ERROR;
  matcher->region(static_cast<int64_t>(from), static_cast<int64_t>(to), status);
  if (U_FAILURE(status)) return;
  // Native indices of a UTF-8 UText are byte offsets.
  while (matcher->find(status) && U_SUCCESS(status)) {
    const auto begin = static_cast<std::size_t>(matcher->start64(status));
    const auto end = static_cast<std::size_t>(matcher->end64(status));
    if (U_FAILURE(status) || !found(begin, end)) return;
  }
}

}  // namespace ios::regex_internal
