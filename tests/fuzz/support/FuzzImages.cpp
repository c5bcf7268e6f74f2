#include "tests/fuzz/support/FuzzImages.h"

#include <limits>
#include <optional>
#include <vector>

#include "platform/coregraphics/CGImage.h"
#include "tests/fuzz/support/FuzzSupport.h"

namespace kp_fuzz {

ios::CGFloat ImageInput::length() {
  switch (pick(11)) {
    case 0: return 0;
    case 1: return 1;
    case 2: return fdp_.ConsumeIntegralInRange<int>(2, 64);
    case 3: return fdp_.ConsumeFloatingPointInRange<double>(0, 64);
    case 4: return -fdp_.ConsumeFloatingPointInRange<double>(0, 1e6);
    case 5: return std::numeric_limits<double>::quiet_NaN();
    case 6: return std::numeric_limits<double>::infinity();
    case 7: return -std::numeric_limits<double>::infinity();
    case 8: return fdp_.ConsumeFloatingPointInRange<double>(1e-12, 1e-3);
    case 9: {
      constexpr double kHuge[] = {4096, 8191.5, 10922.67, 16383.5, 32766.9, 32767};
      return kHuge[pick(5)];
    }
    case 10: {
      constexpr double kBeyond[] = {32767.01, 32768, 1e9, 1e300, std::numeric_limits<double>::max()};
      return kBeyond[pick(4)];
    }
    default: return fdp_.ConsumeFloatingPoint<double>();
  }
}

ios::CGSize ImageInput::size() {
  const ios::CGFloat w = length();
  return {w, length()};
}

ios::CGRect ImageInput::rect() {
  const ios::CGFloat x = length(), y = length();
  return {{x, y}, size()};
}

ios::CGFloat ImageInput::anyNumber() { return flag() ? length() : fdp_.ConsumeFloatingPoint<double>(); }

ios::UIColor ImageInput::color() {
  switch (pick(4)) {
    case 0: return ios::UIColor::clear();
    case 1: {
      const ios::CGFloat white = anyNumber();
      return ios::UIColor::colorWithWhite(white, anyNumber());
    }
    case 2: {
      const ios::CGFloat h = anyNumber(), s = anyNumber(), b = anyNumber();
      return ios::UIColor::colorWithHue(h, s, b, anyNumber());
    }
    case 3: {
      const ios::CGFloat r = anyNumber(), g = anyNumber(), b = anyNumber();
      return ios::UIColor::colorWithRed(r, g, b, anyNumber());
    }
    default: {
      const auto c = fdp_.ConsumeBytes<std::uint8_t>(4);
      auto at = [&](std::size_t i) { return i < c.size() ? c[i] / 255.0 : 1.0; };
      return ios::UIColor::colorWithRed(at(0), at(1), at(2), at(3));
    }
  }
}

ios::UIImage ImageInput::image(std::size_t maxSide) {
  if (pick(15) == 0) return ios::UIImage();
  struct Layout {
    std::size_t bitsPerPixel;
    bool rgb;
    ios::CGBitmapInfo info;
  };
  constexpr Layout kLayouts[] = {
      {32, true, ios::kCGImageAlphaPremultipliedFirst | ios::kCGBitmapByteOrder32Little},
      {32, true, ios::kCGImageAlphaPremultipliedLast},
      {32, true, ios::kCGImageAlphaLast},
      {32, true, ios::kCGImageAlphaFirst | ios::kCGBitmapByteOrder32Big},
      {32, true, ios::kCGImageAlphaNoneSkipLast},
      {32, true, ios::kCGImageAlphaNoneSkipFirst | ios::kCGBitmapByteOrder32Little},
      {24, true, ios::kCGImageAlphaNone},
      {8, false, ios::kCGImageAlphaNone},
      {8, false, ios::kCGImageAlphaOnly},
  };
  const Layout& layout = kLayouts[pick(static_cast<int>(std::size(kLayouts)) - 1)];
  const auto w = fdp_.ConsumeIntegralInRange<std::size_t>(1, maxSide);
  const auto h = fdp_.ConsumeIntegralInRange<std::size_t>(1, maxSide);
  const std::size_t bytesPerRow = w * layout.bitsPerPixel / 8 + fdp_.ConsumeIntegralInRange<std::size_t>(0, 3);
  std::vector<std::uint8_t> bytes = fdp_.ConsumeBytes<std::uint8_t>(bytesPerRow * h);
  bytes.resize(bytesPerRow * h, 0x80);
  std::optional<ios::CGColorSpace> space;
  if (layout.info != ios::kCGImageAlphaOnly) {
    space = layout.rgb ? ios::CGColorSpaceCreateDeviceRGB() : ios::CGColorSpaceCreateDeviceGray();
  }
  auto bitmap = ios::CGImage::make(w, h, 8, layout.bitsPerPixel, bytesPerRow, space, layout.info, std::move(bytes));
  KP_FUZZ_CHECK(bitmap, "a kept layout is refused");
  constexpr ios::CGFloat kScales[] = {1, 2, 3, 0.5, 7.25};
  const ios::CGFloat scale = kScales[pick(4)];
  return ios::UIImage(std::move(bitmap), scale, static_cast<ios::UIImageOrientation>(pick(7)));
}

}  // namespace kp_fuzz
