#include "video/scale_step.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include "pixels/turned_copy.h"
#include "video/bound_image.h"

namespace kdx {

int SwsFilterForIluFilter(int iluFilter) {
  switch (iluFilter) {
    case ILU_NEAREST:
      return SWS_POINT;
    case ILU_LINEAR:
    case ILU_BILINEAR:
      return SWS_BILINEAR;
    default:
      return SWS_BICUBIC;
  }
}

bool BoundImageScaler::Scale(int32_t width, int32_t height) {
  const ImageView image = ViewBoundImage();
  if (image.Empty() || width <= 0 || height <= 0) return false;
  if (image.width == width && image.height == height) return true;
  if (!source_.Allocate(image.width, image.height) || !result_.Allocate(width, height)) return false;
  // Colour stays at full resolution through the scaler's internal planes.
  const int flags = SwsFilterForIluFilter(iluGetInteger(ILU_FILTER)) | SWS_FULL_CHR_H_INT | SWS_FULL_CHR_H_INP |
                    SWS_ACCURATE_RND;
  context_.reset(sws_getCachedContext(context_.release(), image.width, image.height, AV_PIX_FMT_BGR24, width, height,
                                      AV_PIX_FMT_BGR24, flags, nullptr, nullptr, nullptr));
  if (!context_) return false;
  CopyTurned(image, source_.View(), 0);
  sws_scale(context_.get(), source_.Planes(), source_.Linesizes(), 0, image.height, result_.Planes(),
            result_.Linesizes());
  return DefineBoundImage(width, height, nullptr) && CopyTurned(result_.View(), ViewBoundImage(), 0);
}

}  // namespace kdx
