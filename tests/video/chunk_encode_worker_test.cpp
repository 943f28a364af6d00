// SPDX-License-Identifier: GPL-2.0-or-later
// Chunks encoded on the worker thread come out as encoding them one by one
// on the feeding thread would write them.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "library_state.h"
#include "tests/support/test_paths.h"
#include "video/chunk_encode_worker.h"
#include "video/jpeg_chunk_encoder.h"
#include "video/jpeg_quality_search.h"
#include "writer/chunk_record.h"

namespace {

constexpr int32_t kWidth = 64, kHeight = 96, kS = 2600;

kdx::ImageView View(std::vector<uint8_t>& pixels) { return {pixels.data(), kWidth, kHeight, true, 0}; }

TEST(ChunkEncodeWorker, WritesEveryHandedChunkInOrderAsTheFeederWouldUnlessStopped) {
  // Gradients under grain of rising strength: each fits another quality.
  std::vector<std::vector<uint8_t>> chunks;
  std::mt19937 random(1);
  for (const int grain : {120, 1, 40, 200, 10}) {
    chunks.emplace_back(static_cast<size_t>(kWidth) * kHeight * 3);
    for (size_t i = 0; i < chunks.back().size(); ++i)
      chunks.back()[i] = static_cast<uint8_t>((i / 3 % kWidth) * 2 + random() % grain);
  }
  kdxtest::ScratchDir scratch;
  kdx::BinaryFile file;
  ASSERT_TRUE(file.Open(scratch.File("expected"), kdx::BinaryFile::Mode::CreateWrite));
  kdx::JpegChunkEncoder encoder;
  kdx::JpegQualityState quality;
  for (std::vector<uint8_t> chunk : chunks) {
    encoder.NewPicture(View(chunk));
    const auto choice = kdx::SearchJpegQuality(quality, kS - 3, [&](int32_t q) { return encoder.Measure(q); });
    ASSERT_TRUE(choice.fits);
    const auto& jpeg = encoder.Bytes(choice.quality);
    kdx::AppendChunkRecord(file, jpeg.data(), jpeg.size(), kS, chunk.data(), chunk.size());
  }
  ASSERT_TRUE(file.Close());

  struct Case {
    const char* name;
    int32_t state;
    size_t finishAfter;  // the thread ends after this chunk and starts again with the next
  };
  for (const Case c :
       {Case{"straight", TS_BUSY, 99}, Case{"restarted", TS_BUSY, 1}, Case{"stopped", TS_STOP_REQUESTED, 99}}) {
    SCOPED_TRACE(c.name);
    kdx::g_state = c.state;
    ASSERT_TRUE(file.Open(scratch.File(c.name), kdx::BinaryFile::Mode::CreateWrite));
    {
      kdx::ChunkEncodeWorker worker;
      std::vector<uint8_t> picture;
      for (size_t i = 0; i < chunks.size(); ++i) {
        picture = chunks[i];
        worker.Hand(View(picture), file, kS);
        // The feeder fills the picture again as soon as it is handed over.
        std::fill(picture.begin(), picture.end(), 0);
        if (i == c.finishAfter) worker.Finish();
      }
    }
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(kdxtest::ReadFile(scratch.File(c.name)),
              c.state == TS_BUSY ? kdxtest::ReadFile(scratch.File("expected")) : std::string());
  }
  kdx::g_state = TS_IDLE;
}

}  // namespace
