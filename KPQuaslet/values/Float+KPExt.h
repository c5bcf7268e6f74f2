// File: KPQuaslet/values/Float+KPExt.h
//
// Conversions of float values.
//
//   kp::int_(2.5f);      // 2
//   kp::double_(0.1f);   // 0.10000000149011612
#pragma once

#include <cstdint>

#include "KPQuaslet/values/Double+KPExt.h"

namespace kp {

// int_()
//
// The value truncated toward zero. Precondition: finite and within the Int range.
[[nodiscard]] inline std::int64_t int_(float value) { return int_(static_cast<double>(value)); }

// double_(), cgFloat()
//
// The value widened to double (exactly).
[[nodiscard]] constexpr double double_(float value) { return value; }
[[nodiscard]] constexpr double cgFloat(float value) { return value; }

// float_()
//
// The value itself.
[[nodiscard]] constexpr float float_(float value) { return value; }

}  // namespace kp
