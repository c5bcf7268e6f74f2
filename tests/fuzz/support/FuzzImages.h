// Structured inputs for the image harnesses: lengths that favour the odd values (0, 1,
// fractions, negative, NaN, infinite, huge within the limits and beyond them), colours
// and small bitmaps of every layout CGImage keeps, all taken from a FuzzedDataProvider.
//
//   kp_fuzz::ImageInput in(data, size);
//   const ios::UIImage image = in.image();
//   const ios::CGSize target = in.size();
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

namespace kp_fuzz {

class ImageInput {
 public:
  ImageInput(const std::uint8_t* data, std::size_t size) : fdp_(data, size) {}

  [[nodiscard]] bool more() { return fdp_.remaining_bytes() > 0; }
  // A number in 0...last.
  [[nodiscard]] int pick(int last) { return fdp_.ConsumeIntegralInRange<int>(0, last); }
  [[nodiscard]] bool flag() { return fdp_.ConsumeBool(); }

  // A length in points: one of the odd values, an ordinary one, or any double.
  [[nodiscard]] ios::CGFloat length();
  [[nodiscard]] ios::CGSize size();
  [[nodiscard]] ios::CGRect rect();
  // A length, or any double at all.
  [[nodiscard]] ios::CGFloat anyNumber();
  // RGB, grey or HSB colours with any components, byte colours, or clear.
  [[nodiscard]] ios::UIColor color();

  // A bitmap of 1...maxSide pixels a side in one of the layouts CGImage keeps, rows
  // padded by up to 3 bytes, pixels from the input, at scale 1, 2, 3, 0.5 or 7.25 and
  // any orientation; one time in sixteen the empty image.
  [[nodiscard]] ios::UIImage image(std::size_t maxSide = 48);

  // Everything not consumed yet.
  [[nodiscard]] std::vector<std::uint8_t> rest() { return fdp_.ConsumeRemainingBytes<std::uint8_t>(); }

 private:
  FuzzedDataProvider fdp_;
};

}  // namespace kp_fuzz
