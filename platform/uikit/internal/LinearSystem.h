// File: platform/uikit/internal/LinearSystem.h
//
// The equations of a layout pass and their solution.
//
//   uikit_internal::LinearSystem system;
//   const uikit_internal::Term row[] = {{0, 1}, {2, -1}};
//   system.add(row, 10);           // x0 - x2 == 10
//   std::vector<double> values = {0, 0, 5, 0};
//   system.solve(values);          // values[0] == 15; x2 is open and keeps 5
//
// The answer is that of Gauss-Jordan elimination in the order the equations were added:
// each one is reduced by the pivots before it, takes as its pivot the variable with the
// largest coefficient left (the lowest-numbered one on a tie; nothing above 1e-9 means
// it repeats or contradicts the others, and it is dropped), and is eliminated from every
// earlier row; variables that end up as no row's pivot keep their values.
//
// Equations fall into groups that share no variable, and each group is solved alone.
// A group whose equations can be taken one by one so that each names exactly one
// variable not yet known (a chain or a stack of views) is solved that way, in time
// proportional to its size: its solution is unique, so the elimination would give the
// same values (to rounding). Any other group (one with an equation to drop, or with
// variables left open) goes through the elimination itself, over sparse rows, with the
// same arithmetic operation for operation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ios::uikit_internal {

// coefficient x variable
struct Term {
  std::size_t variable;
  double coefficient;
};

// Gauss-Jordan elimination over sparse rows, equation by equation (see above).
class Elimination {
 public:
  explicit Elimination(std::size_t variableCount);

  // Adds sum(terms) == rhs (terms in increasing variable order, each variable once),
  // unless it repeats or contradicts the equations before it; answers whether it was kept.
  bool add(std::span<const Term> terms, double rhs);

  // Sets each pivot variable of `values` (one per variable) from the open ones, which
  // keep the values they have.
  void solve(std::vector<double>& values) const;

  [[nodiscard]] std::size_t rowCount() const { return rows_.size(); }

 private:
  static constexpr std::uint32_t kNoRow = UINT32_MAX;

  struct Row {
    std::vector<Term> terms;  // increasing variable order, no zero coefficients
    double rhs = 0;
    std::size_t pivot = 0;
  };

  // The scratch slot of `variable`, noted as touched.
  double& slot(std::size_t variable);
  void eliminate(const Row& pivotRow, std::uint32_t rowIndex);

  std::vector<Row> rows_;
  // Per variable: the row it is the pivot of, or kNoRow.
  std::vector<std::uint32_t> pivotRow_;
  // Per open variable: rows that may hold it (stale entries are skipped on use).
  std::vector<std::vector<std::uint32_t>> rowsWith_;
  // The equation being added, one slot per variable, and the slots it touched.
  std::vector<double> scratch_;
  std::vector<bool> touched_;
  std::vector<std::size_t> touchedList_;
};

class LinearSystem {
 public:
  // Adds sum(terms) == rhs; terms in increasing variable order, each variable once.
  void add(std::span<const Term> terms, double rhs);
  // Forgets the equations (keeping the memory for the next ones).
  void clear();

  // Sets the variables the equations determine in `values` (one per variable, each
  // variable below values.size()); the others keep the values they have.
  void solve(std::vector<double>& values);

 private:
  std::vector<Term> terms_;
  // Per equation: where its terms start in terms_ (one more entry marks the end).
  std::vector<std::size_t> starts_{0};
  std::vector<double> rhs_;
  // Working memory of solve(), kept from one solve to the next.
  std::vector<std::uint32_t> unknown_;
  std::vector<std::size_t> at_;
  std::vector<std::uint32_t> with_;
  std::vector<double> known_;
  std::vector<bool> isKnown_;
  std::vector<bool> used_;
  std::vector<bool> failed_;
  std::vector<std::uint32_t> ready_;
};

}  // namespace ios::uikit_internal
