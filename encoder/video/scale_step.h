// The scale step of the video pipeline and of the preview: scales the
// image bound in the image library with libswscale, which filters when it
// shrinks (ILU's own scaling point-samples, and text breaks up). The
// filter follows ILU's filter setting, which the frame hook may have set.
#pragma once

#include <cstdint>

#include "pixels/sws_context.h"
#include "pixels/sws_picture.h"

namespace kdx {

// libswscale's filter for an ILU_FILTER value: nearest stays nearest,
// linear and bilinear become bilinear, every other filter bicubic.
int SwsFilterForIluFilter(int iluFilter);

class BoundImageScaler {
 public:
  // Scales the bound image to width x height with ILU's current filter;
  // false (the image unchanged) when it holds no picture or the size is
  // empty.
  bool Scale(int32_t width, int32_t height);

 private:
  SwsPicture source_;
  SwsPicture result_;
  SwsContextPtr context_;  // kept while the sizes and the filter stay
};

}  // namespace kdx
