// SPDX-License-Identifier: GPL-2.0-or-later
// The scale step shrinks fine detail to its average instead of picking
// every n-th pixel, with the filter the frame hook chose; checked through
// the preview, which shares the step with the conversion pipeline.
#include <gtest/gtest.h>

#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>
#include <functional>

#include "platform/base/bitmap.h"
#include "video/image_library.h"
#include "video/preview_grabber_cb.h"
#include "tests/video/video_test_support.h"

namespace {

using videotest::Bgr;
using videotest::FakeFrame;

constexpr int kWidth = 64, kHeight = 48;
const Bgr kBlack{0, 0, 0};
const Bgr kWhite{255, 255, 255};

FakeFrame Pattern(const std::function<bool(int, int)>& white) {
  FakeFrame frame(kWidth, kHeight, kBlack);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (white(x, y)) frame.Paint(x, y, 1, 1, kWhite);
    }
  }
  return frame;
}

// The frame shrunk 4:1 by the preview with the given ILU filter.
videotest::Picture ShrinkFourToOne(FakeFrame& frame, ILint filter) {
  kdx::InitImageLibrary();
  iluImageParameter(ILU_FILTER, filter);
  kdx::CPreviewGrabberCB preview;
  preview.SetFrameSize(kWidth, kHeight);
  preview.SampleCB(0.0, &frame);
  HBITMAP bitmap = preview.MakeBitmap(SIZE{kWidth / 4, kHeight / 4}, 0, 0);
  if (bitmap == nullptr) return {};
  videotest::Picture shrunk = videotest::PictureOfBitmap(bitmap);
  DeleteObject(bitmap);
  return shrunk;
}

// Channel values of the picture furthest below and above `level`.
std::pair<int, int> Spread(const videotest::Picture& picture) {
  if (picture.pixels.empty()) return {-1, -1};
  const auto [low, high] = std::minmax_element(picture.pixels.begin(), picture.pixels.end());
  return {*low, *high};
}

TEST(ScaleStep, FilteredShrinkAveragesOnePixelDetail) {
  FakeFrame checkerboard = Pattern([](int x, int y) { return (x + y) % 2 == 0; });
  FakeFrame thinLines = Pattern([](int x, int) { return x % 4 == 1; });
  for (const ILint filter : {ILU_LINEAR, ILU_BILINEAR, ILU_SCALE_BOX, ILU_SCALE_BSPLINE, ILU_SCALE_LANCZOS3}) {
    SCOPED_TRACE(filter);
    const videotest::Picture grey = ShrinkFourToOne(checkerboard, filter);
    ASSERT_EQ(grey.width, kWidth / 4);
    ASSERT_EQ(grey.height, kHeight / 4);
    const auto [greyLow, greyHigh] = Spread(grey);
    EXPECT_GE(greyLow, 128 - 20);
    EXPECT_LE(greyHigh, 128 + 20);
    // A quarter of the columns lit: a quarter of the light everywhere.
    const auto [linesLow, linesHigh] = Spread(ShrinkFourToOne(thinLines, filter));
    EXPECT_GE(linesLow, 64 - 20);
    EXPECT_LE(linesHigh, 64 + 20);
  }
}

TEST(ScaleStep, NearestFilterKeepsPickingSourcePixels) {
  FakeFrame checkerboard = Pattern([](int x, int y) { return (x + y) % 2 == 0; });
  const videotest::Picture picked = ShrinkFourToOne(checkerboard, ILU_NEAREST);
  ASSERT_FALSE(picked.pixels.empty());
  for (const uint8_t value : picked.pixels) EXPECT_TRUE(value <= 3 || value >= 252) << int{value};
}

TEST(ScaleStep, KeepsTheTopOfThePictureOnTop) {
  FakeFrame frame = Pattern([](int, int y) { return y < kHeight / 4; });
  const videotest::Picture shrunk = ShrinkFourToOne(frame, ILU_SCALE_BSPLINE);
  ASSERT_EQ(shrunk.height, kHeight / 4);
  EXPECT_GE(shrunk.At(5, 0).g, 240);
  EXPECT_LE(shrunk.At(5, shrunk.height - 1).g, 15);
}

}  // namespace
