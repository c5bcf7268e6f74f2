#include "platform/uikit/internal/LinearSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using ios::uikit_internal::Elimination;
using ios::uikit_internal::LinearSystem;
using ios::uikit_internal::Term;

// The reference: the same elimination over dense rows, every row reduced against every
// other, as layout once did it.
class DenseSystem {
 public:
  explicit DenseSystem(std::size_t width) : width_(width) {}

  bool add(const std::vector<Term>& terms, double rhs) {
    std::vector<double> row(width_, 0.0);
    for (const Term& t : terms) row[t.variable] += t.coefficient;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      const double f = row[pivots_[r]];
      if (f == 0) continue;
      for (std::size_t j = 0; j < width_; ++j) row[j] -= f * rows_[r][j];
      rhs -= f * rhs_[r];
    }
    std::size_t pivot = width_;
    double best = 1e-9;
    for (std::size_t j = 0; j < width_; ++j) {
      if (std::fabs(row[j]) > best) {
        best = std::fabs(row[j]);
        pivot = j;
      }
    }
    if (pivot == width_) return false;
    const double p = row[pivot];
    for (double& x : row) x /= p;
    rhs /= p;
    row[pivot] = 1;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      const double f = rows_[r][pivot];
      if (f == 0) continue;
      for (std::size_t j = 0; j < width_; ++j) rows_[r][j] -= f * row[j];
      rhs_[r] -= f * rhs;
    }
    rows_.push_back(std::move(row));
    rhs_.push_back(rhs);
    pivots_.push_back(pivot);
    return true;
  }

  void solve(std::vector<double>& value) const {
    std::vector<bool> pivotal(width_, false);
    for (std::size_t p : pivots_) pivotal[p] = true;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      double v = rhs_[r];
      for (std::size_t j = 0; j < width_; ++j) {
        if (!pivotal[j]) v -= rows_[r][j] * value[j];
      }
      value[pivots_[r]] = v;
    }
  }

 private:
  std::size_t width_;
  std::vector<std::vector<double>> rows_;
  std::vector<double> rhs_;
  std::vector<std::size_t> pivots_;
};

struct Equation {
  std::vector<Term> terms;
  double rhs;
};

// Feeds the sparse elimination and the dense one the same equations and expects the
// same kept rows and, bit for bit, the same values.
void expectSameAsDense(std::size_t width, const std::vector<Equation>& equations, const std::vector<double>& start,
                       const std::string& label) {
  Elimination sparse(width);
  DenseSystem dense(width);
  for (std::size_t i = 0; i < equations.size(); ++i) {
    ASSERT_EQ(sparse.add(equations[i].terms, equations[i].rhs), dense.add(equations[i].terms, equations[i].rhs))
        << label << " equation " << i;
  }
  std::vector<double> got = start, want = start;
  sparse.solve(got);
  dense.solve(want);
  for (std::size_t v = 0; v < width; ++v) {
    // Bit for bit, except that a zero may come out with either sign.
    EXPECT_TRUE(got[v] == want[v] && (got[v] != 0 || want[v] == 0)) << label << " x" << v << ": " << got[v]
                                                                     << " vs " << want[v];
  }
}

// Small random systems: few variables, coefficients that round, equations that repeat
// or contradict earlier ones.
// The whole solver against the dense elimination: the same values, to rounding where a
// group was solved one unknown at a time.
void expectCloseToDense(std::size_t width, const std::vector<Equation>& equations, const std::vector<double>& start,
                        const std::string& label) {
  LinearSystem system;
  DenseSystem dense(width);
  for (const Equation& e : equations) {
    system.add(e.terms, e.rhs);
    (void)dense.add(e.terms, e.rhs);
  }
  std::vector<double> got = start, want = start;
  system.solve(got);
  dense.solve(want);
  for (std::size_t v = 0; v < width; ++v) {
    EXPECT_NEAR(got[v], want[v], 1e-9 * std::max(1.0, std::fabs(want[v]))) << label << " x" << v;
  }
}

