// SPDX-License-Identifier: GPL-2.0-or-later
// Decoded pictures: 24-bit RGB, rows from the top.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kdxreader {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3 bytes, top row first

  const uint8_t* Pixel(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

struct PictureSize {
  int width = 0;
  int height = 0;
};

// The size a JPEG's frame header states, read without decoding (so a
// damaged file cannot ask for a huge picture); nothing when it has none.
std::optional<PictureSize> ReadJpegSize(std::span<const uint8_t> jpeg);

// Decodes one JPEG with DevIL; nothing when it does not decode. DevIL keeps
// global state: call it from one thread at a time, and not while another
// thread works with DevIL. The caller's bound DevIL image stays bound.
std::optional<Picture> DecodeJpeg(std::span<const uint8_t> jpeg);

}  // namespace kdxreader
