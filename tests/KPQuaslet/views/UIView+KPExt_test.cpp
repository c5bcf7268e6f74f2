#include "KPQuaslet/views/UIView+KPExt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "KPQuaslet/views/UIImageView+KPExt.h"
#include "platform/dispatch/DispatchQueue.h"
#include "platform/foundation/NSException.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIGraphics.h"
#include "platform/uikit/UIPhotoAlbum.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITouchSimulator.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/UIViewSubclasses.h"
#include "tests/support/FailingLayer.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PathFixtures.h"

namespace {

using ios::CGPoint;
using ios::CGRect;
using ios::UIColor;
using ios::UIView;
using kp_test::pixelAt;
using ::testing::ElementsAre;

class UIViewKPExt : public ios::testing::PlatformFixture {};

// Counts the frames written to it.
class CountingView : public UIView {
  IOS_RUNTIME_CLASS(CountingView, UIView);

 public:
  int writes = 0;
  int reads = 0;
  CGRect frame() const override {
    ++const_cast<CountingView*>(this)->reads;
    return UIView::frame();
  }
  void setFrame(CGRect f) override {
    ++writes;
    UIView::setFrame(f);
  }

 protected:
  explicit CountingView(CGRect f = CGRect()) : UIView(f) {}
};
IOS_DEFINE_RUNTIME_CLASS(CountingView, "KPExtTestCountingView", nullptr)

// A view whose first-responder answer the test scripts.
class ScriptedResponder : public UIView {
  IOS_RUNTIME_CLASS(ScriptedResponder, UIView);

 public:
  bool first = false;
  bool isFirstResponder() const override { return first; }

 protected:
  ScriptedResponder() = default;
};
IOS_DEFINE_RUNTIME_CLASS(ScriptedResponder, "KPExtTestScriptedResponder", nullptr)

class Field : public UIView {
  IOS_RUNTIME_CLASS(Field, UIView);

 public:
  bool canBecomeFirstResponder() const override { return true; }

