// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/bitmap.h"

#include <cstring>
#include <new>
#include <vector>

struct Bitmap {
  int32_t width;
  int32_t height;
  std::vector<uint8_t> pixels;  // top-down BGR rows
};

extern "C" HBITMAP CreateBitmapFromBGR24(int32_t width, int32_t height, const uint8_t* pixels, BOOL bottomUp) {
  if (width <= 0 || height <= 0 || pixels == nullptr) return nullptr;
  const size_t row = static_cast<size_t>(width) * 3;
  auto* bitmap = new (std::nothrow) Bitmap{width, height, {}};
  if (bitmap == nullptr) return nullptr;
  bitmap->pixels.resize(row * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    const int32_t source_row = bottomUp ? height - 1 - y : y;
    std::memcpy(bitmap->pixels.data() + row * y, pixels + row * source_row, row);
  }
  return bitmap;
}

extern "C" BOOL GetBitmapSize(HBITMAP bitmap, int32_t* width, int32_t* height) {
  if (bitmap == nullptr) return FALSE;
  if (width != nullptr) *width = bitmap->width;
  if (height != nullptr) *height = bitmap->height;
  return TRUE;
}

extern "C" const uint8_t* GetBitmapPixels(HBITMAP bitmap) {
  return bitmap == nullptr ? nullptr : bitmap->pixels.data();
}

extern "C" BOOL DeleteObject(HGDIOBJ object) {
  if (object == nullptr) return FALSE;
  delete static_cast<Bitmap*>(object);
  return TRUE;
}
