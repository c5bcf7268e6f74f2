#include "KPQuaslet/views/UIImageView+FacesFill.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "KPQuaslet/imaging/UIImage+KPGeometry.h"
#include "KPQuaslet/views/UIImageView+KPExt.h"
#include "platform/coreimage/CIDetector.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"
#include "platform/uikit/UIViewAnimation.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ManualDispatchFixture.h"
#include "tests/support/Portrait.h"

namespace {

using ios::CGRect;
using ios::UIImageView;

class FacesFill : public ios::testing::ManualDispatchFixture {
 protected:
  // Every image has the faces `faces` (bottom-left pixel coordinates).
  void scriptFaces(std::vector<CGRect> faces) {
    ios::testing::setFaceDetector([faces](const ios::CGImage&) { return faces; });
  }
  std::shared_ptr<ios::CALayer> faceLayer(const UIImageView& view) {
    for (const auto& layer : view.layer()->sublayers().value_or(std::vector<std::shared_ptr<ios::CALayer>>{})) {
      if (layer->name() == "AspectFillFaceAware") return layer;
    }
    return nullptr;
  }
};

ios::UIImage blankImage(std::size_t w, std::size_t h) {
  return kp_test::makeImage(w, h, [](auto, auto) { return kp_test::kWhite; });
}

TEST_F(FacesFill, CropFramesCentreTheFaces) {
  struct Row {
    const char* name;
    CGRect view;
    std::size_t w, h;
    std::vector<CGRect> faces;
    CGRect frame;
  };
  const std::vector<Row> rows = {
      {"wide view, face high", {0, 0, 200, 100}, 1000, 1000, {{600, 700, 100, 100}}, {0, -11.8, 200, 200}},
      {"wide view, face low clamps to the bottom", {0, 0, 200, 100}, 1000, 1000, {{600, 0, 100, 100}},
       {0, -100, 200, 200}},
      {"wide view, face at the top clamps to 0", {0, 0, 200, 100}, 1000, 1000, {{0, 950, 50, 50}}, {0, 0, 200, 200}},
      {"tall view, face right clamps", {0, 0, 100, 200}, 1000, 500, {{900, 200, 100, 100}}, {-300, 0, 400, 200}},
      {"two faces centre on their joint box", {0, 0, 100, 200}, 1000, 500,
       {{100, 200, 100, 100}, {700, 200, 100, 100}}, {-130, 0, 400, 200}},
      {"equal ratios take the width, which cannot move", {0, 0, 100, 100}, 400, 400, {{150, 150, 100, 100}},
       {0, 0, 100, 100}},
  };
  for (const Row& row : rows) {
    scriptFaces(row.faces);
    auto view = UIImageView::make(row.view);
    const ios::UIImage image = blankImage(row.w, row.h);
    ios::testing::CapturedOutput output;
    kp::set(*view, image, true);
    EXPECT_FALSE(kp::focusOnFaces(*view)) << row.name;  // nothing before the queues run
    dispatch_.runPending();
    auto layer = faceLayer(*view);
    ASSERT_NE(layer, nullptr) << row.name;
    const CGRect f = layer->frame();
    EXPECT_NEAR(f.origin.x, row.frame.origin.x, 1e-9) << row.name;
    EXPECT_NEAR(f.origin.y, row.frame.origin.y, 1e-9) << row.name;
    EXPECT_EQ(f.size, row.frame.size) << row.name;
    EXPECT_EQ(layer->contents(), image.cgImage()) << row.name;
    EXPECT_EQ(view->image(), image) << row.name;
    EXPECT_EQ(output.text(), "found " + std::to_string(row.faces.size()) + " faces\n") << row.name;
  }
}

TEST_F(FacesFill, FaceLayerIsMadeOnceOnTopWithoutImplicitAnimations) {
  scriptFaces({{10, 10, 10, 10}});
  auto view = UIImageView::make(CGRect(0, 0, 50, 50));
  view->layer()->addSublayer(ios::CALayer::make());
  kp::set(*view, blankImage(40, 40), true);
  dispatch_.runPending();
  auto first = faceLayer(*view);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(view->layer()->sublayers()->back(), first);
  ASSERT_TRUE(first->actions().has_value());
  EXPECT_EQ(first->actions()->size(), 3u);
  for (const char* key : {"contents", "bounds", "position"}) {
    ASSERT_EQ(first->actions()->count(key), 1u) << key;
    EXPECT_EQ(first->actions()->at(key), nullptr) << key;
  }
  EXPECT_TRUE(ios::send<bool>(view, ios::sel_registerName("focusOnFaces")));
  kp::set(*view, blankImage(40, 40), true);
  dispatch_.runPending();
  EXPECT_EQ(faceLayer(*view), first);
}

TEST_F(FacesFill, NoFacesRemovesTheLayerAndShowsTheImage) {
  scriptFaces({{10, 10, 10, 10}});
  auto view = UIImageView::make(CGRect(0, 0, 50, 50));
  kp::set(*view, blankImage(40, 40), true);
  dispatch_.runPending();
  ASSERT_TRUE(kp::focusOnFaces(*view));

  scriptFaces({});
  const ios::UIImage plain = blankImage(30, 30);
  ios::testing::CapturedOutput output;
  kp::set(*view, plain, true);
  dispatch_.runPending();
  EXPECT_EQ(output.text(), "No faces found\n");
  EXPECT_FALSE(kp::focusOnFaces(*view));
  EXPECT_EQ(view->image(), plain);

  // A nil image changes nothing; an image without a bitmap is shown plainly, silently.
  kp::set(*view, std::nullopt, true);
  dispatch_.runPending();
  EXPECT_EQ(view->image(), plain);
  output.clear();
  kp::set(*view, ios::UIImage(), true);
  dispatch_.runPending();
  EXPECT_EQ(output.text(), "");
  EXPECT_EQ(view->image(), ios::UIImage());
}

// The nose of the portrait as the face layer of `view` shows it, in the view's points.
ios::CGPoint noseInView(const ios::CALayer& layer) {
  const CGRect f = layer.frame();
  return {f.origin.x + kp_test::kPortraitNose.x * f.size.width / 512,
          f.origin.y + kp_test::kPortraitNose.y * f.size.height / 512};
}

TEST_F(FacesFill, RealPortraitIsCroppedOnItsFace) {
  ios::testing::resetFaceDetector();  // the platform's own detector
  const ios::UIImage portrait = kp_test::portrait();
  for (const CGRect bounds : {CGRect(0, 0, 300, 100), CGRect(0, 0, 100, 300), CGRect(0, 0, 120, 120)}) {
    auto view = UIImageView::make(bounds);
    ios::testing::CapturedOutput output;
    kp::set(*view, portrait, true);
    dispatch_.runPending();
    EXPECT_EQ(output.text(), "found 1 faces\n");
    auto layer = faceLayer(*view);
    ASSERT_NE(layer, nullptr);
    // A plain centred fill of the wide view would put the nose 27 points above it.
    EXPECT_TRUE(bounds.contains(noseInView(*layer))) << bounds.size.width << "x" << bounds.size.height;
    EXPECT_EQ(layer->contents(), portrait.cgImage());
  }
}

TEST_F(FacesFill, SidewaysStoredPhotoIsDetectedAndShownUpright) {
  ios::testing::resetFaceDetector();
  const ios::UIImage portrait = kp_test::portrait();
  // A bitmap stored a quarter turn away, which the orientation turns back upright, as a
  // camera stores a portrait shot.
  const auto sideways = kp::adjustOrientation(ios::UIImage(portrait.cgImage(), 1, ios::UIImageOrientation::left));
  ASSERT_TRUE(sideways.has_value());
  const ios::UIImage photo(sideways->cgImage(), 1, ios::UIImageOrientation::right);

  auto view = UIImageView::make(CGRect(0, 0, 300, 100));
  ios::testing::CapturedOutput output;
  kp::set(*view, photo, true);
  dispatch_.runPending();
  EXPECT_EQ(output.text(), "found 1 faces\n");
  auto layer = faceLayer(*view);
  ASSERT_NE(layer, nullptr);
  EXPECT_TRUE(view->bounds().contains(noseInView(*layer)));
  ASSERT_NE(layer->contents(), nullptr);
  // The layer shows the upright picture: the portrait's own pixels.
  for (const ios::CGPoint p : {ios::CGPoint(10, 20), kp_test::kPortraitNose, ios::CGPoint(500, 300)}) {
    const auto x = static_cast<std::size_t>(p.x), y = static_cast<std::size_t>(p.y);
    EXPECT_TRUE(kp_test::near(kp_test::pixelAt(*layer->contents(), x, y), kp_test::pixelAt(*portrait.cgImage(), x, y), 2))
        << p.x << ", " << p.y;
  }
  EXPECT_EQ(view->image(), photo);
}

TEST_F(FacesFill, TurnedImagesKeepEveryPixelAndTheirProportions) {
  struct Row {
    const char* name;
    std::size_t w, h;  // stored pixels
    ios::UIImageOrientation orientation;
    CGRect view;
    ios::CGSize shownPixels, frameSize;
  };
  const std::vector<Row> rows = {
      {"quarter turn at scale 2", 16, 8, ios::UIImageOrientation::right, {0, 0, 40, 40}, {8, 16}, {40, 80}},
      {"odd sizes half turned at scale 2", 15, 7, ios::UIImageOrientation::down, {0, 0, 30, 10}, {15, 7}, {30, 14}},
      {"odd sizes mirrored quarter turn", 7, 15, ios::UIImageOrientation::leftMirrored, {0, 0, 30, 10}, {15, 7},
       {30, 14}},
  };
  scriptFaces({{0, 0, 2, 2}});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ios::UIImage image(kp_test::makeBGRAImage(row.w, row.h, kp_test::distinctPixel), 2, row.orientation);
    auto view = UIImageView::make(row.view);
    ios::testing::CapturedOutput output;
    kp::set(*view, image, true);
    dispatch_.runPending();
    auto layer = faceLayer(*view);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->frame().size, row.frameSize);
    const ios::CGImageRef shown = layer->contents();
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(static_cast<double>(shown->width()), row.shownPixels.width);
    ASSERT_EQ(static_cast<double>(shown->height()), row.shownPixels.height);
    for (std::size_t y = 0; y < shown->height(); ++y) {
      for (std::size_t x = 0; x < shown->width(); ++x) {
        ASSERT_EQ(kp_test::pixelAt(*shown, x, y), kp_test::shownPixel(image, x, y)) << x << "," << y;
      }
    }
  }
}

