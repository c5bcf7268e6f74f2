#include "KPQuaslet/imaging/internal/ColorCounter.h"

#include "KPQuaslet/imaging/internal/PixelCounting.h"

namespace kp::imaging_internal {

std::vector<ColorCounter::Entry> ColorCounter::entries() const {
  std::vector<Entry> out;
  out.reserve(size_);
  for (const Entry& e : slots_) {
    if (e.key != kEmpty) out.push_back(e);
  }
  sortByFirstPosition(out);
  return out;
}

}  // namespace kp::imaging_internal
