// SPDX-License-Identifier: GPL-2.0-or-later
// How the pictures of a run are cut into fixed-size chunks.
#pragma once

#include <cstdint>

namespace kdx {

struct ChunkGeometry {
  int32_t W = 0;                  // output frame width
  int32_t H = 0;                  // output frame height
  int32_t P = 0;                  // slot height: H rounded up to 16
  int32_t R = 0;                  // frames per second, 1 / T truncated
  int32_t C = 0;                  // chunks per second
  int32_t F = 0;                  // frames per chunk
  double D = 0.0;                 // chunk duration in seconds
  int32_t S = 0;                  // chunk size in bytes
  int32_t framesPerSecondByte = 0;  // header byte 24: (1 / D truncated) x F
};

// videoBytesPerSecond is the request's data rate already in bytes.
// Geometry with H > 640 (chunk mode) or T > 1 s has no meaning; the result
// then holds at least one frame per chunk and one chunk per second.
ChunkGeometry ComputeChunkGeometry(int32_t W, int32_t H, double T, int32_t videoBytesPerSecond, bool secondChunks);

// Accepted frames rounded down to a whole number of chunks.
int32_t RoundFrameCount(int32_t acceptedFrames, int32_t F);

}  // namespace kdx
