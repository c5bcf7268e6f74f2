#include "platform/uikit/UIPhotoAlbum.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/coregraphics/CGImage.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/runtime/Runtime.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ManualDispatchFixture.h"
#include "tests/support/RuntimeTestClasses.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using ios::NSError;
using ios::UIImage;

UIImage solid(std::size_t w, std::size_t h, kp_test::Rgba colour) {
  return kp_test::makeImage(w, h, [colour](std::size_t, std::size_t) { return colour; });
}

// Opaque pixels that no encoder can compress much.
UIImage noise(std::size_t w, std::size_t h) {
  return kp_test::makeImage(w, h, [](std::size_t x, std::size_t y) {
    const std::uint32_t v = static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u) * 2246822519u;
    return kp_test::Rgba{std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), 255};
  });
}

// What a completion target was sent.
struct Completion {
  UIImage image;
  std::optional<NSError> error;
  void* contextInfo = nullptr;
};

class UIPhotoAlbum : public ios::testing::ManualDispatchFixture {
 protected:
  UIPhotoAlbum() { ios::testing::setPhotoAlbumFolder(album_.path() + "/album"); }

  // An object answering "image:didFinishSavingWithError:contextInfo:" by recording it.
  // Completions go to the running test's list; the main queue runs on the test thread.
  std::shared_ptr<ios::NSObject> makeTarget() {
    static std::vector<Completion>* received = nullptr;
    static const ios::Class cls = [] {
      ios::Class c = ios::testing::makeTestClass("AlbumTarget");
      ios::class_addMethod(
          c, selector(),
          ios::imp([](ios::NSObject&, ios::SEL, UIImage image, std::optional<NSError> error, void* context) {
            received->push_back({std::move(image), std::move(error), context});
          }));
      return c;
    }();
    received = &completions_;
    return ios::class_createInstance(cls);
  }
  static ios::SEL selector() { return ios::sel_registerName("image:didFinishSavingWithError:contextInfo:"); }

  static std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) names.push_back(e.path().filename());
    return names;
  }

  kp_test::TemporaryDirectory album_;
  std::vector<Completion> completions_;
};

