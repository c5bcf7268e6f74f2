#include "KPQuaslet/Helper/KPKitError.h"

#include "KPQuaslet/Helper/RawRepresentable.h"

namespace kp {

const KPKitError KPKitError::jsonSerialization{Code::jsonSerialization};
const KPKitError KPKitError::errorLoadingSound{Code::errorLoadingSound};
const KPKitError KPKitError::pathNotExist{Code::pathNotExist};
const KPKitError KPKitError::pathNotAllowed{Code::pathNotAllowed};

const char* KPKitError::what() const noexcept {
  switch (code_) {
    case Code::jsonSerialization: return "jsonSerialization";
    case Code::errorLoadingSound: return "errorLoadingSound";
    case Code::pathNotExist: return "pathNotExist";
    case Code::pathNotAllowed: return "pathNotAllowed";
  }
  notACase("KPKitError", static_cast<std::int64_t>(code_));
}

std::string errorDomain(const KPKitError&) { return "KPQuaslet.KPKitError"; }

std::int64_t errorCode(const KPKitError& error) { return static_cast<std::int64_t>(error.code()); }

std::string ios_describe(const KPKitError& error) { return error.what(); }

std::string ios_describe(KPKitError::Code code) { return KPKitError(code).what(); }

std::span<const KPKitError> allCases(std::type_identity<KPKitError>) {
  static const KPKitError cases[] = {KPKitError::jsonSerialization, KPKitError::errorLoadingSound,
                                     KPKitError::pathNotExist, KPKitError::pathNotAllowed};
  return cases;
}

}  // namespace kp
