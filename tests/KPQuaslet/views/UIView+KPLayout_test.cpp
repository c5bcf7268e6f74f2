#include "KPQuaslet/views/UIView+KPLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/foundation/NSException.h"
#include "platform/testing/PlatformFixture.h"

namespace {

using ios::CGRect;
using ios::NSLayoutAttribute;
using ios::UIView;

class UIViewKPLayout : public ios::testing::PlatformFixture {
 protected:
  std::shared_ptr<UIView> super = UIView::make(CGRect(0, 0, 200, 100));
  std::shared_ptr<UIView> a = UIView::make();
  std::shared_ptr<UIView> b = UIView::make();
};

TEST_F(UIViewKPLayout, VisualFormatNamesViewsByPositionAndLaysThemOutSideBySide) {
  super->addSubview(a);
  super->addSubview(b);
  kp::addConstraints(*super, "H:|[v0(80)][v1]|", {a, b});
  kp::addConstraints(*super, "V:|[v0]|", {a});
  kp::addConstraints(*super, "V:|[v0]|", {b});
  EXPECT_FALSE(a->translatesAutoresizingMaskIntoConstraints());
  super->layoutIfNeeded();
  EXPECT_EQ(a->frame(), CGRect(0, 0, 80, 100));
  EXPECT_EQ(b->frame(), CGRect(80, 0, 120, 100));
  // The same view twice gets two names.
  kp::addConstraints(*super, "H:[v0]-5-[v1]", {a, a});
  const auto last = super->constraints().back();
  EXPECT_EQ(last->firstItem(), a);
  EXPECT_EQ(last->secondItem(), a);
  EXPECT_THROW(kp::addConstraints(*super, "H:|[v2]|", {a}), ios::NSException);
}

TEST_F(UIViewKPLayout, FillAndCentreNeedASuperview) {
  kp::fillToSuperview(*a);
  kp::anchorCenterSuperview(*b);
  EXPECT_FALSE(a->translatesAutoresizingMaskIntoConstraints());
  EXPECT_FALSE(b->translatesAutoresizingMaskIntoConstraints());
  EXPECT_TRUE(a->constraints().empty());

  super->addSubview(a);
  kp::fillToSuperview(*a);
  const auto pins = super->constraints();
  ASSERT_EQ(pins.size(), 4u);
  std::vector<NSLayoutAttribute> order;
  for (const auto& c : pins) order.push_back(c->firstAttribute());
  EXPECT_THAT(order, ::testing::ElementsAre(NSLayoutAttribute::left, NSLayoutAttribute::right,
                                            NSLayoutAttribute::top, NSLayoutAttribute::bottom));
  super->layoutIfNeeded();
  EXPECT_EQ(a->frame(), super->bounds());

  super->addSubview(b);
  b->setFrame(CGRect(0, 0, 20, 10));
  kp::anchorCenterXToSuperview(*b, 5);
  kp::anchorCenterYToSuperview(*b);
  super->layoutIfNeeded();
  EXPECT_EQ(b->frame(), CGRect(95, 45, 20, 10));
}

TEST_F(UIViewKPLayout, AnchorNegatesBottomAndRightAndSkipsEmptySizes) {
  super->addSubview(a);
  EXPECT_TRUE(kp::anchor(*a, std::nullopt, std::nullopt, std::nullopt, std::nullopt).empty());
  EXPECT_FALSE(a->translatesAutoresizingMaskIntoConstraints());
  const auto made = kp::anchor(*a, super->topAnchor(), super->leftAnchor(), super->bottomAnchor(),
                               super->rightAnchor(), 1, 2, 8, 4, 0, -5);
  ASSERT_EQ(made.size(), 4u);
  EXPECT_EQ(made[2]->constant(), -8);
  EXPECT_EQ(made[3]->constant(), -4);
  for (const auto& c : made) EXPECT_TRUE(c->isActive());
  super->layoutIfNeeded();
  EXPECT_EQ(a->frame(), CGRect(2, 1, 194, 91));

  super->addSubview(b);
  const auto sized = kp::anchor(*b, super->topAnchor(), std::nullopt, std::nullopt, super->rightAnchor(), 0, 0, 0,
                                8, 30, 20);
  ASSERT_EQ(sized.size(), 4u);
  EXPECT_EQ(sized[2]->firstAttribute(), NSLayoutAttribute::width);
  EXPECT_EQ(sized[3]->firstAttribute(), NSLayoutAttribute::height);
  super->layoutIfNeeded();
  EXPECT_EQ(b->frame(), CGRect(162, 0, 30, 20));
}

}  // namespace
