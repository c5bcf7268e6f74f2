#include "platform/foundation/NSString.h"

#include <algorithm>

#include "platform/foundation/NSRegularExpression.h"
#include "platform/foundation/Precondition.h"
#include "platform/foundation/internal/Regex.h"
#include "platform/foundation/internal/Unicode.h"

namespace ios {
namespace {

namespace u = unicode_internal;

bool isASCII(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

constexpr CompareOptions kFoldingOptions =
    static_cast<CompareOptions>(static_cast<std::uint32_t>(CompareOptions::caseInsensitive) |
                                static_cast<std::uint32_t>(CompareOptions::diacriticInsensitive) |
                                static_cast<std::uint32_t>(CompareOptions::widthInsensitive));

bool anyOption(CompareOptions options, CompareOptions any) {
  return (static_cast<std::uint32_t>(options) & static_cast<std::uint32_t>(any)) != 0;
}

// The comparison key of one cluster (or of any text) under the folding options:
// decomposed, then case-folded, stripped of non-spacing marks, width-folded.
std::string foldKey(std::string_view cluster, CompareOptions options) {
  const bool caseless = hasOptions(options, CompareOptions::caseInsensitive);
  // An ill-formed byte only matches itself (reading it as U+FFFD would make every stray
  // byte equal to every other).
  if (!u::isValidUTF8(cluster)) return std::string(cluster);
  if (isASCII(cluster)) {
    std::string out(cluster);
    if (caseless) {
      for (char& c : out) c = static_cast<char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
    }
    return out;
  }
  std::string key = hasOptions(options, CompareOptions::widthInsensitive) ? u::nfkd(cluster) : u::nfd(cluster);
  if (caseless) key = u::nfd(u::foldCase(key));
  if (hasOptions(options, CompareOptions::diacriticInsensitive)) {
    std::string stripped;
    for (std::size_t p = 0; p < key.size();) {
      const char32_t c = u::decodeScalar(key, p);
      if (u::generalCategory(c) != u::GeneralCategory::Mn) u::appendUTF8(stripped, c);
    }
    key = std::move(stripped);
  }
  return key;
}

// Finds occurrences of a target in a text. Without the literal option both sides are
// compared cluster by cluster through their keys, and a match must start and end on
// cluster boundaries.
class Searcher {
 public:
  Searcher(std::string_view text, std::string_view target, CompareOptions options) : text_(text) {
    literal_ = hasOptions(options, CompareOptions::literal) && !anyOption(options, kFoldingOptions);
    if (literal_) {
      target_ = std::string(target);
      return;
    }
    const std::vector<std::size_t> bounds = u::graphemeBoundaries(text);
    byteStarts_ = bounds;
    keyStarts_.reserve(bounds.size());
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
      keyStarts_.push_back(keys_.size());
      keys_ += foldKey(text.substr(bounds[i], bounds[i + 1] - bounds[i]), options);
    }
    keyStarts_.push_back(keys_.size());
    const std::vector<std::size_t> targetBounds = u::graphemeBoundaries(target);
    for (std::size_t i = 0; i + 1 < targetBounds.size(); ++i) {
      target_ += foldKey(target.substr(targetBounds[i], targetBounds[i + 1] - targetBounds[i]), options);
    }
  }

  // The byte range of the first occurrence that starts at or after byte `from`.
  std::optional<ByteRange> next(std::size_t from) const {
    if (target_.empty()) return std::nullopt;
    if (literal_) {
      const std::size_t at = text_.find(target_, from);
      if (at == std::string_view::npos) return std::nullopt;
      return ByteRange{at, target_.size()};
    }
    const auto cluster = std::lower_bound(byteStarts_.begin(), byteStarts_.end(), from) - byteStarts_.begin();
    if (static_cast<std::size_t>(cluster) >= keyStarts_.size()) return std::nullopt;
    std::size_t position = keyStarts_[static_cast<std::size_t>(cluster)];
    while ((position = keys_.find(target_, position)) != std::string::npos) {
      // The match starts with the cluster whose key holds its first byte: clusters that
      // fold to nothing (a lone combining mark under diacriticInsensitive) before it are
      // not part of it, so a match never starts before the cluster searched from.
      const auto begin = std::upper_bound(keyStarts_.begin(), keyStarts_.end(), position) - 1;
      const auto end = std::lower_bound(begin, keyStarts_.end(), position + target_.size());
      if (*begin == position && end != keyStarts_.end() && *end == position + target_.size()) {
        const std::size_t first = byteStarts_[static_cast<std::size_t>(begin - keyStarts_.begin())];
        const std::size_t last = byteStarts_[static_cast<std::size_t>(end - keyStarts_.begin())];
        return ByteRange{first, last - first};
      }
      ++position;
    }
    return std::nullopt;
  }

 private:
  std::string_view text_;
  bool literal_ = false;
  std::string target_;
  std::string keys_;
  std::vector<std::size_t> keyStarts_;   // key offset of every cluster, then keys_.size()
  std::vector<std::size_t> byteStarts_;  // byte offset of every cluster, then text.size()
};

// Every occurrence, left to right; non-overlapping unless `overlapping`.
std::vector<ByteRange> allOccurrences(std::string_view text, std::string_view target, CompareOptions options,
                                      bool overlapping = false) {
  std::vector<ByteRange> out;
  if (target.empty()) return out;
  if (hasOptions(options, CompareOptions::regularExpression)) {
    const auto pattern = regex_internal::compile(
        target, hasOptions(options, CompareOptions::caseInsensitive) ? static_cast<std::uint32_t>(NSRegularExpression::caseInsensitive) : 0u);
    if (!pattern) return out;
    regex_internal::forEachMatch(*pattern, text, 0, text.size(), [&](std::size_t begin, std::size_t end) {
      out.emplace_back(begin, end - begin);
      return true;
    });
    return out;
  }
  const Searcher searcher(text, target, options);
  for (std::size_t from = 0; from <= text.size();) {
    const auto found = searcher.next(from);
    if (!found) break;
    out.push_back(*found);
    from = found->first + (overlapping ? 1 : std::max<std::size_t>(found->second, 1));
  }
  return out;
}

}  // namespace

std::size_t utf16Length(std::string_view text) { return utf16Offset(text, text.size()); }

std::size_t utf16Offset(std::string_view text, std::size_t byteOffset) {
  KP_PRECONDITION(byteOffset <= text.size(), "utf16Offset: offset past the end of the text");
  std::size_t units = 0;
  for (std::size_t position = 0; position < byteOffset;) {
    if (static_cast<unsigned char>(text[position]) < 0x80) {
      ++position, ++units;
      continue;
    }
    const char32_t c = u::decodeScalar(text, position);
    if (position > byteOffset) break;  // the offset lies inside this scalar
    units += c > 0xFFFF ? 2 : 1;
  }
  return units;
}

std::size_t utf8Offset(std::string_view text, std::size_t unitOffset) {
  std::size_t units = 0;
  std::size_t position = 0;
  while (position < text.size() && units < unitOffset) {
    const char32_t c = u::decodeScalar(text, position);
    units += c > 0xFFFF ? 2 : 1;
  }
  return position;
}

std::optional<ByteRange> range(std::string_view text, std::string_view target, CompareOptions options) {
  const bool backwards = hasOptions(options, CompareOptions::backwards);
  // Searching backwards looks at overlapping occurrences too, so that the last one
  // found is the one that starts last.
  const std::vector<ByteRange> found = allOccurrences(text, target, options, backwards);
  if (found.empty()) return std::nullopt;
  const ByteRange chosen = backwards ? found.back() : found.front();
  if (hasOptions(options, CompareOptions::anchored)) {
    const bool atEdge = backwards ? chosen.first + chosen.second == text.size() : chosen.first == 0;
    if (!atEdge) return std::nullopt;
  }
  return chosen;
}

std::string replacingOccurrences(std::string_view text, std::string_view target, std::string_view replacement,
                                 CompareOptions options) {
  std::string out;
  std::size_t copied = 0;
  for (const auto& [begin, length] : allOccurrences(text, target, options)) {
    out.append(text.substr(copied, begin - copied));
    out.append(replacement);
    copied = begin + length;
  }
  out.append(text.substr(copied));
  return out;
}

std::vector<std::string> components(std::string_view text, std::string_view separator) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (const auto& [begin, length] : allOccurrences(text, separator, CompareOptions::none)) {
    out.emplace_back(text.substr(start, begin - start));
    start = begin + length;
  }
  out.emplace_back(text.substr(start));
  return out;
}

