// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/job/conversion_job.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/base/bitmap.h"
#include "converter/core/request/failure_texts.h"
#include "converter/core/framehook/frame_filter_hook.h"
#include "kdx.h"
#include "converter/core/support/log_file.h"
#include "converter/core/request/transcoder_request.h"
#include "converter/core/probe/video_duration.h"

namespace {

using std::chrono::milliseconds;

// How often the wait looks for a stop request.
constexpr milliseconds kStopPoll{100};
// Every message of a stopped run is posted before StopTranscode returns;
// this only guards against a final message that never comes.
constexpr milliseconds kFinalMessageGrace{2000};

const char kNotRegularText[] = "Failed. The source is not a regular file.";
const char kNameTooLongText[] = "Failed. The output name is too long for the file system.";

// A file as the file system knows it: links and ".." lead to the same one.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const struct stat& attributes) { return {attributes.st_dev, attributes.st_ino}; }

// What stands at a path now; a file put there by a rename differs even when
// it got the inode number of the one it replaced, since its change time moved.
struct PathState {
  FileIdentity identity;
  timespec changed{};
  bool operator==(const PathState& other) const {
    return identity == other.identity && changed.tv_sec == other.changed.tv_sec &&
           changed.tv_nsec == other.changed.tv_nsec;
  }
};

std::optional<PathState> StateOf(const std::string& path) {
  struct stat attributes;
  if (stat(path.c_str(), &attributes) != 0) return std::nullopt;
  return PathState{IdentityOf(attributes), attributes.st_ctim};
}

// The output's own name is longer than its folder's file system holds.
bool NameTooLong(const std::string& destination) {
  const std::size_t slash = destination.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : destination.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
  const long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
  return longest > 0 && name.size() > static_cast<std::size_t>(longest);
}

// "between 00:00:20 and 00:00:30 (the file lasts 10.4 s)"
std::string RangeText(const INPUT_VIDEO_ITEM& item, int64_t duration) {
  char length[32];
  std::snprintf(length, sizeof length, "%.1f", static_cast<double>(duration) / kMediaUnitsPerSecond);
  return "between " + FormatVideoTime(item.tmStart) + " and " + FormatVideoTime(item.tmEnd) + " (the file lasts " +
         length + " s)";
}

struct RunEnd {
  bool stopped = false;
  bool quit = false;
  std::optional<WPARAM> errorCode;  // of the first error the run reported
  std::string error;
};

// Reads the run's messages up to its final progress message.
RunEnd WaitForRunEnd(RunMessages& messages) {
  RunEnd end;
  for (;;) {
    if (!end.stopped && messages.StopRequested()) {
      StopTranscode();
      end.stopped = true;
    }
    WindowMessage message;
    switch (messages.Next(message, end.stopped ? kFinalMessageGrace : kStopPoll)) {
      case RunMessages::Wait::kQuit:
        // The program is ending: the run goes with it.
        StopTranscode();
        end.stopped = end.quit = true;
        return end;
      case RunMessages::Wait::kTimeout:
        if (end.stopped) return end;
        continue;
      case RunMessages::Wait::kMessage:
        break;
    }
    if (message.message == WM_TRANSCODE_PROGRESS) {
      HBITMAP thumbnail = reinterpret_cast<HBITMAP>(message.lParam);
      if (message.wParam >= 100) {
        if (thumbnail != nullptr) DeleteObject(reinterpret_cast<HGDIOBJ>(thumbnail));
        // A stop asked for while the message waited (the window's Cancel
        // stops the encoder itself) still counts.
        end.stopped = end.stopped || messages.StopRequested();
        return end;
      }
      messages.Progress(static_cast<int>(message.wParam), thumbnail);
    } else if (message.message == WM_TRANSCODE_ERROR) {
      std::string text = TranscodeErrorText(message.wParam, message.lParam);
      KDX_ERROR_LOG(text);
      if (!end.errorCode) {
        end.errorCode = message.wParam;
        end.error = text;
      }
    }
  }
}

// The source's length in 100-ns units, read without opening a transcoder
// (which takes the destination); the encoder's own answer where the probe
// finds none, with its failure text.
std::optional<int64_t> MeasureSource(const ConversionJob& job, HWND window, std::string* failure) {
  double seconds = 0;
  if (ReadVideoDuration(job.input, &seconds))
    return static_cast<int64_t>(std::llround(seconds * kMediaUnitsPerSecond));
  int64_t duration = 0;
  int32_t reason = KDX_REASON_NONE;
  const HRESULT measured = NewTranscoderEx(window, job.input.c_str(), "", &duration, 0, &reason);
  CloseTranscoder();
  if (measured != S_OK) {
    *failure = NewTranscoderFailureText(measured, reason);
    return std::nullopt;
  }
  return duration;
}

// Opens the transcoder for the job's destination; false with the reason
// for the user when the encoder refuses the source.
bool OpenTranscoder(const ConversionJob& job, HWND window, std::string* failure) {
  int64_t duration = 0;
  int32_t reason = KDX_REASON_NONE;
  const HRESULT opened = NewTranscoderEx(window, job.input.c_str(), job.destination.c_str(), &duration,
                                         job.addSilence ? KDX_OPEN_ADD_SILENCE : 0, &reason);
  if (opened == S_OK) return true;
  *failure = NewTranscoderFailureText(opened, reason);
  if (opened == VFW_E_NO_AUDIO_PATH && reason == KDX_REASON_NO_STREAM && !job.silenceHint.empty())
    *failure += " " + job.silenceHint;
  return false;
}

// Removes the folders made for a file that did not convert, innermost
// first, up to the first that is not empty.
void RemoveMadeFolders(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (::rmdir(folder.c_str()) != 0) return;
  }
}