 protected:
  Field() = default;
};
IOS_DEFINE_RUNTIME_CLASS(Field, "KPExtTestField", nullptr)

TEST_F(UIViewKPExt, FrameShorthandsReadOnceAndWriteOnce) {
  auto view = CountingView::make(CGRect(0, 0, 40, 10));
  struct Row {
    const char* name;
    void (*set)(UIView&, double);
    double (*get)(const UIView&);
    double value;
    CGRect expected;
  };
  const Row rows[] = {
      {"x", kp::setX, kp::x, 5, CGRect(5, 0, 40, 10)},
      {"y", kp::setY, kp::y, 7, CGRect(0, 7, 40, 10)},
      {"width", kp::setWidth, kp::width, 60, CGRect(0, 0, 60, 10)},
      {"height", kp::setHeight, kp::height, 2, CGRect(0, 0, 40, 2)},
      {"centerX", kp::setCenterX, kp::centerX, 100, CGRect(80, 0, 40, 10)},
      {"centerY", kp::setCenterY, kp::centerY, 100, CGRect(0, 95, 40, 10)},
  };
  for (const Row& row : rows) {
    view->setFrame(CGRect(0, 0, 40, 10));
    view->writes = view->reads = 0;
    row.set(*view, row.value);
    EXPECT_EQ(view->writes, 1) << row.name;
    EXPECT_EQ(view->reads, 1) << row.name;
    EXPECT_EQ(view->UIView::frame(), row.expected) << row.name;
    EXPECT_EQ(row.get(*view), row.value) << row.name;
  }
  view->setFrame(CGRect(1, 2, 3, 4));
  EXPECT_EQ(kp::minX(*view), 1);
  EXPECT_EQ(kp::minY(*view), 2);
  EXPECT_EQ(kp::maxX(*view), 4);
  EXPECT_EQ(kp::maxY(*view), 6);
}

TEST_F(UIViewKPExt, FrameShorthandsKeepTheSizeOfATransformedView) {
  auto view = UIView::make(CGRect(0, 0, 40, 10));
  view->setTransform(ios::CGAffineTransformMakeScale(2, 2));
  kp::setX(*view, kp::x(*view) + 5);
  EXPECT_EQ(view->bounds().size, ios::CGSize(40, 10));
  EXPECT_EQ(view->frame(), CGRect(-15, -5, 80, 20));
}

TEST_F(UIViewKPExt, CenterPointIsHalfTheBoundsSizeWhateverTheOrigin) {
  auto scroll = ios::UIScrollView::make(CGRect(0, 0, 100, 50));
  EXPECT_EQ(kp::centerPoint(*scroll), CGPoint(50, 25));
  scroll->setContentOffset({0, 200});
  EXPECT_EQ(kp::centerPoint(*scroll), CGPoint(50, 25));
  scroll->setContentOffset({-30, 7});
  EXPECT_EQ(kp::centerPoint(*scroll), CGPoint(50, 25));
}

TEST_F(UIViewKPExt, LayerStylingAndItsRuntimeMessages) {
  auto view = UIView::make(CGRect(0, 0, 10, 10));
  kp::setCornerRadius(*view, 0);
  EXPECT_TRUE(view->layer()->masksToBounds());
  ios::send<void>(view, ios::sel_registerName("setCornerRadius:"), 6.0);
  EXPECT_EQ(ios::send<double>(view, ios::sel_registerName("cornerRadius")), 6.0);
  ios::send<void>(view, ios::sel_registerName("setBorderWidth:"), 2.0);
  EXPECT_EQ(kp::borderWidth(*view), 2.0);
  EXPECT_EQ(kp::borderColor(*view), UIColor::black());  // the layer's default
  kp::setBorderColor(*view, std::nullopt);
  EXPECT_FALSE(view->layer()->borderColor().has_value());
  EXPECT_EQ(ios::send<std::optional<UIColor>>(view, ios::sel_registerName("borderColor")), std::nullopt);
  ios::send<void>(view, ios::sel_registerName("setBorderColor:"), std::optional<UIColor>(UIColor::red()));
  EXPECT_EQ(kp::borderColor(*view), UIColor::red());

  const ios::Class cls = UIView::classObject();
  EXPECT_THAT(ios::categoryNames(cls), ::testing::Contains("KPQuaslet"));
  EXPECT_STREQ(ios::property_getAttributes(ios::class_getProperty(cls, "borderColor")), "T@\"UIColor\",N,&");
  EXPECT_STREQ(ios::property_getAttributes(ios::class_getProperty(cls, "cornerRadius")), "Td,N");
  EXPECT_TRUE(ios::class_respondsToSelector(cls, ios::sel_registerName("hideKeyboard")));
}

TEST_F(UIViewKPExt, HierarchyHelpersTakeEveryElement) {
  auto root = UIView::make();
  auto a = UIView::make(), b = UIView::make(), c = UIView::make();
  kp::addSubviews(*root, a, b);
  const std::vector<std::shared_ptr<UIView>> more{c};
  kp::addSubviews(*root, more);
  EXPECT_THAT(root->subviews(), ElementsAre(a, b, c));
  kp::removeSubviews(*root);
  EXPECT_TRUE(root->subviews().empty());
  for (int i = 0; i < 3; ++i) root->addGestureRecognizer(ios::UITapGestureRecognizer::make());
  kp::removeGestureRecognizers(*root);
  EXPECT_FALSE(root->gestureRecognizers().has_value());
}

TEST_F(UIViewKPExt, FirstResponderSearchesBreadthFirst) {
  auto root = ScriptedResponder::make();
  auto shallow = ScriptedResponder::make(), deep = ScriptedResponder::make(), sibling = ScriptedResponder::make();
  root->addSubview(shallow);
  root->addSubview(sibling);
  shallow->addSubview(deep);
  EXPECT_EQ(kp::firstResponder(*root), nullptr);
  deep->first = sibling->first = true;
  EXPECT_EQ(kp::firstResponder(*root), sibling);  // shallower wins over earlier-but-deeper
  shallow->first = true;
  EXPECT_EQ(kp::firstResponder(*root), shallow);
  root->first = true;
  EXPECT_EQ(kp::firstResponder(*root), root);
}

TEST_F(UIViewKPExt, AncestorSearchSkipsTheReceiverAndEndsWithNull) {
  auto window = ios::UIWindow::make();
  auto middle = UIView::make(), leaf = UIView::make();
  window->addSubview(middle);
  middle->addSubview(leaf);
  std::vector<UIView*> seen;
  auto none = kp::ancestorView(*leaf, [&](UIView* v) {
    seen.push_back(v);
    return false;
  });
  EXPECT_EQ(none, nullptr);
  EXPECT_THAT(seen, ElementsAre(middle.get(), window.get(), nullptr));
  EXPECT_EQ(kp::ancestorView<ios::UIWindow>(*leaf), window);
  EXPECT_EQ(kp::ancestorView<ios::UIWindow>(*window), nullptr);
  EXPECT_EQ(kp::ancestorView<UIView>(*leaf), middle);
}

TEST_F(UIViewKPExt, TapToCloseEditingResignsTheFieldButLeavesInteractionAlone) {
  auto form = UIView::make(CGRect(0, 0, 100, 100));
  auto field = Field::make();
  form->addSubview(field);
  ASSERT_TRUE(field->becomeFirstResponder());
  kp::addTapToCloseEditing(*form);
  EXPECT_TRUE(form->isUserInteractionEnabled());
  EXPECT_TRUE(ios::testing::TouchSimulator::tap(*form));
  EXPECT_FALSE(field->isFirstResponder());

  auto label = ios::UILabel::make(CGRect(0, 0, 10, 10));
  kp::addTapToCloseEditing(*label);
  EXPECT_FALSE(label->isUserInteractionEnabled());
  EXPECT_FALSE(ios::testing::TouchSimulator::tap(*label));
}

TEST_F(UIViewKPExt, AnimateWithDurationPassesItsCompletionOn) {
  ios::testing::ManualDispatch dispatch;
  auto view = UIView::make();
  std::vector<bool> finished;
  kp::animateWithDuration(0.2, 0.3, [&] { view->setAlpha(0.5); }, [&](bool f) { finished.push_back(f); });
  kp::animateWithDuration(0.2, 0, [] {});
  const auto& records = ios::testing::recordedViewAnimations();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].options, 0u);
  EXPECT_EQ(records[0].delay, 0.3);
  EXPECT_FALSE(records[1].hasCompletion);
  dispatch.advance(0.5);
  EXPECT_THAT(finished, ElementsAre(true));
}

