#include "KPQuaslet/imaging/Array+KPGradient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/testing/PlatformFixture.h"

namespace {

using ios::CAGradientLayer;
using ios::UIColor;
using ::testing::ElementsAre;

class ArrayKPGradient : public ios::testing::PlatformFixture {};

TEST_F(ArrayKPGradient, LayerTakesTheColoursInOrder) {
  auto layer = kp::gradient({UIColor::red(), UIColor::white(), UIColor::colorWithRed(0, 0.5, 1, 0.25)});
  ASSERT_NE(layer, nullptr);
  EXPECT_THAT(layer->colors(), ElementsAre(UIColor::red().cgColor(), UIColor::white().cgColor(),
                                           UIColor::colorWithRed(0, 0.5, 1, 0.25).cgColor()));
  EXPECT_EQ(layer->startPoint(), ios::CGPoint(0.5, 0));  // otherwise the layer's defaults
  EXPECT_FALSE(layer->locations().has_value());
  EXPECT_TRUE(kp::gradient({})->colors().empty());
  EXPECT_NE(kp::gradient({}), kp::gradient({}));  // a new layer each call
}

TEST_F(ArrayKPGradient, TransformIsCalledOnceAndItsAnswerIsTheResult) {
  int calls = 0;
  std::shared_ptr<CAGradientLayer> seen;
  // Changing the layer in place and handing it back.
  auto shaped = kp::gradient({UIColor::red(), UIColor::blue()}, [&](std::shared_ptr<CAGradientLayer>& layer) {
    ++calls;
    seen = layer;
    layer->setStartPoint({0, 0.5});
    return layer;
  });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(shaped, seen);
  EXPECT_EQ(shaped->startPoint(), ios::CGPoint(0, 0.5));
  EXPECT_EQ(shaped->colors().size(), 2u);
  // Answering another layer makes that layer the result.
  auto other = CAGradientLayer::make();
  auto replaced = kp::gradient({UIColor::red()}, [&](std::shared_ptr<CAGradientLayer>&) { return other; });
  EXPECT_EQ(replaced, other);
  EXPECT_TRUE(replaced->colors().empty());
}

}  // namespace
