// SPDX-License-Identifier: GPL-2.0-or-later
// Decides, packet by packet before decoding, which pictures the video
// callback is sure to drop, so that the decoder may leave out those no other
// picture refers to. A picture is skipped only when the callback drops it
// even after every picture still on its way before it has arrived; skipping
// ends for the rest of the pass as soon as the decoded pictures stop
// matching their packets' time stamps (no time stamp, out of order, or a
// picture lost on the way), because the decisions rest on those times.
#pragma once

#include <limits>
#include <vector>

#include "graph/frame_clock.h"
#include "graph/media_sample.h"

extern "C" {
#include <libavcodec/packet.h>
}

namespace kdx {

class PictureSkipPlanner {
 public:
  // enabled: false decodes every picture.
  PictureSkipPlanner(const FrameClock& clock, bool enabled) : clock_(clock), enabled_(enabled) {}

  // True when the packet's picture may be left out.
  bool Skips(const AVPacket& packet, const ISampleGrabberCB* callback);
  // Every picture the decoder delivers, with the time it was given.
  void Delivered(const AVFrame& frame, double time);

 private:
  const FrameClock& clock_;
  bool enabled_;
  // Times of the pictures sent to the decoder and not skipped, ascending.
  std::vector<double> onTheirWay_;
  double lastDelivered_ = -std::numeric_limits<double>::infinity();
};

// False when KDX_DECODE_ALL_PICTURES is set in the environment: then every
// picture is decoded, also those the conversion drops.
bool PictureSkippingAllowed();

}  // namespace kdx
