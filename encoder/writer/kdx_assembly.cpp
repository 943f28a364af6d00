// SPDX-License-Identifier: GPL-2.0-or-later
#include "writer/kdx_assembly.h"

#include "kdx.h"
#include "writer/kdx_header.h"

namespace kdx {

namespace {
constexpr size_t kCopyBlock = 1000;
}  // namespace

bool AppendKdxBody(BinaryFile& output, BinaryFile& video, const ChunkGeometry& geometry, int32_t frameCount,
                   const std::atomic<int32_t>& stateWord) {
  const auto header = BuildKdxHeader(geometry, frameCount);
  if (!output.Write(header.data(), header.size()) || !video.Seek(0)) return false;
  uint8_t block[kCopyBlock];
  for (;;) {
    const size_t n = video.Read(block, sizeof block);
    if (video.Failed() || !output.Write(block, n)) return false;
    if (n < sizeof block) break;
    if (stateWord.load(std::memory_order_acquire) != TS_BUSY) break;
  }
  return true;
}

}  // namespace kdx
