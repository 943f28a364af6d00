// SPDX-License-Identifier: GPL-2.0-or-later
// Brings mixed-down sound to 16 bits without clipping: where a frame would
// pass full scale, the gain drops just enough for it, then recovers towards
// 1 over about a fifth of a second. Sound with headroom keeps its level.
#pragma once

#include <cstdint>

namespace kdx {

class PeakLimiter {
 public:
  explicit PeakLimiter(int sampleRate);

  // count interleaved frames of floats (full scale 1) into 16-bit samples.
  void ToPcm16(const float* frames, int count, int channels, int16_t* pcm);

 private:
  double gain_ = 1.0;
  double recovery_;  // share of the way back to 1 made at each frame
};

}  // namespace kdx
