// SPDX-License-Identifier: GPL-2.0-or-later
// A BGR24 picture laid out the way libswscale needs it: aligned rows, and
// room after each row and after the last one for the vector loads and
// stores that run past a row's end. Rows are stored from the top.
#pragma once

#include <cstddef>
#include <memory>

#include "pixels/image_view.h"

extern "C" {
#include <libavutil/mem.h>
}

namespace kdx {

class SwsPicture {
 public:
  // Makes room for width x height pixels, keeping the buffer when it is
  // already that size; false when the size is empty or memory runs out.
  bool Allocate(int width, int height);

  ImageView View() const {
    return ImageView{buffer_.get(), width_, height_, false, static_cast<size_t>(linesize_)};
  }

  // The arguments libswscale takes for a picture.
  uint8_t* const* Planes() { return planes_; }
  const uint8_t* const* Planes() const { return planes_; }
  const int* Linesizes() const { return linesizes_; }

 private:
  struct BufferFreer {
    void operator()(uint8_t* data) const { av_free(data); }
  };
  int width_ = 0;
  int height_ = 0;
  int linesize_ = 0;
  std::unique_ptr<uint8_t, BufferFreer> buffer_;
  uint8_t* planes_[4] = {nullptr, nullptr, nullptr, nullptr};
  int linesizes_[4] = {0, 0, 0, 0};
};

}  // namespace kdx
