// SPDX-License-Identifier: GPL-2.0-or-later
// The direct JPEG writer gives the image library's saver's very bytes.
#include <gtest/gtest.h>

#include <IL/il.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"
#include "video/bgr_jpeg.h"
#include "video/bound_image.h"
#include "video/image_library.h"
#include "tests/video/video_test_support.h"

namespace {

// Grain over gradients and edges: every kind of block a chunk holds.
std::vector<uint8_t> TestPicture(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
      const int grain = static_cast<int>(random() % 40);
      p[0] = static_cast<uint8_t>((x * 255 / width + grain) & 0xFF);
      p[1] = static_cast<uint8_t>(((x / 8 + y / 8) % 2 == 0 ? 200 : 30) + grain / 4);
      p[2] = static_cast<uint8_t>((y * 255 / height) ^ (grain * 3));
    }
  }
  return pixels;
}

TEST(BgrJpeg, SameBytesAsTheImageLibrarysSaverForAnySizeQualityAndRowOrder) {
  kdx::InitImageLibrary();
  kdxtest::ScratchDir scratch;
  struct Size {
    int32_t width;
    int32_t height;
  };
  int saved = 0;
  for (const Size size : {Size{128, 576}, Size{127, 71}, Size{1, 1}, Size{33, 300}, Size{320, 240}}) {
    std::vector<uint8_t> bottomUp = TestPicture(size.width, size.height, static_cast<uint32_t>(size.width));
    ilBindImage(kdx::ChunkImage());
    ASSERT_TRUE(kdx::DefineBoundImage(size.width, size.height, bottomUp.data()));
    const kdx::ImageView bound = kdx::ViewBoundImage();
    // The same picture with its rows the other way round in memory.
    std::vector<uint8_t> topDown(bottomUp.size());
    kdx::ImageView flipped{topDown.data(), size.width, size.height, false, 0};
    for (int32_t y = 0; y < size.height; ++y)
      std::copy(bound.RowFromTop(y), bound.RowFromTop(y) + bound.RowBytes(), flipped.RowFromTop(y));
    for (const int32_t quality : {1, 10, 50, 75, 90, 98, 99}) {
      SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height) + " q" + std::to_string(quality));
      ilBindImage(kdx::ChunkImage());
      ilSetInteger(IL_JPG_QUALITY, quality);
      const std::string path = scratch.File(std::to_string(++saved) + ".jpg");
      ASSERT_TRUE(ilSave(IL_JPG, path.c_str()));
      const std::vector<uint8_t> expected = videotest::ReadFile(path);
      std::vector<uint8_t> direct;
      ASSERT_TRUE(kdx::EncodeBgrJpeg(bound, quality, &direct));
      EXPECT_EQ(direct, expected);
      ASSERT_TRUE(kdx::EncodeBgrJpeg(flipped, quality, &direct));
      EXPECT_EQ(direct, expected);
    }
  }
  std::vector<uint8_t> none{1, 2, 3};
  EXPECT_FALSE(kdx::EncodeBgrJpeg(kdx::ImageView{}, 50, &none));
  EXPECT_TRUE(none.empty());
}

}  // namespace
