// SPDX-License-Identifier: GPL-2.0-or-later
// Baseline JPEG of a BGR picture straight through libjpeg, with the image
// library's saver settings (defaults, quality forced to baseline tables,
// standard Huffman tables), so the bytes are the ones that saver writes;
// the rows are read where they lie, without the saver's RGB and flipped
// copies of the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/image_view.h"

namespace kdx {

// Replaces *jpeg with the picture at quality (1..100); false (and *jpeg
// empty) when the picture is empty or libjpeg fails.
bool EncodeBgrJpeg(const ImageView& picture, int32_t quality, std::vector<uint8_t>* jpeg);

}  // namespace kdx
