// File: platform/foundation/ComparisonResult.h
//
// The order of two values, as the platform's compare operations report it.
//
//   ios::Date::now().compare(ios::Date::distantPast());  // orderedDescending
//   static_cast<int>(ios::ComparisonResult::orderedAscending);  // -1
//
// Fidelity: the platform's three cases with their raw values -1, 0 and 1.
#pragma once

namespace ios {

enum class ComparisonResult : int {
  orderedAscending = -1,
  orderedSame = 0,
  orderedDescending = 1,
};

}  // namespace ios
