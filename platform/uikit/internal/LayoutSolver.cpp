#include "platform/uikit/internal/LayoutSolver.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "platform/foundation/NSException.h"
#include "platform/foundation/internal/NumberText.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/internal/LinearSystem.h"

namespace ios::uikit_internal {
namespace {

// ---- Layout --------------------------------------------------------------------------

std::atomic<std::uint64_t> inputsGeneration{1};
std::atomic<std::uint64_t> solves{0};

// A linear expression over the frame variables: sum of coefficient x variable, plus c.
// One side of a constraint names at most two variables, so a whole constraint at most
// four; the terms are kept in increasing variable order.
struct Expression {
  std::array<Term, 4> terms{};
  std::size_t count = 0;
  double c = 0;

  void add(std::size_t variable, double coefficient) {
    std::size_t i = 0;
    while (i < count && terms[i].variable < variable) ++i;
    if (i < count && terms[i].variable == variable) {
      terms[i].coefficient += coefficient;
      return;
    }
    for (std::size_t j = count; j > i; --j) terms[j] = terms[j - 1];
    terms[i] = {variable, 0.0 + coefficient};
    ++count;
  }
  [[nodiscard]] std::span<const Term> view() const { return {terms.data(), count}; }
};

class System {
 public:
  // Variables x, y, width, height of `view`, made on first use.
  std::size_t variables(UIView* view) {
    auto [it, made] = index_.try_emplace(view, views_.size() * 4);
    if (made) views_.push_back(view);
    return it->second;
  }

  // The value of `attribute` of `view` in the space of `parent` (the view itself when
  // `inBounds`, its superview otherwise).
  Expression attribute(UIView* view, NSLayoutAttribute attribute, bool inBounds) {
    Expression e;
    if (view == nullptr || attribute == NSLayoutAttribute::notAnAttribute) return e;
    const CGRect frame = view->frame();
    const CGRect bounds = view->bounds();
    const bool variable = !view->translatesAutoresizingMaskIntoConstraints();
    const std::size_t base = variable ? variables(view) : 0;
    if (!variable) constants_.insert(view);
    // Origin along one axis (a constant in bounds space) and size.
    auto along = [&](bool horizontal, double originFactor, double sizeFactor) {
      const double origin = horizontal ? (inBounds ? bounds.origin.x : frame.origin.x)
                                       : (inBounds ? bounds.origin.y : frame.origin.y);
      const double size = horizontal ? frame.size.width : frame.size.height;
      if (!variable) {
        e.c = originFactor * origin + sizeFactor * size;
        return;
      }
      if (originFactor != 0) {
        if (inBounds) e.c = originFactor * origin;
        else e.add(base + (horizontal ? 0 : 1), originFactor);
      }
      if (sizeFactor != 0) e.add(base + (horizontal ? 2 : 3), sizeFactor);
    };
    switch (attribute) {
      case NSLayoutAttribute::left:
      case NSLayoutAttribute::leading: along(true, 1, 0); break;
      case NSLayoutAttribute::right:
      case NSLayoutAttribute::trailing: along(true, 1, 1); break;
      case NSLayoutAttribute::centerX: along(true, 1, 0.5); break;
      case NSLayoutAttribute::width: along(true, 0, 1); break;
      case NSLayoutAttribute::top: along(false, 1, 0); break;
      case NSLayoutAttribute::bottom: along(false, 1, 1); break;
      case NSLayoutAttribute::centerY: along(false, 1, 0.5); break;
      case NSLayoutAttribute::height: along(false, 0, 1); break;
      case NSLayoutAttribute::notAnAttribute: break;
    }
    return e;
  }

