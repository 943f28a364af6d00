// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "audio/convert_audio.h"
#include "audio/sound_converter.h"
#include "tests/support/test_paths.h"
#include "tests/support/test_sound_files.h"

namespace {

struct Case {
  int inRate;
  int inChannels;
  int outRate;
  long frames;
};

// Sound fed in pieces of any size, as the decoder delivers it, gives the
// same file as the whole capture converted at once: block boundaries and
// the last block do not depend on how the sound arrived.
class StreamedSound : public ::testing::TestWithParam<Case> {};

TEST_P(StreamedSound, MatchesTheWholeFileConvertedAtOnce) {
  const Case c = GetParam();
  kdxtest::ScratchDir dir;
  std::mt19937 random(c.frames);
  std::vector<int16_t> pcm(static_cast<size_t>(c.frames) * c.inChannels);
  for (size_t i = 0; i < pcm.size(); ++i) {
    pcm[i] = static_cast<int16_t>(14000 * audiotest::Sine(440.0 + 50 * (i % c.inChannels), c.inRate,
                                                          static_cast<long>(i) / c.inChannels, 1.0) +
                                  static_cast<int>(random() % 200) - 100);
  }
  const std::string capture = dir.File("capture.wav");
  audiotest::WritePcm16Wave(capture, c.inRate, c.inChannels, c.frames,
                            [&](long frame, int channel) { return pcm[frame * c.inChannels + channel] / 32768.0; });
  ASSERT_TRUE(kdx::ConvertAudio(capture, dir.File("at_once.wav"), c.outRate, 2));

  kdx::SoundConverter streamed;
  ASSERT_TRUE(streamed.Open(dir.File("streamed.wav"), c.inRate, c.inChannels, c.outRate, 2));
  for (long at = 0; at < c.frames;) {
    const long piece = std::min<long>(c.frames - at, 1 + static_cast<long>(random() % 5000));
    ASSERT_TRUE(streamed.AppendPcm16(pcm.data() + at * c.inChannels, piece));
    at += piece;
  }
  ASSERT_TRUE(streamed.Finish());
  EXPECT_EQ(kdxtest::ReadFile(dir.File("streamed.wav")), kdxtest::ReadFile(dir.File("at_once.wav")));
}

INSTANTIATE_TEST_SUITE_P(Rates, StreamedSound,
                         ::testing::Values(Case{44100, 2, 22050, 100000}, Case{48000, 6, 22050, 50000},
                                           Case{22050, 1, 22050, 4096}, Case{8000, 2, 22050, 4097},
                                           Case{44100, 2, 22050, 10}, Case{1000, 2, 22050, 9000},
                                           Case{384000, 1, 11025, 200000}));

TEST(SoundConverter, DiscardsAnUnfinishedOutput) {
  kdxtest::ScratchDir dir;
  {
    kdx::SoundConverter converter;
    ASSERT_TRUE(converter.Open(dir.File("sound.wav"), 44100, 2, 22050, 2));
    const std::vector<int16_t> silence(20000, 0);
    ASSERT_TRUE(converter.AppendPcm16(silence.data(), 10000));
  }
  EXPECT_EQ(dir.Listing(), "");
}

}  // namespace
