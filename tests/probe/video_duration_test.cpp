#include "video_duration.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "long_path_link.h"
#include "test_paths.h"

namespace {

// Sends the trace log into a scratch folder for one test.
class DurationTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("NKDX_LOG_FILE", scratch.File("log.txt").c_str(), 1); }
  void TearDown() override { unsetenv("NKDX_LOG_FILE"); }
  std::string Log() const { return kdxtest::ReadFile(scratch.File("log.txt")); }

  std::string LinkOfLength(std::size_t chars, const std::string& pad) const {
    return ::LinkOfLength(scratch.path(), chars, pad, kdxtest::MediaPath("clip_h264_aac.mp4"));
  }

  kdxtest::ScratchDir scratch;
};

TEST_F(DurationTest, FirstStreamWithALengthGivesTheDuration) {
  struct Case {
    const char* clip;
    double seconds;
  } cases[] = {{"clip_h264_aac.mp4", 3.0}, {"clip_mpeg4_mp3.avi", 3.0}, {"audio_only.mp4", 3.0},
               {"long_320x240.mp4", 30.0}, {"clip_wmv2_wma2.wmv", 3.0}};
  for (const Case& c : cases) {
    double seconds = -1;
    EXPECT_TRUE(ReadVideoDuration(kdxtest::MediaPath(c.clip), &seconds)) << c.clip;
    EXPECT_NEAR(seconds, c.seconds, 0.1) << c.clip;
  }
  EXPECT_EQ(Log(), "");
}

TEST_F(DurationTest, PathsOf260CharactersOrMoreAreRefused) {
  double seconds = -1;
  EXPECT_TRUE(ReadVideoDuration(LinkOfLength(259, "a"), &seconds));
  EXPECT_GT(seconds, 2.9);
  // Characters count, not bytes: 259 two-byte letters still pass.
  EXPECT_TRUE(ReadVideoDuration(LinkOfLength(259, "\xC3\xA9"), &seconds));

  seconds = -1;
  EXPECT_FALSE(ReadVideoDuration(LinkOfLength(260, "b"), &seconds));
  EXPECT_EQ(seconds, 0);
  EXPECT_NE(Log().find("The Video Input file path exceeds the maximum length allowed by Windows.  Please specify "
                       "a different file."),
            std::string::npos);
}

TEST_F(DurationTest, UnreadableSourcesGiveFalseAndALogLine) {
  std::ofstream(scratch.File("notes.avi")) << "not a video at all\n";
  struct Case {
    std::string path;
    const char* line;
  } cases[] = {{scratch.File("missing.mp4"), "Video Input File does not exist.  Please specify a valid input video file."},
               {"", "Video Input File does not exist."},
               {scratch.path(), "Failed to put filename"},
               {scratch.File("notes.avi"), "Failed to put filename"}};
  for (const Case& c : cases) {
    double seconds = -1;
    EXPECT_FALSE(ReadVideoDuration(c.path, &seconds)) << c.path;
    EXPECT_EQ(seconds, 0) << c.path;
    EXPECT_NE(Log().find(c.line), std::string::npos) << c.path << "\n" << Log();
  }
}

}  // namespace
