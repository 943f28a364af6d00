// Rewriting a chunk's JPEG with tables made for its data keeps every pixel
// and the baseline format, and only ever saves bytes.
#include <gtest/gtest.h>

#include <IL/il.h>

#include <cstdio>
#include <string>

#include "video/bound_image.h"
#include "video/huffman_tables.h"
#include "video/image_library.h"
#include "video/jpeg_chunk_encoder.h"
#include "video_test_support.h"

namespace {

// Start-of-frame marker of a baseline JPEG.
bool IsBaseline(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 0; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return true;
  }
  return false;
}

TEST(HuffmanTables, SamePixelsInFewerBytesStillBaseline) {
  kdx::InitImageLibrary();
  videotest::FakeFrame frame(96, 64, videotest::Bgr{10, 200, 90});
  frame.PaintNoise(7);
  frame.Paint(10, 10, 30, 20, videotest::Bgr{250, 250, 250});
  ilBindImage(kdx::WorkImage());
  ASSERT_TRUE(kdx::DefineBoundImage(96, 64, frame.GetPointer()));
  for (const int quality : {5, 50, 95}) {
    SCOPED_TRACE(quality);
    ilBindImage(kdx::WorkImage());  // decoding below binds images of its own
    // The image library's own encoding, before the tables are optimised.
    ilSetInteger(IL_JPG_QUALITY, quality);
    const std::string path = ::testing::TempDir() + "huffman_" + std::to_string(quality) + ".jpg";
    std::remove(path.c_str());
    ASSERT_TRUE(ilSave(IL_JPG, path.c_str()));
    const std::vector<uint8_t> plain = videotest::ReadFile(path);
    std::remove(path.c_str());
    ASSERT_FALSE(plain.empty());

    std::vector<uint8_t> optimised = plain;
    ASSERT_TRUE(kdx::OptimiseHuffmanTables(optimised));
    EXPECT_LT(optimised.size(), plain.size());
    EXPECT_TRUE(IsBaseline(optimised));
    const videotest::Picture before = videotest::DecodeJpeg(plain);
    const videotest::Picture after = videotest::DecodeJpeg(optimised);
    ASSERT_EQ(after.width, 96);
    EXPECT_EQ(after.pixels, before.pixels);

    // The chunk encoder measures and keeps the optimised bytes.
    ilBindImage(kdx::WorkImage());
    kdx::JpegChunkEncoder encoder;
    EXPECT_EQ(encoder.Measure(quality), static_cast<int32_t>(plain.size()));
    EXPECT_EQ(encoder.MeasureOptimised(quality), static_cast<int32_t>(optimised.size()));
    EXPECT_EQ(encoder.Bytes(quality), optimised);
  }
}

TEST(HuffmanTables, LeavesWhatIsNoJpegAlone) {
  std::vector<uint8_t> empty;
  EXPECT_FALSE(kdx::OptimiseHuffmanTables(empty));
  std::vector<uint8_t> text{'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
  const std::vector<uint8_t> original = text;
  EXPECT_FALSE(kdx::OptimiseHuffmanTables(text));
  EXPECT_EQ(text, original);
  // A JPEG cut short after its header.
  kdx::InitImageLibrary();
  videotest::FakeFrame frame(32, 32, videotest::Bgr{1, 2, 3});
  frame.PaintNoise(3);
  ilBindImage(kdx::WorkImage());
  ASSERT_TRUE(kdx::DefineBoundImage(32, 32, frame.GetPointer()));
  kdx::JpegChunkEncoder encoder;
  ASSERT_GT(encoder.Measure(80), 0);  // the image library's own bytes
  std::vector<uint8_t> cut(encoder.Bytes(80).begin(), encoder.Bytes(80).begin() + encoder.Bytes(80).size() / 3);
  const std::vector<uint8_t> cutCopy = cut;
  kdx::OptimiseHuffmanTables(cut);  // whatever it answers, it must not crash or leave a broken rewrite
  EXPECT_TRUE(cut == cutCopy || IsBaseline(cut));
}

}  // namespace
