// SPDX-License-Identifier: GPL-2.0-or-later
// The shape frames are delivered in: square pixels, turned upright.
#include <gtest/gtest.h>

#include <cmath>

#include "graph/display_shape.h"

namespace {

using kdx::ShapeFor;

TEST(DisplayShape, SquarePixelsKeepTheHeightAndStretchTheWidth) {
  struct Case {
    int width, height;
    AVRational sampleAspect;
    int deliveredWidth;
  } cases[] = {
      {720, 480, {32, 27}, 853},   // NTSC widescreen DVD
      {720, 576, {64, 45}, 1024},  // PAL widescreen DVD
      {720, 480, {8, 9}, 640},     // NTSC 4:3
      {1440, 1080, {4, 3}, 1920},  // HDV
      {640, 480, {1, 1}, 640},
      {640, 480, {0, 1}, 640},     // unknown
      {640, 480, {1, 0}, 640},
      {640, 480, {100, 1}, 640},   // no picture is stretched that far
      {640, 480, {1, 100}, 640},
  };
  for (const Case& c : cases) {
    const kdx::DisplayShape shape = ShapeFor(c.width, c.height, c.sampleAspect, {});
    EXPECT_EQ(shape.Width(), c.deliveredWidth) << c.sampleAspect.num << ":" << c.sampleAspect.den;
    EXPECT_EQ(shape.Height(), c.height);
  }
}

TEST(DisplayShape, QuarterAndHalfTurnsAreTakenOthersIgnored) {
  struct Case {
    double degrees;
    int turns;
  } cases[] = {{0, 0},   {90, 1},   {180, 2},  {270, 3},   {-90, 3},        {-180, 2}, {450, 1},
               {89.6, 1}, {45, 0}, {100, 0}, {1e300, 0}, {std::nan(""), 0}, {INFINITY, 0}};
  for (const Case& c : cases) {
    const kdx::DisplayShape shape = ShapeFor(320, 240, {1, 1}, kdx::TurnOfDegrees(c.degrees));
    EXPECT_EQ(shape.turn.clockwiseQuarterTurns, c.turns) << c.degrees;
    EXPECT_EQ(shape.Width(), c.turns % 2 ? 240 : 320) << c.degrees;
  }
  // Both at once: the stretched picture is what turns.
  const kdx::DisplayShape portrait = ShapeFor(720, 480, {32, 27}, kdx::TurnOfDegrees(90));
  EXPECT_EQ(portrait.Width(), 480);
  EXPECT_EQ(portrait.Height(), 853);
}

}  // namespace
