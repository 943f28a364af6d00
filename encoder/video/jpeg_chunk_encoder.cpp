// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/jpeg_chunk_encoder.h"

#include <algorithm>

#include "video/bgr_jpeg.h"

namespace kdx {

void JpegChunkEncoder::NewPicture(const ImageView& picture) {
  picture_ = picture;
  slot_.fill(-1);
  used_ = 0;
}

int32_t JpegChunkEncoder::Measure(int32_t quality) {
  quality = std::clamp(quality, 1, kQualities - 1);
  if (slot_[quality] < 0) {
    if (used_ == encodings_.size()) encodings_.emplace_back();
    std::vector<uint8_t>& bytes = encodings_[used_];
    slot_[quality] = static_cast<int32_t>(used_++);
    EncodeBgrJpeg(picture_, quality, &bytes);
  }
  return static_cast<int32_t>(encodings_[slot_[quality]].size());
}

const std::vector<uint8_t>& JpegChunkEncoder::Bytes(int32_t quality) const {
  static const std::vector<uint8_t> none;
  quality = std::clamp(quality, 1, kQualities - 1);
  return slot_[quality] < 0 ? none : encodings_[slot_[quality]];
}

}  // namespace kdx
