// SPDX-License-Identifier: GPL-2.0-or-later
// A decoded picture handed to the video callback; its pixels are converted
// only when the callback asks for them, so dropped frames cost nothing.
#pragma once

#include "graph/bgr24_converter.h"
#include "graph/media_sample.h"

namespace kdx {

class LazyVideoSample : public IMediaSample {
 public:
  LazyVideoSample(Bgr24Converter& converter, const AVFrame& frame)
      : converter_(converter), frame_(frame) {}

  const uint8_t* GetPointer() override {
    if (!converted_) {
      pixels_ = converter_.Convert(frame_);
      converted_ = true;
    }
    return pixels_;
  }
  int32_t GetActualDataLength() override { return converter_.DataLength(); }
  const SeenPicture* Seen() override {
    seen_ = converter_.Seen(frame_);
    return &seen_;
  }

 private:
  Bgr24Converter& converter_;
  const AVFrame& frame_;
  const uint8_t* pixels_ = nullptr;
  bool converted_ = false;
  SeenPicture seen_;
};

}  // namespace kdx
