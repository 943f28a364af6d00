// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/robustness/outcome_checks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/transcoder/kdx_check.h"

namespace kdxtest {

namespace {

namespace fs = std::filesystem;

// Long enough for a three-second clip in a sanitizer build on a busy machine.
constexpr std::chrono::seconds kRunTimeLimit{90};

bool IsDocumentedOpenResult(HRESULT result) {
  return result == S_OK || result == VFW_E_NO_AUDIO_PATH || result == VFW_E_NO_VIDEO_PATH ||
         result == VFW_E_CANNOT_RENDER || result == E_FAIL;
}

// WM_TRANSCODE_ERROR carries 0 with a failure result, or one of the codes
// without a result: no JPEG quality fits the chunk, no picture was decoded,
// another file took the destination.
bool IsDocumentedRunError(const RunMessages& run) {
  if (run.errorCode == 0) return FAILED(run.errorResult);
  const bool known = run.errorCode == KDX_ERROR_NO_QUALITY_FITS || run.errorCode == KDX_ERROR_NO_PICTURE ||
                     run.errorCode == KDX_ERROR_DESTINATION_TAKEN;
  return known && run.errorResult == 0;
}

}  // namespace

LibraryOutcome ConvertThroughLibrary(const std::string& source, const std::string& destination,
                                     const TRANSCODER_PARAM& request, MessageQueue& queue) {
  LibraryOutcome outcome;
  int64_t duration = 0;
  outcome.opened = NewTranscoder(queue.window(), source.c_str(), destination.c_str(), &duration);
  if (outcome.opened == S_OK) {
    TRANSCODER_PARAM copy = request;
    copy.hWnd = queue.window();
    if (Transcode(&copy) == 1) {
      outcome.run = CollectRun(queue, kRunTimeLimit);
    } else {
      ADD_FAILURE() << source << ": Transcode refused to start after NewTranscoder succeeded";
    }
  }
  CloseTranscoder();
  queue.Clear();
  return outcome;
}

void ExpectDocumentedOutcome(const LibraryOutcome& outcome, const std::string& destination, const std::string& label) {
  SCOPED_TRACE(label);
  EXPECT_TRUE(IsDocumentedOpenResult(outcome.opened)) << std::hex << "NewTranscoder gave 0x" << outcome.opened;
  const RunMessages& run = outcome.run;
  bool failed = outcome.opened != S_OK;
  if (outcome.opened == S_OK) {
    EXPECT_FALSE(run.timedOut) << "no final message within the time limit";
    EXPECT_EQ(run.finalCount, 1);
    EXPECT_LE(run.errorCount, 1);
    if (run.errorCount > 0) {
      EXPECT_TRUE(run.errorBeforeFinal);
      EXPECT_TRUE(IsDocumentedRunError(run)) << std::hex << "error " << run.errorCode << ", 0x" << run.errorResult;
      failed = true;
    }
  }
  if (failed) {
    EXPECT_FALSE(fs::exists(destination)) << "a failed conversion left " << destination;
  } else if (fs::exists(destination)) {
    LoadValid(destination);
  } else {
    ADD_FAILURE() << "a run without error left no file";
  }
}

int ExpectOnlyValidKdxFiles(const std::string& folder, const std::string& label) {
  SCOPED_TRACE(label);
  int files = 0;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    if (path.filename().string().starts_with(".kdx-")) {
      ADD_FAILURE() << "a run folder was left behind: " << path;
    } else if (it->is_regular_file()) {
      EXPECT_EQ(path.extension(), ".kdx") << path;
      LoadValid(path.string());
      ++files;
    }
  }
  return files;
}

std::string KdxconvertCommand(const ScratchDir& dir, const std::string& arguments, const std::string& launcher) {
  return "env -u XDG_VIDEOS_DIR -u XDG_CONFIG_HOME HOME='" + dir.File("home") + "' NKDX_CONFIG_DIR='" +
         dir.File("config") + "' NKDX_LOG_FILE='" + dir.File("log.txt") + "' " + launcher + " " +
         BinPath("kdxconvert") + " " + arguments + " < /dev/null";
}

int RunKdxconvert(const ScratchDir& dir, const std::string& arguments, std::string* output,
                  const std::string& launcher) {
  return RunCommand(KdxconvertCommand(dir, arguments, launcher), output);
}

}  // namespace kdxtest
