// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxreader/jpeg_picture.h"

#include <IL/il.h>

#include <algorithm>
#include <limits>
#include <mutex>

namespace kdxreader {

std::optional<PictureSize> ReadJpegSize(std::span<const uint8_t> jpeg) {
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return std::nullopt;
  size_t at = 2;
  while (at + 4 <= jpeg.size()) {
    if (jpeg[at] != 0xFF) return std::nullopt;
    const uint8_t marker = jpeg[at + 1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++at;
      continue;
    }
    const size_t length = static_cast<size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
    // Start-of-frame markers C0..CF, except DHT (C4), JPG (C8) and DAC (CC).
    const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frameHeader) {
      if (length < 7 || at + 9 > jpeg.size()) return std::nullopt;
      return PictureSize{jpeg[at + 7] << 8 | jpeg[at + 8], jpeg[at + 5] << 8 | jpeg[at + 6]};
    }
    if (marker == 0xDA || length < 2) return std::nullopt;  // scan data before any frame header
    at += 2 + length;
  }
  return std::nullopt;
}

std::optional<Picture> DecodeJpeg(std::span<const uint8_t> jpeg) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { ilInit(); });
  if (jpeg.empty() || jpeg.size() > std::numeric_limits<ILuint>::max()) return std::nullopt;

  const ILint previous = ilGetInteger(IL_CUR_IMAGE);
  const ILuint image = ilGenImage();
  ilBindImage(image);
  std::optional<Picture> picture;
  if (ilLoadL(IL_JPG, jpeg.data(), static_cast<ILuint>(jpeg.size()))) {
    Picture p;
    p.width = ilGetInteger(IL_IMAGE_WIDTH);
    p.height = ilGetInteger(IL_IMAGE_HEIGHT);
    p.rgb.resize(static_cast<size_t>(p.width) * p.height * 3);
    if (p.width > 0 && p.height > 0 &&
        ilCopyPixels(0, 0, 0, p.width, p.height, 1, IL_RGB, IL_UNSIGNED_BYTE, p.rgb.data()) != 0) {
      // DevIL hands out rows in the image's own order.
      if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT) {
        const size_t stride = static_cast<size_t>(p.width) * 3;
        for (int top = 0, bottom = p.height - 1; top < bottom; ++top, --bottom)
          std::swap_ranges(p.rgb.begin() + top * stride, p.rgb.begin() + (top + 1) * stride,
                           p.rgb.begin() + bottom * stride);
      }
      picture = std::move(p);
    }
  }
  ilDeleteImage(image);
  ilBindImage(static_cast<ILuint>(previous));
  // Leave no error of a failed load behind for the next DevIL user.
  while (ilGetError() != IL_NO_ERROR) {
  }
  return picture;
}

}  // namespace kdxreader
