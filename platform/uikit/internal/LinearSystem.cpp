#include "platform/uikit/internal/LinearSystem.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace ios::uikit_internal {

namespace {

// Below this a coefficient left after reduction counts as zero.
constexpr double kNegligible = 1e-9;

}  // namespace

Elimination::Elimination(std::size_t variableCount)
    : pivotRow_(variableCount, kNoRow),
      rowsWith_(variableCount),
      scratch_(variableCount, 0.0),
      touched_(variableCount, false) {}

double& Elimination::slot(std::size_t variable) {
  if (!touched_[variable]) {
    touched_[variable] = true;
    touchedList_.push_back(variable);
  }
  return scratch_[variable];
}

bool Elimination::add(std::span<const Term> terms, double rhs) {
  for (const Term& t : terms) slot(t.variable) += t.coefficient;
  // Reduce by the rows whose pivots the equation names, in the order they were added.
  // Rows hold no other row's pivot, so reducing by one never brings in another.
  std::vector<std::uint32_t> reducing;
  for (std::size_t v : touchedList_) {
    if (pivotRow_[v] != kNoRow && scratch_[v] != 0) reducing.push_back(pivotRow_[v]);
  }
  std::sort(reducing.begin(), reducing.end());
  for (std::uint32_t r : reducing) {
    const Row& row = rows_[r];
    const double f = scratch_[row.pivot];
    if (f == 0) continue;
    for (const Term& t : row.terms) slot(t.variable) -= f * t.coefficient;
    rhs -= f * row.rhs;
  }
  std::sort(touchedList_.begin(), touchedList_.end());
  std::size_t pivot = scratch_.size();
  double best = kNegligible;
  for (std::size_t v : touchedList_) {
    if (std::fabs(scratch_[v]) > best) {
      best = std::fabs(scratch_[v]);
      pivot = v;
    }
  }
  Row added;
  if (pivot != scratch_.size()) {
    const double p = scratch_[pivot];
    for (std::size_t v : touchedList_) {
      const double x = v == pivot ? 1.0 : scratch_[v] / p;
      if (x != 0) added.terms.push_back({v, x});
    }
    added.rhs = rhs / p;
    added.pivot = pivot;
  }
  for (std::size_t v : touchedList_) {
    scratch_[v] = 0;
    touched_[v] = false;
  }
  touchedList_.clear();
  if (pivot == scratch_.size()) return false;  // nothing new, or a contradiction: dropped

  const auto index = static_cast<std::uint32_t>(rows_.size());
  std::vector<std::uint32_t> holders = std::move(rowsWith_[pivot]);
  rowsWith_[pivot] = {};
  for (std::uint32_t r : holders) eliminate(added, r);
  for (const Term& t : added.terms) {
    if (t.variable != pivot) rowsWith_[t.variable].push_back(index);
  }
  pivotRow_[pivot] = index;
  rows_.push_back(std::move(added));
  return true;
}

// Row `rowIndex` -= (its coefficient of the pivot) x `pivotRow`.
void Elimination::eliminate(const Row& pivotRow, std::uint32_t rowIndex) {
  Row& row = rows_[rowIndex];
  const auto at = std::lower_bound(row.terms.begin(), row.terms.end(), pivotRow.pivot,
                                   [](const Term& t, std::size_t v) { return t.variable < v; });
  if (at == row.terms.end() || at->variable != pivotRow.pivot) return;  // a stale listing
  const double f = at->coefficient;
  std::vector<Term> merged;
  merged.reserve(row.terms.size() + pivotRow.terms.size());
  auto a = row.terms.begin();
  auto b = pivotRow.terms.begin();
  while (a != row.terms.end() || b != pivotRow.terms.end()) {
    if (b == pivotRow.terms.end() || (a != row.terms.end() && a->variable < b->variable)) {
      merged.push_back(*a++);
      continue;
    }
    const bool shared = a != row.terms.end() && a->variable == b->variable;
    const double x = (shared ? a->coefficient : 0.0) - f * b->coefficient;
    if (x != 0) {
      merged.push_back({b->variable, x});
      if (!shared) rowsWith_[b->variable].push_back(rowIndex);
    }
    if (shared) ++a;
    ++b;
  }
  row.terms = std::move(merged);
  row.rhs -= f * pivotRow.rhs;
}

void Elimination::solve(std::vector<double>& values) const {
  for (const Row& row : rows_) {
    double v = row.rhs;
    for (const Term& t : row.terms) {
      if (t.variable != row.pivot) v -= t.coefficient * values[t.variable];
    }
    values[row.pivot] = v;
  }
}

void LinearSystem::clear() {
  terms_.clear();
  starts_.assign(1, 0);
  rhs_.clear();
}

