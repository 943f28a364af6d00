// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/bgr24_converter.h"

#include <algorithm>
#include <cstring>

namespace kdx {

Bgr24Converter::Bgr24Converter(const DisplayShape& shape) : shape_(shape) {
  if (shape.Width() > 0 && shape.Height() > 0) frame_.resize(static_cast<size_t>(3) * shape.Width() * shape.Height());
}

PictureView Bgr24Converter::ViewOf(const AVFrame& frame) const {
  int width = shape_.scaledWidth;
  int height = shape_.scaledHeight;
  const bool resized = shape_.codedWidth > 0 && shape_.codedHeight > 0 &&
                       (frame.width != shape_.codedWidth || frame.height != shape_.codedHeight);
  if (resized && frame.width > 0 && frame.height > 0) {
    // Its own shape, as large as fits.
    const DisplayShape own = ShapeFor(frame.width, frame.height, frame.sample_aspect_ratio, {});
    const int64_t ownWidth = own.scaledWidth;
    const int64_t ownHeight = own.scaledHeight;
    if (ownWidth * height >= ownHeight * width)
      height = std::clamp(static_cast<int>((width * ownHeight + ownWidth / 2) / ownWidth), 1, height);
    else
      width = std::clamp(static_cast<int>((height * ownWidth + ownHeight / 2) / ownHeight), 1, width);
  }
  return PictureView{width, height, shape_.turn.clockwiseQuarterTurns, shape_.turn.upsideDown};
}

SeenPicture Bgr24Converter::Seen(const AVFrame& frame) const { return SeenPicture{PictureOfFrame(frame), ViewOf(frame)}; }

const uint8_t* Bgr24Converter::Convert(const AVFrame& frame) {
  if (frame_.empty()) return nullptr;
  const SeenPicture seen = Seen(frame);
  const int width = seen.view.SeenWidth();
  const int height = seen.view.SeenHeight();
  const size_t rowBytes = static_cast<size_t>(3) * shape_.Width();
  ImageView delivered{frame_.data(), shape_.Width(), shape_.Height(), true};
  if (width != shape_.Width() || height != shape_.Height()) {
    std::memset(frame_.data(), 0, frame_.size());
    const int x = (shape_.Width() - width) / 2;
    const int y = (shape_.Height() - height) / 2;
    // Rows are stored from the bottom: the window's bottom row comes first.
    delivered = ImageView{frame_.data() + rowBytes * (shape_.Height() - y - height) + 3 * static_cast<size_t>(x), width,
                          height, true, rowBytes};
  }
  return scaler_.Scale(seen, Window{0, 0, width, height}, SWS_BICUBIC, delivered) ? frame_.data() : nullptr;
}

}  // namespace kdx