std::vector<std::string> components(std::string_view text, const CharacterSet& separators) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t position = 0; position < text.size();) {
    const std::size_t at = position;
    const char32_t c = u::decodeScalar(text, position);
    if (separators.contains(c)) {
      out.emplace_back(text.substr(start, at - start));
      start = position;
    }
  }
  out.emplace_back(text.substr(start));
  return out;
}

std::string trimmingCharacters(std::string_view text, const CharacterSet& set) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t next = begin;
    if (!set.contains(u::decodeScalar(text, next))) break;
    begin = next;
  }
  std::size_t end = begin;  // one past the last scalar not in the set
  for (std::size_t position = begin; position < text.size();) {
    if (!set.contains(u::decodeScalar(text, position))) end = position;
  }
  return std::string(text.substr(begin, end - begin));
}

namespace {

// The title-cased form of one word: the first scalar in title case, the rest in lower
// case; ASCII words without ICU.
void appendTitlecasedWord(std::string& out, std::string_view word) {
  const std::size_t start = out.size();
  out.append(word);
  for (std::size_t i = start; i < out.size(); ++i) {
    const char c = out[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
      out.resize(start);
      out += u::titlecasedWord(word);
      return;
    }
    if (i == start && c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 'a' + 'A');
    if (i > start && c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
  }
}

}  // namespace

std::string capitalized(std::string_view text) {
  const CharacterSet delimiters = CharacterSet::whitespacesAndNewlines();
  std::string out;
  out.reserve(text.size());
  std::size_t wordStart = std::string_view::npos;
  const auto flushWord = [&](std::size_t end) {
    if (wordStart != std::string_view::npos) appendTitlecasedWord(out, text.substr(wordStart, end - wordStart));
    wordStart = std::string_view::npos;
  };
  for (std::size_t position = 0; position < text.size();) {
    const std::size_t at = position;
    const auto byte = static_cast<unsigned char>(text[at]);
    bool delimiter = false;
    char32_t c = byte;
    if (byte < 0x80) {
      ++position;
      delimiter = byte == ' ' || (byte >= '\t' && byte <= '\r');  // the ASCII members of the set
    } else {
      c = u::decodeScalar(text, position);
      delimiter = delimiters.contains(c);
    }
    if (delimiter) {
      flushWord(at);
      out.append(text.substr(at, position - at));
    } else if (wordStart == std::string_view::npos) {
      wordStart = at;
    }
  }
  flushWord(text.size());
  return out;
}

std::string folding(std::string_view text, CompareOptions options) {
  const auto folds = static_cast<CompareOptions>(static_cast<std::uint32_t>(options) &
                                                 static_cast<std::uint32_t>(kFoldingOptions));
  return u::nfc(foldKey(text, folds));
}

void enumerateLines(std::string_view text, const std::function<void(std::string_view)>& body) {
  std::size_t lineStart = 0;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t at = position;
    const char32_t c = u::decodeScalar(text, position);
    const bool terminator = c == U'\n' || c == U'\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
    if (!terminator) continue;
    body(text.substr(lineStart, at - lineStart));
    if (c == U'\r' && position < text.size() && text[position] == '\n') ++position;
    lineStart = position;
  }
  if (lineStart < text.size()) body(text.substr(lineStart));
}

