// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures the conversion drops are not decoded when nothing refers to
// them; the files must be byte for byte those of decoding every picture,
// whatever the frame rate, range or group structure of the clip.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "kdx.h"
#include "tests/transcoder/run_harness.h"
#include "tests/support/test_paths.h"

namespace kdxtest {
namespace {

struct Case {
  const char* clip;
  int frameRate;
  int64_t start;  // 100-ns units
  int64_t stop;   // 0: to the end
};

std::string Convert(const Case& c, const std::string& destination) {
  MessageQueue queue;
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true, c.frameRate);
  request.rtStart = c.start;
  if (c.stop > 0) request.rtStop = c.stop;
  RunMessages run;
  EXPECT_EQ(ConvertFile(MediaPath(c.clip), destination, request, queue, &run), S_OK);
  CloseTranscoder();
  EXPECT_EQ(run.errorCount, 0);
  return ReadFile(destination);
}

class SkippedPictures : public ::testing::TestWithParam<Case> {};

TEST_P(SkippedPictures, ChangeNoByteOfTheFile) {
  const Case& c = GetParam();
  ScratchDir dir;
  setenv("KDX_DECODE_ALL_PICTURES", "1", 1);
  const std::string everyPicture = Convert(c, dir.File("all.kdx"));
  unsetenv("KDX_DECODE_ALL_PICTURES");
  const std::string skipping = Convert(c, dir.File("skipping.kdx"));
  ASSERT_GT(everyPicture.size(), 1000u);
  EXPECT_TRUE(skipping == everyPicture) << c.clip << " at " << c.frameRate << " fps";
}

constexpr int64_t kSecond = 10000000;

INSTANTIATE_TEST_SUITE_P(Clips, SkippedPictures, ::testing::Values(
    Case{"bframes_h264.mp4", 15, 0, 0}, Case{"bframes_h264.mp4", 10, 0, 0}, Case{"bframes_h264.mp4", 12, 0, 0},
    Case{"bframes_h264.mp4", 20, 0, 0}, Case{"bframes_h264.mp4", 15, kSecond + kSecond / 3, 3 * kSecond},
    Case{"bframes_mpeg2.mpg", 12, 0, 0}, Case{"bframes_mpeg2.mpg", 10, kSecond / 2, 0},
    Case{"bframes_mpeg4.mp4", 15, 0, 0}, Case{"bframes_mpeg4.mp4", 10, 0, 0},
    Case{"bframes_vfr.mkv", 15, 0, 0}, Case{"bframes_vfr.mkv", 12, 0, 0}, Case{"bframes_vfr.mkv", 25, 0, 0},
    Case{"no_frame_rate.nut", 15, 0, 0}, Case{"clip_h264_aac.mp4", 15, 0, 0}));

}  // namespace
}  // namespace kdxtest
