// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/data/player_picture.h"

#include <algorithm>
#include <array>

namespace {

struct Colour {
  uint8_t r, g, b;
};

// Body colours, each with the darker shade of its outline and keys.
struct BodyStyle {
  Colour body, edge;
};
constexpr std::array<BodyStyle, 5> kStyles{{
    {{196, 198, 206}, {96, 98, 108}},   // silver
    {{58, 62, 70}, {20, 22, 26}},       // charcoal
    {{44, 78, 140}, {18, 36, 72}},      // blue
    {{164, 36, 48}, {80, 14, 22}},      // red
    {{232, 232, 236}, {128, 128, 136}}, // white
}};

constexpr Colour kBezel{16, 16, 20};
constexpr Colour kSkyTop{40, 110, 200};
constexpr Colour kSkyBottom{150, 205, 245};
constexpr Colour kPlaySign{250, 250, 250};
constexpr Colour kKeyFace{224, 226, 230};

class Canvas {
 public:
  explicit Canvas(PlayerPicture& picture) : m_picture(picture) {}

  void Put(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= PlayerPicture::kWidth || y >= PlayerPicture::kHeight) return;
    uint8_t* pixel = &m_picture.bgr[3 * (y * PlayerPicture::kWidth + x)];
    pixel[0] = colour.b;
    pixel[1] = colour.g;
    pixel[2] = colour.r;
  }

  void Fill(Colour colour) {
    for (int y = 0; y < PlayerPicture::kHeight; ++y)
      for (int x = 0; x < PlayerPicture::kWidth; ++x) Put(x, y, colour);
  }

  void Rect(int left, int top, int width, int height, Colour colour) {
    for (int y = top; y < top + height; ++y)
      for (int x = left; x < left + width; ++x) Put(x, y, colour);
  }

  // Hard edges only: a blended edge pixel would no longer be the exact
  // magenta the window leaves out, and would show as a pink fringe.
  void RoundedRect(int left, int top, int width, int height, int radius, Colour colour) {
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x) {
        int dx = std::max({left + radius - x, x - (left + width - 1 - radius), 0});
        int dy = std::max({top + radius - y, y - (top + height - 1 - radius), 0});
        if (dx * dx + dy * dy <= radius * radius) Put(x, y, colour);
      }
    }
  }

  void Disc(int centreX, int centreY, int radius, Colour colour) {
    RoundedRect(centreX - radius, centreY - radius, 2 * radius + 1, 2 * radius + 1, radius, colour);
  }

 private:
  PlayerPicture& m_picture;
};

Colour Mix(Colour a, Colour b, int step, int steps) {
  auto channel = [&](uint8_t from, uint8_t to) {
    return static_cast<uint8_t>(from + (to - from) * step / std::max(steps, 1));
  };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

// The screen: as large as the bezel allows at the model's proportions.
void DrawScreen(Canvas& canvas, int screenWidth, int screenHeight) {
  constexpr int kBezelLeft = 10, kBezelTop = 5, kBezelWidth = 40, kBezelHeight = 36;
  constexpr int kMaxWidth = kBezelWidth - 4, kMaxHeight = kBezelHeight - 4;
  if (screenWidth <= 0 || screenHeight <= 0) screenWidth = screenHeight = 1;
  int width = kMaxWidth;
  int height = kMaxWidth * screenHeight / screenWidth;
  if (height > kMaxHeight) {
    height = kMaxHeight;
    width = std::max(kMaxHeight * screenWidth / screenHeight, 4);
  }
  height = std::max(height, 4);
  canvas.RoundedRect(kBezelLeft, kBezelTop, kBezelWidth, kBezelHeight, 3, kBezel);
  int left = kBezelLeft + (kBezelWidth - width) / 2;
  int top = kBezelTop + (kBezelHeight - height) / 2;
  for (int row = 0; row < height; ++row) canvas.Rect(left, top + row, width, 1, Mix(kSkyTop, kSkyBottom, row, height - 1));
  // A play sign in the middle of the screen.
  int size = std::min(width, height) / 3;
  int centreX = left + width / 2, centreY = top + height / 2;
  for (int column = 0; column < size; ++column) {
    int half = (size - column) / 2;
    canvas.Rect(centreX - size / 3 + column, centreY - half, 1, 2 * half + 1, kPlaySign);
  }
}

}  // namespace

uint32_t PlayerPicture::Pixel(int x, int y) const {
  const uint8_t* pixel = &bgr.at(3 * (y * kWidth + x));
  return static_cast<uint32_t>(pixel[2]) << 16 | static_cast<uint32_t>(pixel[1]) << 8 | pixel[0];
}

PlayerPicture DrawPlayerPicture(int screenWidth, int screenHeight, unsigned style) {
  PlayerPicture picture;
  Canvas canvas(picture);
  const BodyStyle& colours = kStyles[style % kStyles.size()];
  canvas.Fill({0xFF, 0x00, 0xFF});
  canvas.RoundedRect(6, 0, 48, 67, 7, colours.edge);
  canvas.RoundedRect(7, 1, 46, 65, 6, colours.body);
  DrawScreen(canvas, screenWidth, screenHeight);
  // The round navigation pad with its centre key, and a key on each side.
  canvas.Disc(30, 53, 9, colours.edge);
  canvas.Disc(30, 53, 3, kKeyFace);
  canvas.RoundedRect(11, 51, 7, 5, 1, colours.edge);
  canvas.RoundedRect(42, 51, 7, 5, 1, colours.edge);
  return picture;
}

std::string EncodeBmp24(const PlayerPicture& picture) {
  constexpr int kHeaderBytes = 14 + 40;
  constexpr int kRowBytes = (3 * PlayerPicture::kWidth + 3) / 4 * 4;
  constexpr int kFileBytes = kHeaderBytes + kRowBytes * PlayerPicture::kHeight;
  std::string file;
  file.reserve(kFileBytes);
  auto put16 = [&](uint32_t value) {
    file.push_back(static_cast<char>(value & 0xFF));
    file.push_back(static_cast<char>(value >> 8 & 0xFF));
  };
  auto put32 = [&](uint32_t value) {
    put16(value & 0xFFFF);
    put16(value >> 16);
  };
  file += "BM";
  put32(kFileBytes);
  put32(0);  // reserved
  put32(kHeaderBytes);
  put32(40);  // size of the information header
  put32(PlayerPicture::kWidth);
  put32(PlayerPicture::kHeight);  // positive: rows stored bottom-up
  put16(1);                       // planes
  put16(24);                      // bits per pixel
  put32(0);                       // no compression
  put32(kRowBytes * PlayerPicture::kHeight);
  put32(2835);  // 72 dots per inch, as pixels per metre
  put32(2835);
  put32(0);  // no palette
  put32(0);
  for (int y = PlayerPicture::kHeight - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const char*>(&picture.bgr[3 * y * PlayerPicture::kWidth]);
    file.append(row, 3 * PlayerPicture::kWidth);
    file.append(kRowBytes - 3 * PlayerPicture::kWidth, '\0');
  }
  return file;
}
