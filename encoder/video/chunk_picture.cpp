// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/chunk_picture.h"

#include <algorithm>
#include <cstring>

namespace kdx {

bool PlaceFrameInSlot(const ImageView& frame, const ImageView& chunk, int32_t slot, int32_t slotHeight) {
  if (frame.Empty() || chunk.Empty() || frame.width != chunk.width || frame.height > slotHeight || slot < 0 ||
      static_cast<int64_t>(slot + 1) * slotHeight > chunk.height)
    return false;
  for (int32_t row = 0; row < slotHeight; ++row) {
    const uint8_t* source = frame.RowFromTop(std::min(row, frame.height - 1));
    std::memcpy(chunk.RowFromTop(slot * slotHeight + row), source, frame.RowBytes());
  }
  return true;
}

}  // namespace kdx
