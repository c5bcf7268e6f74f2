#include "KPQuaslet/Helper/Swizzle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "KPQuaslet/Helper/KPFunctions.h"
#include "platform/foundation/StandardOutput.h"
#include "platform/testing/PlatformFixture.h"
#include "tests/support/RuntimeTestClasses.h"

namespace kp {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ios::testing::answering;
using ios::testing::ask;
using ios::testing::makeTestClass;
using ios::testing::sel;

void noHook(ios::id, ios::SEL, ios::id, ios::id) {}

class SwizzleTest : public ios::testing::PlatformFixture {
 protected:
  // A class defining "original" and "swizzled", and a subclass defining nothing.
  void SetUp() override {
    PlatformFixture::SetUp();
    makeClasses();
  }

  void makeClasses() {
    base = makeTestClass("SwizzleBase");
    sub = makeTestClass("SwizzleSub", base);
    ios::class_addMethod(base, sel("original"), answering("original"));
    ios::class_addMethod(base, sel("swizzled"), answering("swizzled"));
    ios::class_addMethod(base, sel("other"), answering("other"));
    baseOriginal = ios::class_getInstanceMethod(base, sel("original"));
    originalImp = ios::method_getImplementation(baseOriginal);
  }

  std::string askBase(const char* selector) { return ask(ios::class_createInstance(base), sel(selector)); }
  std::string askSub(const char* selector) { return ask(ios::class_createInstance(sub), sel(selector)); }

  ios::Class base = nullptr;
  ios::Class sub = nullptr;
  ios::Method baseOriginal = nullptr;
  ios::IMP originalImp;
};

TEST_F(SwizzleTest, AMethodTheClassDefinesRunsTheSwizzledImplementation) {
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "log", noHook);
  EXPECT_EQ(askBase("original"), "swizzled");
  EXPECT_EQ(askBase("swizzled"), "swizzled");  // not exchanged
  auto swizzle = Swizzler::getSwizzle(baseOriginal);
  ASSERT_NE(swizzle, nullptr);
  EXPECT_EQ(swizzle->aClass, base);
  EXPECT_EQ(swizzle->selector, sel("original"));
  EXPECT_EQ(swizzle->originalMethod, originalImp);
  EXPECT_EQ(swizzle->blocks().size(), 1u);
}

TEST_F(SwizzleTest, AnInheritedMethodIsAddedToTheClassAndTheSuperclassIsUntouched) {
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), sub, "log", noHook);
  EXPECT_EQ(askSub("original"), "swizzled");
  EXPECT_EQ(askBase("original"), "original");
  ios::Method subOriginal = ios::class_getInstanceMethod(sub, sel("original"));
  ASSERT_NE(subOriginal, baseOriginal);
  EXPECT_EQ(ios::method_getImplementation(baseOriginal), originalImp);
  auto swizzle = Swizzler::getSwizzle(subOriginal);
  ASSERT_NE(swizzle, nullptr);
  EXPECT_EQ(Swizzler::getSwizzle(baseOriginal), swizzle);  // one entry under both methods
  EXPECT_EQ(swizzle->aClass, sub);
  EXPECT_EQ(swizzle->originalMethod, originalImp);

  // Undone, the subclass runs the inherited implementation again and the entry is gone
  // under both methods.
  Swizzler::unswizzleSelector(sel("original"), sub, "log");
  EXPECT_EQ(askSub("original"), "original");
  EXPECT_EQ(Swizzler::getSwizzle(subOriginal), nullptr);
  EXPECT_EQ(Swizzler::getSwizzle(baseOriginal), nullptr);
}

TEST_F(SwizzleTest, TwoNamedHooksAreUndoneByTheLastNamedUnswizzle) {
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "a", noHook);
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "b", noHook);
  auto swizzle = Swizzler::getSwizzle(baseOriginal);
  ASSERT_NE(swizzle, nullptr);
  EXPECT_EQ(swizzle->blocks().size(), 2u);

  Swizzler::unswizzleSelector(sel("original"), base, "a");
  EXPECT_EQ(askBase("original"), "swizzled");
  Swizzler::unswizzleSelector(sel("original"), base, "unknown hook");
  EXPECT_EQ(askBase("original"), "swizzled");
  Swizzler::unswizzleSelector(sel("original"), base, "b");
  EXPECT_EQ(askBase("original"), "original");
  EXPECT_EQ(Swizzler::getSwizzle(baseOriginal), nullptr);
}

