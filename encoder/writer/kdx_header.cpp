// SPDX-License-Identifier: GPL-2.0-or-later
#include "writer/kdx_header.h"

#include <cstring>

#include "writer/little_endian.h"

namespace kdx {

std::array<uint8_t, kKdxHeaderSize> BuildKdxHeader(const ChunkGeometry& geometry, int32_t frameCount) {
  std::array<uint8_t, kKdxHeaderSize> header{};
  // Bytes 15, 18, 30 and 39..50 are fixed by format version "002000".
  for (size_t i = 39; i < kKdxHeaderSize; ++i) header[i] = 0x01;
  std::memcpy(header.data(), kKdxMagic, sizeof kKdxMagic - 1);
  // One-byte fields keep the low 8 bits; their neighbours stay zero.
  PutLittleEndian(&header[9], static_cast<uint32_t>(geometry.W), 1);
  PutLittleEndian(&header[12], static_cast<uint32_t>(geometry.H), 1);
  header[15] = 16;
  header[18] = 1;
  PutLittleEndian(&header[21], static_cast<uint32_t>(geometry.S), 3);
  PutLittleEndian(&header[24], static_cast<uint32_t>(geometry.framesPerSecondByte), 1);
  PutLittleEndian(&header[27], static_cast<uint32_t>(frameCount), 3);
  header[30] = 1;
  PutLittleEndian(&header[36], static_cast<uint32_t>(geometry.F), 1);
  return header;
}

}  // namespace kdx
