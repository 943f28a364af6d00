// SPDX-License-Identifier: GPL-2.0-or-later
// Access to the pixels of the image bound in the image library, by rows as
// the picture is seen, whatever the image's row order in memory.
#pragma once

#include <cstdint>

#include "pixels/image_view.h"
#include "platform/base/platform_types.h"

namespace kdx {

// Converts the bound image to 8-bit BGR when it is held otherwise (a frame
// hook may have changed it) and returns its pixels.
ImageView ViewBoundImage();

// Defines the bound image as width x height BGR pixels, copied from pixels
// (bottom-up rows, 3 x width bytes each) or uninitialised when null.
bool DefineBoundImage(int32_t width, int32_t height, const uint8_t* pixels);

// A new bitmap of the bound image, or null when it holds no picture.
HBITMAP BitmapFromBoundImage();

}  // namespace kdx
