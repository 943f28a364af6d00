// SPDX-License-Identifier: GPL-2.0-or-later
#include "pixels/sws_picture.h"

#include <limits>

namespace kdx {

namespace {
// Rows start on a 64-byte boundary (the widest vector registers), and each
// row and the whole buffer end with a spare vector's worth of bytes.
constexpr int64_t kAlignment = 64;
constexpr int64_t kSlack = 64;

int64_t AlignUp(int64_t value) { return (value + kAlignment - 1) / kAlignment * kAlignment; }
}  // namespace

bool SwsPicture::Allocate(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  if (buffer_ && width == width_ && height == height_) return true;
  const int64_t linesize = AlignUp(static_cast<int64_t>(width) * 3 + kSlack);
  const int64_t bytes = linesize * height + kSlack;
  if (linesize > std::numeric_limits<int>::max() || bytes > std::numeric_limits<int>::max()) return false;
  buffer_.reset(static_cast<uint8_t*>(av_malloc(static_cast<size_t>(bytes))));
  if (!buffer_) {
    width_ = height_ = linesize_ = 0;
    return false;
  }
  width_ = width;
  height_ = height;
  linesize_ = static_cast<int>(linesize);
  planes_[0] = buffer_.get();
  linesizes_[0] = linesize_;
  return true;
}

}  // namespace kdx
