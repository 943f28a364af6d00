// SPDX-License-Identifier: GPL-2.0-or-later
#include "conversion_run.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>

#include "audio/sound_converter.h"
#include "library_state.h"
#include "video/frame_interval.h"
#include "writer/kdx_assembly.h"
#include "writer/kdx_limits.h"
#include "writer/run_folder.h"

namespace kdx {

namespace {

constexpr double kUnitsPerSecond = 10000000.0;
constexpr int kCompletionWaitMs = 500;
// The pass looks at the state word this often, so a stop (the user's
// Cancel, which blocks the caller until the run has ended) is answered
// quickly.
constexpr int kStopPollMs = 50;
// The measuring pass looks at a tenth of the range, at most five seconds.
constexpr int64_t kLongestMeasuringPass = 50000000;
// Silence for a source without sound has the channels asked for, at most
// two: more of it would only make the file bigger.
constexpr int kMostSilentChannels = 2;

// A failed step: reported once, then the run ends without a destination.
// code is WM_TRANSCODE_ERROR's wParam; a failed step (code 0) carries its
// result and, where the system told, the reason (errno).
struct StepFailure {
  WPARAM code;
  HRESULT result;
  int reason;
};

void Check(HRESULT result) {
  if (FAILED(result)) throw StepFailure{0, result, 0};
}

void Check(bool ok) {
  if (!ok) throw StepFailure{0, E_FAIL, 0};
}

// A failed file step, with the system's reason.
[[noreturn]] void FailFileStep(int reason) { throw StepFailure{0, E_FAIL, reason}; }

void CheckFile(const BinaryFile& file) {
  if (file.Failed()) FailFileStep(file.Error());
}

// Why a write failed where the writer could not tell (the sound part is
// written on a streaming thread): a full disk is recognised by its space.
int WriteFailureReason(const std::string& folder) {
  struct statvfs space {};
  return statvfs(folder.c_str(), &space) == 0 && space.f_bavail == 0 ? ENOSPC : 0;
}

// Another file that took the destination's name since the transcoder was
// opened is left alone, and this run fails.
void CheckDestinationFree(const RunFolder& folder, const CTranscoder& transcoder) {
  if (!folder.DestinationIsFree(transcoder.AgreedFile())) throw StepFailure{KDX_ERROR_DESTINATION_TAKEN, 0, 0};
}

// Positions of the run from the request and the duration: a reversed range
// becomes an empty one at its start, or at the end when it starts beyond.
void ComputePositions(DecodingGraph& graph, int64_t* start, int64_t* stop) {
  *start = *stop = 0;
  int64_t duration = 0;
  if (!graph.GetDuration(&duration)) return;
  if (g_param.rtStop - g_param.rtStart >= 0) {
    *start = g_param.rtStart;
    *stop = g_param.rtStop;
  } else if (duration > g_param.rtStart) {
    *start = *stop = g_param.rtStart;
  } else {
    *start = *stop = duration;
  }
}

// Waits until the graph completes, both streams have passed the end, or a
// stop is requested (then the graph is stopped).
void WaitForPass(DecodingGraph& graph, const CVideoGrabberCB& video, const CAudioGrabberCB& audio, int64_t stop) {
  for (;;) {
    long event = 0;
    if (graph.WaitForCompletion(kStopPollMs, &event) != E_ABORT && event == EC_COMPLETE) return;
    if (static_cast<int64_t>(audio.LastTime() * kUnitsPerSecond) >= stop &&
        static_cast<int64_t>(video.LastTime() * kUnitsPerSecond) >= stop) {
      return;
    }
    if (!IsBusy()) {
      graph.Stop();
      return;
    }
  }
}

void RunPass(DecodingGraph& graph, CVideoGrabberCB& video, const CAudioGrabberCB& audio, int64_t stop) {
  Check(graph.Run());
  WaitForPass(graph, video, audio, stop);
  long event = 0;
  graph.WaitForCompletion(kCompletionWaitMs, &event);
  // No callback nor chunk encoding may touch the temporaries once the pass
  // is over.
  graph.Stop();
  video.EndPass();
}

// Source frame rate, measured over the start of the range when the source
// states none.
FrameRate MeasureSourceRate(DecodingGraph& graph, CVideoGrabberCB& video, const CAudioGrabberCB& audio,
                              BinaryFile& videoFile, double stampSeconds, int64_t start, int64_t stop) {
  const int64_t measuringEnd = start + std::min<int64_t>((stop - start) / 10, kLongestMeasuringPass);
  video.SetRange(start / kUnitsPerSecond, stop / kUnitsPerSecond);
  const double T = 1.0 / g_param.nFrameRate;
  video.SetFrameInterval(T);
  video.SetTimeTolerance(DueTimeTolerance(stampSeconds, FrameRate{}, T));
  video.Reset();
  Check(graph.SetPositions(start, measuringEnd));
  RunPass(graph, video, audio, measuringEnd);
  const FrameRate rate = RateFromMean(video.MeanInputInterval());
  Check(graph.SetPositions(start, stop));
  // The final pass starts an empty chunk area: what the measuring pass
  // wrote beyond the final pass's last chunk must not end up in the file.
  Check(videoFile.Truncate());
  return rate;
}

// Where the output ends, in media seconds: the range's stop, or before it
// where the later of the two streams ends (the pictures one source frame
// after their last one). A still picture with long sound lasts as long as
// the sound; sound shorter than the pictures is made up with silence.
double OutputEnd(const CVideoGrabberCB& video, const CAudioGrabberCB& audio, double frameSeconds, double stop) {
  double end = audio.SoundEnd();
  if (video.LastPictureTime() >= 0.0) end = std::max(end, video.LastPictureTime() + frameSeconds);
  return std::min(end, stop);
}

// A range the file cannot hold is refused before its pass writes a byte: a
// damaged time base can make a few pictures span weeks, and the sound
// would be made up with silence to their end.
void CheckFormatLimits(int64_t start, int64_t stop, double frameInterval) {
  switch (PassedLimit((stop - start) / kUnitsPerSecond, frameInterval, g_param.nSampleRate, g_param.nChannels)) {
    case KdxLimit::kFrameCount:
      throw StepFailure{KDX_ERROR_TOO_MANY_FRAMES, 0, 0};
    case KdxLimit::kSoundPart:
      throw StepFailure{KDX_ERROR_SOUND_TOO_LARGE, 0, 0};
    case KdxLimit::kNone:
      return;
  }
}

// The final pass: the sound is converted into the run folder's KDX file
// while the pictures go into ".video"; then the header and the chunks
// follow the sound part, and the finished file takes the destination's
// name. Both streams share one time line: output time 0 is the range's
// start.
void ConvertRange(CTranscoder& transcoder, CVideoGrabberCB& video, CAudioGrabberCB& audio, BinaryFile& videoFile,
                  RunFolder& folder, double videoStampSeconds, int64_t start, int64_t stop, FrameRate sourceRate) {
  DecodingGraph& graph = transcoder.Graph();
  video.SetRange(start / kUnitsPerSecond, stop / kUnitsPerSecond);
  video.SetLastPercent(0);
  const double T = DecideFrameInterval(sourceRate, g_param.nFrameRate);
  CheckFormatLimits(start, stop, T);
  video.SetFrameInterval(T);
  video.SetTimeTolerance(DueTimeTolerance(videoStampSeconds, sourceRate, T));
  video.Reset();

  AudioFormat audioFormat;
  // A source opened without a sound track gets silence, made at the output
  // rate: nothing of it reaches the callback, and the finish pads it to the
  // pictures' end.
  if (!graph.GetAudioFormat(&audioFormat)) {
    audioFormat.channels = static_cast<int16_t>(std::clamp(g_param.nChannels, 1, kMostSilentChannels));
    audioFormat.samplesPerSec = g_param.nSampleRate;
  }
  // A sound that cannot be converted leaves a file without a sound part.
  SoundConverter sound;
  if (sound.Open(folder.KdxPath(), audioFormat.samplesPerSec, audioFormat.channels, g_param.nSampleRate,
                 g_param.nChannels)) {
    audio.AttachConverter(&sound, audioFormat.channels, audioFormat.samplesPerSec);
  }
  audio.SetStampStep(audioFormat.stampSeconds);
  audio.SetRange(start / kUnitsPerSecond, stop / kUnitsPerSecond);
  audio.SetLastTime(0.0);

  RunPass(graph, video, audio, stop);
  if (IsBusy()) {
    const double end = OutputEnd(video, audio, sourceRate.Known() ? sourceRate.Interval() : T, stop / kUnitsPerSecond);
    video.FinishAt(end);
    audio.FinishAt(end);
  }
  audio.DetachConverter();
  video.DetachFile();
  if (!IsBusy()) return;
  // A write that failed while the graph ran (a full disk) fails the run.
  CheckFile(videoFile);
  const ChunkGeometry& geometry = video.Geometry();
  const int32_t frameCount = RoundFrameCount(video.FrameCount(), geometry.F);
  // A file without a single picture is no conversion: an older file stays.
  if (frameCount == 0) throw StepFailure{KDX_ERROR_NO_PICTURE, 0, 0};
  // A sound part that could not be written (a full disk) fails the run.
  if (sound.IsOpen()) {
    errno = 0;
    const bool finished = sound.Finish();
    if (!finished) FailFileStep(errno != 0 ? errno : WriteFailureReason(folder.path()));
  }
  BinaryFile output;
  folder.OpenKdx(output, BinaryFile::Mode::AppendWrite);
  CheckFile(output);
  if (!AppendKdxBody(output, videoFile, geometry, frameCount, g_state)) {
    CheckFile(videoFile);
    CheckFile(output);
    Check(false);
  }
  // A stop during the copy leaves the file incomplete: it never gets the
  // destination's name.
  if (!IsBusy()) return;
  // On the disk before it has the name, so a crash shows the whole file or
  // none.
  if (!output.Sync() || !output.Close()) CheckFile(output);
  std::optional<FileIdentity> moved;
  switch (folder.MoveKdxTo(transcoder.AgreedFile(), &moved)) {
    case RunFolder::Move::kDone:
      transcoder.SetAgreedFile(moved);
      return;
    case RunFolder::Move::kTaken:
      throw StepFailure{KDX_ERROR_DESTINATION_TAKEN, 0, 0};
    case RunFolder::Move::kFailed:
      FailFileStep(folder.Error());
  }
}

}  // namespace

void RunConversion(CTranscoder& transcoder, CVideoGrabberCB& video, CAudioGrabberCB& audio) {
  DecodingGraph& graph = transcoder.Graph();
  RunFolder folder;
  BinaryFile videoFile;
  try {
    // A stop that came before the run started ends it quietly.
    if (IsBusy()) {
      Check(!transcoder.IsPreview());
      // The graph still runs from its build; callbacks change only while
      // it is stopped.
      graph.StopWhenReady();
      graph.SetVideoCallback(&video);
      graph.SetAudioCallback(&audio);
      if (!folder.Create(transcoder.Destination())) FailFileStep(folder.Error());
      CheckDestinationFree(folder, transcoder);
      folder.OpenVideo(videoFile, BinaryFile::Mode::CreateReadWrite);
      CheckFile(videoFile);

      int64_t start = 0;
      int64_t stop = 0;
      ComputePositions(graph, &start, &stop);
      Check(graph.SetPositions(start, stop));
      VideoFormat videoFormat;
      Check(graph.GetVideoFormat(&videoFormat));
      video.SetupOutputSize(videoFormat.width, videoFormat.height);
      video.AttachFile(&videoFile);

      FrameRate sourceRate{videoFormat.rateNum, videoFormat.rateDen};
      if (!sourceRate.Known())
        sourceRate = MeasureSourceRate(graph, video, audio, videoFile, videoFormat.stampSeconds, start, stop);
      if (IsBusy()) {
        ConvertRange(transcoder, video, audio, videoFile, folder, videoFormat.stampSeconds, start, stop,
                     sourceRate);
      }
    }
  } catch (const StepFailure& failure) {
    PostToCaller(WM_TRANSCODE_ERROR, failure.code, failure.code == 0 ? KdxErrorParam(failure.result, failure.reason) : 0);
  }
  graph.Stop();
  video.DetachFile();
  audio.DetachConverter();
  videoFile.Close();
  folder.Remove();
}

}  // namespace kdx
