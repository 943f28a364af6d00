#include "kdxreader/jpeg_picture.h"

#include <IL/il.h>

#include <algorithm>
#include <limits>
#include <mutex>

namespace kdxreader {

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
