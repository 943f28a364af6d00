// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "audio/convert_audio.h"
#include "tests/support/test_paths.h"
#include "tests/support/test_sound_files.h"

namespace {

using audiotest::CountZeroCrossings;
using audiotest::ReadSoundFile;
using audiotest::Sine;
using audiotest::SoundFileContents;
using audiotest::ToneLevel;
using audiotest::WritePcm16Wave;

constexpr int kImaAdpcmWave = SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM;
// libsndfile pads the last IMA ADPCM block; a block holds at most 2041
// frames at the rates used here (22050 Hz stereo).
constexpr double kOneBlock = 2041;

struct RatePair {
  int inRate;
  int outRate;
  int channels;
};

class ConvertAudioRates : public ::testing::TestWithParam<RatePair> {};

TEST_P(ConvertAudioRates, KeepsDurationPitchAndLevel) {
  const RatePair rates = GetParam();
  kdxtest::ScratchDir dir;
  const double seconds = 2.0;
  // Well below the input's half rate, where resampling filters roll off.
  const double hz = std::min(440.0, rates.inRate / 4.0);
  WritePcm16Wave(dir.File("in.wav"), rates.inRate, rates.channels, static_cast<long>(seconds * rates.inRate),
                 [&](long f, int) { return Sine(hz, rates.inRate, f); }, "Test tone");

  ASSERT_TRUE(kdx::ConvertAudio(dir.File("in.wav"), dir.File("out.wav"), rates.outRate, rates.channels));

  SoundFileContents out;
  ASSERT_TRUE(ReadSoundFile(dir.File("out.wav"), &out));
  EXPECT_EQ(out.info.format, kImaAdpcmWave);
  EXPECT_EQ(out.info.samplerate, rates.outRate);
  EXPECT_EQ(out.info.channels, rates.channels);
  EXPECT_GE(static_cast<double>(out.info.frames), seconds * rates.outRate - 2);
  EXPECT_LT(static_cast<double>(out.info.frames), seconds * rates.outRate + kOneBlock);
  EXPECT_EQ(out.title, "Test tone");
  for (const auto& channel : out.channels) {
    EXPECT_NEAR(CountZeroCrossings(channel), 2 * hz * seconds, 4);
    const float peak = *std::max_element(channel.begin(), channel.end());
    EXPECT_NEAR(peak, 0.5, 0.05);
  }
}

INSTANTIATE_TEST_SUITE_P(RatePairs, ConvertAudioRates,
                         ::testing::Values(RatePair{44100, 22050, 2}, RatePair{48000, 11025, 2},
                                           RatePair{8000, 22050, 1}, RatePair{22050, 22050, 2},
                                           // Steps one resampler pass cannot make.
                                           RatePair{1000, 22050, 2}, RatePair{1000, 44100, 1},
                                           RatePair{192000, 22050, 2}, RatePair{384000, 8000, 2}),
                         [](const auto& info) {
                           return std::to_string(info.param.inRate) + "to" + std::to_string(info.param.outRate) +
                                  "x" + std::to_string(info.param.channels);
                         });

// Each source channel gets its own tone so the output shows which it kept.
double ChannelTone(int channel) { return 300.0 + 400.0 * channel; }

TEST(ConvertAudio, KeepsTheFirstChannelsAndDropsTheRest) {
  kdxtest::ScratchDir dir;
  const int rate = 48000;
  WritePcm16Wave(dir.File("six.wav"), rate, 6, rate, [&](long f, int c) { return Sine(ChannelTone(c), rate, f); });
  WritePcm16Wave(dir.File("mono.wav"), rate, 1, rate, [&](long f, int) { return Sine(ChannelTone(0), rate, f); });

  ASSERT_TRUE(kdx::ConvertAudio(dir.File("six.wav"), dir.File("six_out.wav"), 22050, 2));
  SoundFileContents six;
  ASSERT_TRUE(ReadSoundFile(dir.File("six_out.wav"), &six));
  ASSERT_EQ(six.info.channels, 2);
  EXPECT_NEAR(CountZeroCrossings(six.channels[0]), 2 * ChannelTone(0), 4);
  EXPECT_NEAR(CountZeroCrossings(six.channels[1]), 2 * ChannelTone(1), 4);

  // Asking for more channels than the source has never invents any.
  ASSERT_TRUE(kdx::ConvertAudio(dir.File("mono.wav"), dir.File("mono_out.wav"), 22050, 2));
  SoundFileContents mono;
  ASSERT_TRUE(ReadSoundFile(dir.File("mono_out.wav"), &mono));
  ASSERT_EQ(mono.info.channels, 1);
  EXPECT_NEAR(CountZeroCrossings(mono.channels[0]), 2 * ChannelTone(0), 4);
}

// A mono output from stereo is the mix of both sides: each side's tone at
// half its level, and opposite sides cancel out.
TEST(ConvertAudio, MonoFromStereoMixesBothSides) {
  kdxtest::ScratchDir dir;
  const int rate = 44100;
  WritePcm16Wave(dir.File("apart.wav"), rate, 2, rate, [&](long f, int c) { return Sine(ChannelTone(c), rate, f); });
  WritePcm16Wave(dir.File("opposite.wav"), rate, 2, rate,
                 [&](long f, int c) { return (c == 0 ? 1 : -1) * Sine(ChannelTone(0), rate, f); });

  ASSERT_TRUE(kdx::ConvertAudio(dir.File("apart.wav"), dir.File("apart_out.wav"), 22050, 1));
  SoundFileContents apart;
  ASSERT_TRUE(ReadSoundFile(dir.File("apart_out.wav"), &apart));
  ASSERT_EQ(apart.info.channels, 1);
  for (int c = 0; c < 2; ++c) EXPECT_NEAR(ToneLevel(apart.channels[0], ChannelTone(c), 22050), 0.25, 0.02) << c;

  ASSERT_TRUE(kdx::ConvertAudio(dir.File("opposite.wav"), dir.File("opposite_out.wav"), 22050, 1));
  SoundFileContents opposite;
  ASSERT_TRUE(ReadSoundFile(dir.File("opposite_out.wav"), &opposite));
  EXPECT_LT(ToneLevel(opposite.channels[0], ChannelTone(0), 22050), 0.002);
}

TEST(ConvertAudio, EmptyInputGivesWaveWithoutSamples) {
  kdxtest::ScratchDir dir;
  WritePcm16Wave(dir.File("empty.wav"), 44100, 2, 0, [](long, int) { return 0.0; });

  ASSERT_TRUE(kdx::ConvertAudio(dir.File("empty.wav"), dir.File("out.wav"), 22050, 2));
  SoundFileContents out;
  ASSERT_TRUE(ReadSoundFile(dir.File("out.wav"), &out));
  EXPECT_EQ(out.info.format, kImaAdpcmWave);
  EXPECT_EQ(out.info.channels, 2);
  EXPECT_EQ(out.info.frames, 0);
}

TEST(ConvertAudio, FullScaleSquareDoesNotWrapAround) {
  kdxtest::ScratchDir dir;
  const int rate = 44100;
  const double hz = 441.0;  // 100 input frames per period
  WritePcm16Wave(dir.File("square.wav"), rate, 1, rate, [](long f, int) { return f % 100 < 50 ? 1.0 : -1.0; });

  ASSERT_TRUE(kdx::ConvertAudio(dir.File("square.wav"), dir.File("out.wav"), 22050, 1));
  SoundFileContents out;
  ASSERT_TRUE(ReadSoundFile(dir.File("out.wav"), &out));
  // The resampler overshoots at every edge; a wrapped sample would flip to
  // the opposite sign and add crossings.
  EXPECT_NEAR(CountZeroCrossings(out.channels[0], 0.5f), 2 * hz, 2);
}

TEST(ConvertAudio, RefusesWhatItCannotConvertAndLeavesNoOutput) {
  kdxtest::ScratchDir dir;
  WritePcm16Wave(dir.File("in.wav"), 44100, 2, 4410, [](long f, int) { return Sine(440, 44100, f); });
  WritePcm16Wave(dir.File("one_hz.wav"), 1, 1, 10, [](long, int) { return 0.0; });
  WritePcm16Wave(dir.File("six.wav"), 48000, 6, 4800, [](long, int) { return 0.0; });
  const std::string out = dir.File("out.wav");

  struct Case {
    std::string input;
    int sampleRate;
    int channels;
  };
  const Case cases[] = {
      {dir.File("missing.wav"), 22050, 2},  // no input
      {dir.File("in.wav"), 0, 2},           {dir.File("in.wav"), -22050, 2},
      {dir.File("in.wav"), 2000000000, 2},  // far beyond what the resampler can reach
      {dir.File("in.wav"), 22050, 0},       {dir.File("one_hz.wav"), 22050, 1},
      {dir.File("six.wav"), 22050, 6},  // IMA ADPCM WAVE holds at most two channels
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input + " " + std::to_string(c.sampleRate) + " Hz " + std::to_string(c.channels) + " ch");
    EXPECT_FALSE(kdx::ConvertAudio(c.input, out, c.sampleRate, c.channels));
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  EXPECT_FALSE(kdx::ConvertAudio(dir.File("in.wav"), dir.File("no_such_folder/out.wav"), 22050, 2));
}

// Converts with a file size limit standing in for a full disk; exits with 0
// when the conversion failed and left no output.
[[noreturn]] void ConvertWithFileSizeLimit(const std::string& input, const std::string& output, rlim_t bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{bytes, bytes};
  setrlimit(RLIMIT_FSIZE, &limit);
  const bool converted = kdx::ConvertAudio(input, output, 22050, 2);
  std::_Exit(!converted && !std::filesystem::exists(output) ? 0 : 1);
}

TEST(ConvertAudioDeathTest, LeavesNoOutputWhenAnyWriteFails) {
  kdxtest::ScratchDir dir;
  WritePcm16Wave(dir.File("in.wav"), 44100, 2, 44100, [](long f, int) { return Sine(440, 44100, f); });
  ASSERT_TRUE(kdx::ConvertAudio(dir.File("in.wav"), dir.File("whole.wav"), 22050, 2));
  const auto size = static_cast<rlim_t>(std::filesystem::file_size(dir.File("whole.wav")));
  // In the header, in the samples, and in what libsndfile writes on closing.
  for (rlim_t limit : {rlim_t{30}, size / 2, size - 1}) {
    SCOPED_TRACE(limit);
    EXPECT_EXIT(ConvertWithFileSizeLimit(dir.File("in.wav"), dir.File("out.wav"), limit), ::testing::ExitedWithCode(0),
                "");
  }
}

}  // namespace
