// SPDX-License-Identifier: GPL-2.0-or-later
// Cuts the frames of a KDX file out of its chunk pictures.
#pragma once

#include <optional>

#include "tools/kdxreader/jpeg_picture.h"
#include "tools/kdxreader/kdx_file.h"

namespace kdxreader {

// The decoded picture of chunk "chunk" (W x F*P); nothing when it does not
// decode. Same threading rules as DecodeJpeg.
std::optional<Picture> DecodeChunk(const KdxFile& file, size_t chunk);

// Frame "slot" (0 .. F-1) of a decoded chunk picture: the top H rows of the
// slot's P rows, slots counted from the top. An empty picture when the
// chunk picture is not W wide or has no such slot.
Picture ExtractFrame(const Picture& chunkPicture, const KdxGeometry& geometry, int slot);

}  // namespace kdxreader
