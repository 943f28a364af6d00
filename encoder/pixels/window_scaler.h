// SPDX-License-Identifier: GPL-2.0-or-later
// Takes a window of a picture as it is seen and makes it a BGR24 picture of
// any size in one libswscale pass straight from the stored pixels (colour
// conversion, stretching to square pixels and scaling together), then
// turns and flips the small result.
#pragma once

#include "pixels/image_view.h"
#include "pixels/seen_picture.h"
#include "pixels/sws_context.h"
#include "pixels/sws_picture.h"

namespace kdx {

class WindowScaler {
 public:
  // Fills `target` (its size is the output size) with `window` of the
  // picture as seen, made with the libswscale flags given. False
  // (target untouched) when the window lies outside the picture or the
  // picture cannot be converted.
  bool Scale(const SeenPicture& picture, const Window& window, int swsFlags, const ImageView& target);

 private:
  // The context is remade only when one of these changes.
  struct Setup {
    int sourceWidth = 0;
    int sourceHeight = 0;
    int format = AV_PIX_FMT_NONE;
    int colorspace = AVCOL_SPC_UNSPECIFIED;
    bool fullRange = false;
    int width = 0;
    int height = 0;
    int flags = 0;
    int chromaX = 0;  // the window's first chroma sample, for libswscale
    int chromaY = 0;
    bool operator==(const Setup&) const = default;
  };
  bool PrepareContext(const Setup& setup);

  SwsContextPtr context_;
  Setup setup_;
  SwsPicture packedCopy_;  // packed sources are copied where reading past a row's end is safe
  SwsPicture scaled_;      // before turning
};

}  // namespace kdx
