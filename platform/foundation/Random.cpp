#include "platform/foundation/Random.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

#include "platform/foundation/Precondition.h"

namespace ios {
namespace {

struct SourceState {
  std::mutex mutex;
  std::function<std::uint32_t()> scripted;  // empty: the system's generator
};

SourceState& sourceState() {
  static SourceState state;
  return state;
}

std::uint32_t nextValue() {
  SourceState& state = sourceState();
  std::lock_guard lock(state.mutex);
  if (state.scripted) return state.scripted();
  return ::arc4random();
}

}  // namespace

std::uint32_t arc4random() { return nextValue(); }

std::uint32_t arc4random_uniform(std::uint32_t upperBound) {
  if (upperBound < 2) return 0;
  // The largest multiple of upperBound that fits in 32 bits; values at or above it
  // would favour the small remainders.
  const std::uint64_t limit = (std::uint64_t{1} << 32) - ((std::uint64_t{1} << 32) % upperBound);
  for (;;) {
    const std::uint32_t value = nextValue();
    if (value < limit) return value % upperBound;
  }
}

void arc4random_buf(void* buffer, std::size_t count) {
  KP_PRECONDITION(buffer != nullptr || count == 0, "arc4random_buf: null buffer");
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    const std::uint32_t value = nextValue();
    const std::size_t take = count < 4 ? count : 4;
    for (std::size_t i = 0; i < take; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    bytes += take;
    count -= take;
  }
}

double drand48() { return static_cast<double>(nextValue()) / 4294967296.0; }

namespace testing {

ScopedRandomSource::ScopedRandomSource(std::function<std::uint32_t()> next) {
  KP_PRECONDITION(static_cast<bool>(next), "ScopedRandomSource needs a source");
  SourceState& state = sourceState();
  std::lock_guard lock(state.mutex);
  previous_ = std::exchange(state.scripted, std::move(next));
}

ScopedRandomSource::~ScopedRandomSource() {
  SourceState& state = sourceState();
  std::lock_guard lock(state.mutex);
  state.scripted = std::move(previous_);
}

void resetRandomSource() {
  SourceState& state = sourceState();
  std::lock_guard lock(state.mutex);
  state.scripted = nullptr;
}

}  // namespace testing
}  // namespace ios
