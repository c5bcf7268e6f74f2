#include "platform/avfoundation/AVAsset.h"

#include <cmath>
#include <limits>

#include "platform/avfoundation/internal/VideoFrames.h"

namespace ios {

CMTime CMTimeMakeWithSeconds(double seconds, std::int32_t preferredTimescale) {
  if (preferredTimescale < 1 || !std::isfinite(seconds)) return CMTime{};
  const double units = std::round(seconds * preferredTimescale);
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (!(units > -9223372036854775808.0 && units < 9223372036854775808.0)) return CMTime{};
  return CMTime{static_cast<std::int64_t>(units), preferredTimescale};
}

CGImageRef AVAssetImageGenerator::copyCGImage(CMTime time, CMTime* actualTime) const {
  if (time.timescale <= 0) throw AVFoundationError(AVErrorTimeOutOfRange, "invalid time");
  if (!asset_.url().isFileURL()) throw AVFoundationError(AVErrorFileFormatNotRecognized, "not a file URL");
  av_internal::Frame frame = av_internal::frameAt(asset_.url().path(), time.seconds());
  CGImageRef image = CGImage::make(frame.width, frame.height, 8, 32, frame.width * 4, CGColorSpaceCreateDeviceRGB(),
                                   kCGImageAlphaNoneSkipLast, std::move(frame.rgbx));
  if (!image) throw AVFoundationError(AVErrorDecodeFailed, "the frame has no pixels");
  if (actualTime) *actualTime = CMTimeMakeWithSeconds(frame.seconds, 600);
  return image;
}

}  // namespace ios
