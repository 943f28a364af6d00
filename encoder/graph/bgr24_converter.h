// SPDX-License-Identifier: GPL-2.0-or-later
// Turns decoded pictures into the frames the video callback reads:
// bottom-up BGR24 rows of 3 x width bytes, no padding, at the stream's
// announced size brought to square pixels, and turned upright. A picture
// whose size changes in the middle of the stream keeps its own shape,
// fitted inside that frame with black around it.
#pragma once

#include <cstdint>
#include <vector>

#include "graph/display_shape.h"
#include "graph/ffmpeg_handles.h"
#include "pixels/seen_picture.h"
#include "pixels/window_scaler.h"

namespace kdx {

class Bgr24Converter {
 public:
  explicit Bgr24Converter(const DisplayShape& shape);

  // Converts into the converter's own buffer, which stays valid until the
  // next call; null when the picture cannot be converted.
  const uint8_t* Convert(const AVFrame& frame);
  int32_t DataLength() const { return static_cast<int32_t>(frame_.size()); }
  // The decoded picture with the shape it is delivered in, for a caller
  // that scales a part of it itself. A picture of another size than the
  // stream's first is seen smaller than the delivered frame where its
  // shape differs.
  SeenPicture Seen(const AVFrame& frame) const;

 private:
  PictureView ViewOf(const AVFrame& frame) const;

  const DisplayShape shape_;
  std::vector<uint8_t> frame_;
  WindowScaler scaler_;
};

}  // namespace kdx
