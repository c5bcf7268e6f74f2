#include "KPQuaslet/views/UISwitch+KPExt.h"

#include <cstdint>

namespace kp {
namespace {

using ios::UISegmentedControl;

// The values `read` answers for the segments in order, skipping segments without one.
template <class T, class Read>
std::vector<T> segmentValues(const UISegmentedControl& control, Read read) {
  std::vector<T> values;
  for (std::int64_t i = 0; i < control.numberOfSegments(); ++i) {
    if (std::optional<T> value = read(i)) values.push_back(std::move(*value));
  }
  return values;
}

// Rebuilds the control with one segment per value, in order, not animated.
template <class T>
void rebuildSegments(UISegmentedControl& control, const std::vector<T>& values) {
  control.removeAllSegments();
  for (std::size_t i = 0; i < values.size(); ++i) control.insertSegment(values[i], static_cast<std::int64_t>(i), false);
}

}  // namespace

void toggle(ios::UISwitch& toggleSwitch) { toggleSwitch.setOn(!toggleSwitch.isOn(), true); }

std::vector<std::string> segmentTitles(const UISegmentedControl& control) {
  return segmentValues<std::string>(control, [&](std::int64_t i) { return control.titleForSegment(i); });
}

void setSegmentTitles(UISegmentedControl& control, const std::vector<std::string>& titles) {
  rebuildSegments(control, titles);
}

std::vector<ios::UIImage> segmentImages(const UISegmentedControl& control) {
  return segmentValues<ios::UIImage>(control, [&](std::int64_t i) { return control.imageForSegment(i); });
}

void setSegmentImages(UISegmentedControl& control, const std::vector<ios::UIImage>& images) {
  rebuildSegments(control, images);
}

}  // namespace kp
