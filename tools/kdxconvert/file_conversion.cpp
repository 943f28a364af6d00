#include "file_conversion.h"

#include <chrono>
#include <filesystem>
#include <optional>

#include "bitmap.h"
#include "failure_texts.h"
#include "frame_filter_hook.h"
#include "kdx.h"
#include "log_file.h"
#include "stop_signal.h"
#include "transcoder_request.h"

namespace {

using std::chrono::milliseconds;

constexpr int64_t kUnitsPerSecond = 10'000'000;
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
  INPUT_VIDEO_ITEM item = NewInputVideoItem(job.input, duration / kUnitsPerSecond, job.model);
  item.strQuality = job.options.quality;
  if (job.options.videoMode) item.strVideoMode = *job.options.videoMode;
  if (job.options.start) item.tmStart = *job.options.start;
  if (job.options.end) item.tmEnd = *job.options.end;
  return item;
}

}  // namespace

FileOutcome ConvertFile(const FileJob& job, MessageQueue& queue, ProgressDisplay& display) {
  const std::string name = job.input;
  int64_t duration = 0;
  HRESULT opened = NewTranscoder(queue.window(), job.input.c_str(), job.destination.c_str(), &duration);
  if (opened != S_OK) {
    display.Report(false, name + ": Failed. " + NewTranscoderFailureText(opened));
    return FileOutcome::kFailed;
  }
  INPUT_VIDEO_ITEM item = ItemFor(job, duration);
  if (VideoTimeToSeconds(item.tmStart) >= VideoTimeToSeconds(item.tmEnd)) {
    display.Report(false, name + ": Failed. Nothing to convert between " + FormatVideoTime(item.tmStart) + " and " +
                              FormatVideoTime(item.tmEnd) + " (the file lasts " + FormatVideoTime(item.tmDuration) +
                              ").");
    return FileOutcome::kFailed;
  }
  TranscoderRequest request = BuildTranscoderParam(job.model, item, queue.window(), &FrameFilterHook);
  SetScalingFilter(request.scalingFilter);

  auto started = std::chrono::steady_clock::now();
  display.Begin(name);
  if (Transcode(&request.param) == 0) {
    display.Report(false, name + ": Failed. The encoder did not start the conversion.");
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
  auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count();
  WriteLog("KDX Converting %s took time: %d", job.input.c_str(), static_cast<int>(seconds));
  display.Report(true, name + ": converted to " + job.destination + " (" + std::to_string(seconds) + " s)");
  return FileOutcome::kConverted;
}