TEST_F(SwizzleTest, AnUnnamedUnswizzleRestoresWhateverHooksRemain) {
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "a", noHook);
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "b", noHook);
  Swizzler::unswizzleSelector(sel("original"), base);
  EXPECT_EQ(askBase("original"), "original");
  EXPECT_EQ(Swizzler::getSwizzle(baseOriginal), nullptr);
}

TEST_F(SwizzleTest, ALaterSwizzleKeepsTheFirstRecordedOriginal) {
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "a", noHook);
  Swizzler::swizzleSelector(sel("original"), sel("other"), base, "b", noHook);
  EXPECT_EQ(askBase("original"), "other");
  EXPECT_EQ(Swizzler::getSwizzle(baseOriginal)->originalMethod, originalImp);
  Swizzler::unswizzleSelector(sel("original"), base);
  EXPECT_EQ(askBase("original"), "original");
}

TEST_F(SwizzleTest, UnswizzlingWhatWasNeverSwizzledChangesNothing) {
  Swizzler::unswizzleSelector(sel("original"), base, "a");
  Swizzler::unswizzleSelector(sel("noSuchMethod"), base);
  Swizzler::unswizzleSelector(sel("original"), base);
  EXPECT_EQ(askBase("original"), "original");
  EXPECT_EQ(ios::method_getImplementation(baseOriginal), originalImp);
}

TEST_F(SwizzleTest, AMissingMethodIsLoggedAtDebugAndNothingChanges) {
  struct Case {
    const char* original;
    const char* swizzled;
  };
  for (const Case& c : {Case{"noSuchMethod", "swizzled"}, Case{"original", "noSuchMethod"}}) {
    SCOPED_TRACE(c.original);
    KP::setMinimumLogLevel(KP::logLevel::debug);
    ios::testing::CapturedOutput out;
    Swizzler::swizzleSelector(sel(c.original), sel(c.swizzled), sub, "log", noHook);
    const std::string expectedTail = " \U0001F4C2 Swizzle.cpp(67) \u2699\uFE0F swizzleSelector(_:withSelector:for:name:block:) "
                                     "\u27A1\uFE0F\r\tSwizzling error: Cannot find method for " +
                                     std::string(c.original) + " on " + ios::NSStringFromClass(sub) + "\n";
    EXPECT_THAT(out.text(), EndsWith(expectedTail));
    EXPECT_THAT(out.text(), HasSubstr("\u2733\uFE0F .debug "));
    EXPECT_EQ(ios::class_copyMethodList(sub).size(), 0u);
    EXPECT_EQ(askSub("original"), "original");

    out.clear();
    KP::setMinimumLogLevel(KP::logLevel::warn);
    Swizzler::swizzleSelector(sel(c.original), sel(c.swizzled), sub, "log", noHook);
    EXPECT_EQ(out.text(), "");
    KP::setMinimumLogLevel(KP::logLevel::info);
  }
}

TEST_F(SwizzleTest, DescriptionListsEveryHookOnItsOwnLine) {
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "log", noHook);
  auto swizzle = Swizzler::getSwizzle(baseOriginal);
  const std::string head = "Swizzle on " + ios::NSStringFromClass(base) + "::original [";
  EXPECT_EQ(swizzle->description(), head + "\tlog : (Function)\n]");
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "audit", noHook);
  std::ostringstream out;
  out << *swizzle;
  EXPECT_EQ(out.str(), head + "\taudit : (Function)\n\tlog : (Function)\n]");
}

// Hooks change under the registry's lock while another thread describes the Swizzle:
// every reading of the hooks must be ordered with those changes.
TEST_F(SwizzleTest, DescribingWhileHooksChangeOnAnotherThreadIsSafe) {
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "first", noHook);
  auto swizzle = Swizzler::getSwizzle(baseOriginal);
  ASSERT_NE(swizzle, nullptr);
  std::thread writer([&] {
    for (int i = 0; i < 200; ++i) {
      Swizzler::swizzleSelector(sel("original"), sel("swizzled"), base, "hook" + std::to_string(i % 7), noHook);
      Swizzler::unswizzleSelector(sel("original"), base, "hook" + std::to_string((i + 3) % 7));
    }
  });
  std::size_t longest = 0;
  for (int i = 0; i < 200; ++i) longest = std::max(longest, swizzle->description().size());
  writer.join();
  EXPECT_THAT(swizzle->description(), HasSubstr("\tfirst : (Function)\n"));
  EXPECT_GT(longest, 0u);
}