TEST_F(UIPhotoAlbum, SavesPrivatePngFilesThatReadBackAsTheImage) {
  const UIImage image = solid(6, 4, kp_test::kRed);
  ios::UIImageWriteToSavedPhotosAlbum(image, nullptr, nullptr, nullptr);
  ios::UIImageWriteToSavedPhotosAlbum(solid(2, 2, kp_test::kBlue), nullptr, nullptr, nullptr);

  const auto photos = ios::testing::savedPhotos();
  ASSERT_EQ(photos.size(), 2u);
  ASSERT_NE(photos[0].image.cgImage(), nullptr);
  EXPECT_EQ(photos[0].image.size(), ios::CGSize(6, 4));
  EXPECT_EQ(kp_test::pixelAt(*photos[0].image.cgImage(), 5, 3), kp_test::kRed);
  EXPECT_EQ(kp_test::pixelAt(*photos[1].image.cgImage(), 0, 0), kp_test::kBlue);
  for (const auto& photo : photos) {
    EXPECT_EQ(std::filesystem::path(photo.path).parent_path(), album_.path() + "/album");
    struct stat info {};
    ASSERT_EQ(::stat(photo.path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
  }
  // Nothing but the pictures: no temporary file is left beside them.
  EXPECT_EQ(filesIn(album_.path() + "/album").size(), 2u);
}

// Saves within one instant get the same time-based name; each one after the first gets
// the next free counter and nothing earlier is replaced.
TEST_F(UIPhotoAlbum, PicturesOfTheSameInstantNeverReplaceEachOther) {
  const kp_test::Rgba colours[] = {kp_test::kRed, kp_test::kGreen, kp_test::kBlue};
  for (const auto colour : colours) {
    ios::UIImageWriteToSavedPhotosAlbum(solid(1, 1, colour), nullptr, nullptr, nullptr);
  }
  const auto photos = ios::testing::savedPhotos();
  ASSERT_EQ(photos.size(), 3u);
  const std::string first = std::filesystem::path(photos[0].path).stem();
  EXPECT_TRUE(first.starts_with("IMG_")) << first;
  EXPECT_EQ(std::filesystem::path(photos[1].path).stem(), first + "_2");
  EXPECT_EQ(std::filesystem::path(photos[2].path).stem(), first + "_3");
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(kp_test::pixelAt(*photos[i].image.cgImage(), 0, 0), colours[i]);

  dispatch_.advance(1.5);
  ios::UIImageWriteToSavedPhotosAlbum(solid(1, 1, kp_test::kRed), nullptr, nullptr, nullptr);
  const auto later = ios::testing::savedPhotos();
  ASSERT_EQ(later.size(), 4u);
  EXPECT_NE(std::filesystem::path(later[3].path).stem().string().substr(0, first.size()), first);
}

TEST_F(UIPhotoAlbum, CompletionIsSentOnTheMainQueueWithTheOutcome) {
  int context = 0;
  const UIImage image = solid(2, 2, kp_test::kRed);
  auto target = makeTarget();
  std::weak_ptr<ios::NSObject> watch = target;
  ios::UIImageWriteToSavedPhotosAlbum(image, target, selector(), &context);
  target.reset();
  // The file is there at once; the answer waits for the main queue, which keeps the target.
  EXPECT_EQ(ios::testing::savedPhotos().size(), 1u);
  EXPECT_TRUE(completions_.empty());
  EXPECT_FALSE(watch.expired());
  dispatch_.runPending();
  ASSERT_EQ(completions_.size(), 1u);
  EXPECT_EQ(completions_[0].image, image);
  EXPECT_EQ(completions_[0].error, std::nullopt);
  EXPECT_EQ(completions_[0].contextInfo, &context);
  EXPECT_TRUE(watch.expired());

  // Without a selector, or without a target, nothing is sent.
  ios::UIImageWriteToSavedPhotosAlbum(image, makeTarget(), nullptr, &context);
  ios::UIImageWriteToSavedPhotosAlbum(image, nullptr, selector(), &context);
  dispatch_.runPending();
  EXPECT_EQ(completions_.size(), 1u);
  EXPECT_EQ(ios::testing::savedPhotos().size(), 3u);
}

// Each failure reaches the completion as an error and leaves no file behind, under any name.
TEST_F(UIPhotoAlbum, FailuresAreReportedAndLeaveNothingWritten) {
  const std::string blocker = album_.writeFile("not-a-folder", 3);
  struct Case {
    const char* name;
    std::string folder;
    UIImage image;
    std::int64_t code;
  };
  const UIImage picture = solid(8, 8, kp_test::kRed);
  const Case cases[] = {
      {"folder under a file", blocker + "/album", picture, 512},
      {"image without pixels", album_.path() + "/empty", UIImage(), 512},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ios::testing::setPhotoAlbumFolder(c.folder);
    completions_.clear();
    ios::UIImageWriteToSavedPhotosAlbum(c.image, makeTarget(), selector(), nullptr);
    dispatch_.runPending();
    ASSERT_EQ(completions_.size(), 1u);
    EXPECT_EQ(completions_[0].error, (NSError{"NSCocoaErrorDomain", c.code}));
    EXPECT_TRUE(filesIn(c.folder).empty());
  }
}

TEST_F(UIPhotoAlbum, TheFileSizeLimitIsAnOutOfSpaceErrorWithNoPartialFile) {
  // A large image of noise, so that its PNG cannot fit under the limit.
  const UIImage big = noise(256, 256);
  const std::string folder = album_.path() + "/album";
  struct sigaction ignore {}, previousAction {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &previousAction);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  rlimit limited = previous;
  limited.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &limited);
  ios::UIImageWriteToSavedPhotosAlbum(big, makeTarget(), selector(), nullptr);
  ::setrlimit(RLIMIT_FSIZE, &previous);
  ::sigaction(SIGXFSZ, &previousAction, nullptr);

  dispatch_.runPending();
  ASSERT_EQ(completions_.size(), 1u);
  EXPECT_EQ(completions_[0].error, (NSError{"NSCocoaErrorDomain", 640}));
  EXPECT_TRUE(filesIn(folder).empty());
}

// Without a test folder the album is the desktop's pictures folder, in a subfolder named
// after the application.
TEST_F(UIPhotoAlbum, UserAlbumIsThePicturesFolderTheDesktopNames) {
  kp_test::TemporaryDirectory home;
  ios::testing::ScopedHomeDirectory scopedHome(home.path());
  const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
  const std::optional<std::string> previousConfig = savedConfig ? std::optional<std::string>(savedConfig) : std::nullopt;
  ::unsetenv("XDG_CONFIG_HOME");
  ios::Bundle::main().setBundleIdentifier("com.example.album");
  ios::testing::setPhotoAlbumFolder(std::nullopt);

  struct Case {
    const char* name;
    std::string userDirs;  // empty: no file
    std::string pictures;
  };
  const Case cases[] = {
      {"no file", "", home.path() + "/Pictures"},
      {"home-relative", "# comment\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n", home.path() + "/Bilder"},
      {"absolute, last one holds", "XDG_PICTURES_DIR=\"/nowhere\"\nXDG_PICTURES_DIR=\"" + home.path() + "/Photos\"\n",
       home.path() + "/Photos"},
      {"other entries only", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", home.path() + "/Pictures"},
      {"relative value ignored", "XDG_PICTURES_DIR=\"Pics\"\n", home.path() + "/Pictures"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(home.path() + "/.config/user-dirs.dirs");
    if (!c.userDirs.empty()) {
      std::filesystem::create_directories(home.path() + "/.config");
      std::ofstream(home.path() + "/.config/user-dirs.dirs") << c.userDirs;
    }
    EXPECT_EQ(ios::testing::photoAlbumFolder(), c.pictures + "/com.example.album");
  }
  ios::UIImageWriteToSavedPhotosAlbum(solid(1, 1, kp_test::kRed), nullptr, nullptr, nullptr);
  EXPECT_EQ(filesIn(home.path() + "/Pictures/com.example.album").size(), 1u);

  if (previousConfig) ::setenv("XDG_CONFIG_HOME", previousConfig->c_str(), 1);
}

// The reset points the album at a private scratch folder and empties it.
TEST(UIPhotoAlbumReset, ResetUsesAnEmptyScratchFolderOutsideTheHome) {
  ios::testing::resetPlatform();
  const std::string scratch = ios::testing::photoAlbumFolder();
  EXPECT_FALSE(scratch.starts_with(ios::NSHomeDirectory() + "/"));
  ios::UIImageWriteToSavedPhotosAlbum(solid(1, 1, kp_test::kRed), nullptr, nullptr, nullptr);
  EXPECT_EQ(ios::testing::savedPhotos().size(), 1u);
  ios::testing::resetPlatform();
  EXPECT_TRUE(ios::testing::savedPhotos().empty());
  EXPECT_FALSE(std::filesystem::exists(scratch));
}

// Saves from several threads at once all land, each in its own file.
TEST(UIPhotoAlbumThreads, ConcurrentSavesKeepEveryPicture) {
  ios::testing::resetPlatform();
  kp_test::TemporaryDirectory folder;
  ios::testing::setPhotoAlbumFolder(folder.path());
  const UIImage image = solid(2, 2, kp_test::kGreen);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 5; ++i) ios::UIImageWriteToSavedPhotosAlbum(image, nullptr, nullptr, nullptr);
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(ios::testing::savedPhotos().size(), 20u);
  ios::testing::resetPlatform();
}

}  // namespace
