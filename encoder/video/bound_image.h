// Access to the pixels of the image bound in the image library, by rows as
// the picture is seen, whatever the image's row order in memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform_types.h"

namespace kdx {

// A 24-bit BGR picture in memory; bottomUp tells that the first row in
// memory is the picture's bottom row.
struct ImageView {
  uint8_t* data = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  bool bottomUp = true;

  size_t RowBytes() const { return static_cast<size_t>(width) * 3; }
  size_t Bytes() const { return RowBytes() * static_cast<size_t>(height); }
  // Row y counted from the top of the picture as seen.
  uint8_t* RowFromTop(int32_t y) const {
    const int32_t memoryRow = bottomUp ? height - 1 - y : y;
    return data + RowBytes() * static_cast<size_t>(memoryRow);
  }
  bool Empty() const { return data == nullptr || width <= 0 || height <= 0; }
};

// Converts the bound image to 8-bit BGR when it is held otherwise (a frame
// hook may have changed it) and returns its pixels.
ImageView ViewBoundImage();

// Defines the bound image as width x height BGR pixels, copied from pixels
// (bottom-up rows, 3 x width bytes each) or uninitialised when null.
bool DefineBoundImage(int32_t width, int32_t height, const uint8_t* pixels);

// A new bitmap of the bound image, or null when it holds no picture.
HBITMAP BitmapFromBoundImage();

}  // namespace kdx
