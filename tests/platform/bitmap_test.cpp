// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "platform/base/bitmap.h"

namespace {

TEST(Bitmap, KeepsSizeAndTurnsBottomUpRowsTopDown) {
  // Two rows of two pixels, bottom row first.
  const uint8_t pixels[12] = {1, 1, 1, 2, 2, 2, /* top row: */ 9, 9, 9, 8, 8, 8};
  HBITMAP bitmap = CreateBitmapFromBGR24(2, 2, pixels, TRUE);
  ASSERT_NE(bitmap, nullptr);
  int32_t w = 0, h = 0;
  ASSERT_TRUE(GetBitmapSize(bitmap, &w, &h));
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  const uint8_t* top = GetBitmapPixels(bitmap);
  EXPECT_EQ(top[0], 9);
  EXPECT_EQ(top[3], 8);
  EXPECT_EQ(top[6], 1);
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(Bitmap, RefusesEmptySizesAndNullObjects) {
  const uint8_t pixel[3] = {0, 0, 0};
  EXPECT_EQ(CreateBitmapFromBGR24(0, 1, pixel, FALSE), nullptr);
  EXPECT_EQ(CreateBitmapFromBGR24(1, 1, nullptr, FALSE), nullptr);
  EXPECT_FALSE(GetBitmapSize(nullptr, nullptr, nullptr));
  EXPECT_FALSE(DeleteObject(nullptr));
}

}  // namespace
