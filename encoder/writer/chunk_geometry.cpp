// SPDX-License-Identifier: GPL-2.0-or-later
#include "writer/chunk_geometry.h"

#include <algorithm>

namespace kdx {

namespace {
// A chunk picture holds at most about this many frame rows.
constexpr int32_t kChunkRows = 640;
}  // namespace

ChunkGeometry ComputeChunkGeometry(int32_t W, int32_t H, double T, int32_t videoBytesPerSecond, bool secondChunks) {
  ChunkGeometry g;
  g.W = W;
  g.H = H;
  g.P = ((H + 15) / 16) * 16;
  // Frame intervals above one second have no geometry of their own: keep
  // one frame a second rather than divide by zero.
  g.R = T > 0.0 ? std::max<int32_t>(1, static_cast<int32_t>(1.0 / T)) : 1;
  if (secondChunks) {
    g.C = 1;
    g.F = g.R;
    g.D = 1.0;
    g.S = videoBytesPerSecond;
  } else {
    // Frames taller than a chunk picture still get one frame per chunk.
    const int32_t k = H > 0 ? std::max<int32_t>(1, kChunkRows / H) : 1;
    g.C = (g.R + k - 1) / k;
    g.F = g.R / g.C;
    g.D = 1.0 / g.C;
    g.S = videoBytesPerSecond / g.C;
  }
  // (1 / D truncated) x F, taken as C x F: the division can land just below C.
  g.framesPerSecondByte = g.C * g.F;
  return g;
}

int32_t RoundFrameCount(int32_t acceptedFrames, int32_t F) {
  if (F <= 0 || acceptedFrames <= 0) return 0;
  return acceptedFrames / F * F;
}

}  // namespace kdx
