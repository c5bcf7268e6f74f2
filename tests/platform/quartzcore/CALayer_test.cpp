#include "platform/quartzcore/CALayer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/dispatch/DispatchQueue.h"
#include "platform/testing/PlatformFixture.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGraphics.h"
#include "tests/support/FailingLayer.h"
#include "tests/support/ImageFixtures.h"

namespace {

using ios::CALayer;
using ios::CGRect;
using kp_test::pixelAt;

class CALayerTest : public ios::testing::PlatformFixture {};


TEST_F(CALayerTest, FreshLayerHasThePlatformDefaults) {
  auto layer = CALayer::make();
  EXPECT_EQ(layer->anchorPoint(), ios::CGPoint(0.5, 0.5));
  EXPECT_EQ(layer->opacity(), 1.0f);
  EXPECT_EQ(layer->shadowColor(), ios::UIColor::black().cgColor());
  EXPECT_EQ(layer->borderColor(), ios::UIColor::black().cgColor());
  EXPECT_EQ(layer->shadowOffset(), ios::CGSize(0, -3));
  EXPECT_EQ(layer->shadowRadius(), 3);
  EXPECT_EQ(layer->shadowOpacity(), 0.0f);
  EXPECT_FALSE(layer->masksToBounds());
  EXPECT_FALSE(layer->sublayers().has_value());
  EXPECT_FALSE(layer->name().has_value());
  EXPECT_FALSE(layer->actions().has_value());
  EXPECT_EQ(layer->mask(), nullptr);
}

TEST_F(CALayerTest, FrameIsDerivedFromBoundsPositionAnchorAndTransform) {
  auto layer = CALayer::make();
  layer->setFrame(CGRect(10, 20, 40, 10));
  EXPECT_EQ(layer->position(), ios::CGPoint(30, 25));
  EXPECT_EQ(layer->bounds(), CGRect(0, 0, 40, 10));
  layer->setAnchorPoint({0, 0});
  EXPECT_EQ(layer->frame(), CGRect(30, 25, 40, 10));
  layer->setAnchorPoint({0.5, 0.5});
  layer->setAffineTransform(ios::CGAffineTransformMakeScale(2, 3));
  EXPECT_EQ(layer->frame(), CGRect(-10, 10, 80, 30));
  // A quarter turn swaps the box's sides.
  layer->setAffineTransform(ios::CGAffineTransformMakeRotation(M_PI / 2));
  const CGRect turned = layer->frame();
  EXPECT_NEAR(turned.size.width, 10, 1e-9);
  EXPECT_NEAR(turned.size.height, 40, 1e-9);
}

TEST_F(CALayerTest, SettingTheFrameOfATransformedLayerReadsBackAsSet) {
  auto layer = CALayer::make();
  layer->setFrame(CGRect(0, 0, 40, 10));
  layer->setAffineTransform(ios::CGAffineTransformMakeScale(2, 3));
  layer->setFrame(CGRect(5, 6, 80, 30));  // the same size, moved
  EXPECT_EQ(layer->frame(), CGRect(5, 6, 80, 30));
  EXPECT_EQ(layer->bounds().size, ios::CGSize(40, 10));
  layer->setFrame(CGRect(0, 0, 20, 60));
  EXPECT_EQ(layer->bounds().size, ios::CGSize(10, 20));
  EXPECT_EQ(layer->frame(), CGRect(0, 0, 20, 60));
  // A shear that cannot produce the size keeps the bounds size and only moves.
  layer->setAffineTransform(ios::CGAffineTransform(1, 1, 1, 1, 0, 0));
  const ios::CGSize kept = layer->bounds().size;
  layer->setFrame(CGRect(0, 0, 5, 7));
  EXPECT_EQ(layer->bounds().size, kept);
  EXPECT_EQ(layer->frame().origin, ios::CGPoint(0, 0));
}

TEST_F(CALayerTest, SublayerTreeMovesLayersAndRefusesCycles) {
  auto a = CALayer::make(), b = CALayer::make(), c = CALayer::make();
  a->addSublayer(c);
  b->addSublayer(c);
  EXPECT_FALSE(a->sublayers().has_value());
  EXPECT_EQ(c->superlayer(), b);
  c->addSublayer(b);  // b is c's parent: refused
  EXPECT_FALSE(c->sublayers().has_value());
  b->insertSublayer(a, 0);
  EXPECT_THAT(*b->sublayers(), ::testing::ElementsAre(a, c));
  c->removeFromSuperlayer();
  c->removeFromSuperlayer();
  EXPECT_THAT(*b->sublayers(), ::testing::ElementsAre(a));
  EXPECT_EQ(c->superlayer(), nullptr);
}

TEST_F(CALayerTest, AddedAnimationsAreCopiesAndLeaveTheModelAlone) {
  auto layer = CALayer::make();
  auto fade = ios::CABasicAnimation::make("opacity");
  fade->toValue = 0.0;
  fade->duration = 2;
  layer->add(fade, "fade");
  layer->add(fade, std::nullopt);
  fade->duration = 9;
  ASSERT_EQ(layer->animations().size(), 2u);
  EXPECT_EQ(layer->animation("fade")->duration, 2);
  EXPECT_NE(layer->animation("fade"), fade);
  EXPECT_THAT(layer->animationKeys(), ::testing::ElementsAre("fade"));
  EXPECT_EQ(layer->opacity(), 1.0f);
  layer->add(fade, "fade");  // replaces the keyed one
  EXPECT_EQ(layer->animations().size(), 2u);
  layer->removeAllAnimations();
  EXPECT_TRUE(layer->animations().empty());
}

TEST_F(CALayerTest, TransactionCompletionWaitsForItsAnimations) {
  ios::testing::ManualDispatch dispatch;
  int calls = 0;
  auto layer = CALayer::make();
  ios::CATransaction::begin();
  ios::CATransaction::setCompletionBlock([&] { ++calls; });
  auto move = ios::CABasicAnimation::make("position");
  move->duration = 0.5;
  move->repeatCount = 2;
  layer->add(move, "move");
  ios::CATransaction::commit();
  dispatch.advance(0.999);
  EXPECT_EQ(calls, 0);
  dispatch.advance(0.001);
  EXPECT_EQ(calls, 1);
}

TEST_F(CALayerTest, RenderDrawsBackgroundsSublayersOpacityAndClipping) {
  auto root = CALayer::make();
  root->setBounds(CGRect(0, 0, 4, 4));
  root->setBackgroundColor(ios::UIColor::red().cgColor());
  auto child = CALayer::make();
  child->setFrame(CGRect(2, 0, 4, 2));  // runs past the right edge
  child->setBackgroundColor(ios::UIColor::blue().cgColor());
  root->addSublayer(child);
  auto hidden = CALayer::make();
  hidden->setFrame(CGRect(0, 2, 2, 2));
  hidden->setBackgroundColor(ios::UIColor::green().cgColor());
  hidden->setHidden(true);
  root->addSublayer(hidden);

  auto draw = [&] {
    ios::UIGraphicsBeginImageContextWithOptions({6, 4}, false, 1);
    root->render(ios::UIGraphicsGetCurrentContext());
    auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
    ios::UIGraphicsEndImageContext();
    return *image->cgImage();
  };
  ios::CGImage unclipped = draw();
  EXPECT_EQ(pixelAt(unclipped, 0, 0), kp_test::kRed);
  EXPECT_EQ(pixelAt(unclipped, 3, 1), kp_test::kBlue);
  EXPECT_EQ(pixelAt(unclipped, 5, 1), kp_test::kBlue);
  EXPECT_EQ(pixelAt(unclipped, 0, 3), kp_test::kRed);  // the hidden layer draws nothing
  root->setMasksToBounds(true);
  child->setOpacity(0.5);
  ios::CGImage clipped = draw();
  EXPECT_EQ(pixelAt(clipped, 5, 1), kp_test::kClear);
  const kp_test::Rgba blended = pixelAt(clipped, 3, 1);
  EXPECT_NEAR(blended.r, 128, 2);
  EXPECT_NEAR(blended.b, 128, 2);
  root->render(nullptr);  // a null context draws nothing and does not fail
}

TEST_F(CALayerTest, ShapeMaskLimitsWhatTheLayerShows) {
  auto root = CALayer::make();
  root->setBounds(CGRect(0, 0, 4, 4));
  root->setBackgroundColor(ios::UIColor::red().cgColor());
  auto mask = ios::CAShapeLayer::make();
  ios::CGMutablePath left;
  left.addRect(CGRect(0, 0, 2, 4));
  mask->path = left;
  root->setMask(mask);
  ios::UIGraphicsBeginImageContextWithOptions({4, 4}, false, 1);
  root->render(ios::UIGraphicsGetCurrentContext());
  auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  EXPECT_EQ(pixelAt(*image->cgImage(), 1, 1), kp_test::kRed);
  EXPECT_EQ(pixelAt(*image->cgImage(), 3, 1), kp_test::kClear);
}

// A drawing that fails deep in the tree leaves the context as it found it: no clip, no
// translation, no half-made transparency group stays behind.
TEST_F(CALayerTest, RenderingThatFailsRestoresTheContext) {
  ios::UIGraphicsBeginImageContextWithOptions({4, 4}, false, 1);
  const ios::CGContextRef context = ios::UIGraphicsGetCurrentContext();
  auto root = CALayer::make();
  root->setBounds(CGRect(1, 1, 2, 2));
  root->setMasksToBounds(true);
  root->setOpacity(0.5f);
  auto mask = ios::CAShapeLayer::make();
  mask->setBounds(CGRect(0, 0, 1, 1));
  root->setMask(mask);
  auto middle = CALayer::make();
  middle->setBounds(CGRect(0, 0, 1, 1));
  middle->setPosition({1, 1});
  middle->setOpacity(0.5f);
  root->addSublayer(middle);
  middle->addSublayer(kp_test::FailingLayer::make());
  EXPECT_THROW(root->render(context), std::runtime_error);
  context->setFillColor(ios::UIColor::red().cgColor());
  context->fill(CGRect(0, 0, 4, 4));
  const auto image = ios::UIGraphicsGetImageFromCurrentImageContext();
  ios::UIGraphicsEndImageContext();
  for (std::size_t p : {0u, 3u}) EXPECT_EQ(pixelAt(*image->cgImage(), p, p), kp_test::kRed) << p;
}

}  // namespace
