// File: tests/support/FailingLayer.h
//
// A layer whose drawing throws, for the tests that check that a failed render leaves
// contexts, context stacks and graphics states as they were.
//
//   view->layer()->addSublayer(kp_test::FailingLayer::make());
//   EXPECT_THROW(kp::screenshot(*view), std::runtime_error);
#pragma once

#include "platform/quartzcore/CALayer.h"

namespace kp_test {

class FailingLayer : public ios::CALayer {
  IOS_RUNTIME_CLASS(FailingLayer, ios::CALayer);

 protected:
  FailingLayer() = default;
  // Throws std::runtime_error.
  void drawOwnContent(ios::CGContext& context) const override;
};

}  // namespace kp_test
