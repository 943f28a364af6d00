// The canonical 46-byte PCM WAVE header of the captured sound.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "graph/decoding_graph.h"

namespace kdx {

constexpr size_t kPcmWaveHeaderSize = 46;

// Format tag 1 and extra size 0 whatever the source says; RIFF size is
// dataBytes + 38.
std::array<uint8_t, kPcmWaveHeaderSize> BuildPcmWaveHeader(const AudioFormat& format, uint32_t dataBytes);

}  // namespace kdx
