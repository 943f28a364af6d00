// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/pcm16_converter.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace kdx {

namespace {

// Decoders may leave the channel order unstated; resampling needs a layout
// to match channels by, and the usual one for the count is what players use.
AVChannelLayout UsableLayout(const AVChannelLayout& layout) {
  AVChannelLayout usable{};
  if (layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_check(&layout) == 0)
    av_channel_layout_default(&usable, layout.nb_channels);
  else
    av_channel_layout_copy(&usable, &layout);
  return usable;
}

// libswresample scales its matrix down until no sum can pass full scale
// unless it is allowed more; the limiter keeps the usual levels unclipped.
constexpr double kUnscaledMatrix = 1000.0;

}  // namespace

bool Pcm16Converter::PrepareContext(const AVFrame& frame) {
  AVChannelLayout layout = UsableLayout(frame.ch_layout);
  if (context_ && frame.format == inputFormat_ && frame.sample_rate == inputRate_ &&
      av_channel_layout_compare(&layout, &inputLayout_) == 0) {
    av_channel_layout_uninit(&layout);
    return true;
  }
  av_channel_layout_uninit(&inputLayout_);
  inputLayout_ = layout;
  inputFormat_ = frame.format;
  inputRate_ = frame.sample_rate;
  mixing_ = inputLayout_.nb_channels > kMaxChannels;

  AVChannelLayout outputLayout{};
  av_channel_layout_default(&outputLayout, channels_);
  SwrContext* context = nullptr;
  int result = swr_alloc_set_opts2(&context, &outputLayout, mixing_ ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_S16,
                                   sampleRate_, &inputLayout_, static_cast<AVSampleFormat>(frame.format),
                                   frame.sample_rate, 0, nullptr);
  av_channel_layout_uninit(&outputLayout);
  context_.reset(context);
  if (result >= 0 && context_ && mixing_) result = av_opt_set_double(context, "rematrix_maxval", kUnscaledMatrix, 0);
  if (result < 0 || !context_ || swr_init(context_.get()) < 0) {
    context_.reset();
    return false;
  }
  return true;
}

bool Pcm16Converter::Convert(const AVFrame& frame) {
  size_ = 0;
  if (frame.nb_samples <= 0 || frame.sample_rate <= 0 || frame.ch_layout.nb_channels <= 0 ||
      !PrepareContext(frame))
    return false;
  const int capacity = swr_get_out_samples(context_.get(), frame.nb_samples);
  if (capacity <= 0) return false;
  const size_t samples = static_cast<size_t>(capacity) * channels_;
  buffer_.resize(samples);
  if (mixing_) mixed_.resize(samples);
  uint8_t* output[1] = {mixing_ ? reinterpret_cast<uint8_t*>(mixed_.data())
                                : reinterpret_cast<uint8_t*>(buffer_.data())};
  const int converted =
      swr_convert(context_.get(), output, capacity,
                  const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
  if (converted < 0) return false;
  if (mixing_) limiter_.ToPcm16(mixed_.data(), converted, channels_, buffer_.data());
  size_ = converted * channels_ * 2;
  return true;
}

}  // namespace kdx