TEST_F(FacesFill, TurningFocusOffRemovesTheFaceLayer) {
  scriptFaces({{10, 10, 10, 10}});
  auto view = UIImageView::make(CGRect(0, 0, 50, 50));
  const ios::UIImage image = blankImage(40, 40);
  view->setImage(image);
  ios::send<void>(view, ios::sel_registerName("setFocusOnFaces:"), true);
  EXPECT_EQ(view->image(), std::nullopt);  // taken away until the detection ends
  dispatch_.runPending();
  ASSERT_TRUE(kp::focusOnFaces(*view));
  EXPECT_EQ(view->image(), image);

  kp::setFocusOnFaces(*view, false);
  EXPECT_FALSE(kp::focusOnFaces(*view));
  EXPECT_EQ(view->image(), image);

  kp::set(*view, image, true);
  dispatch_.runPending();
  const ios::UIImage other = blankImage(10, 10);
  kp::set(*view, other, false);
  EXPECT_FALSE(kp::focusOnFaces(*view));
  EXPECT_EQ(view->image(), other);
  EXPECT_STREQ(ios::property_getAttributes(ios::class_getProperty(UIImageView::classObject(), "focusOnFaces")), "TB,N");
}

TEST_F(FacesFill, ImageViewExtras) {
  auto view = UIImageView::make(CGRect(10, 10, 100, 60));
  EXPECT_FALSE(kp::kp_showActivityIndicatorWhenLoading(*view));
  kp::setKp_showActivityIndicatorWhenLoading(*view, true);
  kp::setKp_showActivityIndicatorWhenLoading(*view, true);
  ASSERT_EQ(view->subviews().size(), 1u);
  auto indicator = kp::activityIndicator(*view);
  ASSERT_NE(indicator, nullptr);
  EXPECT_EQ(view->subviews()[0], indicator);
  EXPECT_EQ(indicator->style(), ios::UIActivityIndicatorViewStyle::gray);
  EXPECT_EQ(indicator->center(), ios::CGPoint(50, 30));
  EXPECT_EQ(indicator->autoresizingMask(), 45u);
  EXPECT_TRUE(indicator->isHidden());
  EXPECT_FALSE(indicator->isAnimating());
  kp::setKp_showActivityIndicatorWhenLoading(*view, false);
  EXPECT_TRUE(view->subviews().empty());
  EXPECT_EQ(kp::activityIndicator(*view), nullptr);
  EXPECT_FALSE(kp::kp_showActivityIndicatorWhenLoading(*view));

  const ios::UIImage image = blankImage(5, 5);
  kp::setImage(*view, image, true, 0.4);
  EXPECT_EQ(view->image(), image);
  ASSERT_EQ(ios::testing::recordedViewAnimations().size(), 1u);
  EXPECT_EQ(ios::testing::recordedViewAnimations()[0].options, 5242886u);
  EXPECT_EQ(ios::testing::recordedViewAnimations()[0].duration, 0.4);
  kp::setImage(*view, std::nullopt, false, 0.4);
  EXPECT_EQ(view->image(), std::nullopt);
  EXPECT_EQ(ios::testing::recordedViewAnimations().size(), 1u);

  kp::blur(*view, ios::UIBlurEffectStyle::dark);
  EXPECT_EQ(kp::blurred(*view, ios::UIBlurEffectStyle::light), view);
  ASSERT_EQ(view->subviews().size(), 2u);
  auto overlay = std::dynamic_pointer_cast<ios::UIVisualEffectView>(view->subviews()[1]);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(overlay->effect(), ios::UIBlurEffect(ios::UIBlurEffectStyle::light));
  EXPECT_EQ(overlay->frame(), CGRect(0, 0, 100, 60));
  EXPECT_EQ(overlay->autoresizingMask(), 18u);
  EXPECT_TRUE(view->clipsToBounds());
}

