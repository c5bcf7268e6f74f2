#include "KPQuaslet/text/Calendar+KPExt.h"

namespace kp {

std::int64_t numberOfDaysInMonth(const ios::Calendar& calendar, ios::Date date) {
  const auto days = calendar.range(ios::Calendar::Component::day, ios::Calendar::Component::month, date);
  return days ? days->upperBound - days->lowerBound : 0;
}

}  // namespace kp