std::string appendingPathComponent(std::string_view path, std::string_view component) {
  std::string joined(path);
  if (!joined.empty() && !component.empty()) joined += '/';
  joined.append(component);
  std::string out;
  for (char c : joined) {
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

std::string lastPathComponent(std::string_view path) {
  std::size_t end = path.size();
  while (end > 1 && path[end - 1] == '/') --end;
  const std::string_view trimmed = path.substr(0, end);
  if (trimmed == "/") return "/";
  const std::size_t slash = trimmed.rfind('/');
  return std::string(slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1));
}

NSString::NSString(std::string_view text) {
  units_.reserve(text.size());
  for (std::size_t position = 0; position < text.size();) {
    const char32_t c = u::decodeScalar(text, position);
    if (c > 0xFFFF) {
      units_ += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      units_ += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      units_ += static_cast<char16_t>(c);
    }
  }
}

char16_t NSString::characterAtIndex(std::size_t index) const {
  KP_PRECONDITION(index < units_.size(), "NSString: index out of range");
  return units_[index];
}

std::string NSString::utf8() const {
  std::string out;
  for (std::size_t i = 0; i < units_.size(); ++i) {
    char32_t c = units_[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units_.size() && units_[i + 1] >= 0xDC00 && units_[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units_[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = u::kReplacementCharacter;
    }
    u::appendUTF8(out, c);
  }
  return out;
}

}  // namespace ios