TEST_F(UIViewKPExt, ScreenshotsHaveTheirScaleSizeAndPixels) {
  ios::testing::setMainScreenScale(3);
  auto view = UIView::make(CGRect(0, 0, 4, 2));
  view->setBackgroundColor(UIColor::red());
  auto half = UIView::make(CGRect(2, 0, 2, 2));
  half->setBackgroundColor(UIColor::blue());
  view->addSubview(half);

  const ios::UIImage fixed = kp::screenshot(*view);
  EXPECT_EQ(fixed.scale(), 2);
  EXPECT_EQ(fixed.size(), ios::CGSize(4, 2));
  EXPECT_EQ(pixelAt(*fixed.cgImage(), 1, 1), kp_test::kRed);
  EXPECT_EQ(pixelAt(*fixed.cgImage(), 6, 3), kp_test::kBlue);

  for (double scale : {1.0, 2.0, 3.0}) {
    ios::testing::setMainScreenScale(scale);
    auto shot = kp::screenshot(*view, false);
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->scale(), scale);
    EXPECT_EQ(shot->cgImage()->width(), static_cast<std::size_t>(4 * scale));
    EXPECT_EQ(pixelAt(*shot->cgImage(), static_cast<std::size_t>(3 * scale), 0), kp_test::kBlue);
  }
  EXPECT_TRUE(ios::testing::savedPhotos().empty());
  auto saved = kp::screenshot(*view, true);
  ASSERT_TRUE(saved);
  // The album holds the same picture, read back from its file.
  const auto album = ios::testing::savedPhotos();
  ASSERT_EQ(album.size(), 1u);
  ASSERT_NE(album[0].image.cgImage(), nullptr);
  EXPECT_EQ(album[0].image.cgImage()->width(), saved->cgImage()->width());
  EXPECT_EQ(pixelAt(*album[0].image.cgImage(), 1, 1), pixelAt(*saved->cgImage(), 1, 1));
  EXPECT_EQ(pixelAt(*album[0].image.cgImage(), saved->cgImage()->width() - 1, 0), kp_test::kBlue);
}

TEST_F(UIViewKPExt, ScreenshotsOfTransformedOrEmptyViewsAreSound) {
  auto view = UIView::make(CGRect(0, 0, 4, 2));
  view->setBackgroundColor(UIColor::red());
  view->setTransform(ios::CGAffineTransformMakeScale(2, 2));
  // The layer draws in its own bounds: the image has the bounds size, all of it drawn.
  const ios::UIImage shot = kp::screenshot(*view);
  EXPECT_EQ(shot.size(), ios::CGSize(4, 2));
  EXPECT_EQ(pixelAt(*shot.cgImage(), 7, 3), kp_test::kRed);

  auto empty = UIView::make();
  EXPECT_EQ(kp::screenshot(*empty).cgImage(), nullptr);
  EXPECT_FALSE(kp::screenshot(*empty, true).has_value());
  EXPECT_TRUE(ios::testing::savedPhotos().empty());
}

