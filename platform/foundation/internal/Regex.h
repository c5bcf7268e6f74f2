// File: platform/foundation/internal/Regex.h
//
// The regular-expression engine behind NSRegularExpression, the "MATCHES" predicate and
// the regular-expression string search: ICU's regex engine, run directly over UTF-8
// text. The interface carries no ICU type.
//
//   auto pattern = ios::regex_internal::compile("[0-9]+", 0);
//   ios::regex_internal::matchesWhole(*pattern, "2024");   // true
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace ios::regex_internal {

// A compiled pattern. It may be shared between threads.
class CompiledPattern;

// The compiled form of `pattern` with `flags` (the bits of
// NSRegularExpression::Options), or null when the pattern is not valid.
// Compiled patterns are kept in a small process-wide cache, so validating many texts
// with one pattern compiles it once.
[[nodiscard]] std::shared_ptr<const CompiledPattern> compile(std::string_view pattern, std::uint32_t flags);

// True when the whole of `text` matches (no line terminator may trail the match); false
// when the attempt reaches NSRegularExpression::matchTimeLimit or matchStackLimit.
[[nodiscard]] bool matchesWhole(const CompiledPattern& pattern, std::string_view text);

// Calls `found(begin, end)` with the byte range of every non-overlapping match inside
// bytes [from, to) of `text`, in order, until it returns false or a search reaches
// NSRegularExpression::matchTimeLimit or matchStackLimit.
void forEachMatch(const CompiledPattern& pattern, std::string_view text, std::size_t from, std::size_t to,
                  const std::function<bool(std::size_t begin, std::size_t end)>& found);

}  // namespace ios::regex_internal
