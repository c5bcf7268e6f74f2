// File: KPQuaslet/views/UISwitch+KPExt.h
//
// Switch and segmented-control conveniences: an animated toggle, and the segments'
// titles or images as whole arrays.
//
//   kp::toggle(*wifiSwitch);                                   // off -> on, animated
//   kp::setSegmentTitles(*picker, {"Day", "Week", "Month"});
//   kp::segmentTitles(*picker);                                // {"Day", "Week", "Month"}
//
// Setting the titles or the images rebuilds every segment: segments of the other kind
// and the selection are gone afterwards. To change one element, read the array, change
// it and set it back.
#pragma once

#include <string>
#include <vector>

#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIImage.h"

namespace kp {

// Turns the switch over (on becomes off and off becomes on), animated.
void toggle(ios::UISwitch& toggleSwitch);

// The titles of the segments in order; segments without a title are skipped, so the
// answer can be shorter than the number of segments.
[[nodiscard]] std::vector<std::string> segmentTitles(const ios::UISegmentedControl& control);

// Replaces every segment by one segment per title, in order, not animated.
void setSegmentTitles(ios::UISegmentedControl& control, const std::vector<std::string>& titles);

// The images of the segments in order; segments without an image are skipped.
[[nodiscard]] std::vector<ios::UIImage> segmentImages(const ios::UISegmentedControl& control);

// Replaces every segment by one segment per image, in order, not animated.
void setSegmentImages(ios::UISegmentedControl& control, const std::vector<ios::UIImage>& images);

}  // namespace kp
