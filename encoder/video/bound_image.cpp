// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/bound_image.h"

#include <IL/il.h>

#include "platform/base/bitmap.h"

namespace kdx {

ImageView ViewBoundImage() {
  if (ilGetInteger(IL_IMAGE_FORMAT) != IL_BGR || ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE)
    ilConvertImage(IL_BGR, IL_UNSIGNED_BYTE);
  ImageView view;
  view.data = ilGetData();
  view.width = ilGetInteger(IL_IMAGE_WIDTH);
  view.height = ilGetInteger(IL_IMAGE_HEIGHT);
  view.bottomUp = ilGetInteger(IL_IMAGE_ORIGIN) != IL_ORIGIN_UPPER_LEFT;
  return view;
}

bool DefineBoundImage(int32_t width, int32_t height, const uint8_t* pixels) {
  if (width <= 0 || height <= 0) return false;
  // The library copies the pixels; it only lacks const in its declaration.
  return ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, 3, IL_BGR, IL_UNSIGNED_BYTE,
                    const_cast<uint8_t*>(pixels)) == IL_TRUE;
}

HBITMAP BitmapFromBoundImage() {
  const ImageView view = ViewBoundImage();
  if (view.Empty()) return nullptr;
  return CreateBitmapFromBGR24(view.width, view.height, view.data, view.bottomUp ? TRUE : FALSE);
}

}  // namespace kdx
