// SPDX-License-Identifier: GPL-2.0-or-later
#include "pixels/turned_copy.h"

#include <cstring>

namespace kdx {

bool CopyTurned(const ImageView& from, const ImageView& to, int clockwiseQuarterTurns) {
  const int turns = ((clockwiseQuarterTurns % 4) + 4) % 4;
  const bool swapped = turns % 2 == 1;
  if (from.Empty() || to.Empty() || to.width != (swapped ? from.height : from.width) ||
      to.height != (swapped ? from.width : from.height))
    return false;
  if (turns == 0) {
    for (int32_t y = 0; y < to.height; ++y) std::memcpy(to.RowFromTop(y), from.RowFromTop(y), to.RowBytes());
    return true;
  }
  for (int32_t y = 0; y < to.height; ++y) {
    uint8_t* target = to.RowFromTop(y);
    for (int32_t x = 0; x < to.width; ++x) {
      // A clockwise quarter turn makes the source's left column the top
      // row; a counter-clockwise one makes its top row the left column.
      int32_t sourceX = x, sourceY = y;
      if (turns == 1) {
        sourceX = y;
        sourceY = from.height - 1 - x;
      } else if (turns == 2) {
        sourceX = from.width - 1 - x;
        sourceY = from.height - 1 - y;
      } else {
        sourceX = from.width - 1 - y;
        sourceY = x;
      }
      std::memcpy(target + static_cast<size_t>(x) * 3, from.RowFromTop(sourceY) + static_cast<size_t>(sourceX) * 3, 3);
    }
  }
  return true;
}

}  // namespace kdx
