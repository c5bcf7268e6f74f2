#include "platform/runtime/AssociatedObjects.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/foundation/NSException.h"
#include "tests/support/RuntimeTestClasses.h"

namespace ios {
namespace {

using testing::makeTestClass;
using testing::sel;

char firstKey;
char secondKey;

// A value that can be copied: "copy" answers a new object with the same text.
class Note : public NSObject {
  IOS_RUNTIME_CLASS(Note, NSObject);

 public:
  explicit Note(std::string text) : text(std::move(text)) {}
  std::string text;
};

void configureNote(Class cls) {
  class_addMethod(cls, sel_registerName("copy"), imp([](Note& self, SEL) -> id { return Note::make(self.text); }));
}

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(Note, "AssociationTestNote", configureNote)

namespace {

struct PolicyCase {
  const char* name;
  objc_AssociationPolicy policy;
  bool keepsAlive;
  bool copies;
};

TEST(AssociatedObjects, EachPolicyHoldsTheValueItsOwnWay) {
  const PolicyCase cases[] = {
      {"assign", OBJC_ASSOCIATION_ASSIGN, false, false},
      {"retain nonatomic", OBJC_ASSOCIATION_RETAIN_NONATOMIC, true, false},
      {"retain", OBJC_ASSOCIATION_RETAIN, true, false},
      {"copy nonatomic", OBJC_ASSOCIATION_COPY_NONATOMIC, true, true},
      {"copy", OBJC_ASSOCIATION_COPY, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto owner = NSObject::make();
    auto note = Note::make("hello");
    std::weak_ptr<Note> probe = note;
    objc_setAssociatedObject(owner.get(), &firstKey, note, c.policy);

    auto stored = associatedObject<Note>(owner.get(), &firstKey);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->text, "hello");
    EXPECT_EQ(stored == note, !c.copies);
    stored.reset();

    note.reset();
    EXPECT_EQ(!probe.expired(), c.keepsAlive && !c.copies);
    EXPECT_EQ(objc_getAssociatedObject(owner.get(), &firstKey) != nullptr, c.keepsAlive);
  }
}

TEST(AssociatedObjects, ValuesLiveUntilReplacedRemovedOrTheOwnerGoes) {
  auto owner = NSObject::make();
  auto first = NSObject::make();
  auto second = NSObject::make();
  std::weak_ptr<NSObject> firstProbe = first;
  std::weak_ptr<NSObject> secondProbe = second;
  objc_setAssociatedObject(owner.get(), &firstKey, std::move(first), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  objc_setAssociatedObject(owner.get(), &secondKey, std::move(second), OBJC_ASSOCIATION_RETAIN);
  EXPECT_FALSE(firstProbe.expired());

  // Replacing releases the old value; keys are told apart by address.
  objc_setAssociatedObject(owner.get(), &firstKey, NSObject::make(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  EXPECT_TRUE(firstProbe.expired());
  EXPECT_EQ(objc_getAssociatedObject(owner.get(), &secondKey), secondProbe.lock());

  // A null value removes the entry.
  objc_setAssociatedObject(owner.get(), &secondKey, nullptr, OBJC_ASSOCIATION_RETAIN);
  EXPECT_TRUE(secondProbe.expired());
  EXPECT_EQ(objc_getAssociatedObject(owner.get(), &secondKey), nullptr);

  auto value = NSObject::make();
  std::weak_ptr<NSObject> valueProbe = value;
  objc_setAssociatedObject(owner.get(), &secondKey, std::move(value), OBJC_ASSOCIATION_RETAIN);
  owner.reset();
  EXPECT_TRUE(valueProbe.expired());
}

TEST(AssociatedObjects, RemoveAssociatedObjectsReleasesEverything) {
  auto owner = NSObject::make();
  auto value = NSObject::make();
  std::weak_ptr<NSObject> probe = value;
  objc_setAssociatedObject(owner.get(), &firstKey, std::move(value), OBJC_ASSOCIATION_RETAIN);
  objc_setAssociatedObject(owner.get(), &secondKey, NSObject::make(), OBJC_ASSOCIATION_RETAIN);
  objc_removeAssociatedObjects(owner.get());
  EXPECT_TRUE(probe.expired());
  EXPECT_EQ(objc_getAssociatedObject(owner.get(), &secondKey), nullptr);
  // The owner can take new values afterwards.
  objc_setAssociatedObject(owner.get(), &firstKey, NSObject::make(), OBJC_ASSOCIATION_RETAIN);
  EXPECT_NE(objc_getAssociatedObject(owner.get(), &firstKey), nullptr);
}

TEST(AssociatedObjects, AValueThatCannotBeCopiedRaisesAndChangesNothing) {
  auto owner = NSObject::make();
  auto kept = Note::make("kept");
  objc_setAssociatedObject(owner.get(), &firstKey, kept, OBJC_ASSOCIATION_RETAIN);
  EXPECT_THROW(objc_setAssociatedObject(owner.get(), &firstKey, NSObject::make(), OBJC_ASSOCIATION_COPY),
               NSException);
  EXPECT_EQ(objc_getAssociatedObject(owner.get(), &firstKey), kept);
}

TEST(AssociatedObjects, TypedReadsAnswerNullForAnotherTypeAndNullsAreHarmless) {
  auto owner = NSObject::make();
  objc_setAssociatedObject(owner.get(), &firstKey, NSObject::make(), OBJC_ASSOCIATION_RETAIN);
  EXPECT_EQ(associatedObject<Note>(owner.get(), &firstKey), nullptr);
  EXPECT_NE(associatedObject<NSObject>(owner.get(), &firstKey), nullptr);
  objc_setAssociatedObject(nullptr, &firstKey, NSObject::make(), OBJC_ASSOCIATION_RETAIN);
  EXPECT_EQ(objc_getAssociatedObject(nullptr, &firstKey), nullptr);
  objc_removeAssociatedObjects(nullptr);
  EXPECT_EQ(objc_getAssociatedObject(NSObject::make().get(), &firstKey), nullptr);
}

// Released values are destroyed outside the association lock: a value whose
// destructor uses associated objects does not deadlock.
class Reentrant : public NSObject {
  IOS_RUNTIME_CLASS(Reentrant, NSObject);

 public:
  explicit Reentrant(std::shared_ptr<NSObject> target) : target(std::move(target)) {}
  ~Reentrant() override {
    objc_setAssociatedObject(target.get(), &secondKey, NSObject::make(), OBJC_ASSOCIATION_RETAIN);
    seenFromDestructor = objc_getAssociatedObject(target.get(), &firstKey) == nullptr ? "gone" : "present";
  }
  std::shared_ptr<NSObject> target;
  static inline std::string seenFromDestructor;
};

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(Reentrant, "AssociationTestReentrant", nullptr)

namespace {

TEST(AssociatedObjects, AReleasedValueMayUseAssociatedObjectsInItsDestructor) {
  auto owner = NSObject::make();
  objc_setAssociatedObject(owner.get(), &firstKey, Reentrant::make(owner), OBJC_ASSOCIATION_RETAIN);
  objc_setAssociatedObject(owner.get(), &firstKey, nullptr, OBJC_ASSOCIATION_RETAIN);
  EXPECT_EQ(Reentrant::seenFromDestructor, "gone");
  EXPECT_NE(objc_getAssociatedObject(owner.get(), &secondKey), nullptr);

  // The same when the owner itself is released.
  auto other = NSObject::make();
  auto holder = NSObject::make();
  objc_setAssociatedObject(holder.get(), &firstKey, Reentrant::make(other), OBJC_ASSOCIATION_RETAIN);
  holder.reset();
  EXPECT_NE(objc_getAssociatedObject(other.get(), &secondKey), nullptr);
}

TEST(AssociatedObjectsDeathTest, AnUnknownPolicyStops) {
  auto owner = NSObject::make();
  EXPECT_DEATH(objc_setAssociatedObject(owner.get(), &firstKey, NSObject::make(), static_cast<objc_AssociationPolicy>(7)),
               "unknown association policy 7");
}

}  // namespace
}  // namespace ios
