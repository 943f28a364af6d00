// SPDX-License-Identifier: GPL-2.0-or-later
// Turning and mirroring, checked exactly through the preview bitmap, which
// shares the turn routine with the conversion pipeline.
#include <gtest/gtest.h>

#include <IL/il.h>
#include <IL/ilu.h>

#include "platform/base/bitmap.h"
#include "video/image_library.h"
#include "video/preview_grabber_cb.h"
#include "tests/video/video_test_support.h"

namespace {

using videotest::Bgr;
using videotest::FakeFrame;

const Bgr kBackground{200, 40, 40};
const Bgr kMarker{0, 0, 255};

enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };

struct TurnCase {
  int rotate;
  int flip;
  Corner marker;  // where the frame's top-left marker ends up as seen
};

class PreviewTurn : public ::testing::TestWithParam<TurnCase> {
 protected:
  void SetUp() override {
    kdx::InitImageLibrary();
    iluImageParameter(ILU_FILTER, ILU_NEAREST);
  }
};

TEST_P(PreviewTurn, MovesTheTopLeftMarkerToTheExpectedCorner) {
  const TurnCase& c = GetParam();
  constexpr int kWidth = 40, kHeight = 30, kMark = 4;
  FakeFrame frame(kWidth, kHeight, kBackground);
  frame.Paint(0, 0, kMark, kMark, kMarker);
  kdx::CPreviewGrabberCB preview;
  preview.SetFrameSize(kWidth, kHeight);
  preview.SampleCB(0.0, &frame);

  const bool quarter = c.rotate == 1 || c.rotate == 3;
  const SIZE size{quarter ? kHeight : kWidth, quarter ? kWidth : kHeight};
  HBITMAP bitmap = preview.MakeBitmap(size, c.rotate, c.flip);
  ASSERT_NE(bitmap, nullptr);
  const videotest::Picture seen = videotest::PictureOfBitmap(bitmap);
  DeleteObject(bitmap);
  ASSERT_EQ(seen.width, size.cx);
  ASSERT_EQ(seen.height, size.cy);

  const bool right = c.marker == Corner::TopRight || c.marker == Corner::BottomRight;
  const bool bottom = c.marker == Corner::BottomLeft || c.marker == Corner::BottomRight;
  int marked = 0;
  for (int y = 0; y < seen.height; ++y) {
    for (int x = 0; x < seen.width; ++x) {
      const bool inCorner = (right ? x >= seen.width - kMark : x < kMark) &&
                            (bottom ? y >= seen.height - kMark : y < kMark);
      const Bgr expected = inCorner ? kMarker : kBackground;
      const Bgr pixel = seen.At(x, y);
      marked += inCorner;
      ASSERT_TRUE(videotest::Near(pixel, expected, 0)) << "pixel " << x << "," << y;
    }
  }
  EXPECT_EQ(marked, kMark * kMark);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PreviewTurn,
    ::testing::Values(TurnCase{0, 0, Corner::TopLeft}, TurnCase{1, 0, Corner::TopRight},
                      TurnCase{2, 0, Corner::BottomRight}, TurnCase{3, 0, Corner::BottomLeft},
                      TurnCase{0, 1, Corner::TopRight}, TurnCase{0, 2, Corner::BottomLeft},
                      TurnCase{1, 1, Corner::TopLeft}, TurnCase{3, 1, Corner::BottomRight}));

TEST(Preview, BitmapHasExactlyTheAskedSizeForEveryTurn) {
  kdx::InitImageLibrary();
  FakeFrame frame(64, 48, kBackground);
  kdx::CPreviewGrabberCB preview;
  preview.SetFrameSize(64, 48);
  EXPECT_EQ(preview.MakeBitmap(SIZE{100, 80}, 0, 0), nullptr);  // no frame yet
  preview.SampleCB(0.0, &frame);
  EXPECT_EQ(preview.MakeBitmap(SIZE{0, 80}, 0, 0), nullptr);
  for (int rotate = 0; rotate <= 3; ++rotate) {
    HBITMAP bitmap = preview.MakeBitmap(SIZE{100, 80}, rotate, 1);
    ASSERT_NE(bitmap, nullptr);
    int32_t w = 0, h = 0;
    GetBitmapSize(bitmap, &w, &h);
    EXPECT_EQ(w, 100) << "rotate " << rotate;
    EXPECT_EQ(h, 80) << "rotate " << rotate;
    DeleteObject(bitmap);
  }
}

TEST(Preview, FrameShorterThanItsSizeGivesNoBitmap) {
  kdx::InitImageLibrary();
  FakeFrame frame(32, 24, kBackground);
  kdx::CPreviewGrabberCB preview;
  preview.SetFrameSize(64, 48);
  preview.SampleCB(0.0, &frame);
  EXPECT_EQ(preview.MakeBitmap(SIZE{64, 48}, 0, 0), nullptr);
}

TEST(ImageLibrary, StartsAgainAfterShutdown) {
  kdx::InitImageLibrary();
  kdx::ShutdownImageLibrary();
  EXPECT_FALSE(kdx::IsImageLibraryInitialised());
  kdx::InitImageLibrary();
  ASSERT_TRUE(kdx::IsImageLibraryInitialised());
  EXPECT_NE(kdx::WorkImage(), kdx::ChunkImage());
  FakeFrame frame(16, 16, kMarker);
  kdx::CPreviewGrabberCB preview;
  preview.SetFrameSize(16, 16);
  preview.SampleCB(0.0, &frame);
  HBITMAP bitmap = preview.MakeBitmap(SIZE{8, 8}, 2, 0);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_TRUE(videotest::Near(videotest::PictureOfBitmap(bitmap).At(3, 3), kMarker, 0));
  DeleteObject(bitmap);
}

}  // namespace
