#include "platform/foundation/Bundle.h"

#include <gtest/gtest.h>

#include <errno.h>

#include <cstdlib>
#include <string>

#include "platform/testing/PlatformFixture.h"

namespace {

class ApplicationIdentifierTest : public ios::testing::PlatformFixture {
 protected:
  void TearDown() override {
    ::unsetenv("KP_APPLICATION_IDENTIFIER");
    ios::testing::PlatformFixture::TearDown();
  }
};

TEST_F(ApplicationIdentifierTest, TheBundleIdentifierWinsOverTheEnvironment) {
  ::setenv("KP_APPLICATION_IDENTIFIER", "org.example.fromenv", 1);
  EXPECT_EQ(ios::applicationIdentifier(), "org.example.fromenv");
  ios::Bundle::main().setBundleIdentifier("com.example.notes");
  EXPECT_EQ(ios::applicationIdentifier(), "com.example.notes");
}

TEST_F(ApplicationIdentifierTest, AnswersOneSafeFolderNameForAnyIdentifier) {
  struct Row {
    const char* given;
    std::string expected;
  } rows[] = {
      {"com.example/../../etc", "com.example-..-..-etc"},
      {"a b\tc", "a-b-c"},
      {"名前", "------"},
  };
  for (const Row& row : rows) {
    ios::Bundle::main().setBundleIdentifier(row.given);
    EXPECT_EQ(ios::applicationIdentifier(), row.expected) << row.given;
  }
}

TEST_F(ApplicationIdentifierTest, FallsBackToAStableNameFromTheExecutable) {
  for (const char* unusable : {"", ".", ".."}) {
    ios::Bundle::main().setBundleIdentifier(std::string(unusable));
    const std::string id = ios::applicationIdentifier();
    EXPECT_EQ(id.rfind("local.", 0), 0u) << id;
    EXPECT_EQ(id.find('/'), std::string::npos) << id;
    EXPECT_EQ(id, ios::applicationIdentifier()) << "the same on every call";
  }
  ios::Bundle::main().setBundleIdentifier(std::nullopt);
  const std::string id = ios::applicationIdentifier();
  EXPECT_NE(id.find(program_invocation_short_name), std::string::npos) << id;
  EXPECT_EQ(id.size(), std::string("local.").size() + std::string(program_invocation_short_name).size() + 9) << id;
}

}  // namespace
