#include "platform/foundation/NSKeyedArchiver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/foundation/JSONCoder.h"
#include "platform/foundation/JSONSerialization.h"
#include "platform/foundation/NSException.h"

namespace {

class Note : public ios::NSCoding {
 public:
  Note(std::string text, std::shared_ptr<Note> reply = nullptr) : text(std::move(text)), reply(std::move(reply)) {}
  std::string classNameForArchiver() const override { return "Note"; }
  void encode(ios::NSKeyedArchiver& coder) const override {
    coder.encode(text, "text");
    coder.encodeObject(reply, "reply");
  }
  static void registerDecoder() {
    ios::NSKeyedUnarchiver::setClass("Note", [](ios::NSKeyedUnarchiver& coder) -> std::shared_ptr<ios::NSCoding> {
      auto text = coder.decodeValue("text");
      if (!text || !text->stringValue()) return nullptr;
      return std::make_shared<Note>(*text->stringValue(), std::dynamic_pointer_cast<Note>(coder.decodeObject("reply")));
    });
  }
  std::string text;
  std::shared_ptr<Note> reply;
};

TEST(NSKeyedArchiver, ObjectGraphsValuesAndURLsRoundTrip) {
  Note::registerDecoder();
  auto note = std::make_shared<Note>("first \xff", std::make_shared<Note>("second"));
  auto root = ios::NSKeyedUnarchiver::unarchiveObject(ios::NSKeyedArchiver::archivedData(note));
  ASSERT_TRUE(root.has_value());
  auto back = std::dynamic_pointer_cast<Note>(std::get<std::shared_ptr<ios::NSCoding>>(*root));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->text, "first \xff");
  ASSERT_TRUE(back->reply);
  EXPECT_EQ(back->reply->text, "second");
  EXPECT_EQ(back->reply->reply, nullptr);

  const ios::PropertyList value = ios::PropertyList::Array{1, 2.5, ios::PropertyList::fromData({0})};
  EXPECT_EQ(std::get<ios::PropertyList>(*ios::NSKeyedUnarchiver::unarchiveObject(ios::NSKeyedArchiver::archivedData(value))),
            value);
  const auto url = *ios::URL::fromString("file:///tmp/a%20b");
  EXPECT_EQ(std::get<ios::URL>(*ios::NSKeyedUnarchiver::unarchiveObject(ios::NSKeyedArchiver::archivedData(url)))
                .absoluteString(),
            "file:///tmp/a%20b");
}

TEST(NSKeyedArchiver, BytesThatAreNoArchiveReadAsNothing) {
  Note::registerDecoder();
  const std::string unknownClass =
      R"({"$archiver":"NSKeyedArchiver","$version":100000,"$top":{"root":{"$class":"Nope","$fields":{}}}})";
  const std::string refusedByDecoder =
      R"({"$archiver":"NSKeyedArchiver","$version":100000,"$top":{"root":{"$class":"Note","$fields":{}}}})";
  for (const std::string& text : {std::string(""), std::string("\x00\x01", 2), std::string("{}"),
                                 std::string(R"({"$archiver":"Other","$top":{"root":null}})"), unknownClass,
                                 refusedByDecoder}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ios::NSKeyedUnarchiver::unarchiveObject(ios::Data(text.begin(), text.end())), std::nullopt);
  }
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "[";
  for (int i = 0; i < 5000; ++i) deep += "]";
  const std::string hostile = R"({"$archiver":"NSKeyedArchiver","$top":{"root":{"$value":)" + deep + "}}}";
  EXPECT_EQ(ios::NSKeyedUnarchiver::unarchiveObject(ios::Data(hostile.begin(), hostile.end())), std::nullopt);
}

TEST(NSKeyedArchiver, ACycleRaises) {
  auto a = std::make_shared<Note>("a");
  auto b = std::make_shared<Note>("b", a);
  a->reply = b;
  EXPECT_THROW((void)ios::NSKeyedArchiver::archivedData(std::shared_ptr<const ios::NSCoding>(a)), ios::NSException);
  a->reply.reset();  // break the cycle so both are freed
}