TEST(LinearSystem, MatchesTheDenseEliminationOnRandomSmallSystems) {
  std::mt19937 random(20261209);
  const double coefficients[] = {1, -1, 2, -0.5, 0.5, 1.0 / 3, -3, 0.1, 0.7, 1e-10};
  for (int round = 0; round < 3000; ++round) {
    const std::size_t width = 1 + random() % 10;
    const std::size_t count = 1 + random() % 14;
    std::vector<Equation> equations;
    for (std::size_t e = 0; e < count; ++e) {
      Equation eq;
      if (!equations.empty() && random() % 5 == 0) {
        // A multiple of an earlier equation, with the same or another right-hand side.
        const Equation& earlier = equations[random() % equations.size()];
        const double k = coefficients[random() % 9];
        for (const Term& t : earlier.terms) eq.terms.push_back({t.variable, k * t.coefficient});
        eq.rhs = random() % 2 == 0 ? k * earlier.rhs : earlier.rhs + 1;
      } else {
        for (std::size_t v = 0; v < width; ++v) {
          if (random() % 3 == 0) eq.terms.push_back({v, coefficients[random() % 10]});
        }
        eq.rhs = static_cast<double>(static_cast<int>(random() % 200) - 100) / 7;
      }
      equations.push_back(std::move(eq));
    }
    std::vector<double> start(width);
    for (double& v : start) v = static_cast<double>(random() % 1000) / 9;
    expectSameAsDense(width, equations, start, "round " + std::to_string(round));
    expectCloseToDense(width, equations, start, "round " + std::to_string(round));
    if (HasFatalFailure() || HasNonfatalFailure()) return;
  }
}

// Longer banded systems, where each equation names neighbouring variables in an order
// that makes eliminations fill rows in: the row bookkeeping of the sparse form is
// exercised where the dense one has nothing to keep.
TEST(LinearSystem, MatchesTheDenseEliminationOnBandedSystemsThatFillIn) {
  std::mt19937 random(7);
  for (int round = 0; round < 60; ++round) {
    const std::size_t width = 40 + random() % 40;
    std::vector<Equation> equations;
    for (std::size_t e = 0; e < width; ++e) {
      const std::size_t at = random() % (width - 3);
      Equation eq;
      for (std::size_t v = at; v < at + 4; ++v) {
        if (random() % 4 != 0) eq.terms.push_back({v, static_cast<double>(static_cast<int>(random() % 9) - 4) / 2});
      }
      eq.rhs = static_cast<double>(random() % 50);
      equations.push_back(std::move(eq));
    }
    std::vector<double> start(width);
    for (double& v : start) v = static_cast<double>(random() % 100);
    expectSameAsDense(width, equations, start, "band " + std::to_string(round));
    expectCloseToDense(width, equations, start, "band " + std::to_string(round));
    if (HasFatalFailure() || HasNonfatalFailure()) return;
  }
}

TEST(LinearSystem, OpenVariablesKeepTheirValuesAndRedundantRowsAreDropped) {
  Elimination system(3);
  const std::vector<Term> difference = {{0, 1}, {2, -1}};    // x0 - x2 == 10
  const std::vector<Term> doubled = {{0, 2}, {2, -2}};       // the same, twice over
  const std::vector<Term> contradiction = {{0, 1}, {2, -1}};  // x0 - x2 == 11
  EXPECT_TRUE(system.add(difference, 10));
  EXPECT_FALSE(system.add(doubled, 20));
  EXPECT_FALSE(system.add(contradiction, 11));
  EXPECT_EQ(system.rowCount(), 1u);
  std::vector<double> values = {0, 7, 5};
  system.solve(values);
  EXPECT_EQ(values, (std::vector<double>{15, 7, 5}));
}

// Groups that share no variable are solved apart: a determined chain one unknown at a
// time, a group with a contradiction by elimination (the later equation is dropped),
// and a group with an open variable keeps that variable's value.
TEST(LinearSystem, GroupsAreSolvedApartEachTheWayItNeeds) {
  LinearSystem system;
  const std::vector<Equation> equations = {
      {{{0, 1}}, 4},            // chain: x0 = 4
      {{{0, -1}, {1, 1}}, 3},   //        x1 = x0 + 3
      {{{2, 1}}, 10},           // contradiction: x2 = 10
      {{{2, 1}}, 20},           //                x2 = 20 (dropped)
      {{{3, 1}, {2, 1}}, 15},   //                x3 = 15 - x2
      {{{4, 1}, {5, -1}}, 2},   // open: x4 = x5 + 2, x5 keeps its value
  };
  for (const Equation& e : equations) system.add(e.terms, e.rhs);
  std::vector<double> values = {0, 0, 0, 0, 0, 9, 42};
  system.solve(values);
  EXPECT_EQ(values, (std::vector<double>{4, 7, 10, 5, 11, 9, 42}));
}

}  // namespace
