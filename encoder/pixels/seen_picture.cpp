// SPDX-License-Identifier: GPL-2.0-or-later
#include "pixels/seen_picture.h"

namespace kdx {

namespace {

bool IsFullRangeYuvFormat(AVPixelFormat format) {
  return format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P ||
         format == AV_PIX_FMT_YUVJ440P || format == AV_PIX_FMT_YUVJ411P;
}

int QuarterTurns(int turns) { return ((turns % 4) + 4) % 4; }

// HD pictures without a colour tag were made with the HD matrix, as players
// and FFmpeg-based tools assume; smaller ones with the SD matrix.
constexpr int kLeastHdHeight = 720;
AVColorSpace ColourMatrixOf(const AVFrame& frame) {
  if (frame.colorspace != AVCOL_SPC_UNSPECIFIED && frame.colorspace != AVCOL_SPC_RESERVED) return frame.colorspace;
  return frame.height >= kLeastHdHeight ? AVCOL_SPC_BT709 : AVCOL_SPC_BT470BG;
}

}  // namespace

// Flipping top to bottom reverses the sense of the turns that follow, and
// mirroring is a flip after a half turn.
PictureView PictureView::Then(int rotateCode, int flipCode) const {
  PictureView view = *this;
  if (rotateCode >= 1 && rotateCode <= 3)
    view.clockwiseQuarterTurns = QuarterTurns(view.clockwiseQuarterTurns + (view.upsideDown ? -rotateCode : rotateCode));
  if (flipCode == 1) view.clockwiseQuarterTurns = QuarterTurns(view.clockwiseQuarterTurns + 2);
  if (flipCode == 1 || flipCode == 2) view.upsideDown = !view.upsideDown;
  return view;
}

SourcePicture PictureOfFrame(const AVFrame& frame) {
  SourcePicture picture;
  for (int plane = 0; plane < 4; ++plane) {
    picture.planes[plane] = frame.data[plane];
    picture.linesizes[plane] = frame.linesize[plane];
  }
  picture.width = frame.width;
  picture.height = frame.height;
  picture.format = static_cast<AVPixelFormat>(frame.format);
  picture.colorspace = ColourMatrixOf(frame);
  picture.fullRange = IsFullRangeYuvFormat(picture.format) || frame.color_range == AVCOL_RANGE_JPEG;
  picture.interlaced = frame.interlaced_frame != 0;
  return picture;
}

SourcePicture FirstField(const SourcePicture& picture) {
  if (!picture.interlaced || picture.height < 4) return picture;
  SourcePicture field = picture;
  for (int plane = 0; plane < 4; ++plane) field.linesizes[plane] *= 2;
  field.height = picture.height / 2;
  field.interlaced = false;
  return field;
}

SourcePicture PictureOfBottomUpBgr(const uint8_t* pixels, int width, int height) {
  SourcePicture picture;
  if (pixels == nullptr || width <= 0 || height <= 0) return picture;
  const int rowBytes = 3 * width;
  picture.planes[0] = pixels + static_cast<size_t>(rowBytes) * static_cast<size_t>(height - 1);
  picture.linesizes[0] = -rowBytes;
  picture.width = width;
  picture.height = height;
  picture.format = AV_PIX_FMT_BGR24;
  return picture;
}

}  // namespace kdx
