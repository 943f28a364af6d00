// SPDX-License-Identifier: GPL-2.0-or-later
// Turns decoded sound into the buffers the audio callback reads:
// interleaved signed 16-bit samples at the stream's announced channel count
// and rate, whatever the decoder's own sample format. Surround sound is
// announced as stereo and mixed down with libswresample's standard matrix
// for its layout, at the usual levels (centre and surrounds at -3 dB), and
// limited rather than clipped where the sum passes full scale.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "graph/ffmpeg_handles.h"
#include "graph/peak_limiter.h"

namespace kdx {

class Pcm16Converter {
 public:
  Pcm16Converter(int channels, int sampleRate)
      : channels_(channels), sampleRate_(sampleRate), limiter_(sampleRate) {}
  ~Pcm16Converter() { av_channel_layout_uninit(&inputLayout_); }
  Pcm16Converter(const Pcm16Converter&) = delete;
  Pcm16Converter& operator=(const Pcm16Converter&) = delete;

  // The channel count announced for a source with this many channels.
  static int AnnouncedChannels(int sourceChannels) { return std::min(sourceChannels, kMaxChannels); }

  // Converts one decoded frame into the converter's own buffer, valid until
  // the next call. False when the frame cannot be converted.
  bool Convert(const AVFrame& frame);
  const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(buffer_.data()); }
  int32_t size() const { return size_; }

 private:
  static constexpr int kMaxChannels = 2;

  bool PrepareContext(const AVFrame& frame);

  const int channels_;
  const int sampleRate_;
  std::vector<int16_t> buffer_;
  std::vector<float> mixed_;
  int32_t size_ = 0;
  SwrContextPtr context_;
  // Whether the context mixes surround sound down, into floats for the
  // limiter.
  bool mixing_ = false;
  PeakLimiter limiter_;
  // What the context was made for, so it is remade only when that changes.
  AVChannelLayout inputLayout_{};
  int inputFormat_ = AV_SAMPLE_FMT_NONE;
  int inputRate_ = 0;
};

}  // namespace kdx
