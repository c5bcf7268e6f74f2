// thumbnail(fromTime:) answers frames of videos only: a still picture is no media file,
// whatever its name says.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "KPQuaslet/text/URL+KPExt.h"
#include "platform/uikit/UIImage.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/VideoFixtures.h"

namespace {

TEST(URLKPThumbnail, AStillPictureGivesNoImage) {
  kp_test::TemporaryDirectory dir;
  const ios::UIImage picture = kp_test::makeImage(16, 16, kp_test::distinctPixel);
  const std::vector<std::uint8_t> files[] = {*ios::UIImagePNGRepresentation(picture),
                                             *ios::UIImageJPEGRepresentation(picture, 0.9)};
  for (const std::string name : {"still.png", "still.mov"}) {
    for (const auto& bytes : files) {
      const std::string path = dir.path() + "/" + name;
      std::ofstream(path, std::ios::binary | std::ios::trunc)
          .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      EXPECT_FALSE(kp::thumbnail(ios::URL::fileURLWithPath(path), 0)) << name;
    }
  }
  // A video under a picture's name is still a video.
  const std::string clip = dir.path() + "/frame.png";
  kp_test::writeColourClip(clip, {{255, 0, 0}});
  EXPECT_TRUE(kp::thumbnail(ios::URL::fileURLWithPath(clip), 0));
}

}  // namespace
