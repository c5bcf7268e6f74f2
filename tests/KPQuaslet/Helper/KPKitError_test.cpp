#include "KPQuaslet/Helper/KPKitError.h"

#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <unordered_set>

#include "platform/foundation/Describe.h"

namespace {

using kp::KPKitError;

TEST(KPKitError, BridgesToItsModuleQualifiedDomainAndCasePosition) {
  const struct {
    KPKitError error;
    std::int64_t code;
    const char* name;
  } rows[] = {
      {KPKitError::jsonSerialization, 0, "jsonSerialization"},
      {KPKitError::errorLoadingSound, 1, "errorLoadingSound"},
      {KPKitError::pathNotExist, 2, "pathNotExist"},
      {KPKitError::pathNotAllowed, 3, "pathNotAllowed"},
  };
  for (const auto& row : rows) {
    const ios::NSError bridged = ios::bridgeError(row.error);
    EXPECT_EQ(bridged.domain, "KPQuaslet.KPKitError");
    EXPECT_EQ(bridged.code, row.code);
    EXPECT_EQ(ios::describe(row.error), row.name);
  }
}

TEST(KPKitError, IsThrownAndCaughtAsAValue) {
  try {
    throw KPKitError::errorLoadingSound;
  } catch (const KPKitError& e) {
    EXPECT_EQ(e, KPKitError::errorLoadingSound);
    EXPECT_NE(e, KPKitError::pathNotExist);
    EXPECT_EQ(e.code(), KPKitError::Code::errorLoadingSound);
    EXPECT_EQ(ios::bridgeError(e).localizedDescription(),
              "The operation couldn\u2019t be completed. (KPQuaslet.KPKitError error 1.)");
  }
  std::unordered_set<KPKitError> set{KPKitError::pathNotExist, KPKitError::pathNotExist, KPKitError::pathNotAllowed};
  EXPECT_EQ(set.size(), 2u);
}

// Whoever catches std::exception catches the library's error too, and what() names
// the case.
TEST(KPKitError, IsCaughtAsAStandardExceptionNamingItsCase) {
  for (const KPKitError& error : kp::allCases(std::type_identity<KPKitError>{})) {
    try {
      throw error;
    } catch (const std::exception& e) {
      EXPECT_EQ(std::string(e.what()), ios::describe(error));
      EXPECT_NE(dynamic_cast<const KPKitError*>(&e), nullptr);
    }
  }
}

}  // namespace
