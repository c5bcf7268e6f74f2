// Taking many subviews out at once, and many constraints: the same end state as taking
// them out one at a time, in the same order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/quartzcore/CALayer.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"

namespace {

using ios::CGRect;
using ios::UIView;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class UIViewRemovalTest : public ios::testing::PlatformFixture {};

// Two parents with tagged subviews (layers named after the tag), a standalone sublayer
// among the subviews' layers, and one subview whose layer was moved to another layer.
struct Tree {
  std::shared_ptr<UIView> parent = UIView::make(CGRect(0, 0, 100, 100));
  std::shared_ptr<UIView> otherParent = UIView::make(CGRect(0, 0, 100, 100));
  std::shared_ptr<UIView> loose = UIView::make(CGRect(0, 0, 1, 1));
  std::shared_ptr<ios::CALayer> elsewhere = ios::CALayer::make();
  std::vector<std::shared_ptr<UIView>> views;

  explicit Tree(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      auto view = UIView::make(CGRect(0, 0, 1, 1));
      view->setTag(static_cast<std::int64_t>(i));
      view->layer()->setName(std::to_string(i));
      (i == 5 ? otherParent : parent)->addSubview(view);
      views.push_back(view);
      if (i == 2) {
        auto standalone = ios::CALayer::make();
        standalone->setName("standalone");
        parent->layer()->addSublayer(standalone);
      }
    }
    elsewhere->addSublayer(views[3]->layer());
    loose->setTag(-1);
    parent->layoutIfNeeded();
    otherParent->layoutIfNeeded();
  }

  [[nodiscard]] std::vector<std::shared_ptr<UIView>> pick(const std::vector<int>& indexes) const {
    std::vector<std::shared_ptr<UIView>> picked;
    for (int i : indexes) picked.push_back(i < 0 ? loose : views[static_cast<std::size_t>(i)]);
    return picked;
  }

  // Everything removal can change, in one comparable text per part.
  struct State {
    std::vector<std::int64_t> subviews, otherSubviews;
    std::vector<std::string> sublayers, elsewhereSublayers;
    std::vector<std::int64_t> superviewTags;  // per view: the superview's tag, -2 for none
    std::vector<bool> layerHasSuperlayer;
    bool parentNeedsLayout, otherNeedsLayout;
    bool operator==(const State&) const = default;
  };
  [[nodiscard]] State state() const {
    State s;
    for (const auto& v : parent->subviews()) s.subviews.push_back(v->tag());
    for (const auto& v : otherParent->subviews()) s.otherSubviews.push_back(v->tag());
    for (const auto& l : parent->layer()->sublayers().value_or(std::vector<std::shared_ptr<ios::CALayer>>{})) {
      s.sublayers.push_back(l->name().value_or("?"));
    }
    for (const auto& l : elsewhere->sublayers().value_or(std::vector<std::shared_ptr<ios::CALayer>>{})) {
      s.elsewhereSublayers.push_back(l->name().value_or("?"));
    }
    for (const auto& v : views) {
      const auto super = v->superview();
      s.superviewTags.push_back(super == nullptr ? -2 : super == parent ? 100 : 200);
      s.layerHasSuperlayer.push_back(v->layer()->superlayer() != nullptr);
    }
    s.parentNeedsLayout = parent->needsLayout();
    s.otherNeedsLayout = otherParent->needsLayout();
    return s;
  }
};

