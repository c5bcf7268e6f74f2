// Row lengths a caller may pass that no bitmap can have: the context is refused rather
// than made over a buffer whose size overflowed.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/coregraphics/CGContext.h"
#include "platform/uikit/UIColor.h"

namespace {

TEST(CGContextRowLength, RowsTooLongForABitmapAreRefused) {
  constexpr std::size_t kRows[] = {std::size_t{1} << 63, std::numeric_limits<std::size_t>::max() - 3,
                                   std::size_t{1} << 32, std::size_t{1} << 31};
  for (const ios::CGBitmapInfo info :
       {ios::kCGImageAlphaPremultipliedLast, ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little}) {
    for (const std::size_t bytesPerRow : kRows) {
      auto context = ios::CGContext::make(nullptr, 2, 2, 8, bytesPerRow, ios::CGColorSpaceCreateDeviceRGB(), info);
      EXPECT_FALSE(context) << bytesPerRow;
      if (context) context->fill({{0, 0}, {2, 2}});
    }
  }
  // The longest row cairo takes still makes a context.
  auto widest = ios::CGContext::make(nullptr, 2, 2, 8, 64, ios::CGColorSpaceCreateDeviceRGB(),
                                     ios::kCGImageAlphaPremultipliedLast);
  ASSERT_TRUE(widest);
  widest->setFillColor(ios::UIColor::red().cgColor());
  widest->fill({{0, 0}, {2, 2}});
  EXPECT_EQ(static_cast<const std::uint8_t*>(widest->data())[64], 255);
}

}  // namespace
