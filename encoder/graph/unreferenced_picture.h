// SPDX-License-Identifier: GPL-2.0-or-later
// Tells from the NAL unit headers of an H.264 packet whether it holds only
// a picture that no other picture refers to (nal_ref_idc 0). Such a packet
// may stay away from the decoder altogether when its picture is not wanted:
// with frame threads, handing a packet over costs a copy of the decoder's
// state and a wake-up even when the decoder then skips the picture.
#pragma once

extern "C" {
#include <libavcodec/codec_par.h>
#include <libavcodec/packet.h>
}

namespace kdx {

class UnreferencedPictures {
 public:
  // Recognises H.264 streams, length-prefixed (MP4, MKV, FLV) or with start
  // codes (MPEG-TS, raw): every other stream answers false.
  explicit UnreferencedPictures(const AVCodecParameters& stream);

  // True only when the packet holds unreferenced slices and nothing else
  // that matters beyond the picture (supplemental information, delimiters,
  // filler); parameter sets, referenced or damaged units answer false.
  bool OnlyUnreferenced(const AVPacket& packet) const;

 private:
  bool h264_ = false;
  int lengthBytes_ = 0;  // size of each unit's length prefix; 0: start codes
};

}  // namespace kdx
