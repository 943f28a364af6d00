// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxreader/chunk_frames.h"

#include <algorithm>

namespace kdxreader {

std::optional<Picture> DecodeChunk(const KdxFile& file, size_t chunk) {
  if (chunk >= file.chunks.size()) return std::nullopt;
  return DecodeJpeg(file.ChunkJpeg(chunk));
}

Picture ExtractFrame(const Picture& chunkPicture, const KdxGeometry& geometry, int slot) {
  Picture frame;
  const int top = slot * geometry.P;
  if (slot < 0 || geometry.W != chunkPicture.width || top + geometry.H > chunkPicture.height) return frame;
  frame.width = geometry.W;
  frame.height = geometry.H;
  const size_t stride = static_cast<size_t>(geometry.W) * 3;
  const auto first = chunkPicture.rgb.begin() + static_cast<std::ptrdiff_t>(top * stride);
  frame.rgb.assign(first, first + static_cast<std::ptrdiff_t>(geometry.H * stride));
  return frame;
}

}  // namespace kdxreader
