// SPDX-License-Identifier: GPL-2.0-or-later
#include "graph/decoding_graph.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "graph/bgr24_converter.h"
#include "graph/display_shape.h"
#include "graph/media_source.h"
#include "graph/pcm16_converter.h"
#include "graph/streaming_session.h"
#include "kdx.h"

namespace kdx {

struct DecodingGraph::Impl {
  // Callbacks are read by the streaming threads at each sample.
  std::atomic<ISampleGrabberCB*> videoCallback{nullptr};
  std::atomic<ISampleGrabberCB*> audioCallback{nullptr};

  // What the build found. It has a lock of its own so that a callback may
  // ask for it while Stop waits for that callback's thread.
  struct Description {
    bool built = false;
    bool hasAudio = false;
    bool hasDuration = false;
    int64_t duration = 0;
    int32_t missingPathReason = KDX_REASON_NONE;
    VideoFormat videoFormat;
    AudioFormat audioFormat;
  };
  mutable std::mutex descriptionMutex;
  Description description;

  // Serialises building, positioning, running and stopping.
  std::mutex control;
  std::unique_ptr<MediaSource> source;
  std::unique_ptr<Bgr24Converter> pictures;
  std::unique_ptr<Pcm16Converter> sound;
  int64_t start = 0;
  int64_t stop = 0;
  std::unique_ptr<StreamingSession> session;  // set while running

  std::mutex completionMutex;
  std::condition_variable completed;
  bool complete = false;

