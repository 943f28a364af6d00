#include "graph/bgr24_converter.h"

#include "pixels/turned_copy.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace kdx {

namespace {

bool IsFullRangeYuvFormat(AVPixelFormat format) {
  return format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P ||
         format == AV_PIX_FMT_YUVJ444P || format == AV_PIX_FMT_YUVJ440P ||
         format == AV_PIX_FMT_YUVJ411P;
}

}  // namespace

Bgr24Converter::Bgr24Converter(const DisplayShape& shape) : shape_(shape) {
  if (converted_.Allocate(shape.scaledWidth, shape.scaledHeight))
    frame_.resize(static_cast<size_t>(3) * shape.Width() * shape.Height());
}

bool Bgr24Converter::PrepareContext(const AVFrame& frame) {
  const auto format = static_cast<AVPixelFormat>(frame.format);
  const Input input{frame.width, frame.height, format, frame.colorspace,
                    (IsFullRangeYuvFormat(format) || frame.color_range == AVCOL_RANGE_JPEG) ? 1 : 0};
  if (context_ && input == contextInput_) return true;

  context_.reset(sws_getContext(frame.width, frame.height, format, shape_.scaledWidth, shape_.scaledHeight,
                                AV_PIX_FMT_BGR24, SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!context_) return false;
  contextInput_ = input;
  // Honour the source's colour matrix and range, which the pixel format
  // alone does not tell for most YUV formats.
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
  if (descriptor && !(descriptor->flags & AV_PIX_FMT_FLAG_RGB) && descriptor->nb_components >= 3)
    sws_setColorspaceDetails(context_.get(), sws_getCoefficients(input.colorspace), input.fullRange,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
  return true;
}

const uint8_t* Bgr24Converter::Convert(const AVFrame& frame) {
  if (frame_.empty() || frame.width <= 0 || frame.height <= 0 || !PrepareContext(frame)) return nullptr;
  const int rows = sws_scale(context_.get(), frame.data, frame.linesize, 0, frame.height, converted_.Planes(),
                             converted_.Linesizes());
  if (rows != shape_.scaledHeight) return nullptr;
  const ImageView delivered{frame_.data(), shape_.Width(), shape_.Height(), true};
  return CopyTurned(converted_.View(), delivered, shape_.clockwiseQuarterTurns) ? frame_.data() : nullptr;
}

}  // namespace kdx
