// SPDX-License-Identifier: GPL-2.0-or-later
// What a KDX file can hold at most: the header counts frames in 24 bits,
// and the sound part is a RIFF file, whose size field has 32.
#pragma once

#include <cstdint>

namespace kdx {

constexpr int64_t kKdxMostFrames = 0xFFFFFF;
constexpr int64_t kKdxLargestSoundPart = 0xFFFFFFFFll + 8;  // the size field counts what follows it

enum class KdxLimit {
  kNone,
  kFrameCount,
  kSoundPart,
};

// The limit a run of `seconds` would pass, with frames every
// `frameInterval` seconds and IMA ADPCM sound of the given rate and
// channels; kNone when the file holds it.
KdxLimit PassedLimit(double seconds, double frameInterval, int32_t sampleRate, int32_t channels);

}  // namespace kdx
