// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "audio/sound_placement.h"

namespace {

using kdx::SoundPlacement;

constexpr int kRate = 1000;  // one frame a millisecond

TEST(SoundPlacement, FirstBufferIsPlacedToTheSampleFromTheOrigin) {
  SoundPlacement late;
  late.Begin(10.0, kRate, 0.01);
  EXPECT_EQ(late.Place(10.003, 500).silence, 3);  // within the tolerance, still placed exactly

  SoundPlacement straddling;
  straddling.Begin(10.0, kRate, 0.01);
  EXPECT_EQ(straddling.Place(9.5, 400).skip, 400);  // wholly before the origin
  const SoundPlacement::Cut cut = straddling.Place(9.9, 300);
  EXPECT_EQ(cut.skip, 100);
  EXPECT_EQ(cut.silence, 0);
  EXPECT_EQ(straddling.Place(10.2, 10).silence, 0);  // follows on at 0.2 s
}

TEST(SoundPlacement, HolesGetSilenceAndOverlapsAreCutButSmallStraysAreLeftAlone) {
  SoundPlacement p;
  p.Begin(0.0, kRate, 0.01);
  ASSERT_EQ(p.Place(0.0, 1000).silence, 0);
  // Rounded time stamps: 8 ms early, then 9 ms late, in place.
  SoundPlacement::Cut cut = p.Place(0.992, 1000);
  EXPECT_EQ(cut.skip + cut.silence, 0);
  cut = p.Place(2.009, 1000);
  EXPECT_EQ(cut.skip + cut.silence, 0);
  // A two-second hole, measured from where the sound really ends (3.0 s).
  EXPECT_EQ(p.Place(5.0, 1000).silence, 2000);
  // Starts 300 ms over the sound before it.
  cut = p.Place(5.7, 1000);
  EXPECT_EQ(cut.skip, 300);
  EXPECT_EQ(cut.silence, 0);
  // Drift adds up to a correction once past the tolerance.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p.Place(6.7 + i * 0.104, 100).silence, 0);
  EXPECT_EQ(p.Place(7.018, 100).silence, 18);
}

TEST(SoundPlacement, ToleranceFollowsTheTimeStampStepWithinBounds) {
  EXPECT_DOUBLE_EQ(SoundPlacement::DriftTolerance(1.0 / 44100), 0.010);
  EXPECT_DOUBLE_EQ(SoundPlacement::DriftTolerance(0.026), 0.026);
  EXPECT_DOUBLE_EQ(SoundPlacement::DriftTolerance(1.0), 0.050);
}

}  // namespace
