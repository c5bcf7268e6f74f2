#include "platform/foundation/NSRegularExpression.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/NSDataDetector.h"
#include "platform/foundation/NSException.h"
#include "platform/foundation/NSString.h"

namespace {

using ::testing::ElementsAre;

std::vector<std::pair<std::size_t, std::size_t>> ranges(const std::vector<ios::NSTextCheckingResult>& found) {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  for (const auto& match : found) out.emplace_back(match.range.location, match.range.length);
  return out;
}

TEST(NSRegularExpression, RangesAreUTF16Units) {
  const ios::NSRegularExpression digits("[0-9]+");
  const std::string text = "😀12中345";
  EXPECT_THAT(ranges(digits.matches(text, {0, ios::utf16Length(text)})),
              ElementsAre(std::pair<std::size_t, std::size_t>{2, 2}, std::pair<std::size_t, std::size_t>{5, 3}));
  EXPECT_EQ(digits.numberOfMatches(text, {3, 4}), 2u);  // "2中34"
  EXPECT_EQ(digits.numberOfMatches(text, {0, ios::NSNotFound}), 2u);  // clipped to the text
  EXPECT_EQ(digits.firstMatch("none", {0, 4}), std::nullopt);
  EXPECT_EQ(ios::NSRegularExpression("x*").numberOfMatches("ab", {0, 2}), 3u);  // empty matches advance
}

TEST(NSRegularExpression, EngineSemantics) {
  // \d is any decimal digit; $ matches before a final line break in the default mode.
  EXPECT_EQ(ios::NSRegularExpression("^\\d+$").numberOfMatches("\u0663\u0664", {0, 2}), 1u);
  EXPECT_EQ(ios::NSRegularExpression("^a$").numberOfMatches("a\n", {0, 2}), 1u);
  EXPECT_EQ(ios::NSRegularExpression("A", ios::NSRegularExpression::caseInsensitive).numberOfMatches("aA", {0, 2}), 2u);
  EXPECT_THROW(ios::NSRegularExpression("("), ios::NSRegularExpression::InvalidPattern);
  try {
    ios::NSRegularExpression bad("[a-");
    FAIL() << "no exception";
  } catch (const ios::NSRegularExpression::InvalidPattern& e) {
    EXPECT_EQ(e.error(), (ios::NSError{"NSCocoaErrorDomain", 2048}));
  }
}

TEST(NSPredicate, MatchesTheWholeTextAndRaisesOnBadPatterns) {
  EXPECT_TRUE(ios::NSPredicate::matches("[a-z]+").evaluate("abc"));
  EXPECT_FALSE(ios::NSPredicate::matches("[a-z]+").evaluate("abc\n"));
  EXPECT_FALSE(ios::NSPredicate::matches("[a-z]+").evaluate("abc1"));
  EXPECT_TRUE(ios::NSPredicate("SELF MATCHES %@", "").evaluate(""));
  try {
    (void)ios::NSPredicate::matches("(").evaluate("x");
    FAIL() << "no exception";
  } catch (const ios::NSException& e) {
    EXPECT_EQ(e.name(), ios::NSInvalidArgumentException);
  }
  EXPECT_DEATH(ios::NSPredicate("SELF CONTAINS %@", "x"), "only \"SELF MATCHES %@\"");
}

// "(a+)+$" against forty "a" and a "b" backtracks about 2^40 times: without a limit it
// would run for minutes.
const std::string kBacktracking = std::string(40, 'a') + "b";

TEST(NSRegularExpression, MatchingStopsAtTheTimeLimitWithNoMatch) {
  const ios::NSRegularExpression runaway("(a+)+$");
  const ios::NSRange whole{0, ios::utf16Length(kBacktracking)};
  EXPECT_EQ(runaway.firstMatch(kBacktracking, whole), std::nullopt);
  EXPECT_FALSE(ios::NSPredicate::matches("(a+)+$").evaluate(kBacktracking));
  EXPECT_EQ(ios::range(kBacktracking, "(a+)+$", ios::CompareOptions::regularExpression), std::nullopt);
  // Matches found before the limit stay found; the search for the next one stops.
  const std::string text = "ab " + kBacktracking;
  EXPECT_EQ(ios::NSRegularExpression("^ab|(a+)+c").numberOfMatches(text, {0, ios::utf16Length(text)}), 1u);
  // Long texts that need no backtracking are searched to the end.
  const std::string haystack = std::string(1 << 22, 'x') + "needle";
  EXPECT_EQ(ios::NSRegularExpression("ne+dle|q(a+)+z").numberOfMatches(haystack, {0, ios::utf16Length(haystack)}),
            1u);
  EXPECT_TRUE(ios::NSPredicate::matches("x{4194304}needle").evaluate(haystack));
}

TEST(NSRegularExpression, TheTimeLimitGrowsWithTheText) {
  // Every position of this text costs the engine a few steps (the alternation has no
  // literal start to skip to): 8 MB of it takes far more steps than a short text's
  // limit allows, yet the search is linear and must reach the end.
  std::string haystack;
  haystack.reserve((1u << 23) + 8);
  while (haystack.size() < (1u << 23)) haystack += "ab";
  haystack += "bc";
  const ios::NSRegularExpression pattern("(?:a|b)c");
  const auto found = pattern.firstMatch(haystack, {0, ios::utf16Length(haystack)});
  ASSERT_TRUE(found);
  EXPECT_EQ(found->range.location, (1u << 23));
}

// Patterns whose backtracking memory grows with the text match long texts: running out
// of the engine's memory is not a mismatch. Each row once answered no match.
TEST(NSRegularExpression, TheBacktrackingMemoryGrowsWithTheText) {
  std::string words;
  for (int i = 0; i < 100000; ++i) words += "word ";
  words += "end";
  std::string pairs;
  for (int i = 0; i < 500000; ++i) pairs += "ab";
  pairs += "c";
  const struct {
    const char* pattern;
    std::string text;
  } wholeTexts[] = {
      {"a*", std::string(1000000, 'a')},
      {"(\\w+\\s)*\\w+", words},
      {"(a|b)*", std::string(1000000, 'b')},
  };
  for (const auto& row : wholeTexts) {
    EXPECT_TRUE(ios::NSPredicate::matches(row.pattern).evaluate(row.text)) << row.pattern;
  }
  const auto found = ios::NSRegularExpression("(ab)*c").matches(pairs, {0, ios::utf16Length(pairs)});
  EXPECT_THAT(ranges(found), ElementsAre(std::pair<std::size_t, std::size_t>{0, pairs.size()}));
}

TEST(NSDataDetector, FindsLinksWithUTF16Ranges) {
  const ios::NSDataDetector detector(ios::NSDataDetector::link);
  struct Row {
    std::string text;
    std::vector<std::string> urls;
  };
  const Row rows[] = {
      {"visit https://example.org/a?b=c#d.", {"https://example.org/a?b=c#d"}},
      {"www.example.com, me.too@mail.example.co.uk; mailto:x@y.io", {"http://www.example.com", "mailto:me.too@mail.example.co.uk", "mailto:x@y.io"}},
      {"(http://example.org)", {"http://example.org"}},
      {"see [http://example.org/x]", {"http://example.org/x"}},
      {"http://中文.example", {}},  // stops at non-ASCII: "http://" alone is no link
      {"www.example", {}},
      {"a@b", {}},
      {"x@example.c", {}},
      {"foo.bar@example.org", {"mailto:foo.bar@example.org"}},
      {"http://", {}},
      {"1http://example.org", {}},  // not at the start of a word
  };
  for (const Row& row : rows) {
    std::vector<std::string> found;
    for (const auto& match : detector.matches(row.text, {0, ios::utf16Length(row.text)})) {
      found.push_back(match.url->absoluteString());
    }
    EXPECT_EQ(found, row.urls) << row.text;
  }
  const std::string text = "😀 a@example.org";
  const auto first = detector.firstMatch(text, {0, ios::utf16Length(text)});
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->range, (ios::NSRange{3, 13}));
  EXPECT_EQ(detector.firstMatch(text, {0, 3}), std::nullopt);  // the range limits the search
}

