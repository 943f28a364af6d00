// SPDX-License-Identifier: GPL-2.0-or-later
// A 24-bit BGR picture in memory, read by rows as the picture is seen,
// whatever its row order and row spacing in memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kdx {

struct ImageView {
  uint8_t* data = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  bool bottomUp = true;   // the first row in memory is the picture's bottom row
  size_t rowStride = 0;   // bytes from one row to the next; 0 when packed

  size_t RowBytes() const { return static_cast<size_t>(width) * 3; }
  size_t Stride() const { return rowStride != 0 ? rowStride : RowBytes(); }
  // Of a packed picture.
  size_t Bytes() const { return RowBytes() * static_cast<size_t>(height); }
  // Row y counted from the top of the picture as seen.
  uint8_t* RowFromTop(int32_t y) const {
    const int32_t memoryRow = bottomUp ? height - 1 - y : y;
    return data + Stride() * static_cast<size_t>(memoryRow);
  }
  bool Empty() const { return data == nullptr || width <= 0 || height <= 0; }
};

}  // namespace kdx
