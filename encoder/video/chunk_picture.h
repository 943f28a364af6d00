// SPDX-License-Identifier: GPL-2.0-or-later
// Stacking frames into the chunk picture.
#pragma once

#include <cstdint>

#include "video/bound_image.h"

namespace kdx {

// Copies frame into slot (counted from the top as seen) of chunk, whose slots
// are slotHeight rows high: the frame fills the slot's top rows and the rows
// below repeat its bottom row. Returns false, touching nothing, when the
// frame or the slot does not lie within the chunk picture.
bool PlaceFrameInSlot(const ImageView& frame, const ImageView& chunk, int32_t slot, int32_t slotHeight);

}  // namespace kdx
