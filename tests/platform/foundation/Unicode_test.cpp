#include "platform/foundation/internal/Unicode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

namespace u = ios::unicode_internal;
using ::testing::ElementsAre;

TEST(Unicode, GraphemeBoundaries) {
  EXPECT_THAT(u::graphemeBoundaries(""), ElementsAre(0u));
  EXPECT_THAT(u::graphemeBoundaries("ab\r\nc"), ElementsAre(0u, 1u, 2u, 4u, 5u));
  // "e" + U+0301 (3 bytes), then a flag (8 bytes), then "x".
  EXPECT_THAT(u::graphemeBoundaries("e\u0301\U0001F1EB\U0001F1F7x"), ElementsAre(0u, 3u, 11u, 12u));
  // Ill-formed bytes stand alone and do not disturb their neighbours.
  EXPECT_THAT(u::graphemeBoundaries("a\xFF\xFE" "e\u0301"), ElementsAre(0u, 1u, 2u, 3u, 6u));
  EXPECT_EQ(u::graphemeCount("\U0001F468\u200D\U0001F469\u200D\U0001F467!"), 2u);
}

TEST(Unicode, DecodesAndValidatesUTF8) {
  EXPECT_TRUE(u::isValidUTF8("a\u00E9\u4E2D\U0001F600"));
  EXPECT_FALSE(u::isValidUTF8("\xE4\xB8"));        // truncated
  EXPECT_FALSE(u::isValidUTF8("\xE0\x80\x80"));    // overlong
  EXPECT_FALSE(u::isValidUTF8("\xED\xBF\xBF"));    // surrogate
  EXPECT_THAT(u::scalars("a\xFF\u00E9"), ElementsAre(U'a', U'\uFFFD', U'\u00E9'));
  std::string out;
  u::appendUTF8(out, U'\U0001F600');
  EXPECT_EQ(out, "\U0001F600");
}

TEST(Unicode, CaseMappingAndNormalisation) {
  EXPECT_EQ(u::uppercased("stra\u00DFe"), "STRASSE");
  EXPECT_EQ(u::lowercased("\u0130"), "i\u0307");
  EXPECT_EQ(u::nfc("e\u0301"), "\u00E9");
  EXPECT_EQ(u::uppercased("a\xFF"), "A\uFFFD");
}

}  // namespace
