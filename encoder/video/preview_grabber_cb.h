// Keeps the latest decoded frame of a preview graph in the work image, and
// makes the turned, mirrored and scaled bitmap that Preview returns.
#pragma once

#include <cstdint>

#include "graph/media_sample.h"
#include "platform_types.h"

namespace kdx {

class CPreviewGrabberCB : public ISampleGrabberCB {
 public:
  int SampleCB(double time, IMediaSample* sample) override;
  void SetFrameSize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
  }

  // Copies the work image, turns (nRotate), flips (nFlip), scales to size
  // and returns a new bitmap, or null.
  HBITMAP MakeBitmap(SIZE size, int nRotate, int nFlip);

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace kdx
