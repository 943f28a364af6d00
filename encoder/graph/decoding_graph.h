// SPDX-License-Identifier: GPL-2.0-or-later
// Decodes one source file with FFmpeg and feeds the video and audio sample
// callbacks from two streaming threads, as fast as the machine allows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "graph/media_sample.h"
#include "platform/base/platform_types.h"

namespace kdx {

struct VideoFormat {
  // Of the delivered frames: upright, at square pixels.
  int32_t width = 0;
  int32_t height = 0;
  int64_t avgTimePerFrame = 0;  // 100-ns units; 0 when the source states none
  // The same as an exact fraction of frames per second; 0/0 when none.
  int64_t rateNum = 0;
  int64_t rateDen = 0;
  double stampSeconds = 0.0;    // the step of the stream's time stamps
};

struct AudioFormat {
  int16_t channels = 0;
  int32_t samplesPerSec = 0;
  int32_t avgBytesPerSec = 0;
  int16_t blockAlign = 0;
  int16_t bitsPerSample = 16;
  double stampSeconds = 0.0;  // the step of the stream's time stamps
};

class DecodingGraph {
 public:
  enum class Mode { Conversion, Preview };
  // What a conversion build does with a source that has pictures and no
  // sound track: refuse it, or build without sound.
  enum class MissingSound { Refuse, Allow };

  DecodingGraph();
  ~DecodingGraph();  // stops the streaming threads
  DecodingGraph(const DecodingGraph&) = delete;
  DecodingGraph& operator=(const DecodingGraph&) = delete;

  // Opens the source and checks both paths: VFW_E_CANNOT_RENDER when the file
  // cannot be opened or demuxed, VFW_E_NO_VIDEO_PATH when it holds no
  // picture (sound alone, a photo), then VFW_E_NO_AUDIO_PATH when no audio
  // stream can be decoded (conversion mode only; with MissingSound::Allow
  // not for a file that has no sound track at all), then
  // VFW_E_NO_VIDEO_PATH when no video stream can be decoded. On success the
  // graph is running over the range 0..0: in preview mode the video
  // callback receives the first frame.
  HRESULT Build(const std::string& sourcePath, Mode mode, MissingSound missingSound = MissingSound::Refuse);
  // Why the last build found no audio or video path: KDX_REASON_NO_STREAM
  // or KDX_REASON_NO_DECODER; KDX_REASON_NONE after any other outcome.
  int32_t MissingPathReason() const;

  // Callbacks may be changed only while the graph is stopped.
  void SetVideoCallback(ISampleGrabberCB* callback);
  void SetAudioCallback(ISampleGrabberCB* callback);

  // Duration in 100-ns units; false when unknown.
  bool GetDuration(int64_t* duration) const;
  // Absolute positions in 100-ns units. While running, streaming restarts
  // from the new start, like a seek in a running graph.
  HRESULT SetPositions(int64_t start, int64_t stop);
  // Starts (or restarts) streaming from the current start position. Frames
  // and sound before the start are still decoded but reach the callbacks
  // with their own times; streaming ends shortly after both streams pass the
  // stop position, and the graph then reports completion.
  HRESULT Run();
  // Stops streaming and joins the streaming threads; returns promptly.
  void Stop();
  void StopWhenReady();
  // Waits up to timeoutMs for completion: E_ABORT on time-out, otherwise S_OK
  // with *eventCode = EC_COMPLETE.
  HRESULT WaitForCompletion(int timeoutMs, long* eventCode);

  bool GetVideoFormat(VideoFormat* format) const;
  // False when the graph has no sound (a preview, or a conversion of a
  // source without a sound track).
  bool GetAudioFormat(AudioFormat* format) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kdx
