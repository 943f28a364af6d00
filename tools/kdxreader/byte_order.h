// SPDX-License-Identifier: GPL-2.0-or-later
// Reads the little-endian numbers of KDX and WAVE files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kdxreader {

inline uint32_t ReadLittleEndian(const uint8_t* at, size_t byteCount) {
  uint32_t value = 0;
  for (size_t i = byteCount; i > 0; --i) value = (value << 8) | at[i - 1];
  return value;
}

}  // namespace kdxreader
