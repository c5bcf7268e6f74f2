// File: KPQuaslet/values/Bool+KPExt.h
//
// Conversions, toggling and random values of bool.
//
//   bool flag = false;
//   kp::toggle(flag);    // flag is now true; answers true
//   kp::string(flag);    // "true"
#pragma once

#include <cstdint>
#include <string>

namespace kp {

// int_()
//
// 1 for true, 0 for false.
[[nodiscard]] constexpr std::int64_t int_(bool value) { return value ? 1 : 0; }

// string()
//
// "true" or "false".
[[nodiscard]] inline std::string string(bool value) { return value ? "true" : "false"; }

// A pointer (a C string, say) would convert to bool and answer "true" or 1; these
// overloads refuse it at compile time.
template <class T>
std::string string(T*) = delete;
template <class T>
std::int64_t int_(T*) = delete;

// toggled()
//
// The opposite value.
[[nodiscard]] constexpr bool toggled(bool value) { return !value; }

// toggle()
//
// Sets `value` to its opposite and answers the new value (which callers may ignore).
constexpr bool toggle(bool& value) {
  value = !value;
  return value;
}

// randomBool()
//
// True when ios::arc4random_uniform(2) draws 1.
[[nodiscard]] bool randomBool();

}  // namespace kp
