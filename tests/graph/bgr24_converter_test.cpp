// SPDX-License-Identifier: GPL-2.0-or-later
// Colour conversion of decoded pictures of every shape, from a few pixels
// to 8K, odd widths included: each pixel lands where it belongs and nothing
// is written outside the frame (the sanitizer build runs this too).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "graph/bgr24_converter.h"

namespace {

using kdx::FramePtr;

// Grey levels that differ from pixel to pixel and row to row.
int PatternLuma(int x, int y) { return 16 + (x * 7 + y * 13) % 220; }
int LumaToGrey(int luma) { return std::clamp((luma - 16) * 255 / 219, 0, 255); }

FramePtr GreyPatternFrame(int width, int height) {
  FramePtr frame(av_frame_alloc());
  frame->format = AV_PIX_FMT_YUV420P;
  frame->width = width;
  frame->height = height;
  if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) frame->data[0][y * frame->linesize[0] + x] = static_cast<uint8_t>(PatternLuma(x, y));
  }
  for (int plane = 1; plane < 3; ++plane) {
    for (int y = 0; y < (height + 1) / 2; ++y)
      std::fill_n(frame->data[plane] + y * frame->linesize[plane], (width + 1) / 2, uint8_t{128});
  }
  return frame;
}

TEST(Bgr24Converter, ConvertsEverySizeIntoPackedBottomUpRows) {
  const std::pair<int, int> sizes[] = {{2, 2},     {3, 3},     {5, 7},     {6, 6},      {10, 8},    {17, 9},
                                       {202, 360}, {350, 240}, {426, 240}, {641, 479},  {1279, 719}, {1920, 1080},
                                       {7680, 4320}};
  for (const auto& [width, height] : sizes) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const FramePtr frame = GreyPatternFrame(width, height);
    ASSERT_TRUE(frame);
    kdx::Bgr24Converter converter(kdx::DisplayShape{width, height, 0});
    ASSERT_EQ(converter.DataLength(), 3 * width * height);
    // The second frame reuses what the first one set up.
    for (int pass = 0; pass < 2; ++pass) {
      const uint8_t* pixels = converter.Convert(*frame);
      ASSERT_NE(pixels, nullptr);
      int wrong = 0;
      for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(height - 1 - y) * 3 * width;
        for (int x = 0; x < width * 3; ++x) wrong += std::abs(row[x] - LumaToGrey(PatternLuma(x / 3, y))) > 3;
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

}  // namespace