TEST_F(SwizzleTest, AnUndoneInheritedSwizzleLeavesNoStaleEntryForTheSuperclass) {
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), sub, "first", noHook);
  Swizzler::unswizzleSelector(sel("original"), sub);  // no name: hooks are dropped with it

  // The superclass's implementation changes, then the superclass itself is swizzled.
  ios::IMP changed = answering("changed");
  ios::method_setImplementation(baseOriginal, changed);
  Swizzler::swizzleSelector(sel("original"), sel("other"), base, "second", noHook);
  auto swizzle = Swizzler::getSwizzle(baseOriginal);
  ASSERT_NE(swizzle, nullptr);
  EXPECT_EQ(swizzle->aClass, base);
  EXPECT_EQ(swizzle->originalMethod, changed);
  EXPECT_EQ(swizzle->blocks().size(), 1u);

  Swizzler::unswizzleSelector(sel("original"), base, "second");
  EXPECT_EQ(askBase("original"), "changed");
}

TEST_F(SwizzleTest, UnswizzlingTheSuperclassKeepsTheSubclassSwizzleRegistered) {
  Swizzler::swizzleSelector(sel("original"), sel("swizzled"), sub, "log", noHook);
  Swizzler::unswizzleSelector(sel("original"), base);
  EXPECT_EQ(askBase("original"), "original");
  EXPECT_EQ(Swizzler::getSwizzle(baseOriginal), nullptr);
  EXPECT_EQ(askSub("original"), "swizzled");
  Swizzler::unswizzleSelector(sel("original"), sub);
  EXPECT_EQ(askSub("original"), "original");
}

TEST_F(SwizzleTest, AClassAndItsSubclassSharingASwizzleAreEachUndoneInEitherOrder) {
  const struct {
    const char* name;
    bool subclassSwizzledFirst;
    bool subclassUndoneFirst;
  } rows[] = {
      {"superclass first, undone superclass first", false, false},
      {"superclass first, undone subclass first", false, true},
      {"subclass first, undone superclass first", true, false},
      {"subclass first, undone subclass first", true, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    makeClasses();
    const ios::Class first = row.subclassSwizzledFirst ? sub : base;
    const ios::Class second = row.subclassSwizzledFirst ? base : sub;
    Swizzler::swizzleSelector(sel("original"), sel("swizzled"), first, "first", noHook);
    Swizzler::swizzleSelector(sel("original"), sel("swizzled"), second, "second", noHook);
    ASSERT_EQ(askBase("original"), "swizzled");
    ASSERT_EQ(askSub("original"), "swizzled");

    const ios::Class undoneFirst = row.subclassUndoneFirst ? sub : base;
    const ios::Class undoneLast = row.subclassUndoneFirst ? base : sub;
    Swizzler::unswizzleSelector(sel("original"), undoneFirst);
    EXPECT_EQ(ask(ios::class_createInstance(undoneFirst), sel("original")), "original");
    EXPECT_EQ(ask(ios::class_createInstance(undoneLast), sel("original")), "swizzled") << "still swizzled";
    ASSERT_NE(Swizzler::getSwizzle(ios::class_getInstanceMethod(undoneLast, sel("original"))), nullptr);

    Swizzler::unswizzleSelector(sel("original"), undoneLast);
    EXPECT_EQ(askBase("original"), "original");
    EXPECT_EQ(askSub("original"), "original");
    EXPECT_EQ(Swizzler::getSwizzle(baseOriginal), nullptr);
    EXPECT_EQ(Swizzler::getSwizzle(ios::class_getInstanceMethod(sub, sel("original"))), nullptr);
  }
}

TEST_F(SwizzleTest, TheRegistryStoresReplacesAndRemovesByMethod) {
  auto first = std::make_shared<Swizzle>(noHook, "a", base, sel("original"), originalImp);
  auto second = std::make_shared<Swizzle>(noHook, "b", base, sel("original"), originalImp);
  ios::Method method = ios::class_getInstanceMethod(base, sel("other"));
  Swizzler::setSwizzle(first, method);
  EXPECT_EQ(Swizzler::getSwizzle(method), first);
  Swizzler::setSwizzle(second, method);
  EXPECT_EQ(Swizzler::getSwizzle(method), second);
  Swizzler::removeSwizzle(method);
  EXPECT_EQ(Swizzler::getSwizzle(method), nullptr);
  Swizzler::removeSwizzle(method);
}

}  // namespace
}  // namespace kp
