#include "KPQuaslet/concurrency/SelfAware.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "platform/uikit/UIApplication.h"
#include "tests/support/RuntimeTestClasses.h"

namespace kp {
namespace {

using ::testing::ElementsAre;
using ios::testing::answering;
using ios::testing::ask;
using ios::testing::makeTestClass;
using ios::testing::sel;

TEST(ReplaceMethod, OnAClassDefiningBothMethodsExchangesThemAndTwiceSwapsBack) {
  ios::Class cls = makeTestClass("Exchanging");
  ios::class_addMethod(cls, sel("viewDidLoad"), answering("original"));
  ios::class_addMethod(cls, sel("kp_viewDidLoad"), answering("swizzled"));
  auto object = ios::class_createInstance(cls);

  replaceMethod(cls, sel("viewDidLoad"), sel("kp_viewDidLoad"));
  EXPECT_EQ(ask(object, sel("viewDidLoad")), "swizzled");
  EXPECT_EQ(ask(object, sel("kp_viewDidLoad")), "original");

  replaceMethod(cls, sel("viewDidLoad"), sel("kp_viewDidLoad"));
  EXPECT_EQ(ask(object, sel("viewDidLoad")), "original");
  EXPECT_EQ(ask(object, sel("kp_viewDidLoad")), "swizzled");
}

TEST(ReplaceMethod, OnASubclassThatInheritsTheOriginalLeavesTheSuperclassAlone) {
  ios::Class base = makeTestClass("ExchangeBase");
  ios::Class sub = makeTestClass("ExchangeSub", base);
  ios::class_addMethod(base, sel("viewDidLoad"), answering("original"));
  ios::class_addMethod(sub, sel("kp_viewDidLoad"), answering("swizzled"));

  replaceMethod(sub, sel("viewDidLoad"), sel("kp_viewDidLoad"));
  auto subObject = ios::class_createInstance(sub);
  auto baseObject = ios::class_createInstance(base);
  EXPECT_EQ(ask(subObject, sel("viewDidLoad")), "swizzled");
  EXPECT_EQ(ask(subObject, sel("kp_viewDidLoad")), "original");
  EXPECT_EQ(ask(baseObject, sel("viewDidLoad")), "original");
  EXPECT_FALSE(baseObject->respondsToSelector(sel("kp_viewDidLoad")));
  EXPECT_NE(ios::class_getInstanceMethod(sub, sel("viewDidLoad")), ios::class_getInstanceMethod(base, sel("viewDidLoad")));
}

TEST(ReplaceMethodDeathTest, AMissingMethodStopsTheProcess) {
  ios::Class cls = makeTestClass("Incomplete");
  ios::class_addMethod(cls, sel("present"), answering("here"));
  EXPECT_DEATH(replaceMethod(cls, sel("present"), sel("absent")), "replaceMethod: Incomplete_[0-9]+ has no instance method absent");
  EXPECT_DEATH(replaceMethod(cls, sel("absent"), sel("present")), "has no instance method absent");
}

TEST(SelfAware, AdoptingAddsTheProtocolAndAnInheritedClassMethod) {
  ios::Class base = makeTestClass("Aware");
  ios::Class sub = makeTestClass("AwareSub", base);
  static std::vector<std::string> calls;
  calls.clear();
  SelfAware::adopt(base, ios::imp([](ios::objc_class& cls, ios::SEL) { calls.push_back(ios::NSStringFromClass(&cls)); }));

  EXPECT_EQ(ios::objc_getProtocol("SelfAware"), SelfAware::protocol());
  EXPECT_TRUE(ios::class_conformsToProtocol(base, SelfAware::protocol()));
  EXPECT_TRUE(ios::conformsToProtocol(sub, SelfAware::protocol()));
  EXPECT_NE(ios::class_getClassMethod(sub, SelfAware::startupHookSelector()), nullptr);
  EXPECT_EQ(ios::class_getInstanceMethod(base, SelfAware::startupHookSelector()), nullptr);

  // A scan sends the hook to the class and to its subclass, in registration order.
  NothingToSeeHere::harmlessFunction();
  EXPECT_THAT(calls, ElementsAre(ios::NSStringFromClass(base), ios::NSStringFromClass(sub)));
}

TEST(SelfAware, AScanPassesOnTheFirstFailureAfterVisitingEveryClass) {
  ios::Class failing = makeTestClass("FailingHook");
  ios::Class after = makeTestClass("AfterFailingHook");
  static int afterCalls = 0;
  afterCalls = 0;
  SelfAware::adopt(failing, ios::imp([](ios::objc_class&, ios::SEL) { throw std::runtime_error("hook failed"); }));
  SelfAware::adopt(after, ios::imp([](ios::objc_class&, ios::SEL) { ++afterCalls; }));
  EXPECT_THROW(NothingToSeeHere::harmlessFunction(), std::runtime_error);
  EXPECT_EQ(afterCalls, 1);
  // Later scans in this binary must not fail.
  ios::method_setImplementation(ios::class_getClassMethod(failing, SelfAware::startupHookSelector()),
                                ios::imp([](ios::objc_class&, ios::SEL) {}));
}

TEST(SelfAware, AHookExchangingAFixedClassRunsForSubclassesTooAndCanUndoItself) {
  ios::Class screen = makeTestClass("Screen");
  ios::class_addMethod(screen, sel("appear"), answering("original"));
  ios::class_addMethod(screen, sel("kp_appear"), answering("swizzled"));
  static ios::Class fixed = nullptr;
  fixed = screen;
  ios::Class hooked = makeTestClass("ScreenHooks");
  makeTestClass("ScreenHooksSub", hooked);
  SelfAware::adopt(hooked, ios::imp([](ios::objc_class&, ios::SEL) { replaceMethod(fixed, sel("appear"), sel("kp_appear")); }));

  // The hook runs for the adopting class and its subclass: two exchanges cancel out.
  NothingToSeeHere::harmlessFunction();
  EXPECT_EQ(ask(ios::class_createInstance(screen), sel("appear")), "original");
  ios::method_setImplementation(ios::class_getClassMethod(hooked, SelfAware::startupHookSelector()),
                                ios::imp([](ios::objc_class&, ios::SEL) {}));
}

TEST(ApplicationCategory, IsRegisteredWithTheRuntimeAndAnswersTheBaseResponder) {
  ios::Class application = ios::UIApplication::classObject();
  EXPECT_THAT(ios::categoryNames(application), ElementsAre("KPQuaslet"));
  ios::Method own = nullptr;
  for (ios::Method m : ios::class_copyMethodList(application)) {
    if (ios::method_getName(m) == ios::UIResponder::nextResponderSelector()) own = m;
  }
  ASSERT_NE(own, nullptr);
  EXPECT_STREQ(ios::method_getTypeEncoding(own), "@@:");
  EXPECT_STREQ(ios::property_getAttributes(ios::class_getProperty(application, "nextResponder")),
               "T@\"UIResponder\",N,R");
  // Whatever the scan found, the answer is UIResponder's: the end of the chain.
  EXPECT_EQ(ios::UIApplication::shared()->nextResponder(), nullptr);
  EXPECT_EQ(ios::UIApplication::shared()->nextResponder(), nullptr);
}

}  // namespace
}  // namespace kp