  HRESULT OpenSource(const std::string& path, Mode mode, MissingSound missingSound, Description* found);
  Description Described() const {
    std::lock_guard lock(descriptionMutex);
    return description;
  }
  void Describe(const Description& found) {
    std::lock_guard lock(descriptionMutex);
    description = found;
  }
  // Both need the control lock.
  HRESULT StartStreaming();
  void StopStreaming() { session.reset(); }
  void SetComplete(bool value) {
    {
      std::lock_guard lock(completionMutex);
      complete = value;
    }
    completed.notify_all();
  }
};

namespace {

int64_t TimePerFrame(AVRational frameRate) {
  if (frameRate.num <= 0 || frameRate.den <= 0) return 0;
  return av_rescale(10000000, frameRate.den, frameRate.num);
}

}  // namespace

HRESULT DecodingGraph::Impl::OpenSource(const std::string& path, Mode mode, MissingSound missingSound,
                                        Description* found) {
  source = std::make_unique<MediaSource>();
  sound.reset();
  pictures.reset();
  if (!source->Open(path)) return VFW_E_CANNOT_RENDER;
  found->hasDuration = source->Duration(&found->duration);
  const auto refuse = [found](HRESULT missingPath, int32_t reason) {
    found->missingPathReason = reason;
    return missingPath;
  };
  // The picture first, so the sound comes from its program.
  const bool hasVideo = source->OpenVideo();
  // No sound can make up for pictures: a file without any is refused for
  // them first.
  if (!hasVideo && !source->HoldsStream(AVMEDIA_TYPE_VIDEO))
    return refuse(VFW_E_NO_VIDEO_PATH, KDX_REASON_NO_STREAM);
  if (mode == Mode::Conversion && !source->OpenAudio()) {
    const bool soundless = !source->HoldsStream(AVMEDIA_TYPE_AUDIO);
    if (!soundless || missingSound == MissingSound::Refuse)
      return refuse(VFW_E_NO_AUDIO_PATH, soundless ? KDX_REASON_NO_STREAM : KDX_REASON_NO_DECODER);
  }
  if (!hasVideo) return refuse(VFW_E_NO_VIDEO_PATH, KDX_REASON_NO_DECODER);
  source->DiscardUnusedStreams();

  const DecodedStream& video = source->video();
  // Frames are delivered as the picture is meant to be seen.
  const DisplayShape shape = ShapeOfStream(source->format(), video.stream, *video.decoder);
  VideoFormat& videoFormat = found->videoFormat;
  videoFormat.width = shape.Width();
  videoFormat.height = shape.Height();
  videoFormat.avgTimePerFrame = TimePerFrame(video.stream->avg_frame_rate);
  if (videoFormat.avgTimePerFrame > 0) {
    videoFormat.rateNum = video.stream->avg_frame_rate.num;
    videoFormat.rateDen = video.stream->avg_frame_rate.den;
  }
  videoFormat.stampSeconds = av_q2d(video.stream->time_base);
  pictures = std::make_unique<Bgr24Converter>(shape);

  const bool hasAudio = source->audio().stream != nullptr;
  if (hasAudio) {
    const AVCodecContext& decoder = *source->audio().decoder;
    AudioFormat& audioFormat = found->audioFormat;
    audioFormat.channels = static_cast<int16_t>(Pcm16Converter::AnnouncedChannels(decoder.ch_layout.nb_channels));
    audioFormat.samplesPerSec = decoder.sample_rate;
    audioFormat.blockAlign = static_cast<int16_t>(2 * audioFormat.channels);
    audioFormat.avgBytesPerSec = audioFormat.samplesPerSec * audioFormat.blockAlign;
    audioFormat.bitsPerSample = 16;
    audioFormat.stampSeconds = av_q2d(source->audio().stream->time_base);
    sound = std::make_unique<Pcm16Converter>(audioFormat.channels, audioFormat.samplesPerSec);
  }
  found->hasAudio = hasAudio;
  found->built = true;
  return S_OK;
}

HRESULT DecodingGraph::Impl::StartStreaming() {
  StopStreaming();
  SetComplete(false);
  source->Seek(start);
  StreamingSetup setup;
  setup.source = source.get();
  setup.stop = stop;
  setup.pictures = pictures.get();
  setup.sound = sound.get();
  setup.videoCallback = &videoCallback;
  setup.audioCallback = &audioCallback;
  setup.onComplete = [this] { SetComplete(true); };
  session = std::make_unique<StreamingSession>(std::move(setup));
  if (!session->Start()) {
    session.reset();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

DecodingGraph::DecodingGraph() : impl_(std::make_unique<Impl>()) {}

DecodingGraph::~DecodingGraph() { Stop(); }

HRESULT DecodingGraph::Build(const std::string& sourcePath, Mode mode, MissingSound missingSound) {
  std::lock_guard lock(impl_->control);
  Impl& graph = *impl_;
  graph.StopStreaming();
  graph.SetComplete(false);
  Impl::Description found;
  const HRESULT opened = graph.OpenSource(sourcePath, mode, missingSound, &found);
  graph.Describe(found);
  if (FAILED(opened)) return opened;
  graph.start = 0;
  graph.stop = 0;
  // A conversion sets its callbacks and range after the build: its build
  // pass is over at once, leaving the file unread and the decoders unused
  // for the first range it runs.
  if (mode == Mode::Conversion) {
    graph.SetComplete(true);
    return S_OK;
  }
  // Running over 0..0 hands the first picture to a preview callback.
  return graph.StartStreaming();
}

void DecodingGraph::SetVideoCallback(ISampleGrabberCB* callback) { impl_->videoCallback = callback; }

void DecodingGraph::SetAudioCallback(ISampleGrabberCB* callback) { impl_->audioCallback = callback; }

bool DecodingGraph::GetDuration(int64_t* duration) const {
  const Impl::Description found = impl_->Described();
  if (!duration || !found.hasDuration) return false;
  *duration = found.duration;
  return true;
}

HRESULT DecodingGraph::SetPositions(int64_t start, int64_t stop) {
  std::lock_guard lock(impl_->control);
  impl_->start = start;
  impl_->stop = stop;
  return impl_->session ? impl_->StartStreaming() : S_OK;
}

HRESULT DecodingGraph::Run() {
  std::lock_guard lock(impl_->control);
  if (!impl_->Described().built) return E_FAIL;
  return impl_->StartStreaming();
}

void DecodingGraph::Stop() {
  std::lock_guard lock(impl_->control);
  impl_->StopStreaming();
}

void DecodingGraph::StopWhenReady() { Stop(); }

HRESULT DecodingGraph::WaitForCompletion(int timeoutMs, long* eventCode) {
  Impl& graph = *impl_;
  std::unique_lock lock(graph.completionMutex);
  const auto isComplete = [&graph] { return graph.complete; };
  if (timeoutMs < 0)
    graph.completed.wait(lock, isComplete);
  else if (!graph.completed.wait_for(lock, std::chrono::milliseconds(timeoutMs), isComplete))
    return E_ABORT;
  if (eventCode) *eventCode = EC_COMPLETE;
  return S_OK;
}

int32_t DecodingGraph::MissingPathReason() const { return impl_->Described().missingPathReason; }

bool DecodingGraph::GetVideoFormat(VideoFormat* format) const {
  const Impl::Description found = impl_->Described();
  if (!format || !found.built) return false;
  *format = found.videoFormat;
  return true;
}

bool DecodingGraph::GetAudioFormat(AudioFormat* format) const {
  const Impl::Description found = impl_->Described();
  if (!format || !found.hasAudio) return false;
  *format = found.audioFormat;
  return true;
}

}  // namespace kdx
