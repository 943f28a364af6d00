// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/unreferenced_picture.h"

#include <cstdint>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace kdx {

namespace {

enum NalType : int { kSlice = 1, kSupplemental = 6, kDelimiter = 9, kFiller = 12 };

// Folds one unit's header byte into the verdict so far; false once the
// packet is needed.
bool Fold(uint8_t header, bool* sawSlice) {
  if (header & 0x80) return false;  // forbidden bit: damaged
  const int type = header & 0x1f;
  if (type == kSlice) {
    *sawSlice = true;
    return (header & 0x60) == 0;  // nal_ref_idc
  }
  return type == kSupplemental || type == kDelimiter || type == kFiller;
}

bool LengthPrefixedOnlyUnreferenced(const uint8_t* data, int size, int lengthBytes) {
  bool sawSlice = false;
  int at = 0;
  while (at < size) {
    if (size - at < lengthBytes) return false;
    uint32_t length = 0;
    for (int i = 0; i < lengthBytes; ++i) length = (length << 8) | data[at + i];
    at += lengthBytes;
    if (length == 0 || length > static_cast<uint32_t>(size - at)) return false;
    if (!Fold(data[at], &sawSlice)) return false;
    at += static_cast<int>(length);
  }
  return sawSlice;
}

bool StartCodedOnlyUnreferenced(const uint8_t* data, int size) {
  bool sawSlice = false;
  for (int at = 0; at + 3 < size; ++at) {
    if (data[at] != 0 || data[at + 1] != 0 || data[at + 2] != 1) continue;
    at += 3;
    if (!Fold(data[at], &sawSlice)) return false;
  }
  return sawSlice;
}

}  // namespace

UnreferencedPictures::UnreferencedPictures(const AVCodecParameters& stream) {
  if (stream.codec_id != AV_CODEC_ID_H264) return;
  const uint8_t* extra = stream.extradata;
  // A decoder configuration record (first byte 1) says how long the
  // prefixes are; without one the units follow start codes.
  if (extra != nullptr && stream.extradata_size >= 7 && extra[0] == 1) lengthBytes_ = (extra[4] & 3) + 1;
  h264_ = true;
}

bool UnreferencedPictures::OnlyUnreferenced(const AVPacket& packet) const {
  if (!h264_ || packet.data == nullptr || packet.size <= 0) return false;
  return lengthBytes_ > 0 ? LengthPrefixedOnlyUnreferenced(packet.data, packet.size, lengthBytes_)
                          : StartCodedOnlyUnreferenced(packet.data, packet.size);
}

}  // namespace kdx
