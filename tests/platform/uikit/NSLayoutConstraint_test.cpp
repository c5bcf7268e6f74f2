#include "platform/uikit/NSLayoutConstraint.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/foundation/NSException.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIView.h"

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
  EXPECT_EQ(c->priority, 1000);
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
  EXPECT_EQ(row[2]->priority, 750);
  EXPECT_EQ(row[3]->firstItem(), parent);
  EXPECT_EQ(row[3]->constant(), 20);
  EXPECT_EQ(format("V:[a]-(-4)-[b]")[0]->constant(), -4);
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
}

TEST_F(NSLayoutConstraintTest, OpenValuesKeepTheirFramesAndContradictionsAreDropped) {
  a->leftAnchor().constraint(parent->leftAnchor(), 7)->setActive(true);
  a->widthAnchor().constraint(10.0)->setActive(true);
  a->widthAnchor().constraint(20.0)->setActive(true);  // contradicts the one before
  auto weak = a->heightAnchor().constraint(50.0);
  weak->priority = 250;
  weak->setActive(true);
  parent->layoutIfNeeded();
  EXPECT_EQ(a->frame(), CGRect(7, 2, 10, 4));
  // Centres and multipliers.
  b->centerXAnchor().constraint(parent->centerXAnchor())->setActive(true);
  b->widthAnchor().constraint(parent->widthAnchor(), 0.5, 0)->setActive(true);
  parent->layoutIfNeeded();
  EXPECT_EQ(b->frame(), CGRect(50, 6, 100, 8));
}

}  // namespace
