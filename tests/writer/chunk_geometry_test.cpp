// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "writer/chunk_geometry.h"

namespace {

struct GeometryCase {
  const char* name;
  int32_t W, H;
  double T;
  int32_t bytesPerSecond;
  bool secondChunks;
  int32_t P, R, C, F, S, framesPerSecondByte;
};

class ChunkGeometryTest : public testing::TestWithParam<GeometryCase> {};

TEST_P(ChunkGeometryTest, MatchesWorkedExample) {
  const GeometryCase& c = GetParam();
  const kdx::ChunkGeometry g = kdx::ComputeChunkGeometry(c.W, c.H, c.T, c.bytesPerSecond, c.secondChunks);
  EXPECT_EQ(g.P, c.P);
  EXPECT_EQ(g.R, c.R);
  EXPECT_EQ(g.C, c.C);
  EXPECT_EQ(g.F, c.F);
  EXPECT_EQ(g.S, c.S);
  EXPECT_DOUBLE_EQ(g.D, 1.0 / c.C);
  EXPECT_EQ(g.framesPerSecondByte, c.framesPerSecondByte);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ChunkGeometryTest,
    testing::Values(
        // 128 x 640 chunk pictures of 5 frames.
        GeometryCase{"H128At15", 128, 128, 1.0 / 15, 45 * 1024, false, 128, 15, 3, 5, 15360, 15},
        // Fit mode from 320 x 240: 128 x 576 pictures.
        GeometryCase{"H96At30", 128, 96, 1.0 / 30, 60 * 1024, false, 96, 30, 5, 6, 12288, 30},
        // The 640-row rule counts H, not the padded slot: 672 rows.
        GeometryCase{"H100At30", 128, 100, 1.0 / 30, 60 * 1024, false, 112, 30, 5, 6, 12288, 30},
        // A source interval of 333333 x 100 ns still means 30 frames a second.
        GeometryCase{"H96AtSourceInterval", 128, 96, 333333e-7, 60 * 1024, false, 96, 30, 5, 6, 12288, 30},
        // Fewer frames a second than fit in a picture: one chunk a second.
        GeometryCase{"RBelowK", 128, 96, 1.0 / 5, 30 * 1024, false, 96, 5, 1, 5, 30720, 5},
        // One-second chunks take the whole second's budget.
        GeometryCase{"SecondChunks", 128, 96, 1.0 / 30, 45 * 1024, true, 96, 30, 1, 30, 46080, 30},
        // Rates whose 1 / (1 / C) lands just below C still give C x F.
        GeometryCase{"ManyChunks", 64, 640, 1.0 / 93.5, 93 * 1024, false, 640, 93, 93, 1, 1024, 93}),
    [](const testing::TestParamInfo<GeometryCase>& info) { return std::string(info.param.name); });

TEST(RoundFrameCount, KeepsWholeChunksOnly) {
  EXPECT_EQ(kdx::RoundFrameCount(23, 5), 20);
  EXPECT_EQ(kdx::RoundFrameCount(25, 5), 25);
  EXPECT_EQ(kdx::RoundFrameCount(4, 5), 0);  // shorter than one chunk
  EXPECT_EQ(kdx::RoundFrameCount(0, 5), 0);
}

}  // namespace
