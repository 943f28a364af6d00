// Turns decoded pictures into the frames the video callback reads:
// bottom-up BGR24 rows of 3 x width bytes, no padding, at the stream's
// announced size brought to square pixels, and turned upright.
#pragma once

#include <cstdint>
#include <vector>

#include "graph/display_shape.h"
#include "graph/ffmpeg_handles.h"
#include "pixels/sws_picture.h"

namespace kdx {

class Bgr24Converter {
 public:
  explicit Bgr24Converter(const DisplayShape& shape);

  // Converts into the converter's own buffer, which stays valid until the
  // next call; null when the picture cannot be converted.
  const uint8_t* Convert(const AVFrame& frame);
  int32_t DataLength() const { return static_cast<int32_t>(frame_.size()); }

 private:
  bool PrepareContext(const AVFrame& frame);

  const DisplayShape shape_;
  // libswscale writes here, with the room its vector stores need; the
  // frame handed on is copied out of it bottom-up and turned.
  SwsPicture converted_;
  std::vector<uint8_t> frame_;
  SwsContextPtr context_;
  // What the context was made for, so it is remade only when that changes.
  struct Input {
    int width = 0;
    int height = 0;
    int format = AV_PIX_FMT_NONE;
    int colorspace = AVCOL_SPC_UNSPECIFIED;
    int fullRange = 0;
    bool operator==(const Input&) const = default;
  };
  Input contextInput_;
};

}  // namespace kdx
