// How much of a PCM buffer still fits in ".audio": its header states the data
// size and the RIFF size (data + 38) in 32 bits, so capture stops at the
// largest size the header can describe instead of letting the count wrap
// (a long 5.1 source passes 4 GiB in about two hours).
#pragma once

#include <algorithm>
#include <cstdint>

#include "writer/wave_header.h"

namespace kdx {

constexpr uint32_t kMaxPcmDataBytes = UINT32_MAX - (kPcmWaveHeaderSize - 8);

// Bytes of a buffer of `length` bytes to append after `written` bytes.
inline uint32_t PcmBytesToAppend(uint32_t written, int32_t length) {
  if (length <= 0 || written >= kMaxPcmDataBytes) return 0;
  return std::min(static_cast<uint32_t>(length), kMaxPcmDataBytes - written);
}

}  // namespace kdx
