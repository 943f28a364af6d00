// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/peak_limiter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kRate = 1000;

std::vector<int16_t> Limit(kdx::PeakLimiter& limiter, const std::vector<float>& stereo) {
  std::vector<int16_t> pcm(stereo.size());
  limiter.ToPcm16(stereo.data(), static_cast<int>(stereo.size() / 2), 2, pcm.data());
  return pcm;
}

TEST(PeakLimiter, KeepsSoundWithHeadroomAtItsLevel) {
  kdx::PeakLimiter limiter(kRate);
  EXPECT_EQ(Limit(limiter, {0.25f, -0.5f, 0.999f, -1.0f, 0.0f, 3.0f / 32768}),
            (std::vector<int16_t>{8192, -16384, 32735, -32768, 0, 3}));
}

TEST(PeakLimiter, LowersBothSidesJustEnoughThenRecovers) {
  kdx::PeakLimiter limiter(kRate);
  // A peak at twice full scale halves the gain of its whole frame; the
  // sides keep their balance and nothing wraps around.
  const std::vector<int16_t> loud = Limit(limiter, {2.0f, 0.5f, -4.0f, 0.5f});
  EXPECT_EQ(loud[0], 32767);
  EXPECT_EQ(loud[1], 8192);
  EXPECT_EQ(loud[2], -32768);
  EXPECT_EQ(loud[3], 4096);
  // Shortly after, the sound is still lowered; a second later it is back.
  EXPECT_LT(Limit(limiter, {0.5f, 0.5f})[0], 16384 * 0.3);
  std::vector<float> quiet(2 * kRate, 0.5f);
  EXPECT_NEAR(Limit(limiter, quiet).back(), 16384, 16384 * 0.01);
}

}  // namespace
