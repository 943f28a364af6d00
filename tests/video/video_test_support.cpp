// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/video/video_test_support.h"

#include <IL/il.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/base/bitmap.h"

namespace videotest {

Bgr PaletteColour(int index) {
  const int i = index % 8;
  return Bgr{static_cast<uint8_t>(i & 1 ? 230 : 20), static_cast<uint8_t>(i & 2 ? 230 : 20),
             static_cast<uint8_t>(i & 4 ? 230 : 20)};
}

bool Near(Bgr a, Bgr b, int tolerance) {
  return std::abs(a.b - b.b) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.r - b.r) <= tolerance;
}

FakeFrame::FakeFrame(int32_t width, int32_t height, Bgr fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 3) {
  Paint(0, 0, width, height, fill);
}

void FakeFrame::Paint(int32_t x, int32_t y, int32_t width, int32_t height, Bgr colour) {
  for (int32_t row = y; row < y + height; ++row) {
    uint8_t* line = pixels_.data() + static_cast<size_t>(height_ - 1 - row) * width_ * 3;  // bottom-up
    for (int32_t col = x; col < x + width; ++col) {
      line[col * 3] = colour.b;
      line[col * 3 + 1] = colour.g;
      line[col * 3 + 2] = colour.r;
    }
  }
}

void FakeFrame::PaintNoise(uint32_t seed) {
  for (uint8_t& byte : pixels_) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(seed >> 24);
  }
}

const uint8_t* FakeFrame::GetPointer() {
  ++pointerCalls;
  return pixels_.data();
}

int32_t FakeFrame::GetActualDataLength() { return static_cast<int32_t>(pixels_.size()); }

Bgr Picture::At(int32_t x, int32_t y) const {
  const uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 3;
  return Bgr{p[0], p[1], p[2]};
}

Picture DecodeJpeg(const std::vector<uint8_t>& jpeg) {
  Picture picture;
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  if (ilLoadL(IL_JPG, jpeg.data(), static_cast<ILuint>(jpeg.size())) && ilConvertImage(IL_BGR, IL_UNSIGNED_BYTE)) {
    picture.width = ilGetInteger(IL_IMAGE_WIDTH);
    picture.height = ilGetInteger(IL_IMAGE_HEIGHT);
    const bool bottomUp = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT;
    const size_t row = static_cast<size_t>(picture.width) * 3;
    const uint8_t* data = ilGetData();
    picture.pixels.resize(row * picture.height);
    for (int32_t y = 0; y < picture.height; ++y) {
      const int32_t memoryRow = bottomUp ? picture.height - 1 - y : y;
      std::copy(data + row * memoryRow, data + row * (memoryRow + 1), picture.pixels.begin() + row * y);
    }
  }
  ilDeleteImages(1, &image);
  return picture;
}

Picture PictureOfBitmap(void* bitmap) {
  Picture picture;
  auto* handle = static_cast<HBITMAP>(bitmap);
  if (!GetBitmapSize(handle, &picture.width, &picture.height)) return picture;
  const uint8_t* top = GetBitmapPixels(handle);
  picture.pixels.assign(top, top + static_cast<size_t>(picture.width) * picture.height * 3);
  return picture;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::vector<uint8_t>> ReadChunkJpegs(const std::string& path, int32_t S) {
  const std::vector<uint8_t> bytes = ReadFile(path);
  std::vector<std::vector<uint8_t>> jpegs;
  for (size_t at = 0; at + S <= bytes.size(); at += S) {
    const size_t length = bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16;
    const size_t kept = std::min(length, static_cast<size_t>(S) - 3);
    jpegs.emplace_back(bytes.begin() + at + 3, bytes.begin() + at + 3 + kept);
  }
  return jpegs;
}

}  // namespace videotest