TEST_F(FacesFill, ScrollWindowStackAndAnimatorConveniences) {
  auto list = ios::UIScrollView::make(CGRect(0, 0, 100, 100));
  list->setContentInset(ios::UIEdgeInsets{64, 0, 0, 0});
  list->setContentOffset(ios::CGPoint(0, -64));
  EXPECT_TRUE(kp::isAtTop(*list));
  list->setContentOffset(ios::CGPoint(0, -63.9));
  EXPECT_FALSE(kp::isAtTop(*list));
  list->setContentOffset(ios::CGPoint(30, 200));
  kp::scrollsToTop(*list);
  EXPECT_EQ(list->contentOffset(), ios::CGPoint(0, -64));
  EXPECT_EQ(ios::testing::recordedViewAnimations().size(), 1u);

  auto window = ios::UIWindow::make(CGRect(0, 0, 3, 2));
  window->setBackgroundColor(ios::UIColor::red());
  const auto shot = kp::capture(*window);
  ASSERT_TRUE(shot.has_value());
  EXPECT_EQ(shot->size(), ios::CGSize(3, 2));
  EXPECT_EQ(shot->scale(), 2);
  EXPECT_TRUE(kp_test::near(kp_test::pixelAt(*shot->cgImage(), 5, 3), kp_test::kRed, 1));
  EXPECT_EQ(kp::capture(*ios::UIWindow::make(CGRect())), std::nullopt);

  auto a = ios::UIView::make();
  auto b = ios::UIView::make();
  auto stack = kp::makeStackView({a, b}, ios::UILayoutConstraintAxis::vertical, 8, ios::UIStackViewAlignment::center,
                                 ios::UIStackViewDistribution::fillEqually);
  EXPECT_THAT(stack->arrangedSubviews(), ::testing::ElementsAre(a, b));
  EXPECT_THAT(stack->subviews(), ::testing::ElementsAre(a, b));
  EXPECT_EQ(stack->axis, ios::UILayoutConstraintAxis::vertical);
  EXPECT_EQ(stack->spacing, 8);
  EXPECT_EQ(stack->alignment, ios::UIStackViewAlignment::center);
  EXPECT_EQ(stack->distribution, ios::UIStackViewDistribution::fillEqually);

  auto animator = ios::UIDynamicAnimator::make(stack);
  auto gravity = ios::UIDynamicBehavior::make();
  auto collision = ios::UIDynamicBehavior::make();
  kp::addBehaviors(*animator, {gravity, collision});
  EXPECT_THAT(animator->behaviors(), ::testing::ElementsAre(gravity, collision));
}

}  // namespace
