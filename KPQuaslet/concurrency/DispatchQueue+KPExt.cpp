#include "KPQuaslet/concurrency/DispatchQueue+KPExt.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace kp {
namespace {

// Every token whose block has run, in order of first use, and the one lock all once()
// calls of the process share. Both live for the whole process.
struct OnceTracker {
  std::recursive_mutex monitor;
  std::vector<std::string> tokens;
};

OnceTracker& onceTracker() {
  static auto* tracker = new OnceTracker;
  return *tracker;
}

}  // namespace

void once(const std::string& token, const std::function<void()>& block) {
  auto& tracker = onceTracker();
  std::lock_guard lock(tracker.monitor);
  if (std::find(tracker.tokens.begin(), tracker.tokens.end(), token) != tracker.tokens.end()) return;
  tracker.tokens.push_back(token);
  block();
}

void once(std::string_view file, std::string_view function, std::int64_t line, const std::function<void()>& block) {
  std::string token(file);
  token += ':';
  token += function;
  token += ':';
  token += std::to_string(line);
  once(token, block);
}

}  // namespace kp
