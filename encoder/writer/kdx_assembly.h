// SPDX-License-Identifier: GPL-2.0-or-later
// The final step of a run: append the KDX header and the chunk area to the
// file that holds the sound part.
#pragma once

#include <atomic>
#include <cstdint>

#include "writer/binary_file.h"
#include "writer/chunk_geometry.h"

namespace kdx {

// Writes the header, then copies the whole of "video" from its first byte in
// blocks of 1000 bytes. The copy ends early after a full block once the state
// word is no longer TS_BUSY (a stop was requested). False when a read or
// write failed.
bool AppendKdxBody(BinaryFile& output, BinaryFile& video, const ChunkGeometry& geometry, int32_t frameCount,
                   const std::atomic<int32_t>& stateWord);

}  // namespace kdx
