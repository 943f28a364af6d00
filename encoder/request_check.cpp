// SPDX-License-Identifier: GPL-2.0-or-later
#include "request_check.h"

#include "writer/kdx_header.h"

namespace kdx {

namespace {

// The header's byte fields W and H take the output size, which never
// exceeds the largest size asked for.
bool FitsFrameSide(int32_t side) { return side >= 1 && side <= kKdxMaxByteField; }

// The chunk size is the rate in bytes divided by the chunks per second,
// which is 1 for slow frame rates and for one-second chunks: the whole
// rate must fit the header's three bytes (and so also the shift to bytes).
bool FitsDataRate(int32_t kiBPerSecond) { return kiBPerSecond >= 1 && kiBPerSecond <= (kKdxMaxChunkSize >> 10); }

// Frames per chunk and per second never exceed the frame rate asked for.
// Rates below 1 are taken as 1 by the run.
bool FitsFrameRate(int32_t framesPerSecond) { return framesPerSecond <= kKdxMaxByteField; }

}  // namespace

bool IsRequestAcceptable(const TRANSCODER_PARAM& request) {
  return FitsFrameSide(request.nMaxWidth) && FitsFrameSide(request.nMaxHeight) &&
         FitsDataRate(request.nVideoKBps) && FitsFrameRate(request.nFrameRate);
}

}  // namespace kdx
