#include "platform/uikit/UIView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/quartzcore/CAAnimation.h"
#include "platform/quartzcore/CAGradientLayer.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIGestureRecognizer.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINib.h"
#include "platform/uikit/UIStoryboard.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIToolbar.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIViewExtras.h"
#include "platform/uikit/UIWebView.h"
#include "platform/uikit/UIViewSubclasses.h"

namespace {

using ios::CGPoint;
using ios::CGRect;
using ios::UIView;
using ::testing::ElementsAre;

class UIViewTest : public ios::testing::PlatformFixture {};

// A view that can take keyboard input.
class Field : public UIView {
  IOS_RUNTIME_CLASS(Field, UIView);

 public:
  bool canBecomeFirstResponder() const override { return true; }

 protected:
  Field() = default;
};
IOS_DEFINE_RUNTIME_CLASS(Field, "UIViewTestField", nullptr)

TEST_F(UIViewTest, GeometryIsAViewOntoTheLayer) {
  auto view = UIView::make(CGRect(10, 20, 40, 10));
  EXPECT_EQ(view->center(), CGPoint(30, 25));
  EXPECT_EQ(view->layer()->position(), CGPoint(30, 25));
  EXPECT_EQ(view->bounds(), CGRect(0, 0, 40, 10));
  view->setTransform(ios::CGAffineTransformMakeScale(2, 2));
  EXPECT_EQ(view->frame(), CGRect(-10, 15, 80, 20));
  EXPECT_EQ(view->bounds(), CGRect(0, 0, 40, 10));
  // The view transform is the affine part of the layer's: setting it drops perspective.
  ios::CATransform3D t = ios::CATransform3DIdentity;
  t.m34 = -0.001;
  view->layer()->setTransform(ios::CATransform3DScale(t, 2, 2, 1));
  EXPECT_EQ(view->transform(), ios::CGAffineTransformMakeScale(2, 2));
  view->setTransform(view->transform());
  EXPECT_EQ(view->layer()->transform().m34, 0);
  view->setAlpha(0.25);
  EXPECT_EQ(view->layer()->opacity(), 0.25f);
  view->setClipsToBounds(true);
  EXPECT_TRUE(view->layer()->masksToBounds());
}

TEST_F(UIViewTest, SubviewsAreMirroredAsSublayersAroundStandaloneLayers) {
  auto root = UIView::make(), a = UIView::make(), b = UIView::make();
  auto extra = ios::CALayer::make();
  root->addSubview(a);
  root->layer()->addSublayer(extra);
  root->addSubview(b);
  EXPECT_THAT(*root->layer()->sublayers(), ElementsAre(a->layer(), extra, b->layer()));
  root->insertSubview(b, 0);
  EXPECT_THAT(root->subviews(), ElementsAre(b, a));
  EXPECT_THAT(*root->layer()->sublayers(), ElementsAre(b->layer(), a->layer(), extra));
  a->removeFromSuperview();
  EXPECT_EQ(a->superview(), nullptr);
  EXPECT_EQ(a->layer()->superlayer(), nullptr);
  b->addSubview(root);  // a view cannot go into its own subtree
  EXPECT_TRUE(b->subviews().empty());
  EXPECT_EQ(root->viewWithTag(0), root);
}

TEST_F(UIViewTest, NextResponderIsTheSuperview) {
  auto root = UIView::make(), child = UIView::make();
  root->addSubview(child);
  EXPECT_EQ(child->nextResponder(), root);
  EXPECT_EQ(root->nextResponder(), nullptr);
}

TEST_F(UIViewTest, FirstResponderIsUniqueAndEndEditingResignsIt) {
  auto root = UIView::make(), plain = UIView::make();
  auto one = Field::make(), two = Field::make();
  root->addSubview(one);
  root->addSubview(two);
  EXPECT_FALSE(plain->becomeFirstResponder());
  EXPECT_TRUE(one->becomeFirstResponder());
  EXPECT_TRUE(two->becomeFirstResponder());
  EXPECT_FALSE(one->isFirstResponder());
  EXPECT_FALSE(plain->endEditing(true));
  EXPECT_TRUE(root->endEditing(true));
  EXPECT_FALSE(two->isFirstResponder());
}

TEST_F(UIViewTest, ConvertAndHitTestFollowTransformsAndSkipHiddenOrInertViews) {
  auto root = UIView::make(CGRect(0, 0, 100, 100));
  auto card = UIView::make(CGRect(10, 10, 20, 20));
  auto scroll = ios::UIScrollView::make(CGRect(50, 50, 40, 40));
  root->addSubview(card);
  root->addSubview(scroll);
  EXPECT_EQ(card->convert(CGPoint(0, 0), root.get()), CGPoint(10, 10));
  scroll->setContentOffset({0, 30});
  EXPECT_EQ(scroll->bounds().origin, CGPoint(0, 30));
  EXPECT_EQ(scroll->convert(CGPoint(0, 30), root.get()), CGPoint(50, 50));
  EXPECT_EQ(root->hitTest({15, 15}), card);
  card->setHidden(true);
  EXPECT_EQ(root->hitTest({15, 15}), root);
  card->setHidden(false);
  card->setAlpha(0.005);
  EXPECT_EQ(root->hitTest({15, 15}), root);
  card->setAlpha(1);
  card->setUserInteractionEnabled(false);
  EXPECT_EQ(root->hitTest({15, 15}), root);
  EXPECT_EQ(root->hitTest({150, 15}), nullptr);
}

TEST_F(UIViewTest, ClassDefaultsForInteractionAndImages) {
  EXPECT_TRUE(UIView::make()->isUserInteractionEnabled());
  EXPECT_FALSE(ios::UILabel::make()->isUserInteractionEnabled());
  auto imageView = ios::UIImageView::make();
  EXPECT_FALSE(imageView->isUserInteractionEnabled());
  EXPECT_FALSE(UIView::make()->gestureRecognizers().has_value());
  EXPECT_TRUE(UIView::make()->translatesAutoresizingMaskIntoConstraints());
  EXPECT_TRUE(ios::UIWindow::make()->isOpaque());
}

TEST_F(UIViewTest, RecognizersBelongToOneViewAndAreReleasedWithIt) {
  auto a = UIView::make(), b = UIView::make();
  auto tap = ios::UITapGestureRecognizer::make();
  std::weak_ptr<ios::UITapGestureRecognizer> weak = tap;
  a->addGestureRecognizer(tap);
  b->addGestureRecognizer(tap);
  EXPECT_FALSE(a->gestureRecognizers().has_value());
  EXPECT_EQ(tap->view(), b);
  tap.reset();
  b.reset();
  EXPECT_TRUE(weak.expired());
}

// Views and their layers stay in step whichever end a tree is emptied from, also with
// standalone sublayers between them and with views moved inside one superview.
TEST_F(UIViewTest, RemovingAndReinsertingKeepsViewsAndLayersInStep) {
  enum class Order { frontFirst, backFirst, middleFirst };
  for (Order order : {Order::frontFirst, Order::backFirst, Order::middleFirst}) {
    auto root = UIView::make();
    std::vector<std::shared_ptr<UIView>> views;
    for (int i = 0; i < 5; ++i) {
      views.push_back(UIView::make());
      root->addSubview(views.back());
    }
    auto extra = ios::CALayer::make();
    root->layer()->insertSublayerBelow(extra, views[2]->layer().get());
    root->insertSubview(views[4], 1);  // moved within the same superview
    EXPECT_THAT(root->subviews(), ElementsAre(views[0], views[4], views[1], views[2], views[3]));
    EXPECT_THAT(*root->layer()->sublayers(), ElementsAre(views[0]->layer(), views[4]->layer(), views[1]->layer(),
                                                         extra, views[2]->layer(), views[3]->layer()));
    std::vector<std::shared_ptr<UIView>> removal = root->subviews();
    if (order == Order::backFirst) std::reverse(removal.begin(), removal.end());
    if (order == Order::middleFirst) std::rotate(removal.begin(), removal.begin() + 2, removal.end());
    for (std::size_t i = 0; i < removal.size(); ++i) {
      removal[i]->removeFromSuperview();
      EXPECT_EQ(root->subviews().size(), removal.size() - i - 1);
      EXPECT_EQ(removal[i]->layer()->superlayer(), nullptr);
    }
    EXPECT_THAT(*root->layer()->sublayers(), ElementsAre(extra));
  }
}

// Emptying a wide tree takes time in proportion to its width: eight times the views take
// about eight times as long (a cost that grew with the square would take sixty-four; the
// bound leaves room for a loaded machine).
TEST_F(UIViewTest, FillingAndEmptyingAWideTreeIsLinear) {
  auto cost = [](std::size_t n) {
    std::vector<std::shared_ptr<UIView>> views;
    for (std::size_t i = 0; i < n; ++i) views.push_back(UIView::make());
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
      auto root = UIView::make();
      const auto start = std::chrono::steady_clock::now();
      for (auto& v : views) root->addSubview(v);
      for (auto& v : root->subviews()) v->removeFromSuperview();
      best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      EXPECT_FALSE(root->layer()->sublayers().has_value());
    }
    return best;
  };
  const double small = cost(5000), large = cost(40000);
  EXPECT_LT(large / small, 24.0) << small << " s for 5000 views, " << large << " s for 40000";
}