  // Solves `equations` (one that repeats or contradicts the ones before it is dropped)
  // and writes the solution into the frames; open variables keep their current values.
  void solve(LinearSystem& equations) {
    std::vector<double> value(views_.size() * 4);
    for (std::size_t i = 0; i < views_.size(); ++i) {
      const CGRect f = views_[i]->frame();
      value[i * 4] = f.origin.x;
      value[i * 4 + 1] = f.origin.y;
      value[i * 4 + 2] = f.size.width;
      value[i * 4 + 3] = f.size.height;
    }
    equations.solve(value);
    for (std::size_t i = 0; i < views_.size(); ++i) {
      const CGRect solved(value[i * 4], value[i * 4 + 1], value[i * 4 + 2], value[i * 4 + 3]);
      if (views_[i]->frame() != solved) views_[i]->setFrame(solved);
    }
  }

  // The geometry of every view the equations read, as it is now.
  void remember(LayoutCache& cache) const {
    cache.seen.clear();
    cache.seen.reserve(views_.size() + constants_.size());
    for (UIView* view : views_) cache.seen.push_back({view, view->frame(), view->bounds()});
    for (UIView* view : constants_) cache.seen.push_back({view, view->frame(), view->bounds()});
  }

 private:
  std::unordered_map<UIView*, std::size_t> index_;
  std::vector<UIView*> views_;
  std::unordered_set<UIView*> constants_;
};

// Whether the last solve's inputs are all as they were: no constraint, priority,
// constant, view tree or autoresizing flag has changed since (the generation), and no
// view the equations read has moved or been resized.
bool unchanged(const LayoutCache& cache) {
  if (cache.generation != inputsGeneration.load(std::memory_order_relaxed)) return false;
  return std::all_of(cache.seen.begin(), cache.seen.end(), [](const LayoutCache::Seen& s) {
    return s.view->frame() == s.frame && s.view->bounds() == s.bounds;
  });
}

}  // namespace

void noteLayoutInputsChanged() { inputsGeneration.fetch_add(1, std::memory_order_relaxed); }

void solveConstraints(UIView& root, LayoutCache& cache) {
  if (unchanged(cache)) return;
  solves.fetch_add(1, std::memory_order_relaxed);
  std::vector<NSLayoutConstraintRef> all;
  std::vector<std::shared_ptr<UIView>> queue{std::static_pointer_cast<UIView>(root.shared_from_this())};
  for (std::size_t i = 0; i < queue.size(); ++i) {
    for (auto& c : queue[i]->constraints()) all.push_back(c);
    for (auto& sub : queue[i]->subviews()) queue.push_back(sub);
  }
  System system;
  LinearSystem& equations = cache.equations;
  equations.clear();
  for (const auto& c : all) {
    if (c->relation() != NSLayoutRelation::equal || c->priority() < UILayoutPriorityRequired) continue;
    const auto first = c->firstItem();
    const auto second = c->secondItem();
    if (first == nullptr) continue;
    // Both sides in one space: a view and its superview, or two siblings.
    bool firstInBounds = false, secondInBounds = false;
    if (second == nullptr) {
    } else if (first->superview() == second) {
      secondInBounds = true;
    } else if (second->superview() == first) {
      firstInBounds = true;
    } else if (first->superview() == nullptr || first->superview() != second->superview()) {
      continue;
    }
    Expression e = system.attribute(first.get(), c->firstAttribute(), firstInBounds);
    const Expression s = system.attribute(second.get(), c->secondAttribute(), secondInBounds);
    for (const Term& t : s.view()) e.add(t.variable, -c->multiplier() * t.coefficient);
    e.c -= c->multiplier() * s.c + c->constant();
    equations.add(e.view(), -e.c);
  }
  // The generation is read before the frames change: setting frames changes no input.
  cache.generation = inputsGeneration.load(std::memory_order_relaxed);
  system.solve(equations);
  system.remember(cache);
}

// ---- Visual format -------------------------------------------------------------------

namespace {

[[noreturn]] void formatError(std::string_view format, const std::string& what) {
  NSException(NSInvalidArgumentException,
              "Unable to parse constraint format: \n" + what + "\n" + std::string(format))
      .raise();
}

struct Predicate {
  NSLayoutRelation relation = NSLayoutRelation::equal;
  std::optional<double> constant;
  std::shared_ptr<UIView> view;
  float priority = UILayoutPriorityRequired;
};

class Parser {
 public:
  Parser(std::string_view format, const std::map<std::string, CGFloat>& metrics,
         const std::map<std::string, std::shared_ptr<UIView>>& views)
      : format_(format), metrics_(metrics), views_(views) {}

