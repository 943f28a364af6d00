// SPDX-License-Identifier: GPL-2.0-or-later
// The decoding loop shared by the video and audio streaming threads.
#pragma once

#include <functional>

#include "graph/ffmpeg_handles.h"
#include "graph/packet_queue.h"

namespace kdx {

// Handles one decoded frame; returns false when the stream has gone far
// enough.
using FrameHandler = std::function<bool(const AVFrame&)>;
// Sees each packet once, before it goes to the decoder; false leaves the
// packet out.
using PacketHandler = std::function<bool(const AVPacket&)>;

// Feeds the queue's packets to the decoder and each decoded frame to the
// handler, until the handler has had enough, the input ends (the decoder is
// drained first) or the queue is closed. Packets the decoder refuses and
// frames it cannot decode are skipped.
void DecodeStream(PacketQueue& queue, AVCodecContext& decoder, const FrameHandler& handleFrame,
                  const PacketHandler& beforeSending = nullptr);

}  // namespace kdx
