// File: platform/foundation/IndexPath.h
//
// The position of a row (or item) in a sectioned list.
//
//   ios::IndexPath path(2, 0);     // row 2 of section 0 (IndexPath(row:section:))
//   path.item();                   // 2: collection views call the row an item
//
// Fidelity: the two-index form the list views use; longer paths are absent. Both
// numbers are signed, as the platform's are, so a path may name row -1.
#pragma once

#include <cstdint>
#include <ostream>

namespace ios {

struct IndexPath {
  std::int64_t row = 0;
  std::int64_t section = 0;

  IndexPath() = default;
  // IndexPath(row:section:) and IndexPath(item:section:).
  IndexPath(std::int64_t rowOrItem, std::int64_t inSection) : row(rowOrItem), section(inSection) {}

  [[nodiscard]] std::int64_t item() const { return row; }
  bool operator==(const IndexPath&) const = default;
  auto operator<=>(const IndexPath&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const IndexPath& path) {
  return out << "[" << path.section << ", " << path.row << "]";
}

}  // namespace ios