  std::vector<NSLayoutConstraintRef> parse() {
    bool horizontal = true;
    if (format_.starts_with("H:")) pos_ = 2;
    else if (format_.starts_with("V:")) {
      horizontal = false;
      pos_ = 2;
    }
    const auto leadingAttr = horizontal ? NSLayoutAttribute::leading : NSLayoutAttribute::top;
    const auto trailingAttr = horizontal ? NSLayoutAttribute::trailing : NSLayoutAttribute::bottom;
    const auto sizeAttr = horizontal ? NSLayoutAttribute::width : NSLayoutAttribute::height;

    std::vector<NSLayoutConstraintRef> out;
    std::optional<std::vector<Predicate>> pendingEdge;
    if (accept('|')) pendingEdge = connection(20);
    std::shared_ptr<UIView> previous;
    std::vector<Predicate> gap;
    while (true) {
      if (!accept('[')) fail("Expected a view");
      const std::string name = identifier();
      auto found = views_.find(name);
      if (found == views_.end() || found->second == nullptr) fail(name + " is not a key in the views dictionary.");
      const std::shared_ptr<UIView> view = found->second;
      std::vector<Predicate> sizes;
      if (accept('(')) {
        sizes = predicates(true);
        if (!accept(')')) fail("Expected ')'");
      }
      if (!accept(']')) fail("Expected ']'");
      if (pendingEdge) {
        auto super = view->superview();
        if (super == nullptr) fail("Unable to interpret '|' character, because the related view doesn't have a superview");
        for (const Predicate& p : *pendingEdge) out.push_back(make(view, leadingAttr, p, super, leadingAttr));
        pendingEdge.reset();
      }
      if (previous != nullptr) {
        for (const Predicate& p : gap) out.push_back(make(view, leadingAttr, p, previous, trailingAttr));
      }
      for (const Predicate& p : sizes) {
        out.push_back(p.view ? make(view, sizeAttr, p, p.view, sizeAttr)
                             : make(view, sizeAttr, p, nullptr, NSLayoutAttribute::notAnAttribute));
      }
      previous = view;
      skipSpaces();
      if (pos_ == format_.size()) break;
      if (peek() == '|') {
        ++pos_;
        if (pos_ != format_.size()) fail("Expected the end of the format after '|'");
        auto super = view->superview();
        if (super == nullptr) fail("Unable to interpret '|' character, because the related view doesn't have a superview");
        out.push_back(make(super, trailingAttr, Predicate{}, view, trailingAttr));
        break;
      }
      bool standardGap = false;
      gap = connection(8, &standardGap);
      skipSpaces();
      if (peek() == '|') {
        ++pos_;
        if (pos_ != format_.size()) fail("Expected the end of the format after '|'");
        auto super = view->superview();
        if (super == nullptr) fail("Unable to interpret '|' character, because the related view doesn't have a superview");
        // A standard gap before the edge is the edge's spacing, not the siblings'.
        if (standardGap) gap.front().constant = 20;
        for (const Predicate& p : gap) out.push_back(make(super, trailingAttr, p, view, trailingAttr));
        break;
      }
    }
    return out;
  }

 private:
  [[noreturn]] void fail(const std::string& what) { formatError(format_, what); }

