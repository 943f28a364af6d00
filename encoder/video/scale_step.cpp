// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/scale_step.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstring>

#include "video/bound_image.h"

namespace kdx {

int SwsFilterForIluFilter(int iluFilter) {
  switch (iluFilter) {
    case ILU_NEAREST:
      return SWS_POINT;
    case ILU_BILINEAR:
      return SWS_BILINEAR;
    default:
      return SWS_BICUBIC;
  }
}

bool ScaleStep::ScaleIntoBoundImage(const SeenPicture& picture, const Window& window, int32_t width, int32_t height) {
  // Colour of a BGR picture stays at full resolution through the scaler's
  // internal planes; a decoded picture's colour is converted as FFmpeg
  // does by default (its full chroma interpolation shifts the levels).
  int flags = SwsFilterForIluFilter(iluGetInteger(ILU_FILTER)) | SWS_ACCURATE_RND;
  if (picture.source.format == AV_PIX_FMT_BGR24) flags |= SWS_FULL_CHR_H_INT | SWS_FULL_CHR_H_INP;
  if (!DefineBoundImage(width, height, nullptr)) return false;
  const ImageView image = ViewBoundImage();
  if (image.Empty()) return false;
  if (scaler_.Scale(picture, window, flags, image)) return true;
  std::memset(image.data, 0, image.Bytes());
  return false;
}

}  // namespace kdx
