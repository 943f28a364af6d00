// SPDX-License-Identifier: GPL-2.0-or-later
// The 51-byte header between the sound part and the chunk area.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "writer/chunk_geometry.h"

namespace kdx {

constexpr size_t kKdxHeaderSize = 51;
constexpr char kKdxMagic[] = "KDX002000";  // 9 bytes on disk, no terminator

// Largest values the header's fields hold: W, H, F and frames per second
// have one byte each, S and N three.
constexpr int32_t kKdxMaxByteField = 0xFF;
constexpr int32_t kKdxMaxChunkSize = 0xFFFFFF;

// frameCount is N, already a whole multiple of F.
std::array<uint8_t, kKdxHeaderSize> BuildKdxHeader(const ChunkGeometry& geometry, int32_t frameCount);

}  // namespace kdx