// Every class the platform registers by name can be made by name, whatever the access
// of its constructor, as the kind of object it names; only those that need arguments to
// exist at all (a constraint needs its items, an action its title and style) cannot.
TEST_F(UIViewTest, RegisteredClassesAreMadeByName) {
  using namespace ios;
  const Class madeByName[] = {
      UIResponder::classObject(), UIView::classObject(), UIWindow::classObject(), UILabel::classObject(),
      UIImageView::classObject(), UIScrollView::classObject(), UITextField::classObject(),
      UITextView::classObject(), UIControl::classObject(), UIButton::classObject(), UISwitch::classObject(),
      UISegmentedControl::classObject(), UIGestureRecognizer::classObject(),
      UITapGestureRecognizer::classObject(), UISwipeGestureRecognizer::classObject(),
      UIPanGestureRecognizer::classObject(), UIPinchGestureRecognizer::classObject(),
      UILongPressGestureRecognizer::classObject(), UINavigationBar::classObject(), UINavigationItem::classObject(),
      UINavigationItemView::classObject(), UINavBarPrompt::classObject(),
      UINavigationBarBackIndicatorView::classObject(), UIViewController::classObject(),
      UINavigationController::classObject(), UITabBar::classObject(), UITabBarController::classObject(),
      UITableView::classObject(), UITableViewCell::classObject(), UICollectionView::classObject(),
      UICollectionViewCell::classObject(), UICollectionReusableView::classObject(), UIToolbar::classObject(),
      UIBarButtonItem::classObject(), UIWebView::classObject(), UIActivityIndicatorView::classObject(),
      UIVisualEffectView::classObject(), UIStackView::classObject(), UIDynamicAnimator::classObject(),
      UIDynamicBehavior::classObject(), CALayer::classObject(), CAShapeLayer::classObject(),
      CAGradientLayer::classObject(), CAAnimation::classObject(), CABasicAnimation::classObject(),
      CAKeyframeAnimation::classObject()};
  for (Class cls : madeByName) {
    const id made = class_createInstance(objc_getClass(class_getName(cls)));
    ASSERT_NE(made, nullptr) << class_getName(cls);
    EXPECT_TRUE(made->isMemberOfClass(cls)) << class_getName(cls);
  }
  for (Class cls : {NSLayoutConstraint::classObject(), UIAlertAction::classObject(), UIAlertController::classObject(),
                    UINib::classObject(), UIStoryboard::classObject()}) {
    EXPECT_EQ(class_createInstance(cls), nullptr) << class_getName(cls);
  }
  // A view made by name behaves as one made by its factory.
  auto view = std::static_pointer_cast<UIView>(class_createInstance(objc_getClass("UIView")));
  auto child = UIView::make();
  view->addSubview(child);
  EXPECT_EQ(child->superview(), view);
}

}  // namespace
