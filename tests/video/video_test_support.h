// SPDX-License-Identifier: GPL-2.0-or-later
// Synthetic frames, JPEG decoding and chunk-record reading for the video
// pipeline tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graph/media_sample.h"

namespace videotest {

struct Bgr {
  uint8_t b = 0, g = 0, r = 0;
};

// Eight colours far apart from each other.
Bgr PaletteColour(int index);
// True when the two colours differ by at most tolerance in every channel.
bool Near(Bgr a, Bgr b, int tolerance = 24);

// A decoded frame as the graph hands it over: bottom-up BGR rows, converted
// only when GetPointer is called (counted).
class FakeFrame : public kdx::IMediaSample {
 public:
  FakeFrame(int32_t width, int32_t height, Bgr fill);
  // Paints a rectangle given from the top-left corner as the picture is seen.
  void Paint(int32_t x, int32_t y, int32_t width, int32_t height, Bgr colour);
  void PaintNoise(uint32_t seed);
  const uint8_t* GetPointer() override;
  int32_t GetActualDataLength() override;
  int pointerCalls = 0;

 private:
  int32_t width_, height_;
  std::vector<uint8_t> pixels_;
};

// A picture with rows from the top as seen.
struct Picture {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> pixels;  // top-down BGR
  Bgr At(int32_t x, int32_t y) const;
};

Picture DecodeJpeg(const std::vector<uint8_t>& jpeg);
Picture PictureOfBitmap(void* bitmap);

// The JPEG of each S-byte chunk record of a ".video" file.
std::vector<std::vector<uint8_t>> ReadChunkJpegs(const std::string& path, int32_t S);
// The records' raw bytes.
std::vector<uint8_t> ReadFile(const std::string& path);

}  // namespace videotest