void LinearSystem::add(std::span<const Term> terms, double rhs) {
  terms_.insert(terms_.end(), terms.begin(), terms.end());
  starts_.push_back(terms_.size());
  rhs_.push_back(rhs);
}

namespace {

// Groups of variables linked by equations.
class Groups {
 public:
  explicit Groups(std::size_t count) : parent_(count) { std::iota(parent_.begin(), parent_.end(), 0); }
  std::size_t find(std::size_t v) {
    while (parent_[v] != v) v = parent_[v] = parent_[parent_[v]];
    return v;
  }
  void join(std::size_t a, std::size_t b) { parent_[find(a)] = find(b); }

 private:
  std::vector<std::size_t> parent_;
};

}  // namespace

void LinearSystem::solve(std::vector<double>& values) {
  const std::size_t variableCount = values.size();
  const std::size_t count = rhs_.size();
  auto termsOf = [this](std::size_t e) {
    return std::span<const Term>(terms_.data() + starts_[e], starts_[e + 1] - starts_[e]);
  };
  // Group the variables; an equation belongs to the group of its variables. Which
  // equations name each variable, in one array: those of variable v are
  // with[at[v]] .. with[at[v + 1]].
  Groups groups(variableCount);
  auto& unknown = unknown_;
  auto& at = at_;
  auto& with = with_;
  unknown.assign(count, 0);
  at.assign(variableCount + 1, 0);
  for (std::size_t e = 0; e < count; ++e) {
    std::size_t first = variableCount;
    for (const Term& t : termsOf(e)) {
      if (t.coefficient == 0) continue;
      ++at[t.variable + 1];
      ++unknown[e];
      if (first == variableCount) first = t.variable;
      else groups.join(first, t.variable);
    }
  }
  std::partial_sum(at.begin(), at.end(), at.begin());
  with.resize(at.back());
  {
    std::vector<std::size_t> next(at.begin(), at.end() - 1);
    for (std::size_t e = 0; e < count; ++e) {
      for (const Term& t : termsOf(e)) {
        if (t.coefficient != 0) with[next[t.variable]++] = static_cast<std::uint32_t>(e);
      }
    }
  }
  // Take equations that name one unknown variable, solve them for it, and so on.
  auto& known = known_;
  auto& isKnown = isKnown_;
  auto& used = used_;
  auto& failed = failed_;  // per group root
  auto& ready = ready_;
  known.assign(variableCount, 0.0);
  isKnown.assign(variableCount, false);
  used.assign(count, false);
  failed.assign(variableCount, false);
  ready.clear();
  for (std::size_t e = 0; e < count; ++e) {
    if (unknown[e] == 1) ready.push_back(static_cast<std::uint32_t>(e));
  }
  while (!ready.empty()) {
    const std::uint32_t e = ready.back();
    ready.pop_back();
    if (unknown[e] != 1) continue;  // its last unknown was found meanwhile: seen below
    double value = rhs_[e];
    const Term* target = nullptr;
    for (const Term& t : termsOf(e)) {
      if (t.coefficient == 0) continue;
      if (isKnown[t.variable]) value -= t.coefficient * known[t.variable];
      else target = &t;
    }
    used[e] = true;
    if (std::fabs(target->coefficient) <= kNegligible) {
      failed[groups.find(target->variable)] = true;
      continue;
    }
    known[target->variable] = value / target->coefficient;
    isKnown[target->variable] = true;
    for (std::size_t i = at[target->variable]; i < at[target->variable + 1]; ++i) {
      if (--unknown[with[i]] == 1) ready.push_back(with[i]);
    }
  }
  // A group is solved when every one of its equations found a variable; one with an
  // equation left over (it repeats or contradicts the others, or it and others share
  // more than one unknown) goes through the elimination.
  auto groupOf = [&](std::size_t e) -> std::optional<std::size_t> {
    for (const Term& t : termsOf(e)) {
      if (t.coefficient != 0) return groups.find(t.variable);
    }
    return std::nullopt;  // names no variable: the elimination drops it
  };
  for (std::size_t e = 0; e < count; ++e) {
    if (!used[e]) {
      if (auto group = groupOf(e)) failed[*group] = true;
    }
  }
  std::optional<Elimination> elimination;
  for (std::size_t e = 0; e < count; ++e) {
    const auto group = groupOf(e);
    if (!group || !failed[*group]) continue;
    if (!elimination) elimination.emplace(variableCount);
    elimination->add(termsOf(e), rhs_[e]);
  }
  for (std::size_t v = 0; v < variableCount; ++v) {
    if (isKnown[v] && !failed[groups.find(v)]) values[v] = known[v];
  }
  if (elimination) elimination->solve(values);
}

}  // namespace ios::uikit_internal
