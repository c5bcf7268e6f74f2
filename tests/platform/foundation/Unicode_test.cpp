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

// Walking forwards from every boundary and back from every boundary, and counting,
// agree with segmenting the whole text, whatever surrounds the walk: long runs of
// flags (whose pairing depends on the whole run), emoji joined by ZWJ, prepended
// marks, CR LF, and ill-formed bytes, which stand alone even next to combining marks.
TEST(Unicode, WalksAgreeWithWholeTextSegmentation) {
  std::string flags;
  for (int i = 0; i < 7; ++i) flags += "\U0001F1EB\U0001F1F7";
  const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";
  const struct {
    const char* name;
    std::string text;
  } rows[] = {
      {"ascii", "plain text\r\n\r\nend"},
      {"combining", "e\u0301a\u0308\u0323 x\u0301"},
      {"odd flags", "a" + flags + "\U0001F1EB"},
      {"even flags", flags},
      {"flags after mark", "\u0301" + flags + "\U0001F1EBz"},
      {"zwj family", "x" + family + family + "\u200D"},
      {"skin tone", "\U0001F44D\U0001F3FDok\U0001F44D"},
      {"prepend", "\u0600a\u0600\xFF\u0600"},
      {"ill-formed", "\xFF\u0301\xE2\x80" "a\xCC\xCC\x81\xF0\x9F\x98"},
      {"mark after ill-formed", "ab\xC3\u0301\u0301"},
      {"crlf split by ascii", "\r\r\n\n\u00E9\r\n"},
      {"hangul", "\u1100\u1161\u11A8\uAC00\u11A8"},
      {"devanagari", "\u0915\u094D\u0937\u093F ok"},
  };
  for (const auto& row : rows) {
    const std::vector<std::size_t> bounds = u::graphemeBoundaries(row.text);
    const std::size_t count = bounds.size() - 1;
    EXPECT_EQ(u::graphemeCount(row.text), count) << row.name;
    for (std::size_t i = 0; i < bounds.size(); ++i) {
      for (std::size_t k = 0; i + k < bounds.size(); ++k) {
        EXPECT_EQ(u::advanceGraphemes(row.text, bounds[i], k), bounds[i + k]) << row.name << " " << i << "+" << k;
      }
      EXPECT_EQ(u::advanceGraphemes(row.text, bounds[i], count - i + 1), std::nullopt) << row.name << " " << i;
      if (i > 0) {
        EXPECT_EQ(u::lastGraphemeStart(std::string_view(row.text).substr(0, bounds[i])), bounds[i - 1])
            << row.name << " before " << i;
      }
    }
    EXPECT_EQ(u::firstGraphemeLength(row.text), count == 0 ? 0 : bounds[1]) << row.name;
  }
  EXPECT_EQ(u::lastGraphemeStart(""), 0u);
}

}  // namespace
