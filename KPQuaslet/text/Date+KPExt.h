// File: KPQuaslet/text/Date+KPExt.h
//
// Every date convenience: components, rounding and random dates; period boundaries;
// formats, ISO 8601 and relative time.
//
//   #include "KPQuaslet/text/Date+KPExt.h"
//   kp::endOfDay(kp::nearestHour(ios::Date::now()));
#pragma once

#include "KPQuaslet/text/Date+KPExtBoundaries.h"
#include "KPQuaslet/text/Date+KPExtComponents.h"
#include "KPQuaslet/text/Date+KPExtText.h"
