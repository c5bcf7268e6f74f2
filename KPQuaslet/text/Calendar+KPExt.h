// File: KPQuaslet/text/Calendar+KPExt.h
//
// Days in a month, for a given calendar.
//
//   kp::numberOfDaysInMonth(gregorian, dateIn(2024, 2));   // 29
//
// Unlike the Date extensions, this uses the calendar it is given (its system and time
// zone), not the user's current one.
#pragma once

#include <cstdint>

#include "platform/foundation/Calendar.h"
#include "platform/foundation/Date.h"

namespace kp {

// The number of days in the month of `calendar` that holds `date`; 0 when the calendar
// gives no range of days for it.
[[nodiscard]] std::int64_t numberOfDaysInMonth(const ios::Calendar& calendar, ios::Date date);

}  // namespace kp
