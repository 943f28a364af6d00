// SPDX-License-Identifier: GPL-2.0-or-later
// Stores numbers in the little-endian byte order of every file the writer
// makes (KDX header, chunk lengths, WAVE header).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kdx {

// Writes the low byteCount bytes of value at "at", lowest byte first.
inline void PutLittleEndian(uint8_t* at, uint64_t value, size_t byteCount) {
  for (size_t i = 0; i < byteCount; ++i) at[i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}

}  // namespace kdx
