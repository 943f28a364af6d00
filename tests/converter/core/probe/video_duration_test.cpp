// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/probe/video_duration.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "tests/support/long_path_link.h"
#include "tests/support/test_paths.h"

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

TEST_F(DurationTest, ContainerStreamsOrReadingThroughGiveTheDuration) {
  struct Case {
    const char* clip;
    double seconds;
  } cases[] = {{"clip_h264_aac.mp4", 3.0},  {"clip_mpeg4_mp3.avi", 3.0}, {"audio_only.mp4", 3.0},
               {"long_320x240.mp4", 30.0},  {"clip_wmv2_wma2.wmv", 3.0}, {"job_h264_aac.mkv", 2.0},
               {"job_vp8_vorbis.webm", 2.0}, {"clip_flv1_mp3.flv", 3.0}, {"job_mpeg2_mp2.ts", 2.0},
               {"job_video_only.m2v", 2.0},  {"no_frame_rate.nut", 4.0}};
  for (const Case& c : cases) {
    double seconds = -1;
    EXPECT_TRUE(ReadVideoDuration(kdxtest::MediaPath(c.clip), &seconds)) << c.clip;
    EXPECT_NEAR(seconds, c.seconds, 0.1) << c.clip;
  }
  EXPECT_EQ(Log(), "");
}

TEST_F(DurationTest, LongPathsAreMeasured) {
  for (const char* letter : {"a", "\xC3\xA9"}) {
    double seconds = -1;
    EXPECT_TRUE(ReadVideoDuration(LinkOfLength(300, letter), &seconds)) << letter;
    EXPECT_GT(seconds, 2.9);
  }
}

TEST_F(DurationTest, UnreadableSourcesGiveFalseAndALogLine) {
  std::ofstream(scratch.File("notes.avi")) << "not a video at all\n";
  // Opening a pipe would wait for a writer that never comes.
  ASSERT_EQ(mkfifo(scratch.File("pipe").c_str(), 0600), 0);
  struct Case {
    std::string path;
    const char* line;
  } cases[] = {{scratch.File("missing.mp4"), "Video Input File does not exist.  Please specify a valid input video file."},
               {"", "Video Input File does not exist."},
               {scratch.path(), "is not a regular file"},
               {scratch.File("pipe"), "is not a regular file"},
               {scratch.File("notes.avi"), "Failed to put filename"}};
  for (const Case& c : cases) {
    double seconds = -1;
    EXPECT_FALSE(ReadVideoDuration(c.path, &seconds)) << c.path;
    EXPECT_EQ(seconds, 0) << c.path;
    EXPECT_NE(Log().find(c.line), std::string::npos) << c.path << "\n" << Log();
  }
}

}  // namespace
