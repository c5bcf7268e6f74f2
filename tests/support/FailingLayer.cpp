#include "tests/support/FailingLayer.h"

#include <stdexcept>

namespace kp_test {

IOS_DEFINE_RUNTIME_CLASS(FailingLayer, "KPTestFailingLayer", nullptr)

void FailingLayer::drawOwnContent(ios::CGContext&) const { throw std::runtime_error("the layer cannot be drawn"); }

}  // namespace kp_test
