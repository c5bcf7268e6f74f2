// File: KPQuaslet/Helper/internal/RuntimeCategory.h
//
// How the library attaches its runtime categories: one category per extended class,
// named "KPQuaslet", attached once when the shared library is loaded.
//
//   const kp::kp_internal::CategoryRegistration timerCategory([] {
//     ios::attachCategory(ios::NSTimer::classObject(), {kp::kp_internal::kCategoryName, ...});
//   });
//
// Internal to the library: not part of the umbrella header.
#pragma once

namespace kp::kp_internal {

// The name of every category the library attaches.
inline constexpr const char* kCategoryName = "KPQuaslet";

// CategoryRegistration
//
// Runs `attach` when constructed; declare one at namespace scope of a library source
// file, so that the category is attached at load. `attach` must only register.
struct CategoryRegistration {
  explicit CategoryRegistration(void (*attach)()) { attach(); }
};

}  // namespace kp::kp_internal
