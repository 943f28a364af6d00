#include "graph/bgr24_converter.h"

namespace kdx {

Bgr24Converter::Bgr24Converter(const DisplayShape& shape) : shape_(shape) {
  if (shape.Width() > 0 && shape.Height() > 0) frame_.resize(static_cast<size_t>(3) * shape.Width() * shape.Height());
}

SeenPicture Bgr24Converter::Seen(const AVFrame& frame) const {
  return SeenPicture{PictureOfFrame(frame),
                     PictureView{shape_.scaledWidth, shape_.scaledHeight, shape_.clockwiseQuarterTurns, false}};
}

const uint8_t* Bgr24Converter::Convert(const AVFrame& frame) {
  if (frame_.empty()) return nullptr;
  const ImageView delivered{frame_.data(), shape_.Width(), shape_.Height(), true};
  const Window whole{0, 0, shape_.Width(), shape_.Height()};
  return scaler_.Scale(Seen(frame), whole, SWS_BICUBIC, delivered) ? frame_.data() : nullptr;
}

}  // namespace kdx
