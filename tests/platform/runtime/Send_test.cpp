#include "platform/runtime/Send.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "platform/foundation/NSException.h"
#include "tests/support/RuntimeTestClasses.h"

namespace ios {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::StartsWith;
using testing::answering;
using testing::ask;
using testing::makeTestClass;
using testing::sel;

// A C++ class with runtime-visible methods.
class Tally : public NSObject {
  IOS_RUNTIME_CLASS(Tally, NSObject);

 public:
  std::int64_t total = 0;
  std::string classAtConstruction;

 protected:
  Tally() {
    // The class is known while the object is being made.
    classAtConstruction = send<std::string>(this, sel_registerName("className"));
  }
};

void configureTally(Class cls) {
  class_addMethod(cls, sel_registerName("add:"), imp([](Tally& self, SEL, std::int64_t amount) {
                    self.total += amount;
                    return self.total;
                  }));
  class_addMethod(cls, sel_registerName("className"),
                  imp([](NSObject& self, SEL) { return NSStringFromClass(self.getClass()); }));
}

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(Tally, "SendTestTally", configureTally)

namespace {

TEST(Send, ReachesTypedImplementationsOfCppClasses) {
  auto tally = Tally::make();
  EXPECT_EQ(send<std::int64_t>(tally, sel("add:"), std::int64_t{2}), 2);
  std::int64_t three = 3;
  EXPECT_EQ(send<std::int64_t>(tally.get(), sel("add:"), three), 5);
  EXPECT_EQ(tally->total, 5);
  EXPECT_EQ(tally->classAtConstruction, "SendTestTally");
  EXPECT_EQ(tally->getClass(), Tally::classObject());
}

TEST(Send, LooksUpThroughTheSuperclassChainOnEverySend) {
  Class base = makeTestClass("Animal");
  Class sub = makeTestClass("Dog", base);
  class_addMethod(base, sel("sound"), answering("..."));
  id dog = class_createInstance(sub);
  id animal = class_createInstance(base);
  EXPECT_EQ(ask(dog, sel("sound")), "...");

  class_addMethod(sub, sel("sound"), answering("woof"));
  EXPECT_EQ(ask(dog, sel("sound")), "woof");
  method_setImplementation(class_getInstanceMethod(base, sel("sound")), answering("hum"));
  EXPECT_EQ(ask(animal, sel("sound")), "hum");
  EXPECT_EQ(ask(dog, sel("sound")), "woof");
}

// Every way of changing a method table takes effect on the very next send, for the
// class changed and for a subclass that inherits from it, after sends that cached the
// earlier lookups.
TEST(Send, EveryMethodTableChangeTakesEffectOnTheNextSendDespiteTheCache) {
  struct Row {
    const char* name;
    std::function<void(Class base, Class sub)> change;
    const char* baseAnswer;
    const char* subAnswer;
  };
  const Row rows[] = {
      {"method_setImplementation",
       [](Class base, Class) { method_setImplementation(class_getInstanceMethod(base, sel("sound")), answering("set")); },
       "set", "set"},
      {"class_replaceMethod", [](Class base, Class) { class_replaceMethod(base, sel("sound"), answering("replaced")); },
       "replaced", "replaced"},
      {"method_exchangeImplementations",
       [](Class base, Class) {
         method_exchangeImplementations(class_getInstanceMethod(base, sel("sound")),
                                        class_getInstanceMethod(base, sel("other")));
       },
       "other", "other"},
      {"class_addMethod on the subclass",
       [](Class, Class sub) { class_addMethod(sub, sel("sound"), answering("added")); }, "base", "added"},
      {"class_replaceMethod adding to the subclass",
       [](Class, Class sub) { class_replaceMethod(sub, sel("sound"), answering("sub")); }, "base", "sub"},
      {"a category on the superclass",
       [](Class base, Class) { attachCategory(base, Category{"Loud", {{sel("sound"), answering("category"), ""}}, {}, {}}); },
       "category", "category"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Class base = makeTestClass("CachedBase");
    Class sub = makeTestClass("CachedSub", base);
    class_addMethod(base, sel("sound"), answering("base"));
    class_addMethod(base, sel("other"), answering("other"));
    id parent = class_createInstance(base);
    id child = class_createInstance(sub);
    for (int warm = 0; warm < 3; ++warm) {
      ASSERT_EQ(ask(parent, sel("sound")), "base");
      ASSERT_EQ(ask(child, sel("sound")), "base");
    }
    row.change(base, sub);
    EXPECT_EQ(ask(parent, sel("sound")), row.baseAnswer);
    EXPECT_EQ(ask(child, sel("sound")), row.subAnswer);
  }
}

TEST(Send, SendSuperStartsAtTheSuperclassOfTheCurrentClass) {
  Class base = makeTestClass("Greeting");
  Class mid = makeTestClass("LoudGreeting", base);
  Class leaf = makeTestClass("LouderGreeting", mid);
  class_addMethod(base, sel("text"), answering("hi"));
  static Class midClass = nullptr;
  midClass = mid;
  class_addMethod(mid, sel("text"), imp([](NSObject& self, SEL cmd) {
                    return sendSuper<std::string>(&self, midClass, cmd) + "!";
                  }));
  // The leaf inherits mid's implementation, whose super call still starts above mid.
  EXPECT_EQ(ask(class_createInstance(leaf), sel("text")), "hi!");

  // Class methods: the super call walks the metaclass chain.
  class_addMethod(object_getClass(base), sel("kind"), answering("base kind"));
  class_addMethod(object_getClass(mid), sel("kind"), imp([](objc_class& cls, SEL cmd) {
                    return sendSuper<std::string>(&cls, midClass, cmd) + " + mid";
                  }));
  EXPECT_EQ(ask(leaf, sel("kind")), "base kind + mid");
}

TEST(Send, ClassMethodsLiveInTheMetaclassAndFallBackToRootInstanceMethods) {
  Class root = objc_allocateClassPair(nullptr, "SendTestRoot");
  objc_registerClassPair(root);
  Class sub = makeTestClass("SendTestRootSub", root);
  class_addMethod(object_getClass(root), sel("make"), answering("made"));
  class_addMethod(root, sel("describe"), answering("root instance method"));

  EXPECT_EQ(ask(sub, sel("make")), "made");
  EXPECT_NE(class_getClassMethod(sub, sel("make")), nullptr);
  EXPECT_EQ(class_getInstanceMethod(sub, sel("make")), nullptr);
  EXPECT_EQ(ask(sub, sel("describe")), "root instance method");
}

TEST(Send, ANullReceiverAnswersTheZeroValueAndRunsNothing) {
  NSObject* nothing = nullptr;
  EXPECT_EQ(send<std::int64_t>(nothing, sel("add:"), std::int64_t{1}), 0);
  EXPECT_EQ(send<std::string>(id(), sel("anything")), "");
  EXPECT_EQ(send<id>(nothing, sel("anything")), nullptr);
  EXPECT_EQ(send<double>(nothing, sel("anything")), 0.0);
  send<void>(nothing, sel("anything"));
  EXPECT_EQ(sendSuper<std::int64_t>(nothing, NSObject::classObject(), sel("anything")), 0);
}

TEST(Send, AnUnrecognizedSelectorRaisesInvalidArgumentException) {
  Class cls = makeTestClass("Silent");
  id object = class_createInstance(cls);
  const std::string name = NSStringFromClass(cls);
  try {
    send<void>(object, sel("speak:"), std::int64_t{1});
    FAIL() << "no exception";
  } catch (const NSException& e) {
    EXPECT_EQ(e.name(), "NSInvalidArgumentException");
    ASSERT_TRUE(e.reason().has_value());
    EXPECT_THAT(*e.reason(), MatchesRegex("-\\[" + name + " speak:\\]: unrecognized selector sent to instance 0x[0-9a-f]+"));
  }
  try {
    send<void>(cls, sel("speak"));
    FAIL() << "no exception";
  } catch (const NSException& e) {
    EXPECT_THAT(e.what(), MatchesRegex("\\+\\[" + name + " speak\\]: unrecognized selector sent to class 0x[0-9a-f]+"));
  }
  // A super call that finds nothing raises the same way.
  class_addMethod(cls, sel("speak"), imp([](NSObject& self, SEL cmd) { sendSuper<void>(&self, self.getClass(), cmd); }));
  EXPECT_THROW(send<void>(object, sel("speak")), NSException);
}

TEST(Send, ExceptionsOfImplementationsPassThrough) {
  Class cls = makeTestClass("Thrower");
  class_addMethod(cls, sel("fail"), imp([](NSObject&, SEL) -> int { throw std::runtime_error("failed"); }));
  EXPECT_THROW(send<int>(class_createInstance(cls), sel("fail")), std::runtime_error);
}

TEST(Send, ImplementationsMayChangeTheTablesTheyRunFrom) {
  Class cls = makeTestClass("SelfChanging");
  static Class changing = nullptr;
  changing = cls;
  class_addMethod(cls, sel("next"), imp([](NSObject&, SEL cmd) {
                    class_replaceMethod(changing, cmd, answering("second"));
                    return std::string("first");
                  }));
  id object = class_createInstance(cls);
  EXPECT_EQ(ask(object, sel("next")), "first");
  EXPECT_EQ(ask(object, sel("next")), "second");
}

TEST(Send, ObjectsTravelAsIdAndArriveAsTheDeclaredType) {
  Class cls = makeTestClass("Target");
  // A target-action method taking a typed sender and answering it.
  class_addMethod(cls, sel("tapped:"), imp([](NSObject&, SEL, std::shared_ptr<Tally> sender) {
                    if (sender) sender->total += 1;
                    return sender;
                  }));
  class_addMethod(cls, sel("plain"), imp([](NSObject&, SEL) { return NSObject::make(); }));
  EXPECT_EQ(imp([](NSObject&, SEL, std::shared_ptr<Tally>) {}).typeEncoding(), "v@:@");

  id target = class_createInstance(cls);
  auto tally = Tally::make();
  std::shared_ptr<Tally> answer = send<std::shared_ptr<Tally>>(target, sel("tapped:"), tally);
  EXPECT_EQ(answer, tally);
  EXPECT_EQ(send<id>(target, sel("tapped:"), id(tally)), tally);
  EXPECT_EQ(send<id>(target, sel("tapped:"), std::shared_ptr<Tally>()), nullptr);  // null passes as null
  EXPECT_EQ(tally->total, 2);
  // A result asked for as a subclass it is not reads as null.
  EXPECT_EQ(send<std::shared_ptr<Tally>>(target, sel("plain")), nullptr);
  EXPECT_NE(send<id>(target, sel("plain")), nullptr);
}

using SendDeathTest = ::testing::Test;

TEST_F(SendDeathTest, AnObjectArgumentOfAnotherTypeStops) {
  Class cls = makeTestClass("TypedTarget");
  class_addMethod(cls, sel("tapped:"), imp([](NSObject&, SEL, std::shared_ptr<Tally>) {}));
  EXPECT_DEATH(send<void>(class_createInstance(cls), sel("tapped:"), NSObject::make()),
               "tapped:\\]: argument 1 must be a ios::\\(anonymous namespace\\)::Tally, but it is a NSObject");
}

TEST_F(SendDeathTest, ASignatureMismatchStopsWithBothSignatures) {
  auto tally = Tally::make();
  EXPECT_DEATH(send<std::int64_t>(tally, sel("add:"), 2),
               "-\\[SendTestTally add:\\]: message sent as long \\(int\\), but the implementation is long \\(long\\)");
  EXPECT_DEATH(send<void>(tally, sel("add:"), std::int64_t{2}), "message sent as void \\(long\\)");
  // Swizzling a method to an implementation of another shape is caught at the next send.
  Class cls = makeTestClass("Reshaped");
  class_addMethod(cls, sel("count"), imp([](NSObject&, SEL) -> std::int64_t { return 1; }));
  class_addMethod(cls, sel("name"), answering("n"));
  method_exchangeImplementations(class_getInstanceMethod(cls, sel("count")), class_getInstanceMethod(cls, sel("name")));
  EXPECT_DEATH(send<std::int64_t>(class_createInstance(cls), sel("count")),
               "message sent as long \\(\\), but the implementation is std::");
}

TEST_F(SendDeathTest, AnImplementationForAnotherCppTypeStops) {
  Class cls = makeTestClass("NotATally");
  class_addMethod(cls, sel("add:"), class_getMethodImplementation(Tally::classObject(), sel("add:")));
  EXPECT_DEATH(send<std::int64_t>(class_createInstance(cls), sel("add:"), std::int64_t{1}),
               "expects a receiver of C\\+\\+ type ios::\\(anonymous namespace\\)::Tally, but the receiver is a ios::NSObject");
}

TEST_F(SendDeathTest, NullImplementationsAreRefused) {
  Class cls = makeTestClass("NullImp");
  EXPECT_DEATH(class_addMethod(cls, sel("x"), IMP()), "class_addMethod: null implementation");
  class_addMethod(cls, sel("x"), answering("x"));
  EXPECT_DEATH(method_setImplementation(class_getInstanceMethod(cls, sel("x")), IMP()),
               "method_setImplementation: null implementation");
}

}  // namespace
}  // namespace ios
