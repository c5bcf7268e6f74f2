#include "platform/foundation/Random.h"

#include <stdlib.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <utility>

namespace ios {
namespace {

std::mutex& sourceMutex() {
  static std::mutex mutex;
  return mutex;
}

// The scripted source, or empty for the system one. Guarded by sourceMutex(); callers
// take a copy of the shared_ptr and call it outside the lock.
std::shared_ptr<std::function<std::uint32_t()>>& scriptedSource() {
  static std::shared_ptr<std::function<std::uint32_t()>> source;
  return source;
}

std::shared_ptr<std::function<std::uint32_t()>> currentScript() {
  std::lock_guard lock(sourceMutex());
  return scriptedSource();
}

}  // namespace

std::uint32_t arc4random() {
  if (auto script = currentScript()) return (*script)();
  return ::arc4random();
}

std::uint32_t arc4random_uniform(std::uint32_t upperBound) {
  if (upperBound < 2) return 0;
  auto script = currentScript();
  if (!script) return ::arc4random_uniform(upperBound);
  constexpr std::uint64_t kRange = std::uint64_t{1} << 32;
  const std::uint64_t limit = kRange - kRange % upperBound;
  for (;;) {
    const std::uint32_t r = (*script)();
    if (r < limit) return r % upperBound;
  }
}

void arc4random_buf(void* buffer, std::size_t count) {
  auto script = currentScript();
  if (!script) {
    ::arc4random_buf(buffer, count);
    return;
  }
  auto* out = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    const std::uint32_t r = (*script)();
    const std::size_t n = count < sizeof r ? count : sizeof r;
    std::memcpy(out, &r, n);
    out += n;
    count -= n;
  }
}

double drand48() {
  // The first word gives the high 32 bits, the top 16 bits of the second the rest.
  const std::uint64_t high = arc4random();
  const std::uint64_t low = arc4random() >> 16;
  const std::uint64_t bits = (high << 16) | low;
  return static_cast<double>(bits) / static_cast<double>(std::uint64_t{1} << 48);
}

namespace testing {

ScopedRandomSource::ScopedRandomSource(std::function<std::uint32_t()> next) {
  auto source = std::make_shared<std::function<std::uint32_t()>>(std::move(next));
  std::lock_guard lock(sourceMutex());
  if (scriptedSource()) previous_ = *scriptedSource();
  scriptedSource() = std::move(source);
}

ScopedRandomSource::~ScopedRandomSource() {
  std::lock_guard lock(sourceMutex());
  if (previous_) {
    scriptedSource() = std::make_shared<std::function<std::uint32_t()>>(std::move(previous_));
  } else {
    scriptedSource().reset();
  }
}

void resetRandomSource() {
  std::lock_guard lock(sourceMutex());
  scriptedSource().reset();
}

}  // namespace testing
}  // namespace ios
