#include "platform/foundation/Random.h"

#include <stdlib.h>

#include <cstring>
#include <mutex>
#include <utility>

namespace ios {
namespace {

std::mutex& sourceMutex() {
  static std::mutex mutex;
  return mutex;
}

std::function<std::uint32_t()>& source() {
  static std::function<std::uint32_t()> current;
  return current;
}

// The next word of the substituted source, or nothing when the system source is used.
bool nextFromSource(std::uint32_t& out) {
  std::lock_guard lock(sourceMutex());
  if (!source()) return false;
  out = source()();
  return true;
}

}  // namespace

std::uint32_t arc4random() {
  std::uint32_t value = 0;
  if (nextFromSource(value)) return value;
  return ::arc4random();
}

std::uint32_t arc4random_uniform(std::uint32_t upperBound) {
  if (upperBound < 2) return 0;
  // Reject the low values that would make the modulo uneven.
  const std::uint32_t minimum = (0u - upperBound) % upperBound;
  for (;;) {
    const std::uint32_t value = arc4random();
    if (value >= minimum) return value % upperBound;
  }
}

void arc4random_buf(void* buffer, std::size_t count) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    const std::uint32_t word = arc4random();
    const std::size_t n = count < sizeof word ? count : sizeof word;
    std::memcpy(bytes, &word, n);
    bytes += n;
    count -= n;
  }
}

double drand48() {
  std::uint32_t high = 0;
  if (!nextFromSource(high)) return ::drand48();
  std::uint32_t low = 0;
  nextFromSource(low);
  const std::uint64_t bits = (static_cast<std::uint64_t>(high) << 16) | (low >> 16);
  return static_cast<double>(bits) / 281474976710656.0;  // 2^48
}

namespace testing {

ScopedRandomSource::ScopedRandomSource(std::function<std::uint32_t()> next) {
  std::lock_guard lock(sourceMutex());
  previous_ = std::exchange(source(), std::move(next));
}

ScopedRandomSource::~ScopedRandomSource() {
  std::lock_guard lock(sourceMutex());
  source() = std::move(previous_);
}

}  // namespace testing
}  // namespace ios
