// SPDX-License-Identifier: GPL-2.0-or-later
// Keeps the latest decoded frame of a preview graph, and makes the turned,
// mirrored and scaled bitmap that Preview returns.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "graph/media_sample.h"
#include "platform/base/platform_types.h"
#include "video/scale_step.h"

namespace kdx {

class CPreviewGrabberCB : public ISampleGrabberCB {
 public:
  int SampleCB(double time, IMediaSample* sample) override;
  void SetFrameSize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
  }

  // Loads the latest frame, turns (nRotate), flips (nFlip), scales to size
  // and returns a new bitmap; null before the first frame or for an empty
  // size. Runs on the caller's thread while no conversion uses the images.
  HBITMAP MakeBitmap(SIZE size, int nRotate, int nFlip);

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::mutex frameMutex_;
  std::vector<uint8_t> frame_;  // latest frame, bottom-up BGR rows
  ScaleStep scaleStep_;
};

}  // namespace kdx
