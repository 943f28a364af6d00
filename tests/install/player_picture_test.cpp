// SPDX-License-Identifier: GPL-2.0-or-later
// The pictures of the player models: drawn on the magenta the window leaves
// out, with a screen of the model's shape, stored as 24-bit BMP files.
#include "converter/data/player_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/install/table_models.h"
#include "tests/support/test_paths.h"

#ifdef KDX_TEST_WITH_QT
#include <QImage>
#endif

namespace {

TEST(PlayerPicture, PlayerStandsOnMagentaWithAScreenOfTheModelsShape) {
  for (auto [width, height] : {std::pair{128, 128}, {176, 220}, {96, 64}, {320, 240}, {0, 0}}) {
    for (unsigned style = 0; style < 6; ++style) {
      SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " style " + std::to_string(style));
      PlayerPicture picture = DrawPlayerPicture(width, height, style);
      for (auto [x, y] : {std::pair{0, 0}, {59, 0}, {0, 66}, {59, 66}, {2, 33}, {57, 33}})
        EXPECT_EQ(picture.Pixel(x, y), kTransparentColour);
      for (int y = 1; y < PlayerPicture::kHeight - 1; ++y) ASSERT_NE(picture.Pixel(30, y), kTransparentColour) << y;

      // The screen's sky-blue pixels span the model's proportions.
      int left = PlayerPicture::kWidth, right = -1, top = PlayerPicture::kHeight, bottom = -1;
      for (int y = 0; y < PlayerPicture::kHeight; ++y) {
        for (int x = 0; x < PlayerPicture::kWidth; ++x) {
          uint32_t pixel = picture.Pixel(x, y);
          int r = pixel >> 16, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
          if (b - r < 60 || g < 100) continue;
          left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
        }
      }
      ASSERT_GE(std::min(right - left, bottom - top), 20);
      double model = width > 0 ? static_cast<double>(width) / height : 1.0;
      EXPECT_NEAR(static_cast<double>(right - left + 1) / (bottom - top + 1), model, 0.1 * model);
    }
  }
}

// The build draws a picture for every model of the device table beside the
// programs; each reads back as drawn, the way the window reads it.
TEST(PlayerPicture, EveryModelOfTheTableHasItsPicture) {
  std::vector<std::string> models = kdxtest::ModelNames(kdxtest::BinPath("TesselDeviceConfig.xml"));
  ASSERT_GE(models.size(), 5u);
  for (size_t i = 0; i < models.size(); ++i) {
    std::string path = kdxtest::BinPath(models[i] + ".bmp");
    std::string file = kdxtest::ReadFile(path);
    ASSERT_EQ(file.size(), 54u + 3 * PlayerPicture::kWidth * PlayerPicture::kHeight) << path;
#ifdef KDX_TEST_WITH_QT
    QImage image(QString::fromStdString(path));
    ASSERT_EQ(image.size(), QSize(PlayerPicture::kWidth, PlayerPicture::kHeight)) << path;
    PlayerPicture drawn = DrawPlayerPicture(0, 0, static_cast<unsigned>(i));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, kTransparentColour);
    // The key pad sits low in the picture: rows stored the wrong way up would move it.
    for (int y = 45; y < PlayerPicture::kHeight; ++y)
      for (int x = 0; x < PlayerPicture::kWidth; ++x) ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, drawn.Pixel(x, y)) << x << "," << y;
#endif
  }
}

}  // namespace
