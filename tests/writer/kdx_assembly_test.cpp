// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>
#include <sndfile.h>

#include <atomic>

#include "kdx.h"
#include "tests/writer/kdx_test_files.h"
#include "tools/kdxreader/chunk_frames.h"
#include "tools/kdxreader/kdx_file.h"
#include "tests/support/test_paths.h"
#include "writer/binary_file.h"
#include "writer/kdx_assembly.h"

namespace {

using kdx::BinaryFile;

kdx::ChunkGeometry Geometry96At30() { return kdx::ComputeChunkGeometry(128, 96, 1.0 / 30, 60 * 1024, false); }

TEST(KdxAssembly, SoundHeaderAndChunksReadBack) {
  kdxtest::ScratchDir dir;
  kdxtest::WriteImaAdpcmWave(dir.File("sound.wav"), 2, 22050, 22050);
  const auto g = Geometry96At30();
  auto plan = kdxtest::ChunkedPlan(g, 3, dir.File("sound.wav"));
  plan.acceptedFrames = 3 * g.F + 4;  // a partial chunk is not counted
  kdxtest::WriteKdxFile(dir.File("movie.kdx"), plan);

  const auto loaded = kdxreader::LoadKdx(dir.File("movie.kdx"));
  ASSERT_TRUE(loaded.file) << loaded.error;
  const auto& file = *loaded.file;
  EXPECT_TRUE(file.sound.present);
  EXPECT_EQ(file.sound.formatTag, 0x11);
  EXPECT_EQ(file.sound.channels, 2);
  EXPECT_EQ(file.sound.sampleRate, 22050);
  EXPECT_NEAR(file.sound.seconds, 1.0, 0.05);
  EXPECT_EQ(file.headerOffset, kdxtest::ReadBytes(dir.File("sound.wav")).size());
  EXPECT_EQ(file.geometry.N, 18);
  EXPECT_EQ(file.geometry.C, 5);
  EXPECT_DOUBLE_EQ(file.playingSeconds, 0.6);
  ASSERT_EQ(file.chunks.size(), 3u);

  for (size_t chunk = 0; chunk < file.chunks.size(); ++chunk) {
    EXPECT_EQ(file.ChunkJpeg(chunk).size(), plan.jpegs[chunk].size());
    const auto picture = kdxreader::DecodeChunk(file, chunk);
    ASSERT_TRUE(picture);
    for (int slot = 0; slot < g.F; ++slot) {
      const auto frame = kdxreader::ExtractFrame(*picture, file.geometry, slot);
      ASSERT_EQ(frame.width, 128);
      ASSERT_EQ(frame.height, 96);
      const auto colour = kdxtest::FrameColour(static_cast<int>(chunk) * g.F + slot);
      EXPECT_TRUE(kdxtest::NearColour(frame.Pixel(64, 48), colour)) << "chunk " << chunk << " slot " << slot;
      EXPECT_TRUE(kdxtest::NearColour(frame.Pixel(64, 4), kdxtest::kTopBand)) << "chunk " << chunk << " slot " << slot;
    }
  }
}

TEST(KdxAssembly, RunShorterThanOneChunkEndsAfterTheHeader) {
  kdxtest::ScratchDir dir;
  kdxtest::WriteImaAdpcmWave(dir.File("sound.wav"), 1, 11025, 1000);
  const auto g = Geometry96At30();
  kdxtest::KdxFilePlan plan;
  plan.geometry = g;
  plan.acceptedFrames = g.F - 1;
  plan.soundPath = dir.File("sound.wav");
  kdxtest::WriteKdxFile(dir.File("movie.kdx"), plan);

  const auto bytes = kdxtest::ReadBytes(dir.File("movie.kdx"));
  EXPECT_EQ(bytes.size(), kdxtest::ReadBytes(dir.File("sound.wav")).size() + 51);
  const auto loaded = kdxreader::LoadKdx(dir.File("movie.kdx"));
  ASSERT_TRUE(loaded.file) << loaded.error;
  EXPECT_EQ(loaded.file->geometry.N, 0);
  EXPECT_TRUE(loaded.file->chunks.empty());
}

TEST(KdxAssembly, FileWithoutSoundPartStartsWithTheHeader) {
  kdxtest::ScratchDir dir;
  kdxtest::WriteKdxFile(dir.File("movie.kdx"), kdxtest::ChunkedPlan(Geometry96At30(), 1, ""));
  const auto loaded = kdxreader::LoadKdx(dir.File("movie.kdx"));
  ASSERT_TRUE(loaded.file) << loaded.error;
  EXPECT_FALSE(loaded.file->sound.present);
  EXPECT_EQ(loaded.file->headerOffset, 0u);
  EXPECT_EQ(loaded.file->chunks.size(), 1u);
}

class AppendKdxBodyTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(video_.Open(dir_.File(".video"), BinaryFile::Mode::CreateReadWrite));
    const std::vector<uint8_t> area(4500, 0x5C);
    video_.Write(area.data(), area.size());
    ASSERT_TRUE(output_.Open(dir_.File("out"), BinaryFile::Mode::CreateWrite));
  }

  kdxtest::ScratchDir dir_;
  BinaryFile video_;
  BinaryFile output_;
  const kdx::ChunkGeometry geometry_ = Geometry96At30();
};

TEST_F(AppendKdxBodyTest, CopiesTheWholeChunkAreaFromItsStart) {
  const std::atomic<int32_t> busy{TS_BUSY};
  ASSERT_TRUE(kdx::AppendKdxBody(output_, video_, geometry_, 6, busy));
  ASSERT_TRUE(output_.Close());
  EXPECT_EQ(kdxtest::ReadBytes(dir_.File("out")).size(), 51u + 4500u);
}

TEST_F(AppendKdxBodyTest, StopsAfterAFullBlockOnceAStopIsRequested) {
  const std::atomic<int32_t> stopping{TS_STOP_REQUESTED};
  ASSERT_TRUE(kdx::AppendKdxBody(output_, video_, geometry_, 6, stopping));
  ASSERT_TRUE(output_.Close());
  EXPECT_EQ(kdxtest::ReadBytes(dir_.File("out")).size(), 51u + 1000u);
}

TEST_F(AppendKdxBodyTest, ReportsAChunkAreaThatCannotBeRead) {
  BinaryFile writeOnly;
  ASSERT_TRUE(writeOnly.Open(dir_.File(".video2"), BinaryFile::Mode::CreateWrite));
  const std::atomic<int32_t> busy{TS_BUSY};
  EXPECT_FALSE(kdx::AppendKdxBody(output_, writeOnly, geometry_, 6, busy));
}

TEST_F(AppendKdxBodyTest, ReportsAnOutputThatCannotBeWritten) {
  BinaryFile full;
  ASSERT_TRUE(full.Open("/dev/full", BinaryFile::Mode::CreateWrite));
  const std::atomic<int32_t> busy{TS_BUSY};
  const bool copied = kdx::AppendKdxBody(full, video_, geometry_, 6, busy);
  EXPECT_FALSE(copied && full.Close());
}

}  // namespace
