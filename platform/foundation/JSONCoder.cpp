#include "platform/foundation/JSONCoder.h"

#include <cmath>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/internal/JSONNesting.h"

namespace ios {

void JSONEncoder::rejectUnwritable(const nlohmann::json& tree) {
  // Walked with a list of its own rather than by recursion, so that depth costs no stack.
  std::vector<std::pair<const nlohmann::json*, std::size_t>> pending{{&tree, 0}};
  while (!pending.empty()) {
    const auto [node, depth] = pending.back();
    pending.pop_back();
    if (node->is_number_float() && !std::isfinite(node->get<double>())) {
      throw EncodingError("Unable to encode a non-finite number directly in JSON.");
    }
    if (!node->is_structured()) continue;
    if (depth >= JSONSerialization::maximumNestingDepth) throw EncodingError("The value is nested too deeply.");
    for (const auto& element : *node) pending.emplace_back(&element, depth + 1);
  }
}

nlohmann::json JSONDecoder::parse(const Data& data) {
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  if (json_internal::nestsDeeperThan(text, JSONSerialization::maximumNestingDepth)) {
    throw DecodingError("The data is nested too deeply.");
  }
  try {
    return nlohmann::json::parse(text.begin(), text.end());
  } catch (const nlohmann::json::exception& e) {
    throw DecodingError(e.what());
  }
}

}  // namespace ios
