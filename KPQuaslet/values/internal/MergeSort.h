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
inline constexpr std::size_t kInsertionRun = 16;

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

// Merges [left, left + nl) and [right, right + nr) into `out` (a pointer to assign
// through, or an inserter); the right element goes first only when it is strictly before
// the left one (stability).
template <class T, class Out, class Before>
void mergeRuns(T* left, std::size_t nl, T* right, std::size_t nr, Out out, Before& before) {
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

// Sorts [data, data + n) by insertion runs and bottom-up merge passes that ping-pong
// with `buffer`. The buffer either already holds at least n elements (they are
// assigned to), or is empty with room reserved (the first pass builds it).
template <class T, class Before>
void sortWithBuffer(T* data, std::size_t n, std::vector<T>& buffer, Before& before) {
  for (std::size_t start = 0; start < n; start += kInsertionRun) {
    insertionSort(data + start, std::min(kInsertionRun, n - start), before);
  }
  if (n <= kInsertionRun) return;
  std::size_t width = kInsertionRun;
  auto pass = [&](T* from, auto to) {
    for (std::size_t start = 0; start < n; start += 2 * width) {
      const std::size_t mid = std::min(start + width, n);
      const std::size_t end = std::min(start + 2 * width, n);
      mergeRuns(from + start, mid - start, from + mid, end - mid, to(start), before);
    }
    width *= 2;
  };
  if (buffer.size() < n) {
    pass(data, [&](std::size_t) { return std::back_inserter(buffer); });
  } else {
    pass(data, [&](std::size_t start) { return buffer.data() + start; });
  }
  T* from = buffer.data();
  T* to = data;
  while (width < n) {
    pass(from, [&](std::size_t start) { return to + start; });
    std::swap(from, to);
  }
  if (from != data) std::move(from, from + n, data);
}

// Merges the left run, held in `left`, with the right run that already sits at
// data + nl, into data. The write position never passes the next unread element of the
// right run, and once the left run is used up the rest of the right run is in place.
template <class T, class Before>
void mergeLeftIntoPlace(T* left, std::size_t nl, T* data, std::size_t nr, Before& before) {
  T* right = data + nl;
  T* out = data;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < nl && j < nr) {
    if (before(right[j], left[i])) {
      *out++ = std::move(right[j++]);
    } else {
      *out++ = std::move(left[i++]);
    }
  }
  std::move(left + i, left + nl, out);
}

// stableSort()
//
// Sorts `values` stably: b is placed before a only when before(b, a) holds. Each half is
// sorted with a buffer of half the size, then the halves are merged (a smaller working
// set than merging over the whole array at once).
template <class T, class Before>
void stableSort(std::vector<T>& values, Before before) {
  const std::size_t n = values.size();
  T* data = values.data();
  if (n <= 2 * kInsertionRun) {
    insertionSort(data, n, before);
    return;
  }
  const std::size_t half = (n + 1) / 2;  // > kInsertionRun, so the first pass builds the buffer
  std::vector<T> buffer;
  buffer.reserve(half);
  sortWithBuffer(data, half, buffer, before);
  sortWithBuffer(data + half, n - half, buffer, before);
  if (!before(data[half], data[half - 1])) return;  // the halves are already in order
  std::move(data, data + half, buffer.begin());
  mergeLeftIntoPlace(buffer.data(), half, data, n - half, before);
}

}  // namespace kp::values_internal
