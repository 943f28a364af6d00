// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "tests/writer/kdx_test_files.h"
#include "tests/support/test_paths.h"
#include "writer/binary_file.h"
#include "writer/chunk_record.h"

namespace {

class ChunkRecordTest : public testing::Test {
 protected:
  // Writes the given records and returns the file's bytes.
  std::vector<uint8_t> Write(const std::vector<uint8_t>& jpeg, int32_t S, const std::vector<uint8_t>& filler,
                             int records = 1) {
    kdx::BinaryFile video;
    EXPECT_TRUE(video.Open(dir_.File(".video"), kdx::BinaryFile::Mode::CreateReadWrite));
    for (int i = 0; i < records; ++i)
      EXPECT_TRUE(kdx::AppendChunkRecord(video, jpeg.data(), jpeg.size(), S, filler.empty() ? nullptr : filler.data(),
                                         filler.size()));
    EXPECT_TRUE(video.Close());
    return kdxtest::ReadBytes(dir_.File(".video"));
  }

  kdxtest::ScratchDir dir_;
};

std::vector<uint8_t> Counting(size_t n, uint8_t start) {
  std::vector<uint8_t> bytes(n);
  std::iota(bytes.begin(), bytes.end(), start);
  return bytes;
}

TEST_F(ChunkRecordTest, HoldsLengthJpegAndFillerInExactlySBytes) {
  const auto jpeg = Counting(70000, 7);  // L needs all three length bytes
  const auto filler = Counting(5000, 100);
  const int32_t S = 80000;
  const auto bytes = Write(jpeg, S, filler, 2);
  ASSERT_EQ(bytes.size(), 2u * S);
  for (int record = 0; record < 2; ++record) {
    const uint8_t* r = &bytes[static_cast<size_t>(record) * S];
    EXPECT_EQ(r[0] | r[1] << 8 | r[2] << 16, 70000);
    EXPECT_TRUE(std::equal(jpeg.begin(), jpeg.end(), r + 3));
    // The filler repeats the first 4096 bytes of its source.
    const size_t fillerStart = 3 + jpeg.size();
    for (size_t i = 0; fillerStart + i < static_cast<size_t>(S); ++i)
      ASSERT_EQ(r[fillerStart + i], filler[i % 4096]) << "filler byte " << i;
  }
}

TEST_F(ChunkRecordTest, FillsWithZerosWithoutFillerSource) {
  const auto bytes = Write(Counting(10, 1), 9000, {});
  ASSERT_EQ(bytes.size(), 9000u);
  EXPECT_TRUE(std::all_of(bytes.begin() + 13, bytes.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(ChunkRecordTest, CutsAJpegLongerThanTheBudget) {
  const auto jpeg = Counting(200, 1);
  const auto bytes = Write(jpeg, 100, Counting(16, 0));
  ASSERT_EQ(bytes.size(), 100u);
  EXPECT_EQ(bytes[0], 200);  // L still tells the whole length
  EXPECT_TRUE(std::equal(bytes.begin() + 3, bytes.end(), jpeg.begin()));
}

}  // namespace
