#include "video/frame_turn.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <vector>

#include "pixels/turned_copy.h"
#include "video/bound_image.h"

namespace kdx {

namespace {

// ILU's own rotation and centred canvas enlarging misplace or corrupt the
// picture, so the turns are plain pixel remaps.
void Turn(const ImageView& image, int32_t clockwiseQuarterTurns) {
  const std::vector<uint8_t> pixels(image.data, image.data + image.Bytes());
  const ImageView before{const_cast<uint8_t*>(pixels.data()), image.width, image.height, image.bottomUp};
  const bool swapped = clockwiseQuarterTurns % 2 == 1;
  if (!DefineBoundImage(swapped ? image.height : image.width, swapped ? image.width : image.height, nullptr)) return;
  CopyTurned(before, ViewBoundImage(), clockwiseQuarterTurns);
}

}  // namespace

void TurnAndFlipBoundImage(int32_t rotateCode, int32_t flipCode) {
  if (rotateCode >= 1 && rotateCode <= 3) {
    const ImageView image = ViewBoundImage();
    // The codes count quarter turns clockwise.
    if (!image.Empty()) Turn(image, rotateCode);
  }
  if (flipCode == 1) iluMirror();
  if (flipCode == 2) iluFlipImage();
}

}  // namespace kdx
