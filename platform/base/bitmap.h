// SPDX-License-Identifier: GPL-2.0-or-later
// Heap bitmaps standing in for device-independent bitmaps: 24-bit pixels,
// stored top-down in BGR byte order. Whoever receives one frees it with
// DeleteObject; all allocation lives in the platform library.
#pragma once

#include <cstdint>

#include "platform/base/platform_types.h"

extern "C" {
// Copies width x height 24-bit BGR pixels, rows packed (3 x width bytes).
// bottomUp tells that the first row in pixels is the picture's bottom row.
HBITMAP CreateBitmapFromBGR24(int32_t width, int32_t height, const uint8_t* pixels, BOOL bottomUp);
BOOL GetBitmapSize(HBITMAP bitmap, int32_t* width, int32_t* height);
// Top-down BGR rows, 3 x width bytes each; valid until DeleteObject.
const uint8_t* GetBitmapPixels(HBITMAP bitmap);
BOOL DeleteObject(HGDIOBJ object);
}
