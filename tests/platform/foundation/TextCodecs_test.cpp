#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/CharacterSet.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/NSRegularExpression.h"
#include "platform/foundation/Scanner.h"
#include "platform/foundation/StringTransform.h"
#include "platform/foundation/URL.h"

namespace {

TEST(Data, Base64EncodesAndDecodesStrictly) {
  struct Row {
    ios::Data bytes;
    const char* encoded;
  };
  const Row rows[] = {{{}, ""}, {{'f'}, "Zg=="}, {{'f', 'o'}, "Zm8="}, {{'f', 'o', 'o'}, "Zm9v"}, {{0xFB, 0xFF}, "+/8="}};
  for (const Row& row : rows) {
    EXPECT_EQ(ios::base64EncodedString(row.bytes), row.encoded);
    EXPECT_EQ(ios::dataFromBase64Encoded(row.encoded), row.bytes) << row.encoded;
  }
  for (const char* bad : {"Zg=", "Zg", "Z===", "Zg==Zg==", "Zm9v\n", "Zm-v", "=Zg="}) {
    EXPECT_EQ(ios::dataFromBase64Encoded(bad), std::nullopt) << bad;
  }
}

TEST(Data, NonLossyASCII) {
  const auto encoded = ios::dataUsingNonLossyASCII("a\\é中😀");
  ASSERT_TRUE(encoded.has_value());
  EXPECT_EQ(std::string(encoded->begin(), encoded->end()), "a\\\\\\351\\u4e2d\\ud83d\\ude00");
  EXPECT_EQ(ios::stringFromNonLossyASCII(*encoded), "a\\é中😀");
  EXPECT_EQ(ios::dataUsingNonLossyASCII("\xFF"), std::nullopt);
  for (const char* bad : {"\\", "\\x", "\\400", "\\ude00", "\\ud83dx", "\\u12"}) {
    const std::string text(bad);
    EXPECT_EQ(ios::stringFromNonLossyASCII(ios::Data(text.begin(), text.end())), std::nullopt) << bad;
  }
}

TEST(URL, PercentEncodingWithTheAllowedSets) {
  EXPECT_EQ(ios::addingPercentEncoding("a b/c?d&e", ios::CharacterSet::urlHostAllowed()), "a%20b%2Fc%3Fd&e");
  EXPECT_EQ(ios::addingPercentEncoding("a b/c?d&e", ios::CharacterSet::urlPathAllowed()), "a%20b/c%3Fd&e");
  EXPECT_EQ(ios::addingPercentEncoding("a b/c?d#e", ios::CharacterSet::urlQueryAllowed()), "a%20b/c?d%23e");
  EXPECT_EQ(ios::addingPercentEncoding("u:p@", ios::CharacterSet::urlUserAllowed()), "u%3Ap%40");
  EXPECT_EQ(ios::addingPercentEncoding("é", ios::CharacterSet::urlFragmentAllowed()), "%C3%A9");
  EXPECT_EQ(ios::addingPercentEncoding("a\xFF", ios::CharacterSet::urlPathAllowed()), std::nullopt);
}

TEST(Scanner, ReadsNumbersAfterSkippedWhitespace) {
  ios::Scanner ints(" -12\n+7 x");
  EXPECT_EQ(ints.scanInt(), -12);
  EXPECT_EQ(ints.scanInt(), 7);
  EXPECT_FALSE(ints.isAtEnd());
  EXPECT_EQ(ints.scanInt(), std::nullopt);
  EXPECT_EQ(ints.currentIndex(), 7u);  // a failed scan does not move

  // Out of range: scanned whole and clamped, as the platform does.
  ios::Scanner overflow("9223372036854775808 1");
  EXPECT_EQ(overflow.scanInt(), INT64_MAX);
  EXPECT_EQ(overflow.scanInt(), 1);
  EXPECT_EQ(ios::Scanner("-99999999999999999999").scanInt(), INT64_MIN);
  EXPECT_EQ(ios::Scanner("-9223372036854775808").scanInt(), INT64_MIN);

  struct Row {
    const char* text;
    std::optional<double> value;
  };
  const Row rows[] = {{"1.5", 1.5}, {"-.5", -0.5}, {"1e3", 1000.0}, {"2.e", 2.0}, {".", std::nullopt},
                      {"+", std::nullopt}, {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL}, {"1e-999", 0.0}};
  for (const Row& row : rows) EXPECT_EQ(ios::Scanner(row.text).scanDouble(), row.value) << row.text;
}

TEST(CFStringTransform, TransliteratesAndStripsMarks) {
  std::string text = "中文 Café";
  EXPECT_TRUE(ios::CFStringTransform(text, ios::kCFStringTransformMandarinLatin, false));
  EXPECT_EQ(text, "zhōng wén Café");
  EXPECT_TRUE(ios::CFStringTransform(text, ios::kCFStringTransformStripDiacritics, false));
  EXPECT_EQ(text, "zhong wen Cafe");
  std::string greek = "αβγ";
  EXPECT_TRUE(ios::CFStringTransform(greek, ios::kCFStringTransformToLatin, false));
  EXPECT_EQ(greek, "abg");
  std::string unchanged = "x";
  EXPECT_FALSE(ios::CFStringTransform(unchanged, "No-Such-Transform", false));
  EXPECT_EQ(unchanged, "x");
}

}  // namespace

namespace {

// Compiled patterns are shared between threads and transforms are built per thread:
// both give the same answers from several threads at once.
TEST(TextServicesThreaded, PatternsAndTransformsFromSeveralThreads) {
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&wrong, t] {
      for (int i = 0; i < 50; ++i) {
        const std::string pattern = "[a-z]+" + std::to_string((t + i) % 3);
        if (!ios::NSPredicate::matches(pattern).evaluate("abc" + std::to_string((t + i) % 3))) ++wrong;
        std::string text = "中文";
        (void)ios::CFStringTransform(text, ios::kCFStringTransformMandarinLatin, false);
        if (text != "zhōng wén") ++wrong;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