TEST_F(UIViewRemovalTest, RemovingEachAtOnceEndsAsTheLoopDoes) {
  struct Row {
    const char* name;
    std::vector<int> picked;  // indexes into the views; -1 is a view without a superview
  };
  const Row rows[] = {
      {"nothing", {}},
      {"every other", {0, 2, 4, 6, 8}},
      {"all in order", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"all backwards", {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
      {"the last", {9}},
      {"twice and without a superview", {4, -1, 4, 1}},
      {"another superview among them", {1, 5, 7}},
      {"the view whose layer lives elsewhere", {3, 6}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Tree oneByOne(10), atOnce(10);
    for (const auto& view : oneByOne.pick(row.picked)) view->removeFromSuperview();
    ios::uikit_internal::removeEachFromSuperview(atOnce.pick(row.picked));
    EXPECT_EQ(atOnce.state(), oneByOne.state());
  }
}

TEST_F(UIViewRemovalTest, RemovingEachAtOnceKeepsTheRestInOrder) {
  Tree tree(10);
  ios::uikit_internal::removeEachFromSuperview(tree.pick({1, 4, 8}));
  const Tree::State s = tree.state();
  EXPECT_THAT(s.subviews, ElementsAre(0, 2, 3, 6, 7, 9));
  EXPECT_THAT(s.sublayers, ElementsAre("0", "2", "standalone", "6", "7", "9"));
  EXPECT_THAT(s.elsewhereSublayers, ElementsAre("3"));
  EXPECT_TRUE(s.parentNeedsLayout);
  EXPECT_FALSE(s.otherNeedsLayout);
  EXPECT_EQ(tree.views[4]->superview(), nullptr);
  EXPECT_EQ(tree.views[4]->layer()->superlayer(), nullptr);
}

TEST_F(UIViewRemovalTest, ConstraintsRemovedInAnyOrderLeaveTheRestInOrder) {
  struct Row {
    const char* name;
    std::vector<int> removed;
  };
  const Row rows[] = {
      {"front to back", {0, 1, 2, 3, 4, 5, 6, 7}},
      {"back to front", {7, 6, 5, 4, 3, 2, 1, 0}},
      {"every other", {0, 2, 4, 6}},
      {"the middle, twice", {3, 3, 4}},
      {"one", {5}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto parent = UIView::make(CGRect(0, 0, 100, 100));
    std::vector<ios::NSLayoutConstraintRef> all;
    for (int i = 0; i < 8; ++i) {
      auto child = UIView::make(CGRect(0, 0, 10, 10));
      parent->addSubview(child);
      all.push_back(child->leftAnchor().constraint(parent->leftAnchor(), i));
    }
    parent->addConstraints(all);
    std::vector<bool> gone(all.size());
    for (int i : row.removed) {
      parent->removeConstraint(all[static_cast<std::size_t>(i)]);
      gone[static_cast<std::size_t>(i)] = true;
      // The list reads right after every single removal, not only at the end.
      std::vector<ios::NSLayoutConstraintRef> expected;
      for (std::size_t j = 0; j < all.size(); ++j) {
        if (!gone[j]) expected.push_back(all[j]);
      }
      ASSERT_THAT(parent->constraints(), ElementsAreArray(expected));
    }
    for (std::size_t j = 0; j < all.size(); ++j) {
      EXPECT_EQ(all[j]->isActive(), !gone[j]);
      EXPECT_EQ(all[j]->installedOn(), gone[j] ? nullptr : parent);
    }
    // Installed again after the squeezes, a constraint goes last and can be taken out.
    parent->addConstraint(all[0]);
    EXPECT_EQ(parent->constraints().back(), all[0]);
    ios::NSLayoutConstraint::deactivate({all[0]});
    EXPECT_FALSE(all[0]->isActive());
    gone[0] = true;
    EXPECT_EQ(parent->constraints().size(), static_cast<std::size_t>(std::count(gone.begin(), gone.end(), false)));
  }
}

TEST_F(UIViewRemovalTest, RemoveConstraintsTakesOnlyThisViewsOwn) {
  auto parent = UIView::make(CGRect(0, 0, 100, 100));
  auto child = UIView::make(CGRect(0, 0, 10, 10));
  parent->addSubview(child);
  auto onParent = child->leftAnchor().constraint(parent->leftAnchor());
  auto onChild = child->widthAnchor().constraint(40);
  ios::NSLayoutConstraint::activate({onParent, onChild});
  parent->removeConstraints({onChild, onParent});
  EXPECT_TRUE(parent->constraints().empty());
  EXPECT_TRUE(onChild->isActive());
  EXPECT_THAT(child->constraints(), ElementsAre(onChild));
}

// The order constraints are installed in decides which of two contradicting ones wins;
// removals must not reorder the survivors.
TEST_F(UIViewRemovalTest, SurvivingConstraintsKeepTheirPrecedence) {
  auto parent = UIView::make(CGRect(0, 0, 100, 100));
  auto child = UIView::make(CGRect(0, 0, 10, 10));
  parent->addSubview(child);
  child->setTranslatesAutoresizingMaskIntoConstraints(false);
  std::vector<ios::NSLayoutConstraintRef> widths;
  for (int w = 10; w <= 80; w += 10) widths.push_back(child->widthAnchor().constraint(w));
  parent->addConstraints(widths);
  // 10, 20, 30, 40 go (squeezing the list); 50 is now the first and wins over 60...
  for (std::size_t i = 0; i < 4; ++i) parent->removeConstraint(widths[i]);
  parent->layoutIfNeeded();
  EXPECT_EQ(child->frame().size.width, 50);
}

class Counting : public UIView {
  IOS_RUNTIME_CLASS(Counting, UIView);

 public:
  int layouts = 0;
  void layoutSubviews() override { ++layouts; }

 protected:
  explicit Counting(CGRect frame = CGRect()) : UIView(frame) {}
};
IOS_DEFINE_RUNTIME_CLASS(Counting, "UIViewRemovalTestCounting", nullptr)

TEST_F(UIViewRemovalTest, LayoutPassReachesMarkedViewsBelowUnmarkedOnes) {
  auto root = UIView::make(CGRect(0, 0, 100, 100));
  auto middle = Counting::make(CGRect(0, 0, 50, 50));
  auto leaf = Counting::make(CGRect(0, 0, 10, 10));
  auto quiet = Counting::make(CGRect(0, 0, 10, 10));
  root->addSubview(middle);
  root->addSubview(quiet);
  middle->addSubview(leaf);
  root->layoutIfNeeded();
  EXPECT_EQ(leaf->layouts, 1);
  leaf->setNeedsLayout();
  root->layoutIfNeeded();
  EXPECT_EQ(middle->layouts, 1);
  EXPECT_EQ(leaf->layouts, 2);
  EXPECT_EQ(quiet->layouts, 1);
}

}  // namespace
