// SPDX-License-Identifier: GPL-2.0-or-later
#include "video/preview_grabber_cb.h"

#include <IL/il.h>

#include "video/bound_image.h"
#include "video/image_library.h"

namespace kdx {

int CPreviewGrabberCB::SampleCB(double, IMediaSample* sample) {
  const uint8_t* pixels = sample->GetPointer();
  const int32_t length = sample->GetActualDataLength();
  if (pixels == nullptr || length <= 0) return 0;
  // The image library is not safe across threads: the streaming thread only
  // keeps the bytes, MakeBitmap loads them on the caller's thread.
  std::lock_guard<std::mutex> lock(frameMutex_);
  frame_.assign(pixels, pixels + length);
  return 0;
}

HBITMAP CPreviewGrabberCB::MakeBitmap(SIZE size, int nRotate, int nFlip) {
  if (size.cx <= 0 || size.cy <= 0 || width_ <= 0 || height_ <= 0) return nullptr;
  ilBindImage(ThumbnailImage());
  {
    std::lock_guard<std::mutex> lock(frameMutex_);
    if (frame_.size() < static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3) return nullptr;
    const PictureView view = PictureView{width_, height_, 0, false}.Then(nRotate, nFlip);
    const SeenPicture picture{PictureOfBottomUpBgr(frame_.data(), width_, height_), view};
    if (!scaleStep_.ScaleIntoBoundImage(picture, Window{0, 0, view.SeenWidth(), view.SeenHeight()}, size.cx,
                                        size.cy))
      return nullptr;
  }
  return BitmapFromBoundImage();
}

}  // namespace kdx
