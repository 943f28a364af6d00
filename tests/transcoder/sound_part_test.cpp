// SPDX-License-Identifier: GPL-2.0-or-later
// The sound part of converted clips whose sound is not plain stereo or mono
// at an ordinary rate: surround layouts and far-off rates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "kdx.h"
#include "tests/transcoder/kdx_check.h"
#include "tests/transcoder/run_harness.h"
#include "tests/support/test_paths.h"
#include "tests/support/test_sound_files.h"

namespace kdxtest {
namespace {

using audiotest::SoundFileContents;
using audiotest::ToneLevel;

// The clips' tones are at -18 dB.
constexpr double kToneLevel = 0.125;
constexpr int kOutputRate = 22050;

double Decibels(double level) { return 20.0 * std::log10(level / kToneLevel); }

// Converts the clip and reads back its sound part.
SoundFileContents ConvertedSound(const std::string& clip, int channels = 2) {
  MessageQueue queue;
  ScratchDir dir;
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
  request.nChannels = channels;
  RunMessages run;
  SoundFileContents sound;
  EXPECT_EQ(ConvertFile(MediaPath(clip), dir.File("out.kdx"), request, queue, &run), S_OK) << clip;
  CloseTranscoder();
  EXPECT_EQ(run.errorCount, 0) << clip;
  const kdxreader::KdxFile file = LoadValid(dir.File("out.kdx"));
  EXPECT_TRUE(file.sound.present) << clip;
  if (!file.sound.present) return sound;
  const auto bytes = file.SoundBytes();
  std::ofstream(dir.File("sound.wav"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(audiotest::ReadSoundFile(dir.File("sound.wav"), &sound)) << clip;
  EXPECT_EQ(sound.info.samplerate, kOutputRate) << clip;
  EXPECT_EQ(static_cast<int>(sound.channels.size()), channels) << clip;
  return sound;
}

TEST(SurroundSound, CentreIsHeardOnBothSidesThreeDecibelsDown) {
  const SoundFileContents sound = ConvertedSound("centre_tone_5_1.mp4");
  ASSERT_EQ(sound.channels.size(), 2u);
  for (const auto& side : sound.channels) EXPECT_NEAR(Decibels(ToneLevel(side, 1000, kOutputRate)), -3.0, 0.5);
}

TEST(SurroundSound, LeftAndRightStayApart) {
  const SoundFileContents sound = ConvertedSound("left_right_5_1.mkv");
  ASSERT_EQ(sound.channels.size(), 2u);
  EXPECT_NEAR(Decibels(ToneLevel(sound.channels[0], 500, kOutputRate)), 0.0, 0.5);
  EXPECT_NEAR(Decibels(ToneLevel(sound.channels[1], 1300, kOutputRate)), 0.0, 0.5);
  EXPECT_LT(ToneLevel(sound.channels[0], 1300, kOutputRate), 0.002);
  EXPECT_LT(ToneLevel(sound.channels[1], 500, kOutputRate), 0.002);

  // A mono output mixes both sides at half their level.
  const SoundFileContents mono = ConvertedSound("left_right_5_1.mkv", 1);
  ASSERT_EQ(mono.channels.size(), 1u);
  for (double hz : {500, 1300}) EXPECT_NEAR(Decibels(ToneLevel(mono.channels[0], hz, kOutputRate)), -6.0, 0.5) << hz;
}

// Every channel of a layout has a tone of its own; each tone must be heard
// on the sides it belongs to and not on the other.
TEST(SurroundSound, EveryChannelIsHeardOnItsSide) {
  struct Tone {
    double hz;
    bool left;
    bool right;
  };
  struct Layout {
    const char* clip;
    std::vector<Tone> tones;
  };
  const Layout layouts[] = {
      {"tones_4_0.mkv", {{400, true, false}, {700, false, true}, {1000, true, true}, {1300, true, true}}},
      // The low-frequency channel (80 Hz) is left out, as libswresample's
      // standard matrix does.
      {"tones_7_1.mkv",
       {{400, true, false}, {700, false, true}, {1000, true, true}, {80, false, false}, {1300, true, false},
        {1600, false, true}, {1900, true, false}, {2200, false, true}}},
  };
  for (const Layout& layout : layouts) {
    const SoundFileContents sound = ConvertedSound(layout.clip);
    ASSERT_EQ(sound.channels.size(), 2u) << layout.clip;
    for (const Tone& tone : layout.tones) {
      const bool heard[] = {tone.left, tone.right};
      for (int side = 0; side < 2; ++side) {
        const double level = ToneLevel(sound.channels[side], tone.hz, kOutputRate);
        if (heard[side])
          EXPECT_GT(Decibels(level), -7.0) << layout.clip << " " << tone.hz << " Hz, side " << side;
        else
          EXPECT_LT(level, 0.002) << layout.clip << " " << tone.hz << " Hz, side " << side;
      }
    }
  }
}

// Sources far from the output rate keep their sound: its length, pitch and
// level (the clips' mono tone is spread on both sides at -3 dB).
TEST(SoundRates, FarOffRatesKeepTheirSound) {
  for (const char* clip : {"rate_1000.mkv", "rate_8000.mkv", "rate_192000.mkv", "rate_384000.mkv"}) {
    const SoundFileContents sound = ConvertedSound(clip);
    ASSERT_EQ(sound.channels.size(), 2u) << clip;
    EXPECT_NEAR(static_cast<double>(sound.info.frames) / kOutputRate, 2.0, 0.15) << clip;
    for (const auto& side : sound.channels) {
      EXPECT_NEAR(audiotest::CountZeroCrossings(side), 2 * 300 * 2.0, 8) << clip;
      EXPECT_NEAR(Decibels(ToneLevel(side, 300, kOutputRate)), -3.0, 0.5) << clip;
    }
  }
}

// A video without a sound track, opened with KDX_OPEN_ADD_SILENCE, gets a
// silent sound part as long as its pictures, at the rate and channels asked
// for; the pictures are byte for byte those of the same video with sound.
TEST(SilentSound, StandsInForAMissingTrackAndLeavesThePicturesAsTheyAre) {
  MessageQueue queue;
  ScratchDir dir;
  const TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
  RunMessages run;
  ASSERT_EQ(ConvertFile(MediaPath("timeline_30fps.mkv"), dir.File("heard.kdx"), request, queue, &run), S_OK);
  ASSERT_EQ(ConvertFile(MediaPath("timeline_30fps_silent.mkv"), dir.File("silent.kdx"), request, queue, &run,
                        KDX_OPEN_ADD_SILENCE),
            S_OK);
  CloseTranscoder();
  const kdxreader::KdxFile heard = LoadValid(dir.File("heard.kdx"));
  const kdxreader::KdxFile silent = LoadValid(dir.File("silent.kdx"));
  EXPECT_TRUE(std::equal(heard.bytes.begin() + heard.headerOffset, heard.bytes.end(),
                         silent.bytes.begin() + silent.headerOffset, silent.bytes.end()));
  EXPECT_EQ(silent.sound.formatTag, heard.sound.formatTag);
  EXPECT_EQ(silent.sound.sampleRate * 100 + silent.sound.channels, request.nSampleRate * 100 + request.nChannels);
  EXPECT_NEAR(silent.sound.seconds, silent.playingSeconds, 0.1);
  kdxreader::SoundPart part;
  std::vector<float> samples;
  ASSERT_TRUE(kdxreader::ReadSoundSamples(silent.SoundBytes(), &part, &samples));
  EXPECT_EQ(std::count(samples.begin(), samples.end(), 0.0f), static_cast<std::ptrdiff_t>(samples.size()));
}

}  // namespace
}  // namespace kdxtest
