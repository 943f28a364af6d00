// SPDX-License-Identifier: GPL-2.0-or-later
// One chunk record: 3 length bytes, the JPEG within the budget S - 3, then
// filler until exactly S bytes are written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "writer/binary_file.h"

namespace kdx {

// filler supplies the filler bytes (repeated in blocks of up to 4096 bytes
// from its start); it may be null, then zero bytes are written. Returns false
// when the file failed.
bool AppendChunkRecord(BinaryFile& video, const uint8_t* jpeg, size_t jpegLength, int32_t S, const uint8_t* filler,
                       size_t fillerLength);

}  // namespace kdx
