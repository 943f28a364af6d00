#include "file_conversion.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "bitmap.h"
#include "failure_texts.h"
#include "frame_filter_hook.h"
#include "kdx.h"
#include "kdxreader/kdx_file.h"
#include "log_file.h"
#include "stop_signal.h"
#include "transcoder_request.h"

namespace {

using std::chrono::milliseconds;

// How often the wait looks at Ctrl-C.
constexpr milliseconds kStopPoll{100};
// Every message of a stopped run is posted before StopTranscode returns;
// this only guards against a final message that never comes.
constexpr milliseconds kFinalMessageGrace{2000};

struct RunEnd {
  bool stopped = false;
  std::optional<std::string> error;  // the first error the run reported
};

// Reads the run's messages up to its final progress message.
RunEnd WaitForRunEnd(MessageQueue& queue, ProgressDisplay& display) {
  RunEnd end;
  for (;;) {
    if (!end.stopped && StopRequested()) {
      StopTranscode();
      end.stopped = true;
    }
    WindowMessage message;
    if (!queue.Get(message, end.stopped ? kFinalMessageGrace : kStopPoll)) {
      if (end.stopped) return end;
      continue;
    }
    if (message.message == WM_TRANSCODE_PROGRESS) {
      // Thumbnails are ours to free; the command line shows none.
      if (message.lParam != 0) DeleteObject(reinterpret_cast<HGDIOBJ>(message.lParam));
      if (message.wParam >= 100) return end;
      display.Update(static_cast<int>(message.wParam));
    } else if (message.message == WM_TRANSCODE_ERROR) {
      std::string text = TranscodeErrorText(message.wParam, message.lParam);
      KDX_ERROR_LOG(text);
      if (!end.error) end.error = text;
    }
  }
}

// The queued settings of the file, with the command line's choices.
INPUT_VIDEO_ITEM ItemFor(const FileJob& job, int64_t duration) {
  INPUT_VIDEO_ITEM item = NewInputVideoItem(job.input, duration, job.model);
  item.strQuality = job.options.quality;
  if (job.options.videoMode) item.strVideoMode = *job.options.videoMode;
  if (job.options.start) item.tmStart = *job.options.start;
  if (job.options.end) item.tmEnd = *job.options.end;
  return item;
}

// "between 00:00:20 and 00:00:30 (the file lasts 10.4 s)"
std::string RangeText(const INPUT_VIDEO_ITEM& item) {
  char length[32];
  std::snprintf(length, sizeof length, "%.1f", static_cast<double>(item.rtDuration) / kMediaUnitsPerSecond);
  return "between " + FormatVideoTime(item.tmStart) + " and " + FormatVideoTime(item.tmEnd) + " (the file lasts " +
         length + " s)";
}

// The range starts before its stop and before the end of the file.
bool RangeHoldsMedia(const TRANSCODER_PARAM& param, int64_t duration) {
  return param.rtStart < param.rtStop && param.rtStart < duration;
}

// Measures the source without opening it for conversion, which would
// delete an older destination before the range could be refused.
HRESULT MeasureDuration(const FileJob& job, MessageQueue& queue, int64_t* duration) {
  return NewTranscoder(queue.window(), job.input.c_str(), "", duration);
}

// Why a finished run's file is no conversion, or nothing: a file without a
// single picture (a range past the decodable part, a source whose data
// cannot be decoded) is no result.
std::optional<std::string> EmptyResult(const std::string& destination, const INPUT_VIDEO_ITEM& item) {
  const kdxreader::KdxHeaderResult written = kdxreader::ReadKdxHeader(destination);
  if (!written.header) return "The written file cannot be read back: " + written.error + ".";
  if (written.header->frameCount == 0) return "No picture could be decoded " + RangeText(item) + "; no file written.";
  return std::nullopt;
}

}  // namespace

FileOutcome ConvertFile(const FileJob& job, MessageQueue& queue, ProgressDisplay& display) {
  const std::string name = job.input;
  int64_t duration = 0;
  if (HRESULT measured = MeasureDuration(job, queue, &duration); measured != S_OK) {
    display.Report(false, name + ": Failed. " + NewTranscoderFailureText(measured));
    return FileOutcome::kFailed;
  }
  INPUT_VIDEO_ITEM item = ItemFor(job, duration);
  TranscoderRequest request = BuildTranscoderParam(job.model, item, queue.window(), &FrameFilterHook);
  if (!RangeHoldsMedia(request.param, duration)) {
    display.Report(false, name + ": Failed. Nothing to convert " + RangeText(item) + ".");
    return FileOutcome::kFailed;
  }
  HRESULT opened = NewTranscoder(queue.window(), job.input.c_str(), job.destination.c_str(), &duration);
  if (opened != S_OK) {
    display.Report(false, name + ": Failed. " + NewTranscoderFailureText(opened));
    return FileOutcome::kFailed;
  }
  SetScalingFilter(request.scalingFilter);

  auto started = std::chrono::steady_clock::now();
  display.Begin(name);
  if (Transcode(&request.param) == 0) {
    display.Report(false, name + ": " + kNotStartedText);
    return FileOutcome::kFailed;
  }
  RunEnd end = WaitForRunEnd(queue, display);
  if (end.stopped) {
    display.Report(false, name + ": stopped, no file written.");
    return FileOutcome::kStopped;
  }
  if (end.error) {
    display.Report(false, name + ": Failed. " + *end.error);
    return FileOutcome::kFailed;
  }
  std::error_code ignored;
  if (!std::filesystem::exists(job.destination, ignored)) {
    display.Report(false, name + ": " + kUnsupportedFormatText);
    return FileOutcome::kFailed;
  }
  if (std::optional<std::string> empty = EmptyResult(job.destination, item)) {
    std::filesystem::remove(job.destination, ignored);
    display.Report(false, name + ": Failed. " + *empty);
    return FileOutcome::kFailed;
  }
  auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count();
  WriteLog("KDX Converting %s took time: %d", job.input.c_str(), static_cast<int>(seconds));
  display.Report(true, name + ": converted to " + job.destination + " (" + std::to_string(seconds) + " s)");
  return FileOutcome::kConverted;
}
