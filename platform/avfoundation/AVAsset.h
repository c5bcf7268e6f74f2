// File: platform/avfoundation/AVAsset.h
//
// Media files and still frames taken from their video.
//
//   ios::AVAsset asset(ios::URL::fileURLWithPath("/tmp/clip.mkv"));
//   ios::AVAssetImageGenerator generator(asset);
//   ios::CGImageRef frame = generator.copyCGImage(ios::CMTimeMakeWithSeconds(1.0, 1));
//
// Fidelity: backed by FFmpeg (libavformat, libavcodec, libswscale). Only file URLs
// naming an audiovisual container are read, told by the file's content, not its name:
// QuickTime and MPEG-4 (mov, mp4, m4v, 3gp), Matroska and WebM, AVI, MPEG transport and
// program streams, FLV, ASF, Ogg, MXF and YUV4MPEG. A still picture (PNG, JPEG, GIF...)
// is not media, nor is a playlist or script that names other files or URLs (none of
// those is opened). The generator keeps the platform's default settings: the image
// comes at the video's full size, without the track's transform; the frame is the one
// on screen at the requested time (the first frame when the time comes before it). A
// file that is not media, has no video (a cover picture is not video), a frame larger
// than kMaximumImagePixelCount (ImageIO.h), or a time past the end (or past anything
// the video's clock can count to) throws AVFoundationError (domain
// "AVFoundationErrorDomain"; the codes are this stand-in's). Images are 32-bit RGB with
// the alpha byte skipped, at any frame size down to one pixel (the converter's block
// writes never reach past the image). Asynchronous generation, tracks and tolerances
// are absent.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/coregraphics/CGImage.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/URL.h"

namespace ios {

// A time as a count of units of 1/timescale seconds.
struct CMTime {
  std::int64_t value = 0;
  std::int32_t timescale = 0;  // 0: an invalid time

  [[nodiscard]] double seconds() const { return timescale > 0 ? static_cast<double>(value) / timescale : 0; }
  bool operator==(const CMTime&) const = default;
};

// CMTimeMakeWithSeconds()
//
// `seconds` in units of 1/preferredTimescale, rounded to the nearest unit (halves away
// from zero). NaN, an infinite value, one out of range or a timescale below 1 give an
// invalid time.
[[nodiscard]] CMTime CMTimeMakeWithSeconds(double seconds, std::int32_t preferredTimescale);

// What the generator throws when it gives no image.
class AVFoundationError : public std::runtime_error {
 public:
  AVFoundationError(std::int64_t code, const std::string& reason)
      : std::runtime_error(reason), error_{"AVFoundationErrorDomain", code} {}
  [[nodiscard]] const NSError& error() const { return error_; }

 private:
  NSError error_;
};

// The codes AVFoundationError carries.
inline constexpr std::int64_t AVErrorFileFormatNotRecognized = -11828;
inline constexpr std::int64_t AVErrorNoVideo = -11830;
inline constexpr std::int64_t AVErrorTimeOutOfRange = -11831;
inline constexpr std::int64_t AVErrorDecodeFailed = -11821;

// A media file named by a URL; nothing is read until a frame is asked for.
class AVAsset {
 public:
  explicit AVAsset(URL url) : url_(std::move(url)) {}
  [[nodiscard]] const URL& url() const { return url_; }

 private:
  URL url_;
};

class AVAssetImageGenerator {
 public:
  explicit AVAssetImageGenerator(AVAsset asset) : asset_(std::move(asset)) {}

  // copyCGImage(at:actualTime:)
  //
  // The frame shown at `time`; `actualTime`, when given, receives the frame's own time
  // from the start of the video at a timescale of 600, never negative (a frame that a
  // damaged file stamps before the start shows from the start; an invalid time when it
  // stamps one later than a CMTime can hold). Throws
  // AVFoundationError when there is none (see the top of this file).
  [[nodiscard]] CGImageRef copyCGImage(CMTime time, CMTime* actualTime = nullptr) const;

 private:
  AVAsset asset_;
};

}  // namespace ios