// An archive is refused when it could not be read back, rather than lost on reading.
TEST(NSKeyedArchiver, WhatCouldNotBeReadBackIsRefused) {
  Note::registerDecoder();
  auto nestedValue = [](int arrays) {
    ios::PropertyList value = 1;
    for (int i = 0; i < arrays; ++i) value = ios::PropertyList::Array{value};
    return value;
  };
  const ios::PropertyList deepest = nestedValue(512);
  EXPECT_EQ(std::get<ios::PropertyList>(*ios::NSKeyedUnarchiver::unarchiveObject(ios::NSKeyedArchiver::archivedData(deepest))),
            deepest);
  EXPECT_THROW((void)ios::NSKeyedArchiver::archivedData(nestedValue(513)), ios::NSException);
  const auto large = ios::PropertyList::fromUnsignedInteger(std::uint64_t{1} << 63);
  EXPECT_THROW((void)ios::NSKeyedArchiver::archivedData(large), ios::NSException);
  EXPECT_THROW((void)ios::NSKeyedArchiver::archivedData(ios::PropertyList::Array{large}), ios::NSException);

  auto chain = [](int notes) {
    std::shared_ptr<Note> head;
    for (int i = 0; i < notes; ++i) head = std::make_shared<Note>(std::to_string(i), head);
    return head;
  };
  auto longest = chain(257);
  auto root = ios::NSKeyedUnarchiver::unarchiveObject(ios::NSKeyedArchiver::archivedData(longest));
  ASSERT_TRUE(root.has_value());
  EXPECT_EQ(std::dynamic_pointer_cast<Note>(std::get<std::shared_ptr<ios::NSCoding>>(*root))->text, "256");
  EXPECT_THROW((void)ios::NSKeyedArchiver::archivedData(chain(258)), ios::NSException);
}

struct Profile {
  std::string name;
  double score = 0;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Profile, name, score)

TEST(JSONCoder, EncodingAndDecodingFailuresThrow) {
  const ios::Data bytes = ios::JSONEncoder().encode(Profile{"Ann", 1.5});
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), R"({"name":"Ann","score":1.5})");
  EXPECT_EQ(ios::JSONDecoder().decode<Profile>(bytes).name, "Ann");
  EXPECT_THROW((void)ios::JSONEncoder().encode(Profile{"Ann", std::nan("")}), ios::EncodingError);
  EXPECT_THROW((void)ios::JSONEncoder().encode(Profile{"\xff", 1}), ios::EncodingError);
  for (const std::string text : {"", "{", R"({"name":1,"score":2})", R"({"score":2})"}) {
    EXPECT_THROW((void)ios::JSONDecoder().decode<Profile>(ios::Data(text.begin(), text.end())), ios::DecodingError)
        << text;
  }
}

TEST(JSONCoder, NestingBeyondTheLimitIsRefusedBothWays) {
  const std::size_t limit = ios::JSONSerialization::maximumNestingDepth;
  auto nested = [](std::size_t depth) {
    const std::string text = std::string(depth, '[') + std::string(depth, ']');
    return ios::Data(text.begin(), text.end());
  };
  EXPECT_TRUE(ios::JSONDecoder().decode<nlohmann::json>(nested(limit)).is_array());
  EXPECT_THROW((void)ios::JSONDecoder().decode<nlohmann::json>(nested(limit + 1)), ios::DecodingError);
  EXPECT_THROW((void)ios::JSONDecoder().decode<nlohmann::json>(nested(20'000)), ios::DecodingError);

  nlohmann::json deep = nlohmann::json::array();
  for (std::size_t i = 1; i < limit; ++i) deep = nlohmann::json::array({std::move(deep)});
  EXPECT_EQ(ios::JSONEncoder().encode(deep), nested(limit));
  deep = nlohmann::json::array({std::move(deep)});
  EXPECT_THROW((void)ios::JSONEncoder().encode(deep), ios::EncodingError);
}

TEST(Data, Base64RoundTripsAndRejectsMalformedText) {
  const std::pair<ios::Data, std::string> rows[] = {
      {{}, ""}, {{'f'}, "Zg=="}, {{'f', 'o'}, "Zm8="}, {{'f', 'o', 'o'}, "Zm9v"}, {{0x00, 0xff, 0xfe, 0x00}, "AP/+AA=="}};
  for (const auto& [bytes, text] : rows) {
    EXPECT_EQ(ios::base64EncodedString(bytes), text);
    EXPECT_EQ(ios::dataFromBase64Encoded(text), bytes);
  }
  for (const char* bad : {"Zg=", "Z===", "Zg=a", "Zm9v!A==", "=Zm9"}) EXPECT_EQ(ios::dataFromBase64Encoded(bad), std::nullopt) << bad;
}

}  // namespace
