// File: platform/quartzcore/internal/ChildList.h
//
// The ordered children of a tree node (a layer's sublayers, a view's subviews) are kept
// in a deque and looked for from both ends at once, so that emptying a node one child
// at a time, from either end, costs time in proportion to the number of children.
// Taking many children out at once, from anywhere in the list, goes through
// detachEach(), one pass over each parent's list.
//
//   std::deque<std::shared_ptr<CALayer>> sublayers;
//   ca_internal::eraseChild(sublayers, layer.get());
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace ios::ca_internal {

template <class T>
using ChildList = std::deque<std::shared_ptr<T>>;

inline constexpr std::size_t kNotAChild = static_cast<std::size_t>(-1);

// Where `child` is in `children`, looked for from both ends; kNotAChild when absent.
template <class T>
[[nodiscard]] std::size_t indexOfChild(const ChildList<T>& children, const T* child) {
  if (children.empty()) return kNotAChild;
  for (std::size_t i = 0, j = children.size() - 1; i <= j; ++i, --j) {
    if (children[i].get() == child) return i;
    if (children[j].get() == child) return j;
    if (j == 0) break;
  }
  return kNotAChild;
}

// Inserts `child` at `index`, clamped to the count (a deque moves the shorter side).
template <class T>
void insertChild(ChildList<T>& children, std::size_t index, std::shared_ptr<T> child) {
  const std::size_t at = index < children.size() ? index : children.size();
  children.insert(children.begin() + static_cast<std::ptrdiff_t>(at), std::move(child));
}

// Takes `child` out of `children`; nothing when it is not there.
template <class T>
void eraseChild(ChildList<T>& children, const T* child) {
  const std::size_t i = indexOfChild(children, child);
  if (i != kNotAChild) children.erase(children.begin() + static_cast<std::ptrdiff_t>(i));
}

// Takes each of `nodes` out of its parent, as if each were taken out on its own in
// order: a node with no parent (or met a second time) is skipped, the others lose
// their parent and leave its list, and every list keeps the order of what stays. Costs
// one pass over each parent's list. `parentOf(node)` is the node's parent pointer (a
// reference, cleared here), `childrenOf(parent)` the parent's ChildList. The caller
// keeps the nodes alive until this returns (the lists drop their references). Answers
// the parents that lost children, each once.
template <class Node, class ParentOf, class ChildrenOf>
std::vector<Node*> detachEach(std::span<Node* const> nodes, ParentOf parentOf, ChildrenOf childrenOf) {
  // Each parent with how many of its children leave; nodes usually share one parent,
  // so runs are counted before the list is sorted.
  std::vector<std::pair<Node*, std::size_t>> leaving;
  for (Node* node : nodes) {
    Node*& parent = parentOf(*node);
    if (parent == nullptr) continue;
    if (leaving.empty() || leaving.back().first != parent) leaving.emplace_back(parent, 0);
    ++leaving.back().second;
    parent = nullptr;
  }
  std::sort(leaving.begin(), leaving.end());
  std::vector<Node*> parents;
  for (std::size_t i = 0; i < leaving.size();) {
    Node* parent = leaving[i].first;
    std::size_t count = 0;
    for (; i < leaving.size() && leaving[i].first == parent; ++i) count += leaving[i].second;
    ChildList<Node>& children = childrenOf(*parent);
    if (count == children.size()) {
      children.clear();  // all of them: no need to look
    } else {
      std::erase_if(children, [&](const std::shared_ptr<Node>& child) { return parentOf(*child) != parent; });
    }
    parents.push_back(parent);
  }
  return parents;
}

}  // namespace ios::ca_internal
