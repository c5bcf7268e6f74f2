#include "KPQuaslet/views/UISwitch+KPExt.h"

#include <cstdint>

namespace kp {

void toggle(ios::UISwitch& toggleSwitch) { toggleSwitch.setOn(!toggleSwitch.isOn(), true); }

std::vector<std::string> segmentTitles(const ios::UISegmentedControl& control) {
  std::vector<std::string> titles;
  for (std::int64_t i = 0; i < control.numberOfSegments(); ++i) {
    if (auto title = control.titleForSegment(i)) titles.push_back(std::move(*title));
  }
  return titles;
}

void setSegmentTitles(ios::UISegmentedControl& control, const std::vector<std::string>& titles) {
  control.removeAllSegments();
  for (std::size_t i = 0; i < titles.size(); ++i) {
    control.insertSegment(titles[i], static_cast<std::int64_t>(i), false);
  }
}

std::vector<ios::UIImage> segmentImages(const ios::UISegmentedControl& control) {
  std::vector<ios::UIImage> images;
  for (std::int64_t i = 0; i < control.numberOfSegments(); ++i) {
    if (auto image = control.imageForSegment(i)) images.push_back(std::move(*image));
  }
  return images;
}

void setSegmentImages(ios::UISegmentedControl& control, const std::vector<ios::UIImage>& images) {
  control.removeAllSegments();
  for (std::size_t i = 0; i < images.size(); ++i) {
    control.insertSegment(images[i], static_cast<std::int64_t>(i), false);
  }
}

}  // namespace kp
