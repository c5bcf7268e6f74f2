// File: KPQuaslet/imaging/UIImage+KPEncoding.h
//
// JPEG sizes and encodings: the size of the best-quality JPEG, compression under a byte
// budget, and a progressive re-encoding.
//
//   std::vector<std::uint8_t> upload = kp::dataWithCompressTo(photo, 200 * 1024);
//   ios::UIImage small = kp::compressTo(photo, 200 * 1024);
//
// JPEG is the only encoding produced (the platform's encoder). Nothing throws and nothing
// is logged.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/uikit/UIImage.h"

namespace kp {

// bytesSize() / kilobytesSize()
//
// The byte count of the image's JPEG at quality 1.0 (0 when it has none), and that
// count over 1024, truncated.
[[nodiscard]] std::int64_t bytesSize(const ios::UIImage& image);
[[nodiscard]] std::int64_t kilobytesSize(const ios::UIImage& image);

// compressTo() / dataWithCompressTo()
//
// The first JPEG below `expectedSizeInBytes` (strictly), trying the qualities 1.0, 0.9,
// ... in steps of 0.1 taken in double arithmetic for as long as the quality stays above
// 0: eleven attempts, the last at a quality of about 1.4e-16. A budget of 0 or less is
// never met, and is answered without those attempts (the answer is the same).
//
// compressTo() answers the image decoded from that JPEG as UIImage(data:) decodes it:
// scale 1 (its point size is its pixel size) and the orientation the file records (the
// encoder writes the receiver's); the receiver when no attempt fits or the data cannot
// be decoded.
// dataWithCompressTo() answers the JPEG itself; when no attempt fits, the encoding at
// quality 0.9 (which is over the budget; empty when even that fails): the loop's own
// attempt at 0.9, which is the same encoding, unless that attempt failed.
[[nodiscard]] ios::UIImage compressTo(const ios::UIImage& image, std::int64_t expectedSizeInBytes);
[[nodiscard]] std::vector<std::uint8_t> dataWithCompressTo(const ios::UIImage& image,
                                                           std::int64_t expectedSizeInBytes);

// kp_progressiveImage()
//
// The image re-encoded as a progressive JPEG at quality 0.9 with a JFIF density of 72 ×
// 72 dots an inch, and decoded again at scale 1. The file holds the bitmap alone; the
// result takes the receiver's orientation back (a mend: decoded as it is, a photo
// stored sideways would show sideways). Nothing when the image has no bitmap or the
// encoding or decoding fails.
[[nodiscard]] std::optional<ios::UIImage> kp_progressiveImage(const ios::UIImage& image);

}  // namespace kp
