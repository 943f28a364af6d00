// SPDX-License-Identifier: GPL-2.0-or-later
// The decimator stands in for libresample only where it gives the same bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "audio/decimating_resampler.h"
#include "audio/resample_stage.h"

namespace {

// Runs the signal through a stage in appends of random length, then flushes.
std::vector<float> Resample(const std::vector<float>& signal, int channels, double ratio, bool libraryOnly) {
  kdx::ResampleStage stage;
  EXPECT_TRUE(stage.Open(channels, ratio, libraryOnly));
  std::mt19937 random(7);
  std::vector<float> output;
  const int64_t frames = static_cast<int64_t>(signal.size()) / channels;
  for (int64_t at = 0; at < frames;) {
    const int64_t count = std::min<int64_t>(frames - at, 1 + random() % 9000);
    EXPECT_TRUE(stage.Append(signal.data() + at * channels, count, &output));
    at += count;
  }
  EXPECT_TRUE(stage.Flush(&output));
  return output;
}

// One channel straight through the decimator, in pieces of random length.
std::vector<float> Decimate(const std::vector<float>& signal, double ratio, kdx::DecimatingResampler::Vectors vectors) {
  kdx::DecimatingResampler decimator(ratio, vectors);
  std::mt19937 random(11);
  std::vector<float> output;
  for (size_t at = 0; at < signal.size();) {
    const int count = static_cast<int>(std::min<size_t>(signal.size() - at, 1 + random() % 5000));
    int used = 0;
    decimator.Process(signal.data() + at, count, at + count == signal.size(), &used, &output);
    EXPECT_GT(used, 0);
    at += used;
  }
  return output;
}

TEST(DecimatingResampler, GivesLibresamplesBitsForEveryWholeStepDown) {
  std::mt19937 random(26);
  std::uniform_real_distribution<float> level(-1.0f, 1.0f);
  std::vector<float> signal(2 * 700000);
  for (size_t i = 0; i < signal.size(); ++i) {
    // Stretches of silence and of tiny values between full-scale noise.
    const size_t stretch = i / 20000 % 4;
    signal[i] = stretch == 1 ? 0.0f : stretch == 2 ? level(random) * 1e-30f : level(random);
  }
  struct Case {
    double ratio;
    int channels;
    int64_t frames;
  };
  for (const Case c : {Case{0.5, 2, 700000}, Case{0.25, 1, 400000}, Case{1.0 / 3, 2, 100000}, Case{1.0 / 16, 1, 50000},
                       Case{0.5, 1, 3}}) {
    SCOPED_TRACE(1.0 / c.ratio);
    ASSERT_TRUE(kdx::DecimatingResampler::Handles(c.ratio));
    const std::vector<float> part(signal.begin(), signal.begin() + c.frames * c.channels);
    const std::vector<float> library = Resample(part, c.channels, c.ratio, true);
    const std::vector<float> own = Resample(part, c.channels, c.ratio, false);
    ASSERT_EQ(own.size(), library.size());
    EXPECT_GE(static_cast<double>(own.size()), (c.frames * c.ratio - 2) * c.channels);
    EXPECT_EQ(std::memcmp(own.data(), library.data(), own.size() * sizeof(float)), 0);
    // Processors without 256-bit vectors get the same bits.
    std::vector<float> mono(c.frames);
    for (int64_t f = 0; f < c.frames; ++f) mono[f] = part[f * c.channels];
    const std::vector<float> wide = Decimate(mono, c.ratio, kdx::DecimatingResampler::Vectors::Widest);
    const std::vector<float> narrow = Decimate(mono, c.ratio, kdx::DecimatingResampler::Vectors::Baseline);
    ASSERT_EQ(wide.size(), narrow.size());
    EXPECT_EQ(std::memcmp(wide.data(), narrow.data(), wide.size() * sizeof(float)), 0);
  }
  // Steps where the outputs fall between inputs stay with the library.
  for (const double ratio : {22050.0 / 48000, 2.0, 1.0, 0.4, 1.0 / 17})
    EXPECT_FALSE(kdx::DecimatingResampler::Handles(ratio)) << ratio;
}

}  // namespace
