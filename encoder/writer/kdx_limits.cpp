// SPDX-License-Identifier: GPL-2.0-or-later
#include "writer/kdx_limits.h"

#include <algorithm>
#include <cmath>

#include "writer/kdx_header.h"

namespace kdx {

namespace {

// IMA ADPCM keeps 4 bits a sample and, in each block, 4 bytes of state per
// channel; the smallest blocks the sound writer makes hold 256 bytes a
// channel, 505 samples. One more block and the headers on top.
constexpr double kSamplesPerSmallestBlock = 505.0;
constexpr double kSmallestBlockBytes = 256.0;
constexpr double kHeaderAllowance = 1024.0;

double SoundPartBytes(double seconds, int32_t sampleRate, int32_t channels) {
  const double blocks = std::ceil(seconds * std::max(sampleRate, 1) / kSamplesPerSmallestBlock) + 1.0;
  return blocks * kSmallestBlockBytes * std::max(channels, 1) + kHeaderAllowance;
}

}  // namespace

KdxLimit PassedLimit(double seconds, double frameInterval, int32_t sampleRate, int32_t channels) {
  if (!(seconds > 0.0)) return KdxLimit::kNone;
  // The last chunk is filled up to a whole one: at most a chunk's frames more.
  const double frames = std::ceil(seconds / frameInterval) + kKdxMaxByteField;
  if (!(frames <= static_cast<double>(kKdxMostFrames))) return KdxLimit::kFrameCount;
  if (SoundPartBytes(seconds, sampleRate, channels) > static_cast<double>(kKdxLargestSoundPart))
    return KdxLimit::kSoundPart;
  return KdxLimit::kNone;
}

}  // namespace kdx
