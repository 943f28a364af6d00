// SPDX-License-Identifier: GPL-2.0-or-later
// The output frame size of a run and the centred crop taken before scaling.
#pragma once

#include <cstdint>

namespace kdx {

struct OutputSize {
  int32_t sourceWidth = 0;   // delivered frame after the quarter-turn swap
  int32_t sourceHeight = 0;
  int32_t cropWidth = 0;     // centred crop taken before scaling
  int32_t cropHeight = 0;
  int32_t width = 0;         // output frame W x H
  int32_t height = 0;
};

// fitWhole keeps the whole picture and shrinks one output side to its aspect
// ratio; otherwise the output size is filled and the source cropped to the
// output's aspect ratio. Rotate codes 1 and 3 swap the frame's sides. Sizes
// that are not positive give an all-zero result.
OutputSize ComputeOutputSize(int32_t frameWidth, int32_t frameHeight, int32_t rotateCode, int32_t maxWidth,
                             int32_t maxHeight, bool fitWhole);

}  // namespace kdx