std::string times(std::string_view piece, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += piece;
  return out;
}

// Texts that made the scan measure the same long run again from every word start in
// it (or count its brackets again for every closing one taken off): each took minutes.
// A linear scan of 200,000 characters takes milliseconds; the bound leaves a margin of
// a hundred times for slow and instrumented builds.
TEST(NSDataDetector, LongHostileRunsAreScannedInLinearTime) {
  const ios::NSDataDetector detector(ios::NSDataDetector::link);
  struct Row {
    const char* name;
    std::string text;
    std::vector<std::string> urls;
  };
  const Row rows[] = {
      {"closing brackets after a link", "http://x/" + times(")", 200000), {"http://x/"}},
      {"www. starts without a host", times("www.:", 40000), {}},
      {"www. starts whose host ends in a dot", times("www.a.:", 20000) + times(").", 50000), {}},
      {"a link with more closing brackets than opening", "a://" + times("(", 50000) + times(")", 100000),
       {"a://" + times("(", 50000) + times(")", 50000)}},
  };
  for (const Row& row : rows) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> found;
    for (const auto& match : detector.matches(row.text, {0, ios::utf16Length(row.text)})) {
      found.push_back(match.url->absoluteString());
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(found, row.urls) << row.name;
    EXPECT_LT(took.count(), 10.0) << row.name;
  }
}

}  // namespace
