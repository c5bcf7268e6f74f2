// File: platform/foundation/internal/JSONNesting.h
//
// How deeply a JSON text nests arrays and objects, found by one pass over its bytes
// that skips strings; the JSON readers refuse text nested deeper than
// JSONSerialization::maximumNestingDepth before handing it to the parser, so that no
// reader and no code walking what it built can run out of stack.
//
//   ios::json_internal::nestsDeeperThan("[[1]]", 1);   // true
//   ios::json_internal::nestsDeeperThan("[\"[[\"]", 1);  // false: brackets in a string
#pragma once

#include <cstddef>
#include <string_view>

namespace ios::json_internal {

// Whether `text` opens more than `limit` arrays or objects inside one another. Text
// that is not JSON may give either answer; the parser rejects it afterwards.
[[nodiscard]] bool nestsDeeperThan(std::string_view text, std::size_t limit);

}  // namespace ios::json_internal
