// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/writer/kdx_test_files.h"
#include "tests/support/test_paths.h"
#include "writer/chunk_geometry.h"
#include "writer/kdx_header.h"

namespace {

TEST(KdxHeader, HoldsEveryFieldAtItsOffset) {
  const kdx::ChunkGeometry g = kdx::ComputeChunkGeometry(128, 96, 1.0 / 30, 60 * 1024, false);
  const auto header = kdx::BuildKdxHeader(g, 0x012345);

  std::array<uint8_t, kdx::kKdxHeaderSize> expected{};
  std::memcpy(expected.data(), "KDX002000", 9);
  expected[9] = 128;
  expected[12] = 96;
  expected[15] = 16;
  expected[18] = 1;
  expected[21] = 0x00;  // S = 12288 = 0x003000
  expected[22] = 0x30;
  expected[23] = 0x00;
  expected[24] = 30;
  expected[27] = 0x45;
  expected[28] = 0x23;
  expected[29] = 0x01;
  expected[30] = 1;
  expected[36] = 6;
  for (size_t i = 39; i < 51; ++i) expected[i] = 1;
  EXPECT_EQ(header, expected);
}

TEST(KdxHeader, OneByteFieldsKeepTheirNeighboursZero) {
  kdx::ChunkGeometry g = kdx::ComputeChunkGeometry(300, 260, 1.0 / 10, 20 * 1024, false);
  const auto header = kdx::BuildKdxHeader(g, 0);
  EXPECT_EQ(header[9], 300 & 0xFF);
  EXPECT_EQ(header[12], 260 & 0xFF);
  for (size_t i : {10, 11, 13, 14}) EXPECT_EQ(header[i], 0) << "byte " << i;
}

}  // namespace