  void skipSpaces() {
    while (pos_ < format_.size() && format_[pos_] == ' ') ++pos_;
  }
  char peek() {
    skipSpaces();
    return pos_ < format_.size() ? format_[pos_] : '\0';
  }
  bool accept(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }
  std::string identifier() {
    skipSpaces();
    const std::size_t start = pos_;
    while (pos_ < format_.size() && (std::isalnum(static_cast<unsigned char>(format_[pos_])) || format_[pos_] == '_')) {
      ++pos_;
    }
    if (start == pos_) fail("Expected a name");
    return std::string(format_.substr(start, pos_ - start));
  }
  std::optional<double> number() {
    skipSpaces();
    const std::size_t start = pos_;
    if (pos_ < format_.size() && (format_[pos_] == '-' || format_[pos_] == '+')) ++pos_;
    while (pos_ < format_.size() && (std::isdigit(static_cast<unsigned char>(format_[pos_])) || format_[pos_] == '.')) {
      ++pos_;
    }
    if (start == pos_ || (pos_ - start == 1 && !std::isdigit(static_cast<unsigned char>(format_[start])))) {
      pos_ = start;
      return std::nullopt;
    }
    const std::string_view text = std::string_view(format_).substr(start, pos_ - start);
    const auto number = foundation_internal::readNumber(text);
    if (!number || (number->outOfRange && number->value != 0) || number->end != text.size()) fail("Expected a number");
    return number->value;
  }

  // predicate (',' predicate)*; view names allowed only in view sizes.
  std::vector<Predicate> predicates(bool allowViews) {
    std::vector<Predicate> list;
    do {
      Predicate p;
      skipSpaces();
      if (format_.substr(pos_).starts_with("==")) pos_ += 2;
      else if (format_.substr(pos_).starts_with(">=")) {
        p.relation = NSLayoutRelation::greaterThanOrEqual;
        pos_ += 2;
      } else if (format_.substr(pos_).starts_with("<=")) {
        p.relation = NSLayoutRelation::lessThanOrEqual;
        pos_ += 2;
      }
      if (auto n = number()) {
        p.constant = *n;
      } else {
        const std::string name = identifier();
        if (auto m = metrics_.find(name); m != metrics_.end()) {
          p.constant = m->second;
        } else if (auto v = views_.find(name); allowViews && v != views_.end() && v->second != nullptr) {
          p.view = v->second;
        } else {
          fail(name + " is not a key in the metrics or views dictionary.");
        }
      }
      if (accept('@')) {
        auto priority = number();
        if (!priority || *priority < 1 || *priority > 1000) fail("Expected a priority from 1 to 1000");
        p.priority = static_cast<float>(*priority);
      }
      list.push_back(p);
    } while (accept(','));
    return list;
  }

  // A connection after a view or '|': nothing (0), '-' (standard), '-N-' or
  // '-(predicates)-'. An empty list stands for the standard spacing.
  std::vector<Predicate> connection(double standard, bool* isStandard = nullptr) {
    if (!accept('-')) {
      Predicate zero;
      zero.constant = 0;
      return {zero};
    }
    const char next = peek();
    if (next == '[' || next == '|') {
      if (isStandard != nullptr) *isStandard = true;
      Predicate p;
      p.constant = standard;
      return {p};
    }
    std::vector<Predicate> list;
    if (accept('(')) {
      list = predicates(false);
      if (!accept(')')) fail("Expected ')'");
    } else {
      list = predicates(false);
    }
    if (!accept('-')) fail("Expected '-'");
    return list;
  }

  static NSLayoutConstraintRef make(const std::shared_ptr<UIView>& first, NSLayoutAttribute a, const Predicate& p,
                                    const std::shared_ptr<UIView>& second, NSLayoutAttribute b) {
    auto c = NSLayoutConstraint::make(first, a, p.relation, second, b, 1, p.constant.value_or(0));
    c->setPriority(p.priority);
    return c;
  }

  std::string_view format_;
  std::size_t pos_ = 0;
  const std::map<std::string, CGFloat>& metrics_;
  const std::map<std::string, std::shared_ptr<UIView>>& views_;
};

}  // namespace

std::vector<NSLayoutConstraintRef> parseVisualFormat(std::string_view format,
                                                     const std::map<std::string, CGFloat>& metrics,
                                                     const std::map<std::string, std::shared_ptr<UIView>>& views) {
  return Parser(format, metrics, views).parse();
}

}  // namespace ios::uikit_internal

namespace ios::testing {
std::uint64_t layoutSolveCount() { return uikit_internal::solves.load(std::memory_order_relaxed); }
}  // namespace ios::testing
