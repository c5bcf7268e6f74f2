// File: platform/foundation/NSError.h
//
// The platform's error value, and the bridge from a library's own error enums to it.
//
//   ios::NSError e = ios::bridgeError(kp::KPKitError::pathNotAllowed);
//   e.domain;  // "KPQuaslet.KPKitError"
//   e.code;    // 3
//
// An error type joins the bridge by declaring, next to the type (found by
// argument-dependent lookup), `std::string errorDomain(E)` and `std::int64_t
// errorCode(E)`.
#pragma once

#include <cstdint>
#include <string>

namespace ios {

struct NSError {
  std::string domain;
  std::int64_t code = 0;

  // "The operation couldn’t be completed. (<domain> error <code>.)"
  [[nodiscard]] std::string localizedDescription() const {
    return "The operation couldn\u2019t be completed. (" + domain + " error " + std::to_string(code) + ".)";
  }
  bool operator==(const NSError&) const = default;
};

template <class E>
concept BridgeableError = requires(const E& e) {
  { errorDomain(e) } -> std::convertible_to<std::string>;
  { errorCode(e) } -> std::convertible_to<std::int64_t>;
};

// bridgeError()
//
// The NSError that the error value `e` bridges to.
template <BridgeableError E>
[[nodiscard]] NSError bridgeError(const E& e) {
  return NSError{errorDomain(e), errorCode(e)};
}

}  // namespace ios
