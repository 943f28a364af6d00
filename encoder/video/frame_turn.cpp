#include "video/frame_turn.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "video/bound_image.h"

namespace kdx {

namespace {

// ILU's own rotation and centred canvas enlarging misplace or corrupt the
// picture, so the turns are plain pixel remaps.

void HalfTurn(const ImageView& image) {
  // Reversing the order of all pixels turns the picture by 180 degrees,
  // whichever way its rows are stored.
  uint8_t* first = image.data;
  uint8_t* last = image.data + image.Bytes() - 3;
  while (first < last) {
    std::swap_ranges(first, first + 3, last);
    first += 3;
    last -= 3;
  }
}

void QuarterTurn(const ImageView& image, bool clockwise) {
  const std::vector<uint8_t> pixels(image.data, image.data + image.Bytes());
  const ImageView before{const_cast<uint8_t*>(pixels.data()), image.width, image.height, image.bottomUp};
  if (!DefineBoundImage(image.height, image.width, nullptr)) return;
  const ImageView after = ViewBoundImage();
  for (int32_t y = 0; y < after.height; ++y) {
    uint8_t* target = after.RowFromTop(y);
    for (int32_t x = 0; x < after.width; ++x) {
      // Clockwise, the source's top row becomes the right column; counter-
      // clockwise, its left column becomes the bottom row.
      const int32_t sourceX = clockwise ? y : before.width - 1 - y;
      const int32_t sourceY = clockwise ? before.height - 1 - x : x;
      std::memcpy(target + x * 3, before.RowFromTop(sourceY) + sourceX * 3, 3);
    }
  }
}

}  // namespace

void TurnAndFlipBoundImage(int32_t rotateCode, int32_t flipCode) {
  if (rotateCode >= 1 && rotateCode <= 3) {
    const ImageView image = ViewBoundImage();
    if (!image.Empty()) {
      if (rotateCode == 2)
        HalfTurn(image);
      else
        QuarterTurn(image, rotateCode == 1);
    }
  }
  if (flipCode == 1) iluMirror();
  if (flipCode == 2) iluFlipImage();
}

}  // namespace kdx
