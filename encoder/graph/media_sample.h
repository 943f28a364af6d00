// SPDX-License-Identifier: GPL-2.0-or-later
// What the decoding graph hands to the sample callbacks.
#pragma once

#include <cstdint>
#include <span>

#include "pixels/seen_picture.h"

namespace kdx {

class IMediaSample {
 public:
  virtual ~IMediaSample() = default;
  // Video: width x height bottom-up BGR24 rows, tightly packed (3 x width
  // bytes). The decoded frame is colour-converted on the first call only, so
  // a callback that drops a frame without asking pays nothing for it.
  // Audio: interleaved signed 16-bit PCM. Null when the data is unavailable.
  virtual const uint8_t* GetPointer() = 0;
  virtual int32_t GetActualDataLength() = 0;
  // Video: the decoded picture and how it is delivered, so a callback can
  // scale the part it keeps straight from it instead of converting the
  // whole frame first; null when the sample has only the BGR24 rows.
  virtual const SeenPicture* Seen() { return nullptr; }
};

class ISampleGrabberCB {
 public:
  virtual ~ISampleGrabberCB() = default;
  // time: seconds from the start of the media. Returns 0.
  virtual int SampleCB(double time, IMediaSample* sample) = 0;
  // Video: true when the callback is sure to drop a picture at `time`
  // without looking at it, even if pictures at the `earlier` times (on their
  // way, ascending) arrive first; the decoder may then leave it out. Asked
  // on the streaming thread, between samples.
  virtual bool WillDrop(double /*time*/, std::span<const double> /*earlier*/) const { return false; }
};

}  // namespace kdx
