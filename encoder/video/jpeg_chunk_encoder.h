// SPDX-License-Identifier: GPL-2.0-or-later
// JPEG encoding of a chunk picture: each quality of a picture is encoded at
// most once, and the bytes are kept so the chosen quality need not be
// encoded again for the chunk record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pixels/image_view.h"

namespace kdx {

class JpegChunkEncoder {
 public:
  JpegChunkEncoder() { NewPicture(ImageView{}); }
  // Forgets the encodings of the previous picture; the pixels must stay
  // unchanged while this one is measured.
  void NewPicture(const ImageView& picture);
  // JPEG size in bytes of the picture at quality (1..99), as the image
  // library's saver writes it (standard Huffman tables); 0 when it cannot
  // be encoded.
  int32_t Measure(int32_t quality);
  // The bytes of an earlier Measure of this picture (empty otherwise).
  const std::vector<uint8_t>& Bytes(int32_t quality) const;

 private:
  static constexpr int32_t kQualities = 100;
  ImageView picture_;
  // Index into encodings_ per quality, -1 when not encoded for this picture.
  std::array<int32_t, kQualities> slot_{};
  std::vector<std::vector<uint8_t>> encodings_;  // reused from picture to picture
  size_t used_ = 0;
};

}  // namespace kdx
