// SPDX-License-Identifier: GPL-2.0-or-later
// Building the graph: which sources it accepts, and what it reports about
// them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "graph/decoding_graph.h"
#include "tests/graph/sample_recorder.h"
#include "tests/support/test_paths.h"

namespace {

using kdx::DecodingGraph;
using kdxtest::MediaPath;
using Mode = DecodingGraph::Mode;

struct ClipFacts {
  const char* name;
  int32_t width;
  int32_t height;
  int16_t channels;  // surround sound comes mixed down to stereo
  int32_t sampleRate;
  double seconds;
};

const ClipFacts kClips[] = {
    {"clip_h264_aac.mp4", 640, 480, 2, 44100, 3},  {"clip_mpeg4_mp3.avi", 320, 240, 2, 44100, 3},
    {"clip_mpeg2_mp2.mpg", 640, 480, 2, 48000, 3}, {"clip_wmv2_wma2.wmv", 320, 240, 2, 22050, 3},
    {"clip_h264_aac.mov", 320, 240, 2, 44100, 3},  {"clip_flv1_mp3.flv", 320, 240, 2, 44100, 3},
    {"clip_rv20_ac3.rm", 320, 240, 2, 44100, 3},   {"six_channels.mp4", 320, 240, 2, 48000, 3},
    {"mono_48k.mp4", 320, 240, 1, 48000, 3},       {"odd_321x241.avi", 321, 241, 2, 44100, 3},
    {"tiny_64x48.mp4", 64, 48, 2, 44100, 3},       {"portrait_240x320.mp4", 240, 320, 2, 44100, 3},
    {"no_frame_rate.nut", 320, 240, 2, 44100, 4},
    // The sound of the picture's own channel (mono), not the other one's.
    {"two_programs.ts", 320, 240, 1, 44100, 3},
    // Delivered upright and at square pixels.
    {"turned_corner_marker.mp4", 240, 320, 2, 44100, 2},
    {"anamorphic_720x480.mpg", 853, 480, 2, 48000, 3},
};

TEST(DecodingGraphBuild, OrdinaryClipsBuildAndReportTheirFormats) {
  for (const ClipFacts& clip : kClips) {
    SCOPED_TRACE(clip.name);
    DecodingGraph graph;
    ASSERT_EQ(graph.Build(MediaPath(clip.name), Mode::Conversion), S_OK);

    int64_t duration = 0;
    ASSERT_TRUE(graph.GetDuration(&duration));
    EXPECT_NEAR(duration / 1e7, clip.seconds, 0.3);

    kdx::VideoFormat video;
    ASSERT_TRUE(graph.GetVideoFormat(&video));
    EXPECT_EQ(video.width, clip.width);
    EXPECT_EQ(video.height, clip.height);

    kdx::AudioFormat audio;
    ASSERT_TRUE(graph.GetAudioFormat(&audio));
    EXPECT_EQ(audio.channels, clip.channels);
    EXPECT_EQ(audio.samplesPerSec, clip.sampleRate);
    EXPECT_EQ(audio.blockAlign, 2 * clip.channels);
    EXPECT_EQ(audio.avgBytesPerSec, clip.sampleRate * 2 * clip.channels);
    EXPECT_EQ(audio.bitsPerSample, 16);
    EXPECT_TRUE(kdxtest::Completes(graph));
  }
}

TEST(DecodingGraphBuild, FrameIntervalIsZeroOnlyWhenTheSourceStatesNoRate) {
  const std::pair<const char*, int64_t> cases[] = {
      {"clip_h264_aac.mp4", 400000}, {"clip_mpeg4_mp3.avi", 333333}, {"clip_wmv2_wma2.wmv", 666667},
      {"no_frame_rate.nut", 0}};
  for (const auto& [name, interval] : cases) {
    SCOPED_TRACE(name);
    DecodingGraph graph;
    ASSERT_EQ(graph.Build(MediaPath(name), Mode::Conversion), S_OK);
    kdx::VideoFormat video;
    ASSERT_TRUE(graph.GetVideoFormat(&video));
    EXPECT_NEAR(static_cast<double>(video.avgTimePerFrame), static_cast<double>(interval), 1.0);
  }
}

TEST(DecodingGraphBuild, ConversionNeedsSoundBeforePicturesPreviewOnlyPictures) {
  DecodingGraph videoOnly;
  EXPECT_EQ(videoOnly.Build(MediaPath("video_only.mp4"), Mode::Conversion), VFW_E_NO_AUDIO_PATH);
  EXPECT_EQ(videoOnly.Build(MediaPath("video_only.mp4"), Mode::Preview), S_OK);
  kdx::AudioFormat audio;
  EXPECT_FALSE(videoOnly.GetAudioFormat(&audio));

  DecodingGraph audioOnly;
  EXPECT_EQ(audioOnly.Build(MediaPath("audio_only.mp4"), Mode::Conversion), VFW_E_NO_VIDEO_PATH);
  EXPECT_EQ(audioOnly.Build(MediaPath("audio_only.mp4"), Mode::Preview), VFW_E_NO_VIDEO_PATH);
  kdx::VideoFormat video;
  EXPECT_FALSE(audioOnly.GetVideoFormat(&video));
  EXPECT_EQ(audioOnly.Run(), E_FAIL);
}

TEST(DecodingGraphBuild, WhatIsNoMediaFileCannotBeRendered) {
  kdxtest::ScratchDir scratch;
  std::ofstream(scratch.File("empty.mp4")).close();
  const std::string locked = scratch.File("locked.mp4");
  std::filesystem::copy_file(MediaPath("clip_h264_aac.mp4"), locked);
  chmod(locked.c_str(), 0);

  std::vector<std::string> paths = {MediaPath("text_file.avi"), scratch.File("empty.mp4"),
                                    scratch.File("missing.mp4"), scratch.path(), ""};
  // Permissions do not stop the superuser.
  if (geteuid() != 0) paths.push_back(locked);
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    for (const Mode mode : {Mode::Conversion, Mode::Preview}) {
      DecodingGraph graph;
      EXPECT_EQ(graph.Build(path, mode), VFW_E_CANNOT_RENDER);
      int64_t duration = 0;
      EXPECT_FALSE(graph.GetDuration(&duration));
      EXPECT_EQ(graph.SetPositions(0, 10000000), S_OK);
      EXPECT_EQ(graph.Run(), E_FAIL);
      long event = 0;
      EXPECT_EQ(graph.WaitForCompletion(0, &event), E_ABORT);
    }
  }
}

