// The pictures of the player models: drawn on the magenta the window leaves
// out, with a screen of the model's shape, stored as 24-bit BMP files.
#include "player_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

#include "test_paths.h"

#ifdef KDX_TEST_WITH_QT
#include <QImage>
#endif

namespace {

// Bounding box of the screen's sky-blue pixels.
struct Box {
  int left = PlayerPicture::kWidth, top = PlayerPicture::kHeight, right = -1, bottom = -1;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

Box ScreenBox(const PlayerPicture& picture) {
  Box box;
  for (int y = 0; y < PlayerPicture::kHeight; ++y) {
    for (int x = 0; x < PlayerPicture::kWidth; ++x) {
      uint32_t pixel = picture.Pixel(x, y);
      int r = pixel >> 16, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
      if (b - r < 60 || g < 100) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

uint32_t Read32(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

TEST(PlayerPicture, PlayerStandsOnMagentaWithAScreenOfTheModelsShape) {
  struct Case {
    int width, height;
  };
  for (Case screen : {Case{128, 128}, Case{176, 220}, Case{96, 64}, Case{320, 240}, Case{0, 0}}) {
    for (unsigned style = 0; style < 6; ++style) {
      PlayerPicture picture = DrawPlayerPicture(screen.width, screen.height, style);
      SCOPED_TRACE(std::to_string(screen.width) + "x" + std::to_string(screen.height) + " style " +
                   std::to_string(style));
      for (auto [x, y] : {std::pair{0, 0}, {59, 0}, {0, 66}, {59, 66}, {2, 33}, {57, 33}})
        EXPECT_EQ(picture.Pixel(x, y), kTransparentColour);
      // The player itself is solid from top to bottom down its middle.
      for (int y = 1; y < PlayerPicture::kHeight - 1; ++y) ASSERT_NE(picture.Pixel(30, y), kTransparentColour) << y;

      Box box = ScreenBox(picture);
      ASSERT_GE(box.width(), 20);
      ASSERT_GE(box.height(), 20);
      double shown = static_cast<double>(box.width()) / box.height();
      double model = screen.width > 0 ? static_cast<double>(screen.width) / screen.height : 1.0;
      EXPECT_NEAR(shown, model, 0.1 * model);
    }
  }
}

TEST(PlayerPicture, BmpFileHoldsTheRowsBottomUp) {
  PlayerPicture picture = DrawPlayerPicture(176, 220, 1);
  std::string file = EncodeBmp24(picture);
  const size_t rowBytes = 3 * PlayerPicture::kWidth;  // already a multiple of 4
  ASSERT_EQ(file.size(), 54 + rowBytes * PlayerPicture::kHeight);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(Read32(file, 2), file.size());
  EXPECT_EQ(Read32(file, 10), 54u);
  EXPECT_EQ(Read32(file, 18), static_cast<uint32_t>(PlayerPicture::kWidth));
  EXPECT_EQ(Read32(file, 22), static_cast<uint32_t>(PlayerPicture::kHeight));
  EXPECT_EQ(Read32(file, 28) & 0xFFFF, 24u);
  EXPECT_EQ(Read32(file, 30), 0u);
  for (int y = 0; y < PlayerPicture::kHeight; ++y) {
    size_t stored = 54 + rowBytes * (PlayerPicture::kHeight - 1 - y);
    ASSERT_EQ(std::memcmp(file.data() + stored, &picture.bgr[rowBytes * y], rowBytes), 0) << "row " << y;
  }
}

// The build draws one picture per model of the device table beside the
// programs; each loads as the window loads it.
TEST(PlayerPicture, EveryModelOfTheTableHasItsPicture) {
  std::string table = kdxtest::ReadFile(kdxtest::BinPath("TesselDeviceConfig.xml"));
  std::regex modelName("<ModelName>([^<]*)</ModelName>");
  int models = 0;
  for (std::sregex_iterator it(table.begin(), table.end(), modelName), end; it != end; ++it, ++models) {
    std::string path = kdxtest::BinPath((*it)[1].str() + ".bmp");
    std::string file = kdxtest::ReadFile(path);
    ASSERT_EQ(file.substr(0, 2), "BM") << path;
#ifdef KDX_TEST_WITH_QT
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull()) << path;
    EXPECT_EQ(image.size(), QSize(PlayerPicture::kWidth, PlayerPicture::kHeight));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, kTransparentColour);
    EXPECT_NE(image.pixel(30, 33) & 0xFFFFFF, kTransparentColour);
#endif
  }
  EXPECT_GE(models, 5);
}

}  // namespace