// A drawing that fails ends the image context it was made in, whichever way it is taken.
TEST_F(UIViewKPExt, AScreenshotThatFailsEndsItsContext) {
  auto view = UIView::make(CGRect(0, 0, 4, 2));
  view->layer()->addSublayer(kp_test::FailingLayer::make());
  auto window = ios::UIWindow::make(CGRect(0, 0, 4, 2));
  window->addSubview(view);
  EXPECT_THROW((void)kp::screenshot(*view), std::runtime_error);
  EXPECT_THROW((void)kp::screenshot(*view, true), std::runtime_error);
  EXPECT_THROW((void)kp::capture(*window), std::runtime_error);
  EXPECT_EQ(ios::testing::graphicsContextDepth(), 0u);
  EXPECT_TRUE(ios::testing::savedPhotos().empty());
}

TEST_F(UIViewKPExt, RoundCornersMasksWithTheRoundedBounds) {
  auto view = UIView::make(CGRect(0, 0, 40, 40));
  view->setBackgroundColor(UIColor::red());
  kp::roundCorners(*view, ios::UIRectCorner::topLeft, 10);
  auto mask = std::dynamic_pointer_cast<ios::CAShapeLayer>(view->layer()->mask());
  ASSERT_NE(mask, nullptr);
  EXPECT_FALSE(kp_test::pathContains(*mask->path, {1, 1}));
  EXPECT_TRUE(kp_test::pathContains(*mask->path, {39, 39}));
  EXPECT_TRUE(kp_test::pathContains(*mask->path, {39, 1}));
  ios::testing::setMainScreenScale(1);
  auto shot = kp::screenshot(*view, false);
  EXPECT_EQ(pixelAt(*shot->cgImage(), 0, 0), kp_test::kClear);
  EXPECT_EQ(pixelAt(*shot->cgImage(), 39, 0), kp_test::kRed);
  kp::roundCorners(*view, ios::UIRectCorner::allCorners, 5);
  EXPECT_NE(view->layer()->mask(), mask);
}

TEST_F(UIViewKPExt, RoundViewAndAddShadow) {
  auto view = UIView::make(CGRect(0, 0, 40, 100));
  kp::roundView(*view);
  EXPECT_EQ(view->layer()->cornerRadius(), 20);
  EXPECT_FALSE(view->layer()->masksToBounds());
  view->layer()->setMasksToBounds(true);
  kp::addShadow(*view, UIColor::red(), 4, {1, 2}, 0.5f);
  EXPECT_EQ(view->layer()->shadowColor(), UIColor::red().cgColor());
  EXPECT_EQ(view->layer()->shadowRadius(), 4);
  EXPECT_EQ(view->layer()->shadowOffset(), ios::CGSize(1, 2));
  EXPECT_EQ(view->layer()->shadowOpacity(), 0.5f);
  EXPECT_FALSE(view->layer()->masksToBounds());
}

}  // namespace

namespace {

class UIViewKPExtNib : public ios::testing::PlatformFixture {};

TEST_F(UIViewKPExtNib, LoadFromNibAnswersTheFirstObjectWhenItIsAView) {
  auto made = std::make_shared<int>(0);
  ios::testing::registerNib("Card", [made] {
    ++*made;
    return std::vector<ios::id>{UIView::make(CGRect(0, 0, 5, 5)), ios::NSObject::make()};
  });
  ios::testing::registerNib("Odd", [] { return std::vector<ios::id>{ios::NSObject::make(), UIView::make()}; });
  ios::testing::registerNib("Empty", [] { return std::vector<ios::id>{}; });
  auto card = kp::loadFromNib("Card", nullptr);
  ASSERT_NE(card, nullptr);
  EXPECT_EQ(card->frame(), CGRect(0, 0, 5, 5));
  EXPECT_NE(kp::loadFromNib("Card", nullptr), card);  // made afresh
  EXPECT_EQ(*made, 2);
  EXPECT_EQ(kp::loadFromNib("Odd", nullptr), nullptr);
  EXPECT_EQ(kp::loadFromNib("Empty", nullptr), nullptr);
  try {
    (void)kp::loadFromNib("Missing", nullptr);
    ADD_FAILURE() << "a missing nib loaded";
  } catch (const ios::NSException& e) {
    EXPECT_EQ(*e.reason(), "Could not load NIB in bundle: 'main' with name 'Missing'");
  }
}

}  // namespace
