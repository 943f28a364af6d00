// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/stream_decoder.h"

namespace kdx {

namespace {

// Hands over every frame the decoder has ready; false when the handler has
// had enough.
bool DeliverReadyFrames(AVCodecContext& decoder, AVFrame& frame, const FrameHandler& handleFrame) {
  for (;;) {
    // Any error but "no frame yet" is a damaged frame: the next packet may
    // decode again.
    if (avcodec_receive_frame(&decoder, &frame) < 0) return true;
    const bool wantsMore = handleFrame(frame);
    av_frame_unref(&frame);
    if (!wantsMore) return false;
  }
}

}  // namespace

void DecodeStream(PacketQueue& queue, AVCodecContext& decoder, const FrameHandler& handleFrame,
                  const PacketHandler& beforeSending) {
  FramePtr frame(av_frame_alloc());
  if (!frame) return;
  PacketPtr packet;
  while (queue.Pop(&packet)) {
    // An empty packet ends the input and puts the decoder into draining.
    const bool endOfInput = !packet;
    if (packet && beforeSending && !beforeSending(*packet)) continue;
    if (avcodec_send_packet(&decoder, packet.get()) == AVERROR(EAGAIN)) {
      if (!DeliverReadyFrames(decoder, *frame, handleFrame)) return;
      avcodec_send_packet(&decoder, packet.get());
    }
    if (!DeliverReadyFrames(decoder, *frame, handleFrame) || endOfInput) return;
  }
}

}  // namespace kdx
