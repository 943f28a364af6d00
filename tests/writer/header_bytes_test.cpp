#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstring>
#include <vector>

#include "kdx_test_files.h"
#include "test_paths.h"
#include "writer/chunk_geometry.h"
#include "writer/kdx_header.h"
#include "writer/wave_header.h"

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

TEST(PcmWaveHeader, IsCanonicalWithTagOneAndNoExtraBytes) {
  kdx::AudioFormat format;
  format.channels = 2;
  format.samplesPerSec = 44100;
  format.avgBytesPerSec = 176400;
  format.blockAlign = 4;
  format.bitsPerSample = 16;
  const auto h = kdx::BuildPcmWaveHeader(format, 1000);
  const uint8_t expected[46] = {'R', 'I', 'F', 'F', 0x0E, 0x04, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                18, 0, 0, 0, 1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 0x02, 0,
                                4, 0, 16, 0, 0, 0, 'd', 'a', 't', 'a', 0xE8, 0x03, 0, 0};
  EXPECT_EQ(std::memcmp(h.data(), expected, sizeof expected), 0);
}

TEST(PcmWaveHeader, MakesAFileLibsndfileReads) {
  kdxtest::ScratchDir dir;
  kdx::AudioFormat format;
  format.channels = 1;
  format.samplesPerSec = 22050;
  format.avgBytesPerSec = 44100;
  format.blockAlign = 2;
  const auto header = kdx::BuildPcmWaveHeader(format, 2000);
  std::vector<uint8_t> bytes(header.begin(), header.end());
  bytes.resize(bytes.size() + 2000, 0x10);
  kdxtest::WriteBytes(dir.File("a.wav"), bytes);

  SF_INFO info{};
  SNDFILE* file = sf_open(dir.File("a.wav").c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  sf_close(file);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.frames, 1000);
}

}  // namespace
