// SPDX-License-Identifier: GPL-2.0-or-later
// A picture as libswscale reads it (the planes of a decoded frame, or
// packed BGR24 rows) together with how it is meant to be seen: stretched
// to square pixels, turned and flipped.
#pragma once

#include <cstdint>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

namespace kdx {

struct SourcePicture {
  const uint8_t* planes[4] = {nullptr, nullptr, nullptr, nullptr};
  int linesizes[4] = {0, 0, 0, 0};  // negative for rows stored bottom-up
  int width = 0;
  int height = 0;
  AVPixelFormat format = AV_PIX_FMT_NONE;
  AVColorSpace colorspace = AVCOL_SPC_UNSPECIFIED;
  bool fullRange = false;
  // Its two fields were taken at different times.
  bool interlaced = false;

  bool Empty() const { return planes[0] == nullptr || width <= 0 || height <= 0; }
};

// The stored picture stretched to stretchedWidth x stretchedHeight, then
// turned clockwise by quarter turns, then, when upsideDown, flipped
// top to bottom.
struct PictureView {
  int stretchedWidth = 0;
  int stretchedHeight = 0;
  int clockwiseQuarterTurns = 0;
  bool upsideDown = false;

  int SeenWidth() const { return clockwiseQuarterTurns % 2 ? stretchedHeight : stretchedWidth; }
  int SeenHeight() const { return clockwiseQuarterTurns % 2 ? stretchedWidth : stretchedHeight; }
  // This view turned further (rotate code: 1 a quarter turn clockwise, 2 a
  // half turn, 3 counter-clockwise) and then mirrored (flip code: 1
  // left-right, 2 upside down); other codes change nothing.
  PictureView Then(int rotateCode, int flipCode) const;
};

struct SeenPicture {
  SourcePicture source;
  PictureView view;
};

// A part of a picture as seen, from its top-left corner.
struct Window {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The planes and colour details of a decoded frame.
SourcePicture PictureOfFrame(const AVFrame& frame);
// The first field of an interlaced picture as a picture of its own: every
// other row of every plane (interlaced 4:2:0 chroma rows alternate between
// the fields too). The picture itself when it is not interlaced.
SourcePicture FirstField(const SourcePicture& picture);
// width x height BGR24 pixels in packed rows stored from the bottom up.
SourcePicture PictureOfBottomUpBgr(const uint8_t* pixels, int width, int height);

}  // namespace kdx
