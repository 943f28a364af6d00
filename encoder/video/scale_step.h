// SPDX-License-Identifier: GPL-2.0-or-later
// The scale step of the video pipeline and of the preview: makes the image
// bound in the image library from a window of the frame as seen, scaled by
// libswscale straight from the decoded pixels, which filters when it
// shrinks (ILU's own scaling point-samples, and text breaks up). The
// filter follows ILU's filter setting, which the frame hook may have set.
#pragma once

#include <cstdint>

#include "pixels/seen_picture.h"
#include "pixels/window_scaler.h"

namespace kdx {

// libswscale's filter for an ILU_FILTER value: nearest stays nearest,
// bilinear stays bilinear, every other filter becomes bicubic. Linear,
// the filter every quality preset asks for, is bicubic too: libswscale's
// bilinear shrink blurs edges that bicubic keeps, at about the same cost
// for pictures this small.
int SwsFilterForIluFilter(int iluFilter);

class ScaleStep {
 public:
  // Defines the bound image as width x height pixels showing `window` of
  // the picture. False when the size is empty, or when the picture cannot
  // be scaled: the image is then black.
  bool ScaleIntoBoundImage(const SeenPicture& picture, const Window& window, int32_t width, int32_t height);

 private:
  WindowScaler scaler_;  // keeps its set-up while sizes and filter stay
};

}  // namespace kdx
