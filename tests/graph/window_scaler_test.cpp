// SPDX-License-Identifier: GPL-2.0-or-later
// A window of a decoded picture made into a small upright picture in one
// step: for every delivered turn, every further turn and mirror, odd crop
// offsets and stretched pixels, each output pixel shows the part of the
// picture it should, undone step by step back to the stored pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "graph/ffmpeg_handles.h"
#include "pixels/window_scaler.h"

namespace {

constexpr int kStoredWidth = 144, kStoredHeight = 96, kBlock = 24;
// Shown twice as wide as stored, per pixel, at 4:3 of the stored width.
constexpr int kStretchedWidth = 192, kStretchedHeight = 96;

struct Yuv {
  int y, u, v;
};
const Yuv kPalette[] = {{41, 240, 110}, {145, 54, 34},  {81, 90, 240},  {210, 16, 146}, {170, 166, 16}, {107, 202, 222},
                        {235, 128, 128}, {16, 128, 128}, {128, 128, 128}, {60, 170, 60}, {190, 100, 180}, {100, 60, 140}};

int Clamp(double value) { return std::clamp(static_cast<int>(std::lround(value)), 0, 255); }

// BT.601, limited range, as BGR.
std::array<int, 3> Bgr(const Yuv& c) {
  const double y = 1.164 * (c.y - 16), u = c.u - 128, v = c.v - 128;
  return {Clamp(y + 2.018 * u), Clamp(y - 0.391 * u - 0.813 * v), Clamp(y + 1.596 * v)};
}

const Yuv& BlockAt(int x, int y) { return kPalette[(x / kBlock + 5 * (y / kBlock)) % std::size(kPalette)]; }

kdx::FramePtr BlockFrame() {
  kdx::FramePtr frame(av_frame_alloc());
  frame->format = AV_PIX_FMT_YUV420P;
  frame->width = kStoredWidth;
  frame->height = kStoredHeight;
  if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
  for (int y = 0; y < kStoredHeight; ++y) {
    for (int x = 0; x < kStoredWidth; ++x) {
      const Yuv& c = BlockAt(x, y);
      frame->data[0][y * frame->linesize[0] + x] = static_cast<uint8_t>(c.y);
      frame->data[1][y / 2 * frame->linesize[1] + x / 2] = static_cast<uint8_t>(c.u);
      frame->data[2][y / 2 * frame->linesize[2] + x / 2] = static_cast<uint8_t>(c.v);
    }
  }
  return frame;
}

struct Point {
  double x, y;
};

// Undoes a clockwise quarter-turn count on a point of a picture that was
// width x height before it was turned.
Point Unturn(Point p, int turns, double width, double height) {
  switch (turns) {
    case 1:
      return {p.y, height - p.x};
    case 2:
      return {width - p.x, height - p.y};
    case 3:
      return {width - p.y, p.x};
    default:
      return p;
  }
}

struct Case {
  int deliveredTurns;
  int rotate;
  int flip;
};

TEST(WindowScaler, EveryTurnMirrorAndCropShowsTheRightPartOfThePicture) {
  const kdx::FramePtr frame = BlockFrame();
  ASSERT_TRUE(frame);
  std::vector<Case> cases;
  for (int delivered : {0, 1, 3})
    for (int rotate = 0; rotate <= 3; ++rotate)
      for (int flip = 0; flip <= 2; ++flip) cases.push_back({delivered, rotate, flip});
  kdx::WindowScaler scaler;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "delivered " << c.deliveredTurns << " rotate " << c.rotate << " flip " << c.flip);
    const kdx::PictureView delivered{kStretchedWidth, kStretchedHeight, c.deliveredTurns, false};
    const kdx::PictureView view = delivered.Then(c.rotate, c.flip);
    ASSERT_GT(view.SeenWidth(), 0);
    // An off-centre window with odd offsets, shrunk about 2:1.
    const kdx::Window window{7, 13, view.SeenWidth() - 20, view.SeenHeight() - 18};
    const int width = window.width / 2, height = window.height / 2 + 1;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    const kdx::ImageView target{pixels.data(), width, height, true};
    ASSERT_TRUE(scaler.Scale(kdx::SeenPicture{kdx::PictureOfFrame(*frame), view}, window, SWS_BICUBIC, target));

    const double deliveredWidth = delivered.SeenWidth(), deliveredHeight = delivered.SeenHeight();
    const bool quarter = c.rotate == 1 || c.rotate == 3;
    const double turnedWidth = quarter ? deliveredHeight : deliveredWidth;
    const double turnedHeight = quarter ? deliveredWidth : deliveredHeight;
    int checked = 0, wrong = 0;
    for (int oy = 0; oy < height; ++oy) {
      for (int ox = 0; ox < width; ++ox) {
        Point p{window.x + (ox + 0.5) * window.width / width, window.y + (oy + 0.5) * window.height / height};
        if (c.flip == 1) p.x = turnedWidth - p.x;
        if (c.flip == 2) p.y = turnedHeight - p.y;
        p = Unturn(p, c.rotate >= 1 && c.rotate <= 3 ? c.rotate : 0, deliveredWidth, deliveredHeight);
        p = Unturn(p, c.deliveredTurns, kStretchedWidth, kStretchedHeight);
        const double sx = p.x * kStoredWidth / kStretchedWidth, sy = p.y * kStoredHeight / kStretchedHeight;
        // Only points well inside a block have one colour to show.
        const double fromEdgeX = std::fmod(sx, kBlock), fromEdgeY = std::fmod(sy, kBlock);
        if (std::min(fromEdgeX, kBlock - fromEdgeX) < 7 || std::min(fromEdgeY, kBlock - fromEdgeY) < 7) continue;
        const auto expected = Bgr(BlockAt(static_cast<int>(sx), static_cast<int>(sy)));
        const uint8_t* got = target.RowFromTop(oy) + 3 * ox;
        ++checked;
        for (int k = 0; k < 3; ++k) wrong += std::abs(got[k] - expected[k]) > 6;
      }
    }
    EXPECT_GT(checked, width * height / 8);
    EXPECT_EQ(wrong, 0);
  }
}

TEST(WindowScaler, RefusesAWindowOutsideThePicture) {
  const kdx::FramePtr frame = BlockFrame();
  ASSERT_TRUE(frame);
  std::vector<uint8_t> pixels(16 * 16 * 3, 7);
  const kdx::ImageView target{pixels.data(), 16, 16, true};
  const kdx::SeenPicture picture{kdx::PictureOfFrame(*frame), {kStretchedWidth, kStretchedHeight, 1, false}};
  kdx::WindowScaler scaler;
  // Turned, the picture is 96 wide and 192 high.
  EXPECT_FALSE(scaler.Scale(picture, kdx::Window{1, 0, 96, 192}, SWS_BICUBIC, target));
  EXPECT_FALSE(scaler.Scale(picture, kdx::Window{0, 0, 0, 192}, SWS_BICUBIC, target));
  EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](uint8_t v) { return v == 7; }));
  EXPECT_TRUE(scaler.Scale(picture, kdx::Window{0, 0, 96, 192}, SWS_BICUBIC, target));
}

}  // namespace
