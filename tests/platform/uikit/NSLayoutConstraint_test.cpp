#include "platform/uikit/NSLayoutConstraint.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/NSException.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIView.h"
#include "tests/support/CommaDecimalLocale.h"

namespace {

using ios::CGRect;
using ios::NSLayoutAttribute;
using ios::NSLayoutConstraint;
using ios::NSLayoutRelation;
using ios::UIView;

class NSLayoutConstraintTest : public ios::testing::PlatformFixture {
 protected:
  std::shared_ptr<UIView> parent = UIView::make(CGRect(0, 0, 200, 100));
  std::shared_ptr<UIView> a = UIView::make(CGRect(1, 2, 3, 4));
  std::shared_ptr<UIView> b = UIView::make(CGRect(5, 6, 7, 8));
  void SetUp() override {
    parent->addSubview(a);
    parent->addSubview(b);
    a->setTranslatesAutoresizingMaskIntoConstraints(false);
    b->setTranslatesAutoresizingMaskIntoConstraints(false);
  }
  std::vector<ios::NSLayoutConstraintRef> format(const char* f) {
    return NSLayoutConstraint::constraints(f, 0, {{"gap", 12}}, {{"a", a}, {"b", b}});
  }
};

TEST_F(NSLayoutConstraintTest, AnchorsMakeInactiveConstraintsAndActivationInstallsOnTheCommonAncestor) {
  auto c = a->leftAnchor().constraint(b->rightAnchor(), 5);
  EXPECT_FALSE(c->isActive());
  EXPECT_EQ(c->firstItem(), a);
  EXPECT_EQ(c->firstAttribute(), NSLayoutAttribute::left);
  EXPECT_EQ(c->secondAttribute(), NSLayoutAttribute::right);
  EXPECT_EQ(c->relation(), NSLayoutRelation::equal);
  EXPECT_EQ(c->multiplier(), 1);
  EXPECT_EQ(c->priority(), 1000);
  c->setActive(true);
  EXPECT_EQ(c->installedOn(), parent);
  auto w = a->widthAnchor().constraint(30.0);
  EXPECT_EQ(w->secondItem(), nullptr);
  w->setActive(true);
  EXPECT_EQ(w->installedOn(), a);
  c->setActive(false);
  EXPECT_TRUE(parent->constraints().empty());
  auto stranger = UIView::make();
  auto bad = a->topAnchor().constraint(stranger->topAnchor());
  try {
    bad->setActive(true);
    ADD_FAILURE() << "activation without a common ancestor succeeded";
  } catch (const ios::NSException& e) {
    EXPECT_EQ(e.name(), "NSGenericException");
  }
}

TEST_F(NSLayoutConstraintTest, SolvesSideBySideFromTheVisualFormat) {
  parent->addConstraints(format("H:|[a(80)][b]|"));
  parent->addConstraints(format("V:|-10-[a]-10-|"));
  parent->addConstraints(format("V:|[b(==a)]"));
  parent->layoutIfNeeded();
  EXPECT_EQ(a->frame(), CGRect(0, 10, 80, 80));
  EXPECT_EQ(b->frame(), CGRect(80, 0, 120, 80));
}

TEST_F(NSLayoutConstraintTest, StandardSpacingMetricsAndPredicates) {
  auto row = format("H:|-[a]-[b(>=gap@750)]-|");
  ASSERT_EQ(row.size(), 4u);
  EXPECT_EQ(row[0]->constant(), 20);  // edge
  EXPECT_EQ(row[1]->constant(), 8);   // between siblings
  EXPECT_EQ(row[1]->firstAttribute(), NSLayoutAttribute::leading);
  EXPECT_EQ(row[1]->secondAttribute(), NSLayoutAttribute::trailing);
  EXPECT_EQ(row[2]->relation(), NSLayoutRelation::greaterThanOrEqual);
  EXPECT_EQ(row[2]->constant(), 12);
  EXPECT_EQ(row[2]->priority(), 750);
  EXPECT_EQ(row[3]->firstItem(), parent);
  EXPECT_EQ(row[3]->constant(), 20);
  EXPECT_EQ(format("V:[a]-(-4)-[b]")[0]->constant(), -4);
}

// Numbers in a format have '.' as their decimal point whatever the C numeric locale.
TEST_F(NSLayoutConstraintTest, FractionalNumbersReadAlikeInEveryLocale) {
  const auto constants = [&] {
    std::vector<double> out;
    for (const auto& constraint : format("H:|-10.5-[a(>=0.25@750)]-+2.5-|")) out.push_back(constraint->constant());
    return out;
  };
  EXPECT_EQ(constants(), (std::vector<double>{10.5, 0.25, 2.5}));
  kp_test::CommaDecimalLocale comma;
  if (!comma.available()) GTEST_SKIP() << "no comma-decimal locale can be made here";
  EXPECT_EQ(constants(), (std::vector<double>{10.5, 0.25, 2.5}));
}

TEST_F(NSLayoutConstraintTest, UnreadableFormatsRaise) {
  for (const char* bad : {"H:|[c]|", "H:|[a", "H:[a]-x-[b]", "H:|[a(80]|", "", "H:[a]|[b]"}) {
    try {
      (void)format(bad);
      ADD_FAILURE() << bad;
    } catch (const ios::NSException& e) {
      EXPECT_EQ(e.name(), ios::NSInvalidArgumentException) << bad;
    }
  }
  auto orphan = UIView::make();
  EXPECT_THROW((void)NSLayoutConstraint::constraints("H:|[o]", 0, {}, {{"o", orphan}}), ios::NSException);
  // A number beyond a double's range is no number; the largest digits that fit still read.
  const std::string huge(400, '9');
  EXPECT_THROW((void)format(("H:|-" + huge + "-[a]").c_str()), ios::NSException);
  EXPECT_EQ(format(("H:|-" + huge.substr(0, 300) + "-[a]").c_str()).front()->constant(), 1e300);
}

TEST_F(NSLayoutConstraintTest, OpenValuesKeepTheirFramesAndContradictionsAreDropped) {
  a->leftAnchor().constraint(parent->leftAnchor(), 7)->setActive(true);
  a->widthAnchor().constraint(10.0)->setActive(true);
  a->widthAnchor().constraint(20.0)->setActive(true);  // contradicts the one before
  auto weak = a->heightAnchor().constraint(50.0);
  weak->setPriority(250);
  weak->setActive(true);
  parent->layoutIfNeeded();
  EXPECT_EQ(a->frame(), CGRect(7, 2, 10, 4));
  // Centres and multipliers.
  b->centerXAnchor().constraint(parent->centerXAnchor())->setActive(true);
  b->widthAnchor().constraint(parent->widthAnchor(), 0.5, 0)->setActive(true);
  parent->layoutIfNeeded();
  EXPECT_EQ(b->frame(), CGRect(50, 6, 100, 8));
}

// A pass with nothing changed solves nothing; each kind of change makes the next pass
// solve once, with the result that change calls for.
TEST_F(NSLayoutConstraintTest, LayoutSolvesAgainOnlyAfterAChange) {
  auto left = a->leftAnchor().constraint(parent->leftAnchor(), 10);
  auto right = a->rightAnchor().constraint(parent->rightAnchor(), -10);
  auto width = a->widthAnchor().constraint(50.0);
  ios::NSLayoutConstraint::activate({left, right, a->topAnchor().constraint(parent->topAnchor(), 5),
                                     a->heightAnchor().constraint(20.0)});
  b->leftAnchor().constraint(a->rightAnchor(), 1)->setActive(true);
  struct Row {
    const char* name;
    std::function<void()> change;
    CGRect a, b;
  };
  const std::vector<Row> rows = {
      {"first pass", [] {}, CGRect(10, 5, 180, 20), CGRect(191, 6, 7, 8)},
      {"constant", [&] { left->setConstant(20); }, CGRect(20, 5, 170, 20), CGRect(191, 6, 7, 8)},
      {"superview resized", [&] { parent->setFrame(CGRect(0, 0, 300, 100)); }, CGRect(20, 5, 270, 20),
       CGRect(291, 6, 7, 8)},
      {"frame set by hand", [&] { a->setFrame(CGRect(0, 0, 1, 1)); }, CGRect(20, 5, 270, 20),
       CGRect(291, 6, 7, 8)},
      {"constraint added", [&] { width->setActive(true); }, CGRect(20, 5, 270, 20), CGRect(291, 6, 7, 8)},
      {"priority lowered", [&] { right->setPriority(250); }, CGRect(20, 5, 50, 20), CGRect(71, 6, 7, 8)},
      {"constraint removed", [&] { width->setActive(false); }, CGRect(20, 5, 50, 20), CGRect(71, 6, 7, 8)},
      {"priority raised", [&] { right->setPriority(1000); }, CGRect(20, 5, 270, 20), CGRect(291, 6, 7, 8)},
      {"sibling translates its mask", [&] { b->setTranslatesAutoresizingMaskIntoConstraints(true); },
       CGRect(20, 5, 270, 20), CGRect(291, 6, 7, 8)},
      {"sibling moved by hand", [&] { b->setFrame(CGRect(0, 0, 7, 8)); }, CGRect(20, 5, 270, 20),
       CGRect(0, 0, 7, 8)},
      {"sibling taken out", [&] { b->removeFromSuperview(); }, CGRect(20, 5, 270, 20), CGRect(0, 0, 7, 8)},
  };
  for (const Row& row : rows) {
    row.change();
    const auto before = ios::testing::layoutSolveCount();
    parent->layoutIfNeeded();
    EXPECT_EQ(ios::testing::layoutSolveCount(), before + 1) << row.name;
    EXPECT_EQ(a->frame(), row.a) << row.name;
    EXPECT_EQ(b->frame(), row.b) << row.name;
    parent->layoutIfNeeded();
    parent->setNeedsLayout();
    parent->layoutIfNeeded();
    EXPECT_EQ(ios::testing::layoutSolveCount(), before + 1) << row.name << ": solved with nothing changed";
  }
}

// Long stacks and chains come out as the constraints say (the elimination keeps its
// rows short for them).
TEST_F(NSLayoutConstraintTest, LongStacksAndChainsAreLaidOutExactly) {
  constexpr std::size_t kCount = 10000;
  std::vector<std::shared_ptr<UIView>> stack, chain;
  auto column = UIView::make(CGRect(0, 0, 320, 480));
  auto row = UIView::make(CGRect(0, 0, 320, 480));
  for (std::size_t i = 0; i < kCount; ++i) {
    auto s = UIView::make(), c = UIView::make();
    column->addSubview(s);
    row->addSubview(c);
    s->setTranslatesAutoresizingMaskIntoConstraints(false);
    c->setTranslatesAutoresizingMaskIntoConstraints(false);
    NSLayoutConstraint::activate(
        {i == 0 ? s->topAnchor().constraint(column->topAnchor(), 4)
                : s->topAnchor().constraint(stack.back()->bottomAnchor(), 4),
         s->leftAnchor().constraint(column->leftAnchor(), 8), s->rightAnchor().constraint(column->rightAnchor(), -8),
         s->heightAnchor().constraint(20.0)});
    // The chain names its neighbour last, after the view's own size.
    NSLayoutConstraint::activate({c->widthAnchor().constraint(10.0), c->heightAnchor().constraint(10.0),
                                  c->topAnchor().constraint(row->topAnchor()),
                                  i == 0 ? c->leftAnchor().constraint(row->leftAnchor(), 2)
                                         : c->leftAnchor().constraint(chain.back()->rightAnchor(), 2)});
    stack.push_back(s);
    chain.push_back(c);
  }
  column->layoutIfNeeded();
  row->layoutIfNeeded();
  for (std::size_t i = 0; i < kCount; ++i) {
    const auto k = static_cast<double>(i);
    ASSERT_EQ(stack[i]->frame(), CGRect(8, 4 + 24 * k, 304, 20)) << i;
    ASSERT_EQ(chain[i]->frame(), CGRect(2 + 12 * k, 0, 10, 10)) << i;
  }
}

}  // namespace
