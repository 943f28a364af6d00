// Turns decoded sound into the buffers the audio callback reads:
// interleaved signed 16-bit samples at the stream's announced channel count
// and rate, whatever the decoder's own sample format.
#pragma once

#include <cstdint>
#include <vector>

#include "graph/ffmpeg_handles.h"

namespace kdx {

class Pcm16Converter {
 public:
  Pcm16Converter(int channels, int sampleRate) : channels_(channels), sampleRate_(sampleRate) {}
  ~Pcm16Converter() { av_channel_layout_uninit(&inputLayout_); }
  Pcm16Converter(const Pcm16Converter&) = delete;
  Pcm16Converter& operator=(const Pcm16Converter&) = delete;

  // Converts one decoded frame into the converter's own buffer, valid until
  // the next call. False when the frame cannot be converted.
  bool Convert(const AVFrame& frame);
  const uint8_t* data() const { return buffer_.data(); }
  int32_t size() const { return size_; }

 private:
  bool PrepareContext(const AVFrame& frame);

  const int channels_;
  const int sampleRate_;
  std::vector<uint8_t> buffer_;
  int32_t size_ = 0;
  SwrContextPtr context_;
  // What the context was made for, so it is remade only when that changes.
  AVChannelLayout inputLayout_{};
  int inputFormat_ = AV_SAMPLE_FMT_NONE;
  int inputRate_ = 0;
};

}  // namespace kdx
