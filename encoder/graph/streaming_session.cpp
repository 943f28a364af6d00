// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/streaming_session.h"

#include <chrono>
#include <system_error>
#include <vector>

#include "graph/frame_clock.h"
#include "graph/lazy_video_sample.h"
#include "graph/pcm_sample.h"
#include "graph/picture_skip_planner.h"
#include "graph/stream_decoder.h"
#include "graph/timeline_joiner.h"
#include "graph/unreferenced_picture.h"

namespace kdx {

namespace {

// A few decoded frames' worth of compressed input per stream keeps memory
// bounded whatever the clip's length; sound packets are small and often
// interleaved in long runs.
constexpr size_t kVideoPacketCapacity = 8;
constexpr size_t kAudioPacketCapacity = 48;

// How long an untimed picture lasts when its packet does not say.
double NominalFrameSeconds(const AVStream& stream) {
  const AVRational rate = stream.avg_frame_rate.num > 0 ? stream.avg_frame_rate : stream.r_frame_rate;
  return rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 1.0 / 25.0;
}

}  // namespace

StreamingSession::StreamingSession(StreamingSetup setup)
    : setup_(std::move(setup)),
      stopSeconds_(static_cast<double>(setup_.stop) / 1e7),
      videoPackets_(kVideoPacketCapacity),
      audioPackets_(kAudioPacketCapacity) {}

StreamingSession::~StreamingSession() { Stop(); }

bool StreamingSession::Start() {
  runningStreams_ = setup_.sound ? 2 : 1;
  try {
    videoStreamer_ = std::thread(&StreamingSession::StreamVideo, this);
    if (setup_.sound) audioStreamer_ = std::thread(&StreamingSession::StreamAudio, this);
    demuxer_ = std::thread(&StreamingSession::Demux, this);
  } catch (const std::system_error&) {
    Stop();
    return false;
  }
  return true;
}

void StreamingSession::Stop() {
  stopping_ = true;
  setup_.source->SetInterrupted(true);
  videoPackets_.Close();
  audioPackets_.Close();
  for (std::thread* thread : {&demuxer_, &videoStreamer_, &audioStreamer_}) {
    if (thread->joinable()) thread->join();
  }
  setup_.source->SetInterrupted(false);
}

void StreamingSession::Demux() {
  struct Route {
    int streamIndex;
    PacketQueue* queue;
    bool wanted;
  };
  std::vector<Route> routes{{setup_.source->video().stream->index, &videoPackets_, true}};
  if (setup_.sound) routes.push_back({setup_.source->audio().stream->index, &audioPackets_, true});
  size_t wantedStreams = routes.size();

  AVFormatContext* format = setup_.source->format();
  TimelineJoiner joiner(*format);
  while (wantedStreams > 0 && !Stopping()) {
    PacketPtr packet(av_packet_alloc());
    if (!packet) break;
    const int result = av_read_frame(format, packet.get());
    if (result == AVERROR(EAGAIN)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      continue;
    }
    // The end of the file, a truncation or an unreadable stretch: whatever
    // was read so far is the whole input.
    if (result < 0) break;
    joiner.Adjust(*packet);
    for (Route& route : routes) {
      if (route.wanted && packet->stream_index == route.streamIndex) {
        if (!route.queue->Push(std::move(packet))) {
          route.wanted = false;
          --wantedStreams;
        }
        break;
      }
    }
  }
  for (Route& route : routes) {
    if (route.wanted) route.queue->Push(nullptr);
  }
}

void StreamingSession::StreamVideo() {
  DecodedStream& video = setup_.source->video();
  const AVRational timeBase = video.stream->time_base;
  const double nominalSeconds = NominalFrameSeconds(*video.stream);
  FrameClock clock(timeBase, setup_.source->StartTime());
  PictureSkipPlanner planner(clock, PictureSkippingAllowed());
  AVCodecContext& decoder = *video.decoder;
  auto handleFrame = [&](const AVFrame& frame) {
    if (Stopping()) return false;
    const double frameSeconds = frame.pkt_duration > 0 ? frame.pkt_duration * av_q2d(timeBase) : nominalSeconds;
    const double time = clock.TimeOf(frame, frameSeconds);
    planner.Delivered(frame, time);
    if (ISampleGrabberCB* callback = setup_.videoCallback->load()) {
      LazyVideoSample sample(*setup_.pictures, frame);
      callback->SampleCB(time, &sample);
    }
    return time < stopSeconds_;
  };
  // Pictures the callback will drop anyway are not decoded when nothing
  // refers to them; the decoder takes the setting along with each packet.
  // Those an H.264 packet's headers show unreferenced do not even reach it.
  const UnreferencedPictures unreferenced(*video.stream->codecpar);
  auto beforeSending = [&](const AVPacket& packet) {
    const bool skips = planner.Skips(packet, setup_.videoCallback->load());
    if (skips && unreferenced.OnlyUnreferenced(packet)) return false;
    decoder.skip_frame = skips ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
    return true;
  };
  DecodeStream(videoPackets_, decoder, handleFrame, beforeSending);
  decoder.skip_frame = AVDISCARD_DEFAULT;
  EndStream(videoPackets_);
}

void StreamingSession::StreamAudio() {
  DecodedStream& audio = setup_.source->audio();
  FrameClock clock(audio.stream->time_base, setup_.source->StartTime());
  DecodeStream(audioPackets_, *audio.decoder, [&](const AVFrame& frame) {
    if (Stopping()) return false;
    const double time = clock.SoundTimeOf(frame);
    ISampleGrabberCB* callback = setup_.audioCallback->load();
    if (callback && setup_.sound->Convert(frame)) {
      PcmSample sample(setup_.sound->data(), setup_.sound->size());
      callback->SampleCB(time, &sample);
    }
    return time < stopSeconds_;
  });
  EndStream(audioPackets_);
}

void StreamingSession::EndStream(PacketQueue& queue) {
  queue.Close();
  if (--runningStreams_ == 0 && !Stopping() && setup_.onComplete) setup_.onComplete();
}

}  // namespace kdx
