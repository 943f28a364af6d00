// Turning and mirroring a frame held in the image library, shared by the
// conversion pipeline and the preview so both show the same picture.
#pragma once

#include <cstdint>

namespace kdx {

// Turns the bound image as the picture is seen (rotate code: 1 a quarter
// turn clockwise, 2 a half turn, 3 a quarter turn counter-clockwise, others
// nothing), then mirrors it (flip code: 1 left-right, 2 upside down, others
// nothing). Quarter turns swap the image's width and height.
void TurnAndFlipBoundImage(int32_t rotateCode, int32_t flipCode);

}  // namespace kdx
