// SPDX-License-Identifier: GPL-2.0-or-later
// The picture of a player model shown beside the player selector: a small
// drawing of a media player on a magenta (0xFF00FF) background, which the
// window leaves out when it draws the picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PlayerPicture {
  static constexpr int kWidth = 60;
  static constexpr int kHeight = 67;
  // Top-down rows of blue, green, red bytes, 3 x kWidth bytes each.
  std::vector<uint8_t> bgr = std::vector<uint8_t>(3 * kWidth * kHeight);

  uint32_t Pixel(int x, int y) const;  // 0xRRGGBB
};

inline constexpr uint32_t kTransparentColour = 0xFF00FF;

// Draws a player whose screen has the shape of screenWidth x screenHeight
// (a square screen when either is not positive), in the body colour chosen
// by `style` (any number; the colours repeat).
PlayerPicture DrawPlayerPicture(int screenWidth, int screenHeight, unsigned style);

// The picture as a 24-bit uncompressed BMP file.
std::string EncodeBmp24(const PlayerPicture& picture);