JobResult Failed(std::string reason) { return {JobOutcome::kFailed, std::move(reason), 0}; }

JobResult RunJob(const ConversionJob& job, RunMessages& messages) {
  struct stat source;
  if (stat(job.input.c_str(), &source) != 0) return Failed(kMissingInputText);
  if (!S_ISREG(source.st_mode)) return Failed(kNotRegularText);
  const std::optional<PathState> before = StateOf(job.destination);
  if (before && before->identity == IdentityOf(source))
    return Failed(NewTranscoderFailureText(E_INVALIDARG));
  if (NameTooLong(job.destination)) return Failed(kNameTooLongText);

  std::string failure;
  const std::optional<int64_t> duration = MeasureSource(job, messages.Window(), &failure);
  if (!duration) return Failed(failure);
  // A source the encoder refuses is refused whatever its range (a photo
  // lasts no second).
  if (!OpenTranscoder(job, messages.Window(), &failure)) return Failed(failure);
  const INPUT_VIDEO_ITEM item = job.settings(*duration);
  TranscoderRequest request = BuildTranscoderParam(job.model, item, messages.Window(), &FrameFilterHook);
  // An End typed past the file's end asks for the rest of the file.
  request.param.rtStop = std::min(request.param.rtStop, *duration);
  if (request.param.rtStart >= request.param.rtStop)
    return Failed("Nothing to convert " + RangeText(item, *duration) + ".");
  SetScalingFilter(request.scalingFilter);

  const auto started = std::chrono::steady_clock::now();
  if (Transcode(&request.param) == 0) return Failed(kNotStartedText);
  const RunEnd end = WaitForRunEnd(messages);
  JobResult result;
  result.seconds = static_cast<int>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count());
  // The run's file took the destination's name only when it was finished.
  const std::optional<PathState> after = StateOf(job.destination);
  const bool published = after && after != before;
  if (end.errorCode) {
    switch (*end.errorCode) {
      case KDX_ERROR_NO_PICTURE:
        result.reason = "No picture could be decoded " + RangeText(item, *duration) + "; no file written.";
        break;
      case KDX_ERROR_TOO_MANY_FRAMES:
      case KDX_ERROR_SOUND_TOO_LARGE:
        // A file that claims far more than it holds has a damaged header.
        result.reason = end.error + " Asked to convert " + RangeText(item, *duration) + ".";
        break;
      default:
        result.reason = end.error;
    }
    return result;
  }
  // A stopped run publishes nothing; a file that appeared meanwhile is
  // another conversion's.
  if (end.stopped) {
    result.outcome = JobOutcome::kStopped;
    return result;
  }
  if (!published) {
    result.reason = kUnsupportedFormatText;
    return result;
  }
  WriteLog("KDX Converting %s took time: %d", job.input.c_str(), result.seconds);
  result.outcome = JobOutcome::kConverted;
  return result;
}

}  // namespace

std::string FailedLine(const std::string& reason) {
  return reason.rfind("Failed.", 0) == 0 ? reason : "Failed. " + reason;
}

JobResult RunConversionJob(const ConversionJob& job, RunMessages& messages) {
  const JobResult result = RunJob(job, messages);
  if (result.outcome != JobOutcome::kConverted) RemoveMadeFolders(job.madeFolders);
  return result;
}