// Streams the whole file and returns the video times it delivered.
std::vector<double> StreamWhole(const std::string& path) {
  DecodingGraph graph;
  kdxtest::SampleRecorder video, audio(5);
  if (graph.Build(path, Mode::Conversion) != S_OK || !kdxtest::Completes(graph)) return {};
  graph.Stop();
  graph.SetVideoCallback(&video);
  graph.SetAudioCallback(&audio);
  if (graph.SetPositions(0, 100000000) != S_OK || graph.Run() != S_OK || !kdxtest::Completes(graph))
    return {};
  return video.times();
}

TEST(DecodingGraphBuild, DamagedFilesStreamToTheirEnd) {
  kdxtest::ScratchDir scratch;
  const std::string cut = scratch.File("cut.avi");
  std::filesystem::copy_file(MediaPath("clip_mpeg4_mp3.avi"), cut);
  std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
  const std::vector<double> cutTimes = StreamWhole(cut);
  ASSERT_FALSE(cutTimes.empty());
  EXPECT_GT(cutTimes.back(), 0.5);
  EXPECT_LT(cutTimes.back(), 2.5);

  // Garbage over a stretch in the middle of the data.
  const std::string scrambled = scratch.File("scrambled.mp4");
  std::filesystem::copy_file(MediaPath("clip_h264_aac.mp4"), scrambled);
  {
    std::fstream file(scrambled, std::ios::in | std::ios::out | std::ios::binary);
    const auto size = static_cast<std::streamoff>(std::filesystem::file_size(scrambled));
    file.seekp(size / 3);
    for (int i = 0; i < 20000; ++i) file.put(static_cast<char>((i * 7919) & 0xFF));
  }
  const std::vector<double> scrambledTimes = StreamWhole(scrambled);
  ASSERT_FALSE(scrambledTimes.empty());
  EXPECT_GT(scrambledTimes.back(), 2.5);
}

}  // namespace
