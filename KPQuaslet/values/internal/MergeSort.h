// File: KPQuaslet/values/internal/MergeSort.h
//
// A stable merge sort that stays well defined for any deterministic comparison, also
// one that is not a strict weak ordering (keys that are "never before or after"
// anything, NaN). It only ever compares elements inside the array and never relies on
// transitivity to stop a loop, so an odd comparison can give an odd order but never a
// read out of bounds.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

namespace kp::values_internal {

// Runs shorter than this are sorted by insertion before merging.
inline constexpr std::size_t kInsertionRun = 24;

template <class T, class Before>
void insertionSort(T* first, std::size_t count, Before& before) {
  for (std::size_t i = 1; i < count; ++i) {
    if (!before(first[i], first[i - 1])) continue;
    T moving = std::move(first[i]);
    std::size_t j = i;
    do {
      first[j] = std::move(first[j - 1]);
      --j;
    } while (j > 0 && before(moving, first[j - 1]));
    first[j] = std::move(moving);
  }
}

// Merges [left, left + nl) and [right, right + nr) into out; the right element goes
// first only when it is strictly before the left one (stability).
template <class T, class Before>
void mergeRuns(T* left, std::size_t nl, T* right, std::size_t nr, T* out, Before& before) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < nl && j < nr) {
    if (before(right[j], left[i])) {
      *out++ = std::move(right[j++]);
    } else {
      *out++ = std::move(left[i++]);
    }
  }
  out = std::move(left + i, left + nl, out);
  std::move(right + j, right + nr, out);
}

// stableSort()
//
// Sorts `values` so that a comes before b only where before(b, a) does not hold for an
// earlier-placed b; equal elements keep their order.
template <class T, class Before>
void stableSort(std::vector<T>& values, Before before) {
  const std::size_t n = values.size();
  if (n < 2) return;
  T* data = values.data();
  for (std::size_t start = 0; start < n; start += kInsertionRun) {
    insertionSort(data + start, std::min(kInsertionRun, n - start), before);
  }
  if (n <= kInsertionRun) return;
  std::vector<T> buffer(std::make_move_iterator(values.begin()), std::make_move_iterator(values.end()));
  // Ping-pong between the two arrays; `from` holds the current runs.
  T* from = buffer.data();
  T* to = data;
  for (std::size_t width = kInsertionRun; width < n; width *= 2) {
    for (std::size_t start = 0; start < n; start += 2 * width) {
      const std::size_t mid = std::min(start + width, n);
      const std::size_t end = std::min(start + 2 * width, n);
      mergeRuns(from + start, mid - start, from + mid, end - mid, to + start, before);
    }
    std::swap(from, to);
  }
  if (from != data) std::move(from, from + n, data);
}

}  // namespace kp::values_internal
