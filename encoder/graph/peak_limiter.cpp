// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/peak_limiter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kdx {

namespace {

constexpr double kRecoverySeconds = 0.2;

}  // namespace

PeakLimiter::PeakLimiter(int sampleRate)
    : recovery_(1.0 - std::exp(-1.0 / (kRecoverySeconds * std::max(sampleRate, 1)))) {}

void PeakLimiter::ToPcm16(const float* frames, int count, int channels, int16_t* pcm) {
  for (int f = 0; f < count; ++f) {
    const float* frame = frames + static_cast<ptrdiff_t>(f) * channels;
    gain_ += (1.0 - gain_) * recovery_;
    double peak = 0.0;
    for (int c = 0; c < channels; ++c) peak = std::max(peak, std::fabs(static_cast<double>(frame[c])));
    if (peak * gain_ > 1.0) gain_ = 1.0 / peak;
    for (int c = 0; c < channels; ++c) {
      const long value = std::lrint(frame[c] * gain_ * 32768.0);
      pcm[static_cast<ptrdiff_t>(f) * channels + c] = static_cast<int16_t>(std::clamp(value, -32768L, 32767L));
    }
  }
}

}  // namespace kdx
