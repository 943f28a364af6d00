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

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 96;
constexpr int32_t kS = 2600;

// Grain of the given strength: the stronger, the lower the quality that fits.
std::vector<uint8_t> Picture(uint32_t seed, int grain) {
  std::mt19937 random(seed);
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<uint8_t>((i / 3 % kWidth) * 2 + (grain > 0 ? random() % grain : 0));
  return pixels;
}

kdx::ImageView View(std::vector<uint8_t>& pixels) { return kdx::ImageView{pixels.data(), kWidth, kHeight, true, 0}; }

TEST(ChunkEncodeWorker, WritesEveryHandedChunkInOrderAsTheFeederWouldUnlessStopped) {
  const std::vector<std::vector<uint8_t>> chunks = {Picture(1, 120), Picture(2, 0), Picture(3, 40), Picture(4, 200),
                                                    Picture(5, 10)};
  kdxtest::ScratchDir scratch;
  // What the feeding thread wrote when it encoded the chunks itself.
  const std::string expectedPath = scratch.File("expected.video");
  {
    kdx::BinaryFile file;
    ASSERT_TRUE(file.Open(expectedPath, kdx::BinaryFile::Mode::CreateWrite));
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
  }
  struct Case {
    const char* name;
    int32_t state;
    int finishAfter;  // the thread ends after this chunk and starts again with the next
  };
  for (const Case c : {Case{"straight through", TS_BUSY, -1}, Case{"thread ended between chunks", TS_BUSY, 1},
                       Case{"run stopped", TS_STOP_REQUESTED, -1}}) {
    SCOPED_TRACE(c.name);
    kdx::g_state = c.state;
    const std::string path = scratch.File(std::string(c.name) + ".video");
    kdx::BinaryFile file;
    ASSERT_TRUE(file.Open(path, kdx::BinaryFile::Mode::CreateWrite));
    {
      kdx::ChunkEncodeWorker worker;
      // The feeder fills the same picture again as soon as it is handed over.
      std::vector<uint8_t> picture;
      for (size_t i = 0; i < chunks.size(); ++i) {
        picture = chunks[i];
        worker.Hand(View(picture), file, kS);
        std::fill(picture.begin(), picture.end(), 0);
        if (static_cast<int>(i) == c.finishAfter) worker.Finish();
      }
      worker.Finish();
    }
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(kdxtest::ReadFile(path), c.state == TS_BUSY ? kdxtest::ReadFile(expectedPath) : std::string());
  }
  kdx::g_state = TS_IDLE;
}

}  // namespace
