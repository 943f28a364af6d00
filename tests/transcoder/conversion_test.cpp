// SPDX-License-Identifier: GPL-2.0-or-later
// Real clips converted end to end and read back.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "kdx.h"
#include "tests/transcoder/kdx_check.h"
#include "tests/transcoder/run_harness.h"
#include "tests/support/test_paths.h"

namespace kdxtest {
namespace {

struct ModelSize {
  int width;
  int height;
};

class EveryClip : public ::testing::TestWithParam<std::tuple<const char*, ModelSize, bool>> {};

TEST_P(EveryClip, ConvertsToAValidFileOfTheRightLength) {
  const auto [clip, size, fit] = GetParam();
  TRANSCODER_PARAM request = MakeRequest(nullptr, size.width, size.height, fit);
  double duration = 0.0;
  kdxreader::KdxFile file = ConvertCleanly(clip, request, &duration);
  const auto& g = file.geometry;
  ASSERT_GT(g.F, 0);
  EXPECT_LE(g.W, size.width);
  EXPECT_LE(g.H, size.height);
  // Pictures and sound each cover the clip to within one chunk period.
  const double chunkPeriod = 1.0 / g.C;
  EXPECT_NEAR(file.playingSeconds, duration, chunkPeriod + 1.0 / (g.C * g.F)) << clip;
  // The last chunk period is never written, but its frames count in N.
  const size_t chunkFrames = file.chunks.size() * g.F;
  EXPECT_TRUE(chunkFrames == static_cast<size_t>(g.N) || chunkFrames + g.F == static_cast<size_t>(g.N))
      << file.chunks.size() << " chunks, N " << g.N;
  ASSERT_TRUE(file.sound.present);
  EXPECT_EQ(file.sound.formatTag, 0x11);
  EXPECT_EQ(file.sound.sampleRate, 22050);
  EXPECT_NEAR(file.sound.seconds, duration, chunkPeriod + 0.1) << clip;
}

INSTANTIATE_TEST_SUITE_P(
    Clips, EveryClip,
    ::testing::Combine(::testing::Values("clip_h264_aac.mp4", "clip_mpeg4_mp3.avi", "clip_mpeg2_mp2.mpg",
                                         "clip_wmv2_wma2.wmv", "clip_h264_aac.mov", "clip_flv1_mp3.flv",
                                         "clip_rv20_ac3.rm", "six_channels.mp4", "mono_48k.mp4", "odd_321x241.avi",
                                         "tiny_64x48.mp4", "tiny_6x6.mp4", "portrait_240x320.mp4",
                                         "no_frame_rate.nut"),
                       ::testing::Values(ModelSize{128, 128}, ModelSize{176, 220}, ModelSize{96, 64}),
                       ::testing::Bool()),
    [](const auto& info) {
      std::string name = std::get<0>(info.param);
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      const ModelSize size = std::get<1>(info.param);
      return name + "_" + std::to_string(size.width) + "x" + std::to_string(size.height) +
             (std::get<2>(info.param) ? "_fit" : "_fill");
    });

TEST(Conversion, SoundKeepsAtMostTwoChannels) {
  TRANSCODER_PARAM request = MakeRequest(nullptr, 128, 128, true);
  EXPECT_EQ(ConvertCleanly("six_channels.mp4", request).sound.channels, 2);
  EXPECT_EQ(ConvertCleanly("mono_48k.mp4", request).sound.channels, 1);
}

TEST(Conversion, RangeSelectsPicturesAndSound) {
  TRANSCODER_PARAM request = MakeRequest(nullptr, 128, 128, true);
  request.rtStart = 10000000;
  request.rtStop = 20000000;
  kdxreader::KdxFile file = ConvertCleanly("clip_h264_aac.mp4", request);
  const double chunkPeriod = 1.0 / file.geometry.C;
  EXPECT_NEAR(file.playingSeconds, 1.0, chunkPeriod + 0.07);
  EXPECT_NEAR(file.sound.seconds, 1.0, chunkPeriod + 0.1);
}

TEST(Conversion, ReversedRangeGivesNoPictureAndNoFile) {
  TRANSCODER_PARAM request = MakeRequest(nullptr, 128, 128, true);
  request.rtStart = 20000000;
  request.rtStop = 10000000;
  MessageQueue queue;
  ScratchDir dir;
  RunMessages run;
  ASSERT_EQ(ConvertFile(MediaPath("clip_mpeg4_mp3.avi"), dir.File("reversed.kdx"), request, queue, &run), S_OK);
  CloseTranscoder();
  EXPECT_EQ(run.errorCode, static_cast<WPARAM>(KDX_ERROR_NO_PICTURE));
  EXPECT_EQ(run.finalCount, 1);
  EXPECT_EQ(dir.Listing(), "");
}

TEST(Conversion, SourceWithoutAFrameRateIsMeasuredFirst) {
  // Asked for 30 fps from a 20 fps source that does not say so: without
  // measuring, the run would claim 30 frames a second.
  TRANSCODER_PARAM request = MakeRequest(nullptr, 128, 128, true, 30);
  kdxreader::KdxFile file = ConvertCleanly("no_frame_rate.nut", request);
  const int perSecond = file.geometry.C * file.geometry.F;
  EXPECT_GE(perSecond, 15);
  EXPECT_LE(perSecond, 20);
}

TEST(Conversion, MeasuringPassLeavesNothingBehindTheFinalChunks) {
  // Measured at 30 fps, the start of this short clip fills more chunk bytes
  // than the final pass at the source's 20 fps: nothing of the measuring
  // pass may follow the final chunks (the reader checks the chunk area).
  TRANSCODER_PARAM request = MakeRequest(nullptr, 128, 128, true, 30);
  kdxreader::KdxFile file = ConvertCleanly("short_no_frame_rate.nut", request);
  EXPECT_EQ(file.geometry.C * file.geometry.F, 20);
}

TEST(Conversion, ThumbnailsComeWithProgress) {
  MessageQueue queue;
  ScratchDir dir;
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
  request.rtStop = 30000000;  // the clip's length, so progress runs to the end
  RunMessages run;
  ASSERT_EQ(ConvertFile(MediaPath("clip_mpeg4_mp3.avi"), dir.File("t.kdx"), request, queue, &run), S_OK);
  CloseTranscoder();
  EXPECT_GT(run.thumbnails, 10);
  EXPECT_EQ(run.thumbnailWidth, 128);
  EXPECT_EQ(run.thumbnailHeight, 96);
  EXPECT_GE(run.highestPercent, 90);
}

// Output frames against the source's frames at the same times, shrunk by
// area averaging: fine detail must survive the scale step, not alias.
// Chunk k starts k/C after the start and its F slots follow T apart; a slot
// shows the first frame from its time until the next slot's (the last
// slot's lasts to the chunk's end), else the frame before it.
void ExpectFramesMatch(const char* clip, TRANSCODER_PARAM request, const std::string& filter, double T) {
  request.pfnFrameHook = LinearScaleHook;
  kdxreader::KdxFile file = ConvertCleanly(clip, request);
  const auto frames = AllFrames(file);
  const auto reference = ReferenceFrames(MediaPath(clip), filter, file.geometry.W, file.geometry.H);
  ASSERT_GT(frames.size(), 20u);
  const int F = file.geometry.F;
  std::vector<size_t> kept;
  for (size_t i = 0; i < frames.size() && !reference.empty(); ++i) {
    const double chunk = static_cast<double>(i / F) / file.geometry.C;
    const double due = chunk + (i % F) * T - 1e-6;
    const double end = i % F == static_cast<size_t>(F - 1) ? chunk + 1.0 / file.geometry.C - 1e-6 : due + T;
    size_t j = 0;
    while (j + 1 < reference.size() && reference[j + 1].time < end) ++j;
    while (j > 0 && reference[j - 1].time >= due) --j;
    kept.push_back(j);
  }
  ASSERT_GE(kept.size(), frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    const size_t j = kept[i];
    const double match = LumaPsnr(frames[i], reference[j].picture);
    EXPECT_GE(match, 30.0) << "frame " << i;
    // A frame of another time matches worse than the right one.
    if (j > 0) {
      EXPECT_GT(match, LumaPsnr(frames[i], reference[j - 1].picture)) << "frame " << i;
    }
    if (j + 1 < reference.size()) {
      EXPECT_GT(match, LumaPsnr(frames[i], reference[j + 1].picture)) << "frame " << i;
    }
  }
}

TEST(Frames, MatchTheSourceAtTheSameTimes) {
  ExpectFramesMatch("clip_h264_aac.mp4", MakeRequest(nullptr, 128, 128, true, 15), "null", 1.0 / 15);
}

TEST(Frames, FillModeCropsTheCentre) {
    // 220-row frames: one frame a chunk, eight chunks a second.
  ExpectFramesMatch("clip_h264_aac.mp4", MakeRequest(nullptr, 176, 220, false, 15), "crop=384:480", 1.0 / 15);
}

TEST(Frames, HalfRateKeepsEverySecondFrame) {
  ExpectFramesMatch("clip_mpeg4_mp3.avi", MakeRequest(nullptr, 128, 128, false, 15), "crop=240:240", 1.0 / 15);
}

// Where the red marker of the top-left corner ends up: 0 top-left,
// 1 top-right, 2 bottom-left, 3 bottom-right.
int MarkerCorner(const kdxreader::Picture& frame) {
  int best = -1;
  double bestRed = -1.0;
  for (int corner = 0; corner < 4; ++corner) {
    const int x = (corner & 1) ? frame.width - 3 : 2;
    const int y = (corner & 2) ? frame.height - 3 : 2;
    const uint8_t* p = frame.Pixel(x, y);
    const double red = p[0] - (p[1] + p[2]) / 2.0;
    if (red > bestRed) {
      bestRed = red;
      best = corner;
    }
  }
  return best;
}

TEST(Frames, TurnsAndFlipsMoveTheCornerMarker) {
  struct Case {
    int rotate;
    int flip;
    int corner;
    int width;
    int height;
  } cases[] = {{0, 0, 0, 128, 96},  {1, 0, 1, 96, 128}, {2, 0, 3, 128, 96}, {3, 0, 2, 96, 128},
               {0, 1, 1, 128, 96}, {0, 2, 2, 128, 96}};
  for (const Case& c : cases) {
    TRANSCODER_PARAM request = MakeRequest(nullptr, 128, 128, true);
    request.nRotate = c.rotate;
    request.nFlip = c.flip;
    kdxreader::KdxFile file = ConvertCleanly("corner_marker.mp4", request);
    EXPECT_EQ(file.geometry.W, c.width) << "rotate " << c.rotate;
    EXPECT_EQ(file.geometry.H, c.height) << "rotate " << c.rotate;
    const auto frames = AllFrames(file);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(MarkerCorner(frames[frames.size() / 2]), c.corner) << "rotate " << c.rotate << " flip " << c.flip;
  }
}

TEST(Frames, PortraitClipComesOutUpright) {
  kdxreader::KdxFile file = ConvertCleanly("turned_corner_marker.mp4", MakeRequest(nullptr, 128, 128, true));
  EXPECT_EQ(file.geometry.W, 96);
  EXPECT_EQ(file.geometry.H, 128);
  const auto frames = AllFrames(file);
  ASSERT_FALSE(frames.empty());
  // Turned a quarter turn clockwise, as the phone marked it.
  EXPECT_EQ(MarkerCorner(frames[frames.size() / 2]), 1);
}

TEST(Frames, WidescreenDvdKeepsItsShownShape) {
  kdxreader::KdxFile file = ConvertCleanly("anamorphic_720x480.mpg", MakeRequest(nullptr, 128, 128, true));
  // 16:9 to within a pixel, not the stored 3:2 (128x85).
  EXPECT_NEAR(file.geometry.W, 128, 1);
  EXPECT_NEAR(file.geometry.H, 72, 1);
}

}  // namespace
}  // namespace kdxtest
