// SPDX-License-Identifier: GPL-2.0-or-later
#include "writer/chunk_record.h"

#include <algorithm>
#include <vector>

#include "writer/little_endian.h"

namespace kdx {

namespace {
constexpr size_t kFillerBlock = 4096;
}  // namespace

bool AppendChunkRecord(BinaryFile& video, const uint8_t* jpeg, size_t jpegLength, int32_t S, const uint8_t* filler,
                       size_t fillerLength) {
  if (S < 3) return false;
  uint8_t length[3];
  PutLittleEndian(length, jpegLength, sizeof length);
  video.Write(length, sizeof length);
  size_t budget = static_cast<size_t>(S) - 3;
  const size_t picture = std::min(jpegLength, budget);
  if (picture > 0) video.Write(jpeg, picture);
  budget -= picture;

  static const std::vector<uint8_t> zeros(kFillerBlock, 0);
  const uint8_t* source = fillerLength > 0 && filler != nullptr ? filler : zeros.data();
  const size_t block = fillerLength > 0 && filler != nullptr ? std::min(kFillerBlock, fillerLength) : kFillerBlock;
  while (budget > 0) {
    const size_t n = std::min(block, budget);
    video.Write(source, n);
    budget -= n;
  }
  return !video.Failed();
}

}  // namespace kdx
